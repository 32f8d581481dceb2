#include "hlp_writer.h"

#include <algorithm>
#include <map>

#include "hlp_bytes.h"
#include "hlp_format.h"
#include "hlp_topics.h"

namespace zxhelp {
namespace {

using namespace bytes;

// |FONT: two faces, Arial for the text and Courier New for code, formulas
// and paths; descriptors by the Font numbers of the topic records.
std::string FontFile() {
  constexpr unsigned kFaceLen = 32;
  std::string out;
  Put16(out, 2);                    // face names
  Put16(out, 4);                    // descriptors
  Put16(out, 8);                    // face names start
  Put16(out, 8 + 2 * kFaceLen);     // descriptors start
  for (std::string face : {"Arial", "Courier New"}) {
    face.resize(kFaceLen, '\0');
    out += face;
  }
  struct Descriptor { unsigned attributes, halfPoints, family, face; unsigned char r, g, b; };
  const Descriptor fonts[] = {{0, 20, 3, 0, 0, 0, 0},      // kBody
                              {1, 20, 3, 0, 0, 0, 0},      // kBold
                              {1, 28, 3, 0, 0, 0, 0x80},   // kTitle
                              {0, 20, 1, 1, 0, 0, 0}};     // kCode: modern (fixed pitch)
  for (const Descriptor& d : fonts) {
    Put8(out, d.attributes);        // bit 0: bold
    Put8(out, d.halfPoints);
    Put8(out, d.family);            // 1 modern, 3 swiss
    Put16(out, d.face);             // face name index
    Put8(out, d.r);
    Put8(out, d.g);
    Put8(out, d.b);
    Put8(out, 0xFF);                // background, unused
    Put8(out, 0xFF);
    Put8(out, 0xFF);
  }
  return out;
}

std::string SystemFile(const Guide& guide, std::uint32_t contents) {
  std::string out;
  Put16(out, format::kSystemMagic);
  Put16(out, 33);      // minor: WinHelp 4
  Put16(out, 1);       // major
  Put32(out, 0);       // no build date: identical sources give identical files
  Put16(out, 0);       // flags: not compressed, 4 KB topic blocks
  auto record = [&out](unsigned type, const std::string& data) {
    Put16(out, type);
    Put16(out, static_cast<unsigned>(data.size()));
    out += data;
  };
  record(1, guide.title + '\0');
  record(3, Le32(contents));
  std::string lcid;
  Put16(lcid, 0x0410);  // Italian
  Put16(lcid, 0);
  Put16(lcid, 0);
  Put16(lcid, 0);
  record(9, lcid);
  record(10, guide.baseName + ".cnt" + '\0');
  std::string charset;
  Put16(charset, 0);  // ANSI
  record(11, charset);
  return out;
}

// Keyword order: letters compare without case and accents first, then byte
// for byte, so that the index lists "Èsempio" next to "esempio".
std::string SortKey(const std::string& word) {
  std::string key;
  for (const char ch : word) {
    auto c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c - 'A' + 'a');
    else if ((c >= 0xC0 && c <= 0xC5) || (c >= 0xE0 && c <= 0xE5)) c = 'a';
    else if (c == 0xC7 || c == 0xE7) c = 'c';
    else if ((c >= 0xC8 && c <= 0xCB) || (c >= 0xE8 && c <= 0xEB)) c = 'e';
    else if ((c >= 0xCC && c <= 0xCF) || (c >= 0xEC && c <= 0xEF)) c = 'i';
    else if (c == 0xD1 || c == 0xF1) c = 'n';
    else if ((c >= 0xD2 && c <= 0xD6) || (c >= 0xF2 && c <= 0xF6)) c = 'o';
    else if ((c >= 0xD9 && c <= 0xDC) || (c >= 0xF9 && c <= 0xFC)) c = 'u';
    key += static_cast<char>(c);
  }
  return key;
}

}  // namespace

