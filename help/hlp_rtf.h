// One help topic as rich text, for the read-only rich edit control of the
// help window: the file's fonts, colours, spacing and indents. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "hlp_document.h"

namespace zxhelp {

// A jump as the rich edit holds it: characters [first, last) of the text,
// every paragraph end and line break counting one.
struct RtfJump {
  long first = 0, last = 0;
  std::int32_t target = 0;  // hash of the target's context id
  bool operator==(const RtfJump&) const = default;
};

// RTF in Windows-1252 (\ansicpg1252): bytes above 0x7F as \'xx escapes.
// Without the file's colours every span takes the reader's automatic colour
// (the system's window text), as high contrast wants; jumps are underlined
// either way. `jumps`, when given, receives the jumps in text order.
std::string TopicToRtf(const HelpDocument& doc, const HelpTopic& topic, bool fileColours = true,
                       std::vector<RtfJump>* jumps = nullptr);

}  // namespace zxhelp
