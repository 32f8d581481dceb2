// The topic records of |TOPIC: each paragraph of the guide as a displayable
// text record, with its fonts and jumps, placed in 4 KB blocks.
#include "hlp_topics.h"

#include <functional>

#include "hlp_bytes.h"

namespace zxhelp {
namespace {

using namespace bytes;

// One TOPICLINK before placement: its two data parts; the positions that
// link it to its neighbours are filled in once every record has its place.
struct Record {
  unsigned char type = 0;  // 2: topic header, 0x20: displayable text
  std::string data1;       // after the 21-byte header
  std::string data2;       // title or paragraph text
  unsigned characters = 0; // what a paragraph adds to TOPICOFFSET
  std::size_t topic = 0;
  std::uint32_t pos = 0;   // TOPICPOS once placed
  std::size_t Size() const { return format::kLinkHeader + data1.size() + data2.size(); }
};

// A paragraph: paragraph info, then strings taking turns with the commands
// that follow each of them (font change, jump, end of jump, line break, end
// of paragraph, end).
struct Spacing {
  int above = 0, below = 0, leftIndent = 0, firstLine = 0;  // half-points
};

class ParagraphText {
 public:
  void Font(unsigned font) {
    if (font == font_) return;
    Command(format::kFontChange);
    Put16(format_, font);
    font_ = font;
  }
  void Text(const std::string& text) { pending_ += text; }
  void Jump(const std::string& target) {
    Command(format::kTopicJump);
    Put32(format_, static_cast<std::uint32_t>(ContextHash(target)));
  }
  void Command(unsigned command) {
    text_ += pending_;
    text_ += '\0';
    pending_.clear();
    Put8(format_, command);
  }
  void Runs(const std::vector<Run>& runs, unsigned plainFont) {
    for (const Run& run : runs) {
      Font(run.kind == RunKind::Code ? kCode : plainFont);
      if (run.kind == RunKind::Jump) Jump(run.target);
      Text(run.text);
      if (run.kind == RunKind::Jump) Command(format::kHotspotEnd);
    }
  }
  const std::string& text() const { return text_; }
  const std::string& format() const { return format_; }

 private:
  std::string text_, format_, pending_;
  unsigned font_ = ~0u;
};

Record ParagraphRecord(Spacing spacing, const std::function<void(ParagraphText&)>& fill) {
  std::string head;
  Put8(head, 0x00);
  Put8(head, 0x80);
  Put16(head, 0);  // paragraph id
  // Only the fields whose bit is set follow, in bit order.
  const unsigned bits = (spacing.above ? 0x0002 : 0) | (spacing.below ? 0x0004 : 0) |
                        (spacing.leftIndent ? 0x0010 : 0) | (spacing.firstLine ? 0x0040 : 0);
  Put16(head, bits);
  if (spacing.above) PutCompressedShort(head, spacing.above);
  if (spacing.below) PutCompressedShort(head, spacing.below);
  if (spacing.leftIndent) PutCompressedShort(head, spacing.leftIndent);
  if (spacing.firstLine) PutCompressedShort(head, spacing.firstLine);
  ParagraphText p;
  fill(p);
  p.Command(format::kParagraphEnd);
  p.Command(format::kEnd);

  Record r;
  r.type = format::kDisplayText;
  r.characters = static_cast<unsigned>(p.text().size());
  PutCompressedLong(r.data1, static_cast<std::uint32_t>(p.text().size()));
  PutCompressedUShort(r.data1, r.characters);
  r.data1 += head + p.format();
  r.data2 = p.text();
  return r;
}

// Lines in one font, kept as typed: the title and the examples.
Record LinesRecord(unsigned font, const std::vector<std::string>& lines, Spacing spacing) {
  return ParagraphRecord(spacing, [&](ParagraphText& p) {
    p.Font(font);
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) p.Command(format::kLineBreak);
      p.Text(lines[i]);
    }
  });
}

Record RunsRecord(unsigned font, const std::string& prefix, const std::string& line, const Topic& topic,
                  Spacing spacing) {
  return ParagraphRecord(spacing, [&](ParagraphText& p) {
    p.Font(font);
    p.Text(prefix);
    p.Runs(ParseRuns(line, topic.source), font);
  });
}

