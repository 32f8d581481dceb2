#include "hlp_document.h"

#include <algorithm>
#include <functional>

#include "cp1252.h"

namespace zxhelp {
namespace {

using format::kBlockHeader;
using format::kBlockSize;
using format::kLinkHeader;
using format::kNone;
constexpr std::size_t kBlockData = kBlockSize - kBlockHeader;

[[noreturn]] void Fail(const char* why) { throw HelpFileError(why); }

// Little-endian fields with every read checked against the end.
class Cursor {
 public:
  explicit Cursor(std::string_view data) : data_(data) {}
  bool AtEnd() const { return at_ >= data_.size(); }
  std::size_t Left() const { return data_.size() - at_; }
  void Skip(std::size_t n) {
    Need(n);
    at_ += n;
  }
  unsigned U8() {
    Need(1);
    return static_cast<unsigned char>(data_[at_++]);
  }
  unsigned U16() {
    const unsigned lo = U8();
    return lo | (U8() << 8);
  }
  std::uint32_t U32() {
    const std::uint32_t lo = U16();
    return lo | (static_cast<std::uint32_t>(U16()) << 16);
  }
  std::string_view Bytes(std::size_t n) {
    Need(n);
    const std::string_view s = data_.substr(at_, n);
    at_ += n;
    return s;
  }
  // A NUL-terminated string; the end of the data also ends it.
  std::string Z() {
    const std::size_t end = std::min(data_.find('\0', at_), data_.size());
    std::string s(data_.substr(at_, end - at_));
    at_ = std::min(end + 1, data_.size());
    return s;
  }
  // The variable-length numbers of the topic records: the low bit of the
  // first byte says whether the long form follows.
  int CompressedShort() {
    if ((Peek() & 1) == 0) return static_cast<int>(U8() >> 1) - 0x40;
    return static_cast<int>(U16() >> 1) - 0x4000;
  }
  unsigned CompressedUShort() { return (Peek() & 1) == 0 ? U8() >> 1 : U16() >> 1; }
  long CompressedLong() {
    if ((Peek() & 1) == 0) return static_cast<long>(U16() >> 1) - 0x4000;
    return static_cast<long>(U32() >> 1) - 0x40000000L;
  }

