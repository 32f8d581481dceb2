#include "hlp_reader.h"

#include <cctype>
#include <cstring>
#include <functional>

#include "hlp_format.h"

namespace hlptest {
namespace {

namespace format = zxhelp::format;
constexpr std::size_t kTopicBlock = format::kBlockSize;
constexpr std::uint32_t kDecompressSize = format::kPosPerBlock;

std::uint32_t U8(const std::string& b, std::size_t at) {
  if (at >= b.size()) throw FormatError("read past the end at " + std::to_string(at));
  return static_cast<unsigned char>(b[at]);
}
std::uint32_t U16(const std::string& b, std::size_t at) { return U8(b, at) | U8(b, at + 1) << 8; }
std::uint32_t U32(const std::string& b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }
std::string Z(const std::string& b, std::size_t at) {
  const std::size_t end = b.find('\0', at);
  if (end == std::string::npos) throw FormatError("unterminated string at " + std::to_string(at));
  return b.substr(at, end - at);
}

// A B+ tree stored in an internal file: header, then fixed-size pages.
struct Tree {
  const std::string& data;
  std::uint32_t pageSize, root, pages, levels, entries;
  explicit Tree(const std::string& d) : data(d) {
    if (U16(d, 0) != format::kBTreeMagic) throw FormatError("bad B+ tree magic");
    pageSize = U16(d, 4);
    root = U16(d, 26);
    pages = U16(d, 30);
    levels = U16(d, 32);
    entries = U32(d, 34);
    if (d.size() < 38 + pages * pageSize) throw FormatError("B+ tree shorter than its pages");
  }
  std::size_t Page(std::uint32_t n) const {
    if (n >= pages) throw FormatError("page number out of range");
    return 38 + n * pageSize;
  }
};

using Measure = std::function<std::size_t(std::size_t at)>;  // size of a key or value at `at`
using Compare = std::function<int(std::size_t keyAt)>;        // stored key against the wanted one

std::optional<std::size_t> Find(const Tree& t, const Measure& key, const Measure& value, const Compare& cmp) {
  std::uint32_t page = t.root;
  for (std::uint32_t level = t.levels; level > 1; --level) {
    const std::size_t at = t.Page(page);
    const std::uint32_t n = U16(t.data, at + 2);
    std::uint32_t next = U16(t.data, at + 4);  // keys before the first entry
    std::size_t p = at + 6;
    for (std::uint32_t i = 0; i < n; ++i) {
      if (cmp(p) > 0) break;
      next = U16(t.data, p + key(p));
      p += key(p) + 2;
    }
    page = next;
  }
  const std::size_t at = t.Page(page);
  const std::uint32_t n = U16(t.data, at + 2);
  std::size_t p = at + 8;
  for (std::uint32_t i = 0; i < n; ++i) {
    const int c = cmp(p);
    if (c == 0) return p;
    if (c > 0) return std::nullopt;
    p += key(p) + value(p + key(p));
  }
  return std::nullopt;
}

void Enumerate(const Tree& t, const Measure& key, const Measure& value, const std::function<void(std::size_t)>& each) {
  std::uint32_t page = t.root;
  for (std::uint32_t level = t.levels; level > 1; --level) page = U16(t.data, t.Page(page) + 4);
  std::uint32_t seen = 0;
  while (page != 0xFFFF) {
    const std::size_t at = t.Page(page);
    const std::uint32_t n = U16(t.data, at + 2);
    std::size_t p = at + 8;
    for (std::uint32_t i = 0; i < n; ++i) {
      each(p);
      p += key(p) + value(p + key(p));
    }
    seen += n;
    page = U16(t.data, at + 6);
  }
  if (seen != t.entries) throw FormatError("leaf chain does not hold every entry");
}

// Trees keyed by a 4-byte number: |CONTEXT (signed hashes), |TTLBTREE (offsets).
std::optional<std::size_t> FindNumber(const std::string& tree, std::int64_t wanted, bool isSigned, const Measure& value) {
  return Find(Tree(tree), [](std::size_t) { return std::size_t{4}; }, value, [&](std::size_t at) {
    const std::uint32_t raw = U32(tree, at);
    const std::int64_t stored = isSigned ? std::int64_t{static_cast<std::int32_t>(raw)} : std::int64_t{raw};
    return stored < wanted ? -1 : stored > wanted ? 1 : 0;
  });
}

Measure StringKey(const std::string& d) {
  return [&d](std::size_t at) { return Z(d, at).size() + 1; };
}
Measure Fixed(std::size_t n) {
  return [n](std::size_t) { return n; };
}

// The variable-length numbers of a paragraph's format part.
std::uint32_t CompressedULong(const std::string& b, std::size_t& p) {
  if (U8(b, p) & 1) { const std::uint32_t v = U32(b, p) / 2; p += 4; return v; }
  const std::uint32_t v = U16(b, p) / 2; p += 2; return v;
}
std::uint32_t CompressedUShort(const std::string& b, std::size_t& p) {
  if (U8(b, p) & 1) { const std::uint32_t v = U16(b, p) / 2; p += 2; return v; }
  const std::uint32_t v = U8(b, p) / 2; p += 1; return v;
}
void SkipCompressedShort(const std::string& b, std::size_t& p) { p += (U8(b, p) & 1) ? 2 : 1; }

struct Link {
  std::size_t at;  // byte position in |TOPIC
  std::uint32_t blockSize, dataLen2, prev, next, dataLen1;
  unsigned type;
};

Link ReadLink(const std::string& topic, std::uint32_t pos) {
  if (pos < 12) throw FormatError("TOPICPOS below the block header");
  const std::size_t block = (pos - 12) / kDecompressSize;
  const std::size_t inBlock = (pos - 12) % kDecompressSize + 12;
  if (inBlock + 21 > kTopicBlock) throw FormatError("topic link header crosses a block");
  Link l{};
  l.at = block * kTopicBlock + inBlock;
  l.blockSize = U32(topic, l.at);
  l.dataLen2 = U32(topic, l.at + 4);
  l.prev = U32(topic, l.at + 8);
  l.next = U32(topic, l.at + 12);
  l.dataLen1 = U32(topic, l.at + 16);
  l.type = U8(topic, l.at + 20);
  if (l.dataLen1 < 21 || l.blockSize != l.dataLen1 + l.dataLen2) throw FormatError("inconsistent link sizes");
  return l;
}

std::vector<ReadParagraph> Paragraphs(const std::string& topic, const Link& l) {
  const std::string data1 = topic.substr(l.at + 21, l.dataLen1 - 21);
  const std::string text = topic.substr(l.at + l.dataLen1, l.dataLen2);
  std::size_t p = 0;
  CompressedULong(data1, p);    // topic size
  CompressedUShort(data1, p);   // topic length
  p += 4;                       // two unknown bytes and the paragraph id
  const std::uint32_t bits = U16(data1, p);
  p += 2;
  if (bits & 0x0001) CompressedULong(data1, p);
  for (unsigned bit = 0x0002; bit <= 0x0040; bit <<= 1)
    if (bits & bit) SkipCompressedShort(data1, p);
  if (bits & 0x0100) p += 3;
  if (bits & 0x0200) throw FormatError("tab stops are not expected");

  std::vector<ReadParagraph> out;
  ReadParagraph current;
  current.lines.emplace_back();
  std::size_t t = 0;
  bool inJump = false;
  for (;;) {
    const std::string piece = Z(text, t);
    t += piece.size() + 1;
    current.lines.back() += piece;
    if (inJump) current.jumps.back().text += piece;
    const unsigned command = U8(data1, p++);
    if (command == format::kEnd) break;
    if (command == format::kTopicJump) {
      if (inJump) throw FormatError("a jump inside a jump");
      current.jumps.push_back({"", static_cast<std::int32_t>(U32(data1, p))});
      p += 4;
      inJump = true;
      continue;
    }
    switch (command) {
      case format::kHotspotEnd:
        if (!inJump) throw FormatError("end of a jump that did not start");
        inJump = false;
        break;
      case format::kFontChange: current.fonts.push_back(U16(data1, p)); p += 2; break;
      case format::kLineBreak: current.lines.emplace_back(); break;
      case format::kParagraphEnd:
        out.push_back(current);
        current = ReadParagraph{};
        current.lines.emplace_back();
        break;
      case format::kTab: current.lines.back() += '\t'; break;
      default: throw FormatError("unexpected formatting command " + std::to_string(command));
    }
  }
  if (current.lines.size() > 1 || !current.lines.back().empty()) out.push_back(current);
  return out;
}

}  // namespace

std::int32_t Hash(std::string_view id) {
  for (const char c : id)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '_')
      throw FormatError("not a context id character");
  return format::ContextHash(id);
}

