// The B+ trees of the help file: the internal directory, |CONTEXT,
// |TTLBTREE and the keyword index.
#include "hlp_bytes.h"
#include "hlp_format.h"
#include "hlp_writer.h"

namespace zxhelp {

using namespace bytes;

std::string BuildBTree(const std::vector<BTreeEntry>& entries, std::uint16_t flags, std::uint16_t pageSize,
                       std::string_view structure, std::vector<std::uint32_t>* firstOnLeaf) {
  struct Child {
    std::uint16_t page;
    std::string firstKey;
  };
  std::vector<std::string> pages;
  std::vector<Child> children;

  // Leaf pages: 8-byte header, then key and value of each entry.
  std::vector<std::pair<std::size_t, std::size_t>> leaves;  // first entry, count
  std::size_t used = pageSize;  // forces a first page
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const std::size_t size = entries[i].key.size() + entries[i].value.size();
    if (size > pageSize - 8u) throw HelpError("una voce è troppo lunga per una pagina dell'albero");
    if (used + size > pageSize) {
      leaves.push_back({i, 0});
      used = 8;
    }
    ++leaves.back().second;
    used += size;
  }
  if (leaves.empty()) leaves.push_back({0, 0});
  for (std::size_t l = 0; l < leaves.size(); ++l) {
    const auto [first, count] = leaves[l];
    std::string body;
    for (std::size_t i = first; i < first + count; ++i) body += entries[i].key + entries[i].value;
    std::string page;
    Put16(page, static_cast<unsigned>(pageSize - 8 - body.size()));
    Put16(page, static_cast<unsigned>(count));
    Put16(page, l == 0 ? 0xFFFF : static_cast<unsigned>(l - 1));
    Put16(page, l + 1 == leaves.size() ? 0xFFFF : static_cast<unsigned>(l + 1));
    page += body;
    page.resize(pageSize, '\0');
    pages.push_back(page);
    children.push_back({static_cast<std::uint16_t>(l), count ? entries[first].key : std::string()});
    if (firstOnLeaf) firstOnLeaf->push_back(static_cast<std::uint32_t>(first));
  }

  // Index levels: each page names its first child as "previous page" and
  // every further child by its first key, until one page is left.
  unsigned levels = 1;
  while (children.size() > 1) {
    std::vector<Child> parents;
    std::size_t i = 0;
    while (i < children.size()) {
      std::string body;
      const std::size_t first = i++;
      std::size_t count = 0;
      while (i < children.size() && 6 + body.size() + children[i].firstKey.size() + 2 <= pageSize) {
        body += children[i].firstKey;
        Put16(body, children[i].page);
        ++count;
        ++i;
      }
      if (count == 0 && i < children.size()) throw HelpError("chiave troppo lunga per una pagina indice");
      std::string page;
      Put16(page, static_cast<unsigned>(pageSize - 6 - body.size()));
      Put16(page, static_cast<unsigned>(count));
      Put16(page, children[first].page);
      page += body;
      page.resize(pageSize, '\0');
      parents.push_back({static_cast<std::uint16_t>(pages.size()), children[first].firstKey});
      pages.push_back(page);
    }
    children = parents;
    ++levels;
  }

  std::string out;
  Put16(out, format::kBTreeMagic);
  Put16(out, flags);
  Put16(out, pageSize);
  std::string s(structure);
  s.resize(16, '\0');
  out += s;
  Put16(out, 0);       // must be zero
  Put16(out, 0);       // page splits
  Put16(out, children.front().page);
  Put16(out, 0xFFFF);  // must be -1
  Put16(out, static_cast<unsigned>(pages.size()));
  Put16(out, levels);
  Put32(out, static_cast<std::uint32_t>(entries.size()));
  for (const std::string& page : pages) out += page;
  return out;
}

}  // namespace zxhelp