 private:
  unsigned Peek() {
    Need(1);
    return static_cast<unsigned char>(data_[at_]);
  }
  void Need(std::size_t n) const {
    if (n > data_.size() - at_) Fail("dati troncati");
  }
  std::string_view data_;
  std::size_t at_ = 0;
};

// Calls entry() once per entry of every leaf page, in key order.
void WalkBTree(std::string_view tree, const std::function<void(Cursor&)>& entry) {
  Cursor h(tree);
  if (tree.size() < 38 || h.U16() != format::kBTreeMagic) Fail("albero B+ non valido");
  h.Skip(2);
  const std::size_t pageSize = h.U16();
  h.Skip(16 + 4);  // structure, must-be-zero, page splits
  unsigned page = h.U16();
  h.Skip(2);
  const unsigned pages = h.U16(), levels = h.U16();
  if (pageSize < 8 || levels == 0 || pages == 0 || (tree.size() - 38) / pageSize < pages) Fail("albero B+ non valido");
  auto pageAt = [&](unsigned n) {
    if (n >= pages) Fail("pagina fuori dall'albero");
    return tree.substr(38 + n * pageSize, pageSize);
  };
  for (unsigned level = 1; level < levels; ++level) {  // down the first children
    Cursor index(pageAt(page));
    index.Skip(4);
    page = index.U16();
  }
  for (unsigned visited = 0; page != 0xFFFF; ++visited) {
    if (visited == pages) Fail("pagine in ciclo");
    Cursor leaf(pageAt(page));
    leaf.Skip(2);
    const unsigned count = leaf.U16();
    leaf.Skip(2);
    page = leaf.U16();
    for (unsigned i = 0; i < count; ++i) entry(leaf);
  }
}

std::map<std::string, std::string_view> InternalFiles(std::string_view bytes) {
  Cursor header(bytes);
  if (header.U32() != format::kFileMagic) Fail("non è un file della Guida");
  const std::uint32_t directory = header.U32();
  auto fileAt = [&bytes](std::uint32_t offset) {
    if (offset > bytes.size()) Fail("file interno fuori dal file");
    Cursor c(bytes.substr(offset));
    c.Skip(4);
    const std::uint32_t used = c.U32();
    c.Skip(1);
    return c.Bytes(used);
  };
  std::map<std::string, std::string_view> files;
  WalkBTree(fileAt(directory), [&](Cursor& c) {
    std::string name = c.Z();
    files[name] = fileAt(c.U32());
  });
  return files;
}

std::string_view Required(const std::map<std::string, std::string_view>& files, const char* name) {
  const auto it = files.find(name);
  if (it == files.end()) Fail("manca un file interno");
  return it->second;
}

void ReadSystem(std::string_view system, HelpDocument& doc) {
  Cursor c(system);
  if (c.U16() != format::kSystemMagic) Fail("|SYSTEM non valido");
  const unsigned minor = c.U16();
  c.Skip(6);
  const unsigned flags = c.U16();
  // Only uncompressed topics in 4 KB blocks, with typed records.
  if (minor <= 16 || flags != 0) Fail("formato della Guida non gestito");
  while (!c.AtEnd()) {
    const unsigned type = c.U16();
    Cursor data(c.Bytes(c.U16()));
    if (type == 1) doc.title = data.Z();
    if (type == 3) doc.contentsOffset = data.U32();
  }
}

std::vector<HelpFont> ReadFonts(std::string_view file) {
  Cursor c(file);
  const unsigned faces = c.U16(), count = c.U16(), facesAt = c.U16(), fontsAt = c.U16();
  if (faces == 0 || fontsAt < facesAt || fontsAt > file.size()) Fail("|FONT non valido");
  const std::size_t faceLength = (fontsAt - facesAt) / faces;
  Cursor d(file.substr(fontsAt));
  std::vector<HelpFont> fonts;
  for (unsigned i = 0; i < count; ++i) {
    HelpFont f;
    const unsigned attributes = d.U8();
    f.bold = attributes & 1;
    f.italic = attributes & 2;
    f.underline = attributes & 4;
    f.halfPoints = d.U8();
    f.family = d.U8();
    const unsigned face = d.U16();
    f.red = static_cast<std::uint8_t>(d.U8());
    f.green = static_cast<std::uint8_t>(d.U8());
    f.blue = static_cast<std::uint8_t>(d.U8());
    d.Skip(3);
    if (face >= faces) Fail("carattere senza nome");
    f.face = Cursor(file.substr(facesAt + face * faceLength, faceLength)).Z();
    fonts.push_back(f);
  }
  if (fonts.empty()) Fail("|FONT senza caratteri");
  return fonts;
}

// The jump whose text is being read, if any.
struct Jump {
  bool open = false;
  std::int32_t target = 0;
};

void AddText(HelpParagraph& p, unsigned font, std::string_view text, const Jump& jump = {}) {
  if (text.empty()) return;
  HelpSpan* last = p.spans.empty() ? nullptr : &p.spans.back();
  if (last && last->font == font && !last->lineBreak && last->jump == jump.open && last->target == jump.target)
    last->text += text;
  else
    p.spans.push_back({font, std::string(text), false, jump.open, jump.target});
}

// A displayable-text record: the paragraph format, then strings of data2
// taking turns with the commands of data1.
void ReadText(Cursor format, std::string_view text, std::size_t fontCount, unsigned& font, HelpTopic& topic) {
  format.CompressedLong();
  format.CompressedUShort();
  format.Skip(4);
  const unsigned bits = format.U16();
  HelpParagraph p;
  if (bits & 0x0001) format.CompressedLong();
  if (bits & 0x0002) p.spaceAbove = format.CompressedShort();
  if (bits & 0x0004) p.spaceBelow = format.CompressedShort();
  if (bits & 0x0008) p.lineSpacing = format.CompressedShort();
  if (bits & 0x0010) p.leftIndent = format.CompressedShort();
  if (bits & 0x0020) p.rightIndent = format.CompressedShort();
  if (bits & 0x0040) p.firstLineIndent = format.CompressedShort();
  if (bits & 0x0100) format.Skip(3);  // borders: not drawn
  if (bits & 0x0200) {                // tab stops: the rich edit's own
    const int stops = format.CompressedShort();
    for (int i = 0; i < stops; ++i)
      if (format.CompressedUShort() & 0x4000) format.CompressedUShort();
  }
  p.align = (bits & 0x0800) ? HelpAlign::Centre : (bits & 0x0400) ? HelpAlign::Right : HelpAlign::Left;
  const HelpParagraph shape = p;

  Cursor strings(text);
  Jump jump;
  for (;;) {
    AddText(p, font, strings.Z(), jump);
    if (format.AtEnd()) break;
    const unsigned command = format.U8();
    if (command == format::kEnd) break;
    if (format::IsJump(command)) {
      jump = {true, static_cast<std::int32_t>(format.U32())};
      continue;
    }
    switch (command) {
      case format::kFontChange:
        font = format.U16();
        if (font >= fontCount) Fail("carattere inesistente");
        break;
      case format::kLineBreak:
        if (p.spans.empty()) p.spans.push_back({font, "", false});
        p.spans.back().lineBreak = true;
        break;
      case format::kParagraphEnd:
        topic.paragraphs.push_back(p);
        p = shape;
        break;
      case format::kTab: AddText(p, font, "\t", jump); break;
      case format::kHotspotEnd: jump = {}; break;
      case format::kNonBreakingSpace: AddText(p, font, "\xA0", jump); break;
      case format::kNonBreakingHyphen: AddText(p, font, "-", jump); break;
      default: Fail("comando di formato non gestito");
    }
  }
  if (!p.spans.empty()) topic.paragraphs.push_back(p);
}

// Positions inside |TOPIC count block * 0x4000 + offset in the block, the
// block header included; the records are read from the blocks' data laid end
// to end.
std::size_t Linear(std::uint32_t pos, std::size_t size) {
  const std::size_t block = pos >> 14, offset = pos & 0x3FFF;
  if (offset < kBlockHeader || offset >= kBlockSize) Fail("posizione non valida");
  const std::size_t at = block * kBlockData + offset - kBlockHeader;
  if (at >= size) Fail("posizione fuori dal file");
  return at;
}

void ReadTopics(std::string_view file, HelpDocument& doc) {
  std::string data;
  for (std::size_t at = 0; at + kBlockHeader < file.size(); at += kBlockSize)
    data.append(file.substr(at + kBlockHeader, kBlockData));
  Cursor first(file);
  first.Skip(4);
  std::uint32_t pos = first.U32();
  std::size_t previous = 0, block = 0;
  bool started = false;
  unsigned characters = 0, font = 0;
  while (pos != kNone) {
    const std::size_t at = Linear(pos, data.size());
    if (started && at <= previous) Fail("record in ciclo");
    Cursor link(std::string_view(data).substr(at));
    const std::uint32_t size = link.U32(), size2 = link.U32();
    link.Skip(4);
    const std::uint32_t next = link.U32(), size1 = link.U32();
    const unsigned type = link.U8();
    if (size1 < kLinkHeader || size < size1 || size > data.size() - at) Fail("record non valido");
    if (size2 != size - size1) Fail("testo compresso non gestito");
    const std::string_view data1 = std::string_view(data).substr(at + kLinkHeader, size1 - kLinkHeader);
    const std::string_view data2 = std::string_view(data).substr(at + size1, size2);
    if ((pos >> 14) != block) characters = 0;
    block = pos >> 14;
    if (type == format::kTopicHeader) {
      HelpTopic topic;
      topic.offset = static_cast<std::uint32_t>(block * format::kOffsetPerBlock + characters);
      topic.title = Cursor(data2).Z();
      doc.topics.push_back(std::move(topic));
    } else if (type == format::kDisplayText) {
      if (doc.topics.empty()) Fail("testo fuori da un argomento");
      Cursor format(data1);
      Cursor peek = format;
      peek.CompressedLong();
      characters += peek.CompressedUShort();
      ReadText(format, data2, doc.fonts.size(), font, doc.topics.back());
    } else {
      Fail("record non gestito");
    }
    previous = at;
    started = true;
    pos = next;
  }
  if (doc.topics.empty()) Fail("nessun argomento");
}

void ReadKeywords(const std::map<std::string, std::string_view>& files, HelpDocument& doc) {
  const auto tree = files.find("|KWBTREE");
  if (tree == files.end()) return;
  const std::string_view data = Required(files, "|KWDATA");
  WalkBTree(tree->second, [&](Cursor& c) {
    HelpKeyword k;
    k.word = c.Z();
    const unsigned count = c.U16();
    const std::uint32_t at = c.U32();
    if (at > data.size()) Fail("parola chiave fuori da |KWDATA");
    Cursor offsets(data.substr(at));
    for (unsigned i = 0; i < count; ++i) k.offsets.push_back(offsets.U32());
    doc.keywords.push_back(std::move(k));
  });
}

}  // namespace

const HelpTopic* HelpDocument::TopicAt(std::uint32_t offset) const {
  const HelpTopic* found = nullptr;
  for (const HelpTopic& t : topics)
    if (t.offset <= offset) found = &t;
  return found;
}

const HelpTopic* HelpDocument::TopicOfContext(std::string_view id) const { return TopicOfHash(HelpContextHash(id)); }

const HelpTopic* HelpDocument::TopicOfHash(std::int32_t hash) const {
  const auto it = contexts.find(hash);
  return it == contexts.end() ? nullptr : TopicAt(it->second);
}

HelpDocument ReadHelpDocument(std::string_view bytes) {
  const auto files = InternalFiles(bytes);
  HelpDocument doc;
  ReadSystem(Required(files, "|SYSTEM"), doc);
  doc.fonts = ReadFonts(Required(files, "|FONT"));
  ReadTopics(Required(files, "|TOPIC"), doc);
  WalkBTree(Required(files, "|CONTEXT"), [&doc](Cursor& c) {
    const auto hash = static_cast<std::int32_t>(c.U32());
    doc.contexts[hash] = c.U32();
  });
  ReadKeywords(files, doc);
  return doc;
}

std::wstring FromWindows1252(std::string_view text) {
  // An unassigned byte stands for the control character of its value, as
  // Windows' own conversion has it.
  std::wstring out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const char32_t high = c >= 0x80 && c < 0xA0 ? kWindows1252High[c - 0x80] : 0;
    out += static_cast<wchar_t>(high != 0 ? high : c);
  }
  return out;
}

}  // namespace zxhelp