HelpReader::HelpReader(std::string bytes) : bytes_(std::move(bytes)) {
  if (bytes_.size() < 16 || U32(bytes_, 0) != format::kFileMagic) throw FormatError("not a help file");
  if (U32(bytes_, 12) != bytes_.size()) throw FormatError("file size in the header is wrong");
  const auto system = InternalFile("|SYSTEM");
  if (!system) throw FormatError("no |SYSTEM");
  const std::string& s = *system;
  if (U16(s, 0) != format::kSystemMagic || U16(s, 4) != 1) throw FormatError("bad |SYSTEM header");
  minor_ = U16(s, 2);
  flags_ = U16(s, 10);
  for (std::size_t p = 12; p + 4 <= s.size();) {
    const std::uint32_t type = U16(s, p), size = U16(s, p + 2);
    const std::size_t data = p + 4;
    if (data + size > s.size()) throw FormatError("|SYSTEM record runs past the end");
    if (type == 1) title_ = Z(s, data);
    if (type == 3) contents_ = U32(s, data);
    if (type == 9) lcid_ = U16(s, data);
    if (type == 11) charset_ = U8(s, data);
    p = data + size;
  }
}

std::vector<std::string> HelpReader::InternalFileNames() const {
  const std::uint32_t dir = U32(bytes_, 4);
  const std::string tree = bytes_.substr(dir + 9, U32(bytes_, dir + 4));
  std::vector<std::string> names;
  Tree t(tree);
  Enumerate(t, StringKey(tree), Fixed(4), [&](std::size_t at) { names.push_back(Z(tree, at)); });
  return names;
}

