// |TOPIC of the help file, laid out from a validated guide. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hlp_guide.h"

namespace zxhelp {

// Fonts of |FONT, by index.
enum Font : unsigned { kBody = 0, kBold = 1, kTitle = 2, kCode = 3 };

struct TopicLayout {
  std::string file;                        // |TOPIC
  std::vector<std::uint32_t> topicOffset;  // TOPICOFFSET of each topic
};

// Throws HelpError when a paragraph cannot fit in one topic block.
TopicLayout LayOutTopics(const Guide& guide);

}  // namespace zxhelp
