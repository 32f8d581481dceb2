// ZORNAVEX's reader of help and contents files, on any bytes: it reads them
// or refuses them with HelpFileError, and every topic it reads turns into
// rich text that opens and closes its groups.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "cnt_contents.h"
#include "fuzz_input.h"
#include "hlp_document.h"
#include "hlp_rtf.h"

namespace {

void CheckRtf(const std::string& rtf) {
  int depth = 0;
  for (std::size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;  // an escaped brace or backslash is text
      continue;
    }
    if (rtf[i] == '{') ++depth;
    if (rtf[i] == '}') --depth;
    ZX_REQUIRE(depth > 0 || i + 1 == rtf.size(), L"rich text closes its outer group early");
  }
  ZX_REQUIRE(depth == 0, L"rich text leaves a group open");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  try {
    const zxhelp::HelpDocument doc = zxhelp::ReadHelpDocument(bytes);
    ZX_REQUIRE(!doc.topics.empty() && !doc.fonts.empty(), L"a document read without topics or fonts");
    for (const zxhelp::HelpTopic& topic : doc.topics) {
      ZX_REQUIRE(doc.TopicAt(topic.offset) != nullptr, L"a topic not found at its own offset");
      CheckRtf(zxhelp::TopicToRtf(doc, topic));
    }
    for (const zxhelp::HelpKeyword& k : doc.keywords)
      for (std::uint32_t offset : k.offsets) doc.TopicAt(offset);
  } catch (const zxhelp::HelpFileError&) {
  }
  try {
    const zxhelp::ContentsFile cnt = zxhelp::ReadContentsFile(bytes);
    for (const zxhelp::ContentsEntry& e : cnt.entries)
      ZX_REQUIRE(e.level >= 1 && e.level <= 9 && !e.text.empty(), L"a contents entry without level or text");
  } catch (const zxhelp::HelpFileError&) {
  }
  return 0;
}