std::string WriteHelpFile(const Guide& guide) {
  Validate(guide);
  const TopicLayout layout = LayOutTopics(guide);

  std::map<std::string, std::string> files;  // byte order, as the directory needs
  files["|SYSTEM"] = SystemFile(guide, layout.topicOffset.front());
  files["|FONT"] = FontFile();
  files["|TOPIC"] = layout.file;

  std::vector<std::pair<std::int32_t, std::uint32_t>> contexts;
  for (std::size_t t = 0; t < guide.topics.size(); ++t)
    contexts.push_back({ContextHash(guide.topics[t].context), layout.topicOffset[t]});
  std::sort(contexts.begin(), contexts.end());  // signed order: the viewers stop at the first larger key
  std::vector<BTreeEntry> entries;
  for (const auto& [hash, offset] : contexts)
    entries.push_back({Le32(static_cast<std::uint32_t>(hash)), Le32(offset)});
  files["|CONTEXT"] = BuildBTree(entries, 0x0002, 0x0800, "L4");

  entries.clear();
  for (std::size_t t = 0; t < guide.topics.size(); ++t)
    entries.push_back({Le32(layout.topicOffset[t]), guide.topics[t].title + '\0'});
  files["|TTLBTREE"] = BuildBTree(entries, 0x0002, 0x0800, "Lz");

  // Keyword index: each keyword once, whatever its case and accents, with
  // the offsets of its topics; the first spelling met is the one listed.
  std::map<std::string, std::pair<std::string, std::vector<std::uint32_t>>> keywords;
  for (std::size_t t = 0; t < guide.topics.size(); ++t)
    for (const std::string& word : guide.topics[t].keywords) {
      auto& [spelling, offsets] = keywords[SortKey(word)];
      if (spelling.empty()) spelling = word;
      if (std::find(offsets.begin(), offsets.end(), layout.topicOffset[t]) == offsets.end())
        offsets.push_back(layout.topicOffset[t]);
    }
  if (!keywords.empty()) {
    std::string data;
    entries.clear();
    for (const auto& [key, entry] : keywords) {
      const auto& [spelling, offsets] = entry;
      std::string value;
      Put16(value, static_cast<unsigned>(offsets.size()));
      Put32(value, static_cast<std::uint32_t>(data.size()));
      for (const std::uint32_t offset : offsets) Put32(data, offset);
      entries.push_back({spelling + '\0', value});
    }
    std::vector<std::uint32_t> firstOnLeaf;
    files["|KWBTREE"] = BuildBTree(entries, 0x0002, 0x0800, "F24", &firstOnLeaf);
    files["|KWDATA"] = data;
    std::string map;
    Put16(map, static_cast<unsigned>(firstOnLeaf.size()));
    for (std::size_t page = 0; page < firstOnLeaf.size(); ++page) {
      Put32(map, firstOnLeaf[page]);
      Put16(map, static_cast<unsigned>(page));
    }
    files["|KWMAP"] = map;
  }

  // File header, the internal files each behind its 9-byte header, and the
  // directory last.
  std::string out(16, '\0');
  auto append = [&out](const std::string& content) {
    const auto at = static_cast<std::uint32_t>(out.size());
    Put32(out, static_cast<std::uint32_t>(content.size() + 9));  // reserved, header included
    Put32(out, static_cast<std::uint32_t>(content.size()));      // used
    Put8(out, 4);
    out += content;
    return at;
  };
  entries.clear();
  for (const auto& [name, content] : files) entries.push_back({name + '\0', Le32(append(content))});
  const std::uint32_t directory = append(BuildBTree(entries, 0x0402, 0x0400, "z4"));
  Set32(out, 0, format::kFileMagic);
  Set32(out, 4, directory);
  Set32(out, 8, format::kNone);  // no free blocks
  Set32(out, 12, static_cast<std::uint32_t>(out.size()));
  return out;
}

std::string WriteContentsFile(const Guide& guide) {
  Validate(guide);
  std::string out = ":Base " + guide.baseName + ".hlp\r\n:Title " + guide.title + "\r\n";
  std::vector<std::string> booksDone;
  for (const Topic& topic : guide.topics) {
    if (topic.book.empty()) {
      out += "1 " + topic.title + "=" + topic.context + "\r\n";
      continue;
    }
    if (std::find(booksDone.begin(), booksDone.end(), topic.book) != booksDone.end()) continue;
    booksDone.push_back(topic.book);
    out += "1 " + topic.book + "\r\n";
    for (const Topic& member : guide.topics)
      if (member.book == topic.book) out += "2 " + member.title + "=" + member.context + "\r\n";
  }
  return out;
}

}  // namespace zxhelp
