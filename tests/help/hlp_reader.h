// A small WinHelp 4 reader for the tests, written from the published
// description of the format and sharing with the writer only the format's
// numbers and the context hash (hlp_format.h, whose hash the writer's tests
// check against known values): it finds
// internal files through the directory's B+ tree, a topic through the hash
// of its context id, and the text by walking the topic links.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace hlptest {

struct FormatError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ReadJump {
  std::string text;
  std::int32_t target = 0;  // hash of the target's context id
  bool operator==(const ReadJump&) const = default;
};

struct ReadParagraph {
  std::vector<std::string> lines;  // split at line breaks
  std::vector<unsigned> fonts;     // font numbers set in this paragraph
  std::vector<ReadJump> jumps;     // topic jumps, in order
};

struct ReadTopic {
  std::string title;
  std::uint32_t number = 0;
  std::vector<ReadParagraph> paragraphs;
};

struct FontDescriptor {
  bool bold = false;
  unsigned halfPoints = 0;
  std::string face;
};

class HelpReader {
 public:
  explicit HelpReader(std::string bytes);  // throws FormatError

  std::vector<std::string> InternalFileNames() const;  // in directory order
  std::optional<std::string> InternalFile(std::string_view name) const;

  // |SYSTEM
  unsigned Minor() const { return minor_; }
  unsigned Flags() const { return flags_; }
  std::string Title() const { return title_; }
  std::uint32_t ContentsOffset() const { return contents_; }
  std::optional<unsigned> Lcid() const { return lcid_; }
  std::optional<unsigned> Charset() const { return charset_; }

  std::vector<FontDescriptor> Fonts() const;

  // |CONTEXT: the topic offset of a context id, found through its hash.
  std::optional<std::uint32_t> OffsetOfContext(std::string_view id) const;
  // The hashes as stored, leaf by leaf.
  std::vector<std::int32_t> ContextHashes() const;

  // |TOPIC: the topic whose header sits at this topic offset.
  ReadTopic TopicAt(std::uint32_t topicOffset) const;
  std::size_t TopicBlocks() const;
  // Every record's start and end inside its block (checks of the layout).
  struct Span { std::size_t block, start, end; };
  std::vector<Span> RecordSpans() const;

  // |TTLBTREE
  std::optional<std::string> TitleAt(std::uint32_t topicOffset) const;

  // |KWBTREE and |KWDATA
  std::vector<std::string> Keywords() const;
  std::vector<std::uint32_t> OffsetsOfKeyword(std::string_view keyword) const;

 private:
  std::string bytes_;
  unsigned minor_ = 0, flags_ = 0;
  std::string title_;
  std::uint32_t contents_ = 0xFFFFFFFF;
  std::optional<unsigned> lcid_, charset_;
};

// The context hash of an id made of letters, digits, "." and "_" only.
std::int32_t Hash(std::string_view id);

}  // namespace hlptest
