#include "a11y_support.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "Accessibility.h"
#include "ui_driver.h"

namespace a11y {

namespace {

struct Pixels {
  RECT where{};
  int w = 0, h = 0;
  std::vector<BYTE> bgr;  // 24-bit rows, bottom-up, 4-byte aligned
  int stride = 0;
  COLORREF At(int x, int y) const {
    const BYTE* p = &bgr[static_cast<size_t>((h - 1 - y) * stride + x * 3)];
    return RGB(p[2], p[1], p[0]);
  }
};

// A bottom-up 24-bit picture of the grab's size.
BITMAPINFOHEADER Header24(const Pixels& px) {
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(bi);
  bi.biWidth = px.w;
  bi.biHeight = px.h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  return bi;
}

Pixels Grab(HWND hwnd) {
  // Every repaint waiting done; Wine copies the drawing to the screen once idle.
  zxtest::Settle();
  Pixels px;
  // A maximised window reaches a border beyond the screen, which the
  // screen cannot copy.
  RECT window{};
  GetWindowRect(hwnd, &window);
  const RECT screenRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  IntersectRect(&px.where, &window, &screenRect);
  px.w = px.where.right - px.where.left;
  px.h = px.where.bottom - px.where.top;
  px.stride = (px.w * 3 + 3) & ~3;
  px.bgr.resize(static_cast<size_t>(px.stride * px.h));
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, px.w, px.h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, px.w, px.h, screen, px.where.left, px.where.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi = Header24(px);
  GetDIBits(mem, bmp, 0, static_cast<UINT>(px.h), px.bgr.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return px;
}

int Luma(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }

// The strongest difference in brightness from the commonest colour of a
// rectangle of the window: the text against what it is drawn on.
int Contrast(const Pixels& px, RECT r) {
  std::map<COLORREF, int> count;
  for (int y = std::max(0L, r.top); y < std::min<LONG>(px.h, r.bottom); ++y)
    for (int x = std::max(0L, r.left); x < std::min<LONG>(px.w, r.right); ++x) ++count[px.At(x, y)];
  if (count.empty()) return 0;
  const COLORREF back = std::max_element(count.begin(), count.end(), [](auto& a, auto& b) {
                          return a.second < b.second;
                        })->first;
  int best = 0;
  for (const auto& [c, n] : count) best = std::max(best, std::abs(Luma(c) - Luma(back)));
  return best;
}

std::wstring ClassOf(HWND h) {
  wchar_t cls[64]{};
  GetClassNameW(h, cls, 64);
  return cls;
}

}  // namespace

std::wstring Name(HWND hwnd) {
  IAccessible* acc = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&acc))) ||
      !acc)
    return L"<no accessible object>";
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  const HRESULT hr = acc->get_accName(self, &name);
  acc->Release();
  std::wstring result = SUCCEEDED(hr) && name ? std::wstring(name, SysStringLen(name)) : L"";
  if (name) SysFreeString(name);
  return result;
}

bool LabelBefore(HWND control, std::wstring_view text) {
  HWND label = GetWindow(control, GW_HWNDPREV);
  return label && _wcsicmp(ClassOf(label).c_str(), L"Static") == 0 && zxtest::ReadText(label) == text;
}

std::vector<std::wstring> InvisibleTexts(HWND window) {
  const Pixels px = Grab(window);
  std::vector<std::wstring> invisible;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::wstring text = zxtest::ReadText(c);
    const LONG style = GetWindowLongW(c, GWL_STYLE);
    if (text.empty() || !IsWindowVisible(c)) continue;
    const std::wstring cls = ClassOf(c);
    const bool label = _wcsicmp(cls.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) != SS_ICON;
    const bool frame = _wcsicmp(cls.c_str(), L"Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
    if (!label && !frame) continue;
    RECT r{};
    GetWindowRect(c, &r);
    OffsetRect(&r, -px.where.left, -px.where.top);
    if (frame) {
      // Only the caption, at the top left, where the edge is covered.
      HDC dc = GetDC(c);
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
      SIZE size{};
      GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
      SelectObject(dc, old);
      ReleaseDC(c, dc);
      r = {r.left + 10, r.top, r.left + 10 + size.cx - 4, r.top + size.cy - 1};
    }
    // Text drawn in the colour it stands on differs from it by nothing.
    if (Contrast(px, r) < 96) invisible.push_back(text);
  }
  return invisible;
}

int Contrast(HWND window, const RECT& onScreen) {
  const Pixels px = Grab(window);
  RECT r = onScreen;
  OffsetRect(&r, -px.where.left, -px.where.top);
  return Contrast(px, r);
}

bool Repaints(HWND control, void (*change)(HWND)) {
  const Pixels before = Grab(control);
  change(control);
  return Grab(control).bgr != before.bgr;
}

void HighContrast(HWND window, bool on) {
  forms::SetHighContrastForTests(on);
  SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  zxtest::Settle();
}

void Shot(HWND window, const wchar_t* name) {
  const wchar_t* dir = _wgetenv(L"ZX_A11Y_SHOTS");
  if (!dir || !*dir) return;
  const Pixels px = Grab(window);
  BITMAPINFOHEADER bi = Header24(px);
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof(bf) + sizeof(bi);
  bf.bfSize = bf.bfOffBits + static_cast<DWORD>(px.bgr.size());
  FILE* f = _wfopen((std::wstring(dir) + L"\\" + name + L".bmp").c_str(), L"wb");
  if (!f) return;
  fwrite(&bf, sizeof(bf), 1, f);
  fwrite(&bi, sizeof(bi), 1, f);
  fwrite(px.bgr.data(), 1, px.bgr.size(), f);
  fclose(f);
}

}  // namespace a11y
