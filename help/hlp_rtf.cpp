#include "hlp_rtf.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zxhelp {
namespace {

// Half-points of the file to twips of RTF.
int Twips(int halfPoints) { return halfPoints * 10; }

void AppendEscaped(std::string& out, const std::string& text) {
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += ch;
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (c == 0xA0) {
      out += "\\~";
    } else if (c < 0x20 || c >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", c);
      out += hex;
    } else {
      out += ch;
    }
  }
}

// One font table entry per face, in order of first use: the file's fonts
// differ in size, weight and colour, which the text sets itself.
std::vector<std::string> Faces(const HelpDocument& doc) {
  std::vector<std::string> faces;
  for (const HelpFont& f : doc.fonts)
    if (std::find(faces.begin(), faces.end(), f.face) == faces.end()) faces.push_back(f.face);
  return faces;
}

bool FixedPitch(const HelpDocument& doc, const std::string& face) {
  return std::any_of(doc.fonts.begin(), doc.fonts.end(), [&](const HelpFont& f) { return f.face == face && f.family == 1; });
}

// A fixed-pitch face says so, so that a system without it takes another
// fixed-pitch face rather than the default one.
std::string Header(const HelpDocument& doc, const std::vector<std::string>& faces) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
  for (std::size_t i = 0; i < faces.size(); ++i) {
    out += "{\\f" + std::to_string(i) + (FixedPitch(doc, faces[i]) ? "\\fmodern\\fprq1" : "\\fnil") + "\\fcharset0 ";
    AppendEscaped(out, faces[i]);
    out += ";}";
  }
  out += "}{\\colortbl;";
  for (const HelpFont& f : doc.fonts)
    out += "\\red" + std::to_string(f.red) + "\\green" + std::to_string(f.green) + "\\blue" + std::to_string(f.blue) + ";";
  return out + "\\red0\\green128\\blue0;}\n";  // jumps: WinHelp's green
}

}  // namespace

std::string TopicToRtf(const HelpDocument& doc, const HelpTopic& topic, bool fileColours, std::vector<RtfJump>* jumps) {
  const std::vector<std::string> faces = Faces(doc);
  std::string out = Header(doc, faces);
  long characters = 0;
  for (const HelpParagraph& p : topic.paragraphs) {
    out += "\\pard\\sb" + std::to_string(Twips(p.spaceAbove)) + "\\sa" + std::to_string(Twips(p.spaceBelow)) +
           "\\li" + std::to_string(Twips(p.leftIndent)) + "\\ri" + std::to_string(Twips(p.rightIndent)) + "\\fi" +
           std::to_string(Twips(p.firstLineIndent));
    if (p.lineSpacing) out += "\\sl" + std::to_string(Twips(p.lineSpacing));
    if (p.align == HelpAlign::Centre) out += "\\qc";
    if (p.align == HelpAlign::Right) out += "\\qr";
    for (const HelpSpan& s : p.spans) {
      static const HelpFont kPlain{"Arial", 20};
      const std::size_t n = s.font < doc.fonts.size() ? s.font : 0;
      const HelpFont& f = n < doc.fonts.size() ? doc.fonts[n] : kPlain;
      const auto face = std::find(faces.begin(), faces.end(), f.face) - faces.begin();
      // Every attribute said outright: a reader must not carry one over
      // from the group before.
      const std::size_t colour = !fileColours ? 0 : s.jump ? doc.fonts.size() + 1 : n + 1;
      out += "{\\plain\\f" + std::to_string(face) + "\\fs" + std::to_string(f.halfPoints ? f.halfPoints : 20) + "\\cf" +
             std::to_string(colour) + (f.bold ? "\\b" : "\\b0") + (f.italic ? "\\i" : "\\i0") +
             (f.underline || s.jump ? "\\ul" : "\\ulnone") + " ";
      AppendEscaped(out, s.text);
      if (s.jump && jumps)
        jumps->push_back({characters, characters + static_cast<long>(s.text.size()), s.target});
      characters += static_cast<long>(s.text.size()) + (s.lineBreak ? 1 : 0);
      out += s.lineBreak ? "\\line}" : "}";
    }
    out += "\\par\n";
    ++characters;
  }
  return out + "}";
}

}  // namespace zxhelp