std::optional<std::string> HelpReader::InternalFile(std::string_view name) const {
  const std::uint32_t dir = U32(bytes_, 4);
  const std::string tree = bytes_.substr(dir + 9, U32(bytes_, dir + 4));
  const Tree t(tree);
  const std::string wanted(name);
  const auto hit = Find(t, StringKey(tree), Fixed(4), [&](std::size_t at) {
    return std::strcmp(Z(tree, at).c_str(), wanted.c_str());
  });
  if (!hit) return std::nullopt;
  const std::uint32_t at = U32(tree, *hit + wanted.size() + 1);
  const std::uint32_t reserved = U32(bytes_, at), used = U32(bytes_, at + 4);
  if (reserved < used + 9) throw FormatError(wanted + ": reserved space smaller than used space");
  if (at + 9 + static_cast<std::size_t>(used) > bytes_.size()) throw FormatError(wanted + " runs past the end");
  return bytes_.substr(at + 9, used);
}

std::vector<FontDescriptor> HelpReader::Fonts() const {
  const auto font = InternalFile("|FONT");
  if (!font) throw FormatError("no |FONT");
  const std::string& f = *font;
  const std::uint32_t faces = U16(f, 0), descriptors = U16(f, 2), faceAt = U16(f, 4), descAt = U16(f, 6);
  if (faces == 0) throw FormatError("no face names");
  const std::uint32_t faceLen = (descAt - faceAt) / faces;
  std::vector<FontDescriptor> out;
  for (std::uint32_t i = 0; i < descriptors; ++i) {
    const std::size_t d = descAt + i * 11;
    FontDescriptor fd;
    fd.bold = (U8(f, d) & 1) != 0;
    fd.halfPoints = U8(f, d + 1);
    const std::uint32_t face = U16(f, d + 3);
    if (face >= faces) throw FormatError("face index out of range");
    fd.face = Z(f.substr(faceAt + face * faceLen, faceLen) + '\0', 0);
    out.push_back(fd);
  }
  return out;
}

std::optional<std::uint32_t> HelpReader::OffsetOfContext(std::string_view id) const {
  const auto context = InternalFile("|CONTEXT");
  if (!context) throw FormatError("no |CONTEXT");
  const auto hit = FindNumber(*context, Hash(id), true, Fixed(4));
  if (!hit) return std::nullopt;
  return U32(*context, *hit + 4);
}

