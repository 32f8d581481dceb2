// The dialog font: the face the layouts were drawn for, at the window's DPI.
#include "FormDetail.h"

namespace forms::detail {

namespace {

int CALLBACK FaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(dc, &lf, &FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

}  // namespace

const wchar_t* DialogFace() {
  static const wchar_t* face = [] {
    for (const wchar_t* f : {L"Microsoft Sans Serif", L"MS Sans Serif", L"Tahoma"})
      if (FaceInstalled(f)) return f;
    return L"MS Shell Dlg";
  }();
  return face;
}

FontHandle MakeFont(const wchar_t* face, double points, bool bold, bool italic, UINT dpi) {
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(points * dpi / 72.0 + 0.5);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  return FontHandle(CreateFontIndirectW(&lf));
}

}  // namespace forms::detail
