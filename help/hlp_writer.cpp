#include "hlp_writer.h"

#include <algorithm>
#include <map>

namespace zxhelp {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kBlockSize = 4096;          // topic block, uncompressed
constexpr std::size_t kBlockHeader = 12;          // three TOPICPOS values
constexpr std::uint32_t kPosPerBlock = 0x4000;    // TOPICPOS: block * 0x4000 + offset
constexpr std::uint32_t kOffsetPerBlock = 0x8000; // TOPICOFFSET: block * 0x8000 + characters
constexpr std::size_t kLinkHeader = 21;

void Put8(std::string& out, unsigned v) { out += static_cast<char>(v & 0xFF); }
void Put16(std::string& out, unsigned v) {
  Put8(out, v);
  Put8(out, v >> 8);
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Set32(std::string& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::string Le32(std::uint32_t v) {
  std::string s;
  Put32(s, v);
  return s;
}

// The variable-length numbers of a paragraph's format part: the low bit of
// the first byte says whether the long form follows.
void PutCompressedLong(std::string& out, std::uint32_t v) {
  if (v < 0x4000) Put16(out, 2 * v + 0x8000);
  else Put32(out, 0x80000000u + 2 * v + 1);
}
void PutCompressedUShort(std::string& out, unsigned v) {
  if (v < 0x80) Put8(out, 2 * v);
  else Put16(out, 2 * v + 1);
}
void PutCompressedShort(std::string& out, int v) {  // small values only
  Put8(out, static_cast<unsigned>(2 * v + 0x80));
}

// Fonts of |FONT, by index.
enum Font : unsigned { kBody = 0, kBold = 1, kTitle = 2 };

std::string FontFile() {
  constexpr unsigned kFaceLen = 32;
  std::string out;
  Put16(out, 1);                    // face names
  Put16(out, 3);                    // descriptors
  Put16(out, 8);                    // face names start
  Put16(out, 8 + kFaceLen);         // descriptors start
  std::string face = "Arial";
  face.resize(kFaceLen, '\0');
  out += face;
  struct Descriptor { unsigned attributes, halfPoints; unsigned char r, g, b; };
  const Descriptor fonts[] = {{0, 20, 0, 0, 0}, {1, 20, 0, 0, 0}, {1, 28, 0, 0, 0x80}};
  for (const Descriptor& d : fonts) {
    Put8(out, d.attributes);        // bit 0: bold
    Put8(out, d.halfPoints);
    Put8(out, 3);                   // swiss family
    Put16(out, 0);                  // face name index
    Put8(out, d.r);
    Put8(out, d.g);
    Put8(out, d.b);
    Put8(out, 0xFF);                // background, unused
    Put8(out, 0xFF);
    Put8(out, 0xFF);
  }
  return out;
}

// One TOPICLINK before placement: its two data parts; the positions that
// link it to its neighbours are filled in once every record has its place.
struct Record {
  unsigned char type = 0;  // 2: topic header, 0x20: displayable text
  std::string data1;       // after the 21-byte header
  std::string data2;       // title or paragraph text
  unsigned characters = 0; // what a paragraph adds to TOPICOFFSET
  std::size_t topic = 0;
  std::uint32_t pos = 0;   // TOPICPOS once placed
  std::size_t Size() const { return kLinkHeader + data1.size() + data2.size(); }
};

// A paragraph: paragraph info, then strings and the commands that follow
// each of them (font change, line break, end of paragraph, end).
struct Spacing {
  int above = 0, below = 0, leftIndent = 0, firstLine = 0;  // half-points
};

Record ParagraphRecord(Font font, const std::vector<std::string>& lines, Spacing spacing) {
  std::string format;
  std::string text;
  Put8(format, 0x00);
  Put8(format, 0x80);
  Put16(format, 0);  // paragraph id
  // Only the fields whose bit is set follow, in bit order.
  const unsigned bits = (spacing.above ? 0x0002 : 0) | (spacing.below ? 0x0004 : 0) |
                        (spacing.leftIndent ? 0x0010 : 0) | (spacing.firstLine ? 0x0040 : 0);
  Put16(format, bits);
  if (spacing.above) PutCompressedShort(format, spacing.above);
  if (spacing.below) PutCompressedShort(format, spacing.below);
  if (spacing.leftIndent) PutCompressedShort(format, spacing.leftIndent);
  if (spacing.firstLine) PutCompressedShort(format, spacing.firstLine);
  text += '\0';
  Put8(format, 0x80);
  Put16(format, font);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    text += lines[i];
    text += '\0';
    Put8(format, i + 1 < lines.size() ? 0x81 : 0x82);  // line break, end of paragraph
  }
  text += '\0';
  Put8(format, 0xFF);

  Record r;
  r.type = 0x20;
  r.characters = static_cast<unsigned>(text.size());
  PutCompressedLong(r.data1, static_cast<std::uint32_t>(text.size()));
  PutCompressedUShort(r.data1, r.characters);
  r.data1 += format;
  r.data2 = text;
  return r;
}

std::vector<Record> TopicRecords(const Topic& topic, std::size_t index) {
  std::vector<Record> records;
  Record header;
  header.type = 2;
  header.data1.assign(28, '\0');  // TOPICHEADER, filled after placement
  header.data2 = topic.title + '\0';
  records.push_back(header);
  records.push_back(ParagraphRecord(kTitle, {topic.title}, {0, 12}));
  ParagraphKind previous = ParagraphKind::Heading;
  for (const Paragraph& p : topic.paragraphs) {
    // A list ends with a little air before the text that follows it.
    const int afterList = previous == ParagraphKind::Item && p.kind != ParagraphKind::Item ? 6 : 0;
    switch (p.kind) {
      case ParagraphKind::Heading: records.push_back(ParagraphRecord(kBold, p.lines, {8, 4})); break;
      case ParagraphKind::Body: records.push_back(ParagraphRecord(kBody, p.lines, {afterList, 12})); break;
      // Wrapped lines of an item start under its text, not under the bullet.
      case ParagraphKind::Item: records.push_back(ParagraphRecord(kBody, {"\x95 " + p.lines[0]}, {0, 4, 26, -14})); break;
      case ParagraphKind::Example: records.push_back(ParagraphRecord(kBody, p.lines, {afterList, 12, 24})); break;
    }
    previous = p.kind;
  }
  for (Record& r : records) r.topic = index;
  return records;
}

struct TopicLayout {
  std::string file;                       // |TOPIC
  std::vector<std::uint32_t> topicOffset; // TOPICOFFSET of each topic
};

// Gives every record its TOPICPOS and every topic its TOPICOFFSET. A record
// never crosses a block boundary, so every block starts with a record and
// its character count starts at zero.
std::size_t PlaceRecords(const Guide& guide, std::vector<Record>& records, TopicLayout& layout) {
  std::size_t block = 0, at = kBlockHeader;
  unsigned characters = 0;
  for (Record& r : records) {
    if (r.Size() > kBlockSize - kBlockHeader)
      throw HelpError(guide.topics[r.topic].source + ": un paragrafo è troppo lungo per un blocco (" +
                      std::to_string(r.Size()) + " byte)");
    if (at + r.Size() > kBlockSize) {
      ++block;
      at = kBlockHeader;
      characters = 0;
    }
    r.pos = static_cast<std::uint32_t>(block * kPosPerBlock + at);
    if (r.type == 2) layout.topicOffset[r.topic] = static_cast<std::uint32_t>(block * kOffsetPerBlock + characters);
    characters += r.characters;
    at += r.Size();
  }
  return block + 1;
}

// TOPICHEADER of each topic: its size, number, scrolling region and the
// next topic; no browse sequence and no non-scrolling region.
void FillTopicHeaders(std::vector<Record>& records) {
  for (std::size_t i = 0; i < records.size(); ++i) {
    Record& r = records[i];
    if (r.type != 2) continue;
    std::uint32_t size = static_cast<std::uint32_t>(r.Size()), scroll = kNone, nextTopic = kNone;
    std::size_t j = i + 1;
    for (; j < records.size() && records[j].type != 2; ++j) {
      size += static_cast<std::uint32_t>(records[j].Size());
      if (scroll == kNone) scroll = records[j].pos;
    }
    if (j < records.size()) nextTopic = records[j].pos;
    std::string& h = r.data1;
    Set32(h, 0, size);
    Set32(h, 4, kNone);
    Set32(h, 8, kNone);
    Set32(h, 12, static_cast<std::uint32_t>(r.topic));
    Set32(h, 16, kNone);
    Set32(h, 20, scroll);
    Set32(h, 24, nextTopic);
  }
}

// The blocks: each starts with the last link of the block before, its first
// link and the last topic header of the blocks before; the rest is records
// chained by their TOPICPOS, then zeros.
std::string WriteBlocks(const std::vector<Record>& records, std::size_t blocks) {
  std::string out(blocks * kBlockSize, '\0');
  std::uint32_t lastLink = kNone, lastHeader = kNone;
  std::size_t next = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t base = b * kBlockSize;
    Set32(out, base + 0, lastLink);
    Set32(out, base + 4, static_cast<std::uint32_t>(b * kPosPerBlock + kBlockHeader));
    Set32(out, base + 8, lastHeader);
    for (; next < records.size() && records[next].pos / kPosPerBlock == b; ++next) {
      const Record& r = records[next];
      std::string link;
      Put32(link, static_cast<std::uint32_t>(r.Size()));
      Put32(link, static_cast<std::uint32_t>(r.data2.size()));
      Put32(link, next == 0 ? kNone : records[next - 1].pos);
      Put32(link, next + 1 < records.size() ? records[next + 1].pos : kNone);
      Put32(link, static_cast<std::uint32_t>(kLinkHeader + r.data1.size()));
      Put8(link, r.type);
      link += r.data1;
      link += r.data2;
      out.replace(base + r.pos % kPosPerBlock, link.size(), link);
      lastLink = r.pos;
      if (r.type == 2) lastHeader = r.pos;
    }
  }
  return out;
}

TopicLayout LayOutTopics(const Guide& guide) {
  std::vector<Record> records;
  for (std::size_t t = 0; t < guide.topics.size(); ++t) {
    std::vector<Record> more = TopicRecords(guide.topics[t], t);
    records.insert(records.end(), more.begin(), more.end());
  }
  TopicLayout layout;
  layout.topicOffset.resize(guide.topics.size());
  const std::size_t blocks = PlaceRecords(guide, records, layout);
  FillTopicHeaders(records);
  layout.file = WriteBlocks(records, blocks);
  return layout;
}

std::string SystemFile(const Guide& guide, std::uint32_t contents) {
  std::string out;
  Put16(out, 0x036C);  // magic
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
  Put16(out, 0x293B);
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

  // Keyword index: each keyword once, with the offsets of its topics.
  std::map<std::pair<std::string, std::string>, std::vector<std::uint32_t>> keywords;
  for (std::size_t t = 0; t < guide.topics.size(); ++t)
    for (const std::string& word : guide.topics[t].keywords) {
      auto& offsets = keywords[{SortKey(word), word}];
      if (std::find(offsets.begin(), offsets.end(), layout.topicOffset[t]) == offsets.end())
        offsets.push_back(layout.topicOffset[t]);
    }
  if (!keywords.empty()) {
    std::string data;
    entries.clear();
    for (const auto& [key, offsets] : keywords) {
      std::string value;
      Put16(value, static_cast<unsigned>(offsets.size()));
      Put32(value, static_cast<std::uint32_t>(data.size()));
      for (const std::uint32_t offset : offsets) Put32(data, offset);
      entries.push_back({key.second + '\0', value});
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
  Set32(out, 0, 0x00035F3F);
  Set32(out, 4, directory);
  Set32(out, 8, kNone);  // no free blocks
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
