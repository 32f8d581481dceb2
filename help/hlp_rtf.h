// One help topic as rich text, for the read-only rich edit control of the
// help window: the file's fonts, colours, spacing and indents. Portable.
#pragma once

#include <string>

#include "hlp_document.h"

namespace zxhelp {

// RTF in Windows-1252 (\ansicpg1252): bytes above 0x7F as \'xx escapes.
// Without the file's colours every span takes the reader's automatic colour
// (the system's window text), as high contrast wants.
std::string TopicToRtf(const HelpDocument& doc, const HelpTopic& topic, bool fileColours = true);

}  // namespace zxhelp
