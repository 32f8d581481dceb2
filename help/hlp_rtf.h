// One help topic as rich text, for the read-only rich edit control of the
// help window: the file's fonts, colours, spacing and indents. Portable.
#pragma once

#include <string>

#include "hlp_document.h"

namespace zxhelp {

// RTF in Windows-1252 (\ansicpg1252): bytes above 0x7F as \'xx escapes.
std::string TopicToRtf(const HelpDocument& doc, const HelpTopic& topic);

}  // namespace zxhelp