std::vector<std::int32_t> HelpReader::ContextHashes() const {
  const auto context = InternalFile("|CONTEXT");
  std::vector<std::int32_t> out;
  Enumerate(Tree(*context), Fixed(4), Fixed(4),
            [&](std::size_t at) { out.push_back(static_cast<std::int32_t>(U32(*context, at))); });
  return out;
}

std::size_t HelpReader::TopicBlocks() const {
  const auto topic = InternalFile("|TOPIC");
  if (!topic || topic->size() % kTopicBlock != 0) throw FormatError("|TOPIC is not whole blocks");
  return topic->size() / kTopicBlock;
}

std::vector<HelpReader::Span> HelpReader::RecordSpans() const {
  const std::string topic = *InternalFile("|TOPIC");
  std::vector<Span> spans;
  for (std::uint32_t pos = format::kBlockHeader; pos != format::kNone;) {
    const Link l = ReadLink(topic, pos);
    const std::size_t block = l.at / kTopicBlock;
    spans.push_back({block, l.at % kTopicBlock, l.at % kTopicBlock + l.blockSize});
    if (spans.size() > 100000) throw FormatError("topic links loop");
    pos = l.next;
  }
  return spans;
}

ReadTopic HelpReader::TopicAt(std::uint32_t topicOffset) const {
  const std::string topic = *InternalFile("|TOPIC");
  const std::size_t block = topicOffset >> 15;
  const std::uint32_t wanted = topicOffset & 0x7FFF;
  if ((block + 1) * kTopicBlock > topic.size()) throw FormatError("topic offset beyond |TOPIC");
  // From the block's first link, count characters up to the topic header.
  std::uint32_t pos = U32(topic, block * kTopicBlock + 4);
  std::uint32_t characters = 0;
  for (;;) {
    if (pos == format::kNone || (pos - format::kBlockHeader) / kDecompressSize != block)
      throw FormatError("no topic at this offset");
    const Link l = ReadLink(topic, pos);
    if (l.type == format::kTopicHeader && characters == wanted) break;
    if (l.type == format::kDisplayText || l.type == 0x23) {
      std::size_t p = l.at + format::kLinkHeader;
      CompressedULong(topic, p);
      characters += CompressedUShort(topic, p);
    }
    pos = l.next;
  }
  const Link header = ReadLink(topic, pos);
  ReadTopic out;
  out.title = Z(topic.substr(header.at + header.dataLen1, header.dataLen2) + '\0', 0);
  out.number = U32(topic, header.at + 21 + 12);
  for (pos = header.next; pos != format::kNone;) {
    const Link l = ReadLink(topic, pos);
    if (l.type == 2) break;
    if (l.type != format::kDisplayText) throw FormatError("unexpected record type " + std::to_string(l.type));
    for (ReadParagraph& p : Paragraphs(topic, l)) out.paragraphs.push_back(std::move(p));
    pos = l.next;
  }
  return out;
}

std::optional<std::string> HelpReader::TitleAt(std::uint32_t topicOffset) const {
  const auto titles = InternalFile("|TTLBTREE");
  if (!titles) return std::nullopt;
  const auto hit = FindNumber(*titles, topicOffset, false, StringKey(*titles));
  if (!hit) return std::nullopt;
  return Z(*titles, *hit + 4);
}

std::vector<std::string> HelpReader::Keywords() const {
  const auto tree = InternalFile("|KWBTREE");
  std::vector<std::string> out;
  if (!tree) return out;
  Enumerate(Tree(*tree), StringKey(*tree), Fixed(6), [&](std::size_t at) { out.push_back(Z(*tree, at)); });
  return out;
}

std::vector<std::uint32_t> HelpReader::OffsetsOfKeyword(std::string_view keyword) const {
  const auto tree = InternalFile("|KWBTREE");
  const auto data = InternalFile("|KWDATA");
  std::vector<std::uint32_t> out;
  if (!tree || !data) return out;
  Enumerate(Tree(*tree), StringKey(*tree), Fixed(6), [&](std::size_t at) {
    const std::string word = Z(*tree, at);
    if (word != keyword) return;
    const std::uint32_t count = U16(*tree, at + word.size() + 1);
    const std::uint32_t first = U32(*tree, at + word.size() + 3);
    for (std::uint32_t i = 0; i < count; ++i) out.push_back(U32(*data, first + 4 * i));
  });
  return out;
}

}  // namespace hlptest