std::vector<Record> TopicRecords(const Topic& topic, std::size_t index) {
  std::vector<Record> records;
  Record header;
  header.type = format::kTopicHeader;
  header.data1.assign(28, '\0');  // TOPICHEADER, filled after placement
  header.data2 = topic.title + '\0';
  records.push_back(header);
  records.push_back(LinesRecord(kTitle, {topic.title}, {0, 12}));
  ParagraphKind previous = ParagraphKind::Heading;
  for (const Paragraph& p : topic.paragraphs) {
    // After a list the same air as after a paragraph: the item's 4 and 8 more.
    const int afterList = previous == ParagraphKind::Item && p.kind != ParagraphKind::Item ? 8 : 0;
    switch (p.kind) {
      case ParagraphKind::Heading: records.push_back(RunsRecord(kBold, "", p.lines[0], topic, {8, 4})); break;
      case ParagraphKind::Body: records.push_back(RunsRecord(kBody, "", p.lines[0], topic, {afterList, 12})); break;
      // Wrapped lines of an item start under its text, not under the bullet.
      case ParagraphKind::Item:
        records.push_back(RunsRecord(kBody, "\x95 ", p.lines[0], topic, {0, 4, 26, -14}));
        break;
      case ParagraphKind::Example: records.push_back(LinesRecord(kCode, p.lines, {afterList, 12, 24})); break;
    }
    previous = p.kind;
  }
  for (Record& r : records) r.topic = index;
  return records;
}

// Gives every record its TOPICPOS and every topic its TOPICOFFSET. A record
// never crosses a block boundary, so every block starts with a record and
// its character count starts at zero.
std::size_t PlaceRecords(const Guide& guide, std::vector<Record>& records, TopicLayout& layout) {
  std::size_t block = 0, at = format::kBlockHeader;
  unsigned characters = 0;
  for (Record& r : records) {
    if (r.Size() > format::kBlockSize - format::kBlockHeader)
      throw HelpError(guide.topics[r.topic].source + ": un paragrafo è troppo lungo per un blocco (" +
                      std::to_string(r.Size()) + " byte)");
    if (at + r.Size() > format::kBlockSize) {
      ++block;
      at = format::kBlockHeader;
      characters = 0;
    }
    r.pos = static_cast<std::uint32_t>(block * format::kPosPerBlock + at);
    if (r.type == format::kTopicHeader) layout.topicOffset[r.topic] = static_cast<std::uint32_t>(block * format::kOffsetPerBlock + characters);
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
    if (r.type != format::kTopicHeader) continue;
    std::uint32_t size = static_cast<std::uint32_t>(r.Size()), scroll = format::kNone, nextTopic = format::kNone;
    std::size_t j = i + 1;
    for (; j < records.size() && records[j].type != format::kTopicHeader; ++j) {
      size += static_cast<std::uint32_t>(records[j].Size());
      if (scroll == format::kNone) scroll = records[j].pos;
    }
    if (j < records.size()) nextTopic = records[j].pos;
    std::string& h = r.data1;
    Set32(h, 0, size);
    Set32(h, 4, format::kNone);
    Set32(h, 8, format::kNone);
    Set32(h, 12, static_cast<std::uint32_t>(r.topic));
    Set32(h, 16, format::kNone);
    Set32(h, 20, scroll);
    Set32(h, 24, nextTopic);
  }
}

// The blocks: each starts with the last link of the block before, its first
// link and the last topic header of the blocks before; the rest is records
// chained by their TOPICPOS, then zeros.
std::string WriteBlocks(const std::vector<Record>& records, std::size_t blocks) {
  std::string out(blocks * format::kBlockSize, '\0');
  std::uint32_t lastLink = format::kNone, lastHeader = format::kNone;
  std::size_t next = 0;
  for (std::size_t b = 0; b < blocks; ++b) {
    const std::size_t base = b * format::kBlockSize;
    Set32(out, base + 0, lastLink);
    Set32(out, base + 4, static_cast<std::uint32_t>(b * format::kPosPerBlock + format::kBlockHeader));
    Set32(out, base + 8, lastHeader);
    for (; next < records.size() && records[next].pos / format::kPosPerBlock == b; ++next) {
      const Record& r = records[next];
      std::string link;
      Put32(link, static_cast<std::uint32_t>(r.Size()));
      Put32(link, static_cast<std::uint32_t>(r.data2.size()));
      Put32(link, next == 0 ? format::kNone : records[next - 1].pos);
      Put32(link, next + 1 < records.size() ? records[next + 1].pos : format::kNone);
      Put32(link, static_cast<std::uint32_t>(format::kLinkHeader + r.data1.size()));
      Put8(link, r.type);
      link += r.data1;
      link += r.data2;
      out.replace(base + r.pos % format::kPosPerBlock, link.size(), link);
      lastLink = r.pos;
      if (r.type == format::kTopicHeader) lastHeader = r.pos;
    }
  }
  return out;
}

}  // namespace

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


}  // namespace zxhelp
