// Creating a form's controls from its design, and laying them and the
// window out at the window's DPI.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "CommonControls.h"
#include "Dpi.h"
#include "Form.h"
#include "FormDetail.h"
#include "SystemLibrary.h"

namespace forms {

namespace {

// uxtheme.dll is no KnownDLL: looked up in the system folder, never imported.
void SwitchThemeOff(HWND h) {
  using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const auto setTheme =
      SystemFunction<SetWindowThemeFn>(LoadSystemLibrary(L"uxtheme.dll"), "SetWindowTheme");
  if (setTheme) setTheme(h, L"", L"");
}

}  // namespace

using detail::DialogFace;
using detail::kDialogPoints;
using detail::MakeFont;

IconHandle detail::LoadIconAt(int id, int size) {
  if (id == 0) return {};
  return IconHandle(static_cast<HICON>(
      LoadImageW(Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

namespace {

struct ClassInfo {
  const wchar_t* cls;
  DWORD style;
  DWORD exStyle;
};

ClassInfo ClassFor(const ControlDesign& c) {
  const DWORD tab = c.tabStop ? WS_TABSTOP : 0;
  switch (c.kind) {
    // Labels never paint over a box they touch.
    case Kind::Label:
      return {L"STATIC", static_cast<DWORD>((c.wrap ? SS_LEFT : SS_LEFTNOWORDWRAP) | SS_NOTIFY | WS_CLIPSIBLINGS), 0};
    case Kind::TextBox:
      return {L"EDIT", ES_LEFT | ES_AUTOHSCROLL | tab | (c.readOnly ? ES_READONLY : 0u), WS_EX_CLIENTEDGE};
    case Kind::DropDownList: return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | tab, 0};
    case Kind::Button: return {L"BUTTON", BS_PUSHBUTTON | tab, 0};
    case Kind::PictureButton: return {L"BUTTON", BS_PUSHBUTTON | BS_ICON | tab, 0};
    case Kind::GroupBox: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::PictureBox: return {L"STATIC", SS_ICON | SS_NOTIFY, 0};
    case Kind::ProgressBar: return {PROGRESS_CLASSW, 0, 0};
  }
  return {L"STATIC", 0, 0};
}

}  // namespace

// Each new control goes under the ones made before it. Frames are made
// first: a screen reader takes a frame before a control in z-order that
// holds it as the control's group. A frame's window is only its edge and
// caption (ShapeFrame), so it covers nothing drawn inside it; it takes no
// focus, so the tab order is unchanged.
void Form::CreateControls() {
  dialogFont_ = MakeFont(DialogFace(), kDialogPoints, false, false, dpi_);
  HDC measure = CreateCompatibleDC(nullptr);
  for (const bool frames : {true, false}) {
    for (const ControlDesign& c : Controls()) {
      if ((c.kind == Kind::GroupBox) != frames) continue;
      CreateControl(c, measure);
      if (HWND frame = frames ? Control(c.id) : nullptr) ShapeFrame(frame);
    }
  }
  DeleteDC(measure);
}

void Form::CreateControl(const ControlDesign& c, HDC measure) {
  const ClassInfo info = ClassFor(c);
  ControlState& st = controls_[c.id];
  st.design = &c;
  HFONT font = FontFor(st);
  // Created in place and with its font, so nothing moves or redraws later.
  const RECT r = RectFor(c, font, measure);
  // Controls that draw no text carry their accessible name as their text.
  const bool drawsNoText = c.kind == Kind::PictureButton || c.kind == Kind::PictureBox || c.kind == Kind::ProgressBar;
  const wchar_t* text = drawsNoText ? (c.accName ? c.accName : L"") : c.text;
  HWND h = CreateWindowExW(info.exStyle, info.cls, text,
                           WS_CHILD | WS_VISIBLE | info.style | c.extraStyle, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                           Instance(), nullptr);
  if (!h) {
    controls_.erase(c.id);
    return;
  }
  st.hwnd = h;
  order_.push_back(c.id);
  SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetIcon(st);
  // Frames draw their own caption, so its colour holds with or without
  // themes; unthemed, any painting the button still does takes the
  // caption colour from WM_CTLCOLORSTATIC as well.
  if (c.kind == Kind::GroupBox) {
    // Its result does not matter: the subclass draws the caption either way.
    SwitchThemeOff(h);
    SetSubclass(h, &Form::FrameSubclassProc, detail::kFrameSubclass, reinterpret_cast<DWORD_PTR>(this));
  }
  if (c.accName) {
    SetSubclass(h, &Form::NamedSubclassProc, detail::kNamedSubclass, reinterpret_cast<DWORD_PTR>(this));
    AnnotateName(h, c.accName);  // once a screen reader has asked
  }
  if (c.kind == Kind::PictureBox && (c.extraStyle & WS_TABSTOP))
    SetSubclass(h, &Form::PictureSubclassProc, detail::kPictureSubclass, reinterpret_cast<DWORD_PTR>(this));
  if (c.kind == Kind::TextBox && c.maxLength > 0) SendMessageW(h, EM_LIMITTEXT, c.maxLength, 0);
}

// Tool tips are only needed once the pointer can rest on a control: they are
// made after the window first shows, so it shows sooner.
void Form::AddToolTips() {
  if (tooltip_ || !hwnd_) return;
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             0, 0, 0, 0, hwnd_, nullptr, Instance(), nullptr);
  if (!tooltip_) return;
  SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.get()), FALSE);
  for (int id : order_) {
    const ControlState& st = controls_[id];
    if (!st.design->tip) continue;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(st.hwnd);
    ti.lpszText = const_cast<wchar_t*>(st.design->tip);
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
}

HFONT Form::FontFor(ControlState& st) {
  const ControlDesign& c = *st.design;
  if (!c.font) return dialogFont_.get();
  if (!st.font)
    st.font = MakeFont(c.font->face ? c.font->face : DialogFace(), c.font->points, c.font->bold, c.font->italic, dpi_);
  return st.font.get();
}

void Form::SetIcon(ControlState& st) {
  const ControlDesign& c = *st.design;
  if (!c.iconId || (c.kind != Kind::PictureBox && c.kind != Kind::PictureButton)) return;
  IconHandle icon = detail::LoadIconAt(c.iconId, Scale(32));
  if (c.kind == Kind::PictureBox)
    SendMessageW(st.hwnd, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
  else
    SendMessageW(st.hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon.get()));
  st.icon = std::move(icon);  // the old one only once the control has let it go
}

RECT Form::RectFor(const ControlDesign& c, HFONT font, HDC measure) const {
  int height = Scale(c.h);
  // A drop-down list's height includes its open list.
  if (c.kind == Kind::DropDownList) height += Scale(160);
  int width = Scale(c.w);
  // A one-line label grows to show its whole text in the face at hand.
  if (c.kind == Kind::Label && !c.wrap && c.text) {
    HGDIOBJ old = SelectObject(measure, font);
    SIZE size{};
    GetTextExtentPoint32W(measure, c.text, lstrlenW(c.text), &size);
    SelectObject(measure, old);
    width = std::max(width, static_cast<int>(size.cx) + 1);
  }
  return RECT{Scale(c.x), Scale(c.y), Scale(c.x) + width, Scale(c.y) + height};
}

// The old fonts are deleted only once every control holds its new one: a
// frame shapes itself and a list measures with the font it holds.
void Form::Rescale() {
  std::vector<FontHandle> old;
  old.push_back(std::exchange(dialogFont_, MakeFont(DialogFace(), kDialogPoints, false, false, dpi_)));
  HDC measure = CreateCompatibleDC(nullptr);
  for (int id : order_) {
    ControlState& st = controls_[id];
    old.push_back(std::move(st.font));
    HFONT font = FontFor(st);
    const RECT r = RectFor(*st.design, font, measure);
    SetWindowPos(st.hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(st.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetIcon(st);
  }
  DeleteDC(measure);
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont_.get()), FALSE);
  SizeWindow();
}

// The window rectangle that holds the design's client area at a DPI.
bool Form::DesignWindowRect(UINT dpi, RECT& r) const {
  const FormDesign& design = Design();
  r = {0, 0, MulDiv(design.clientWidth, static_cast<int>(dpi), 96), MulDiv(design.clientHeight, static_cast<int>(dpi), 96)};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  return dpi::AdjustRect(r, style, GetMenu(hwnd_) != nullptr, exStyle, dpi);
}

void Form::SizeWindow() {
  const FormDesign& design = Design();
  if (design.placement == Placement::Maximised) return;
  RECT r{};
  (void)DesignWindowRect(dpi_, r);  // unadjusted, it still gives the client size
  RECT now{};
  GetWindowRect(hwnd_, &now);
  if (now.right - now.left != r.right - r.left || now.bottom - now.top != r.bottom - r.top) {
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // A menu bar that wraps takes client height: grow by what is missing.
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int missing = Scale(design.clientHeight) - client.bottom;
  if (missing > 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, r.bottom - r.top + missing,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The window size that holds the design's client area at a DPI; none for a
// window the user sizes or one that fills the screen.
bool Form::SizeAt(UINT dpi, SIZE& size) const {
  if (Design().placement == Placement::Maximised || (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_THICKFRAME)) return false;
  RECT r{};
  if (!DesignWindowRect(dpi, r)) return false;
  size = {r.right - r.left, r.bottom - r.top};
  return true;
}

void Form::Place(HWND over) {
  const Placement placement = Design().placement;
  if (placement == Placement::Maximised) return;
  RECT win{};
  GetWindowRect(hwnd_, &win);
  RECT area{};
  if (placement == Placement::CentreOwner && over && IsWindow(over)) {
    GetWindowRect(over, &area);
  } else {
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    GetMonitorInfoW(MonitorFromWindow(over ? over : hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    area = mi.rcMonitor;
  }
  const int w = win.right - win.left, h = win.bottom - win.top;
  const int x = area.left + ((area.right - area.left) - w) / 2;
  const int y = area.top + ((area.bottom - area.top) - h) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::Scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }

}  // namespace forms
