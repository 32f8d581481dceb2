#include "hlp_rtf.h"

#include <cstdio>

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

std::string Header(const HelpDocument& doc) {
  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
  for (std::size_t i = 0; i < doc.fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
    AppendEscaped(out, doc.fonts[i].face);
    out += ";}";
  }
  out += "}{\\colortbl;";
  for (const HelpFont& f : doc.fonts)
    out += "\\red" + std::to_string(f.red) + "\\green" + std::to_string(f.green) + "\\blue" + std::to_string(f.blue) + ";";
  return out + "}\n";
}

}  // namespace

std::string TopicToRtf(const HelpDocument& doc, const HelpTopic& topic) {
  std::string out = Header(doc);
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
      out += "{\\f" + std::to_string(n) + "\\fs" + std::to_string(f.halfPoints ? f.halfPoints : 20) + "\\cf" +
             std::to_string(n + 1) + (f.bold ? "\\b" : "") + (f.italic ? "\\i" : "") + (f.underline ? "\\ul" : "") + " ";
      AppendEscaped(out, s.text);
      out += s.lineBreak ? "\\line}" : "}";
    }
    out += "\\par\n";
  }
  return out + "}";
}

}  // namespace zxhelp
