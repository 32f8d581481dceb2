// The controls' own behaviour inside a form: typed characters offered to
// the form first, frames that draw their own caption, and colours.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <string>

#include "Accessibility.h"
#include "CommonControls.h"
#include "Form.h"
#include "FormDetail.h"
#include "SystemLibrary.h"

namespace forms {

void Form::OnKeyPress(int id, KeyPressHandler handler) {
  ControlState* st = StateOf(id);
  if (!st) return;
  st->keyPress = std::move(handler);
  SetSubclass(st->hwnd, &Form::EditSubclassProc, detail::kEditSubclass, reinterpret_cast<DWORD_PTR>(this));
}

namespace {

// The text an input method has just finished, read through imm32 (loaded
// with the system's DLLs in any program with windows, looked up here).
std::wstring CompositionResult(HWND box) {
  using GetContextFn = HIMC(WINAPI*)(HWND);
  using GetStringFn = LONG(WINAPI*)(HIMC, DWORD, LPVOID, DWORD);
  using ReleaseContextFn = BOOL(WINAPI*)(HWND, HIMC);
  static const HMODULE imm = LoadSystemLibrary(L"imm32.dll");
  static const auto getContext = SystemFunction<GetContextFn>(imm, "ImmGetContext");
  static const auto getString = SystemFunction<GetStringFn>(imm, "ImmGetCompositionStringW");
  static const auto releaseContext = SystemFunction<ReleaseContextFn>(imm, "ImmReleaseContext");
  if (!getContext || !getString || !releaseContext) return {};
  const HIMC context = getContext(box);
  if (!context) return {};
  std::wstring text;
  const LONG bytes = getString(context, GCS_RESULTSTR, nullptr, 0);
  if (bytes > 0) {
    text.resize(static_cast<size_t>(bytes) / sizeof(wchar_t));
    const LONG got = getString(context, GCS_RESULTSTR, text.data(), static_cast<DWORD>(bytes));
    text.resize(got > 0 ? static_cast<size_t>(got) / sizeof(wchar_t) : 0);
  }
  releaseContext(box, context);
  return text;
}

constexpr LPARAM kResultParts = GCS_RESULTSTR | GCS_RESULTCLAUSE | GCS_RESULTREADSTR | GCS_RESULTREADCLAUSE;

}  // namespace

// Each character of an input method's result goes through the filter as if
// typed, and what passes is typed into the box.
void Form::TypeComposition(HWND box, ControlState& st) {
  for (const wchar_t c : CompositionResult(box)) {
    short key = static_cast<short>(c);
    st.keyPress(key);
    if (key != 0) DefSubclass(box, WM_CHAR, static_cast<unsigned short>(key), 1);
  }
}

// An input method (IME, touch keyboard, emoji panel, dictation, pen) gives
// its text as WM_IME_CHAR or as the result of WM_IME_COMPOSITION, which the
// box inserts without any WM_CHAR: both meet the same filter.
LRESULT CALLBACK Form::EditSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  ControlState* st = msg == WM_NCDESTROY ? nullptr : reinterpret_cast<Form*>(ref)->StateOf(h);
  const bool filtered = st && st->keyPress;
  if (filtered && (msg == WM_CHAR || msg == WM_IME_CHAR)) {
    short key = static_cast<short>(wp);
    st->keyPress(key);
    if (key == 0) return 0;
    wp = static_cast<WPARAM>(static_cast<unsigned short>(key));
  } else if (filtered && msg == WM_IME_COMPOSITION && (lp & GCS_RESULTSTR)) {
    reinterpret_cast<Form*>(ref)->TypeComposition(h, *st);
    lp &= ~kResultParts;  // what is left is the next composition, if any
    if (lp == 0) return 0;
  } else if (msg == WM_NCDESTROY) {
    RemoveSubclass(h, &Form::EditSubclassProc, detail::kEditSubclass);
  }
  return DefSubclass(h, msg, wp, lp);
}

void Form::PaintFrame(HWND frame, HDC dc) {
  ControlState* st = StateOf(frame);
  RECT r{};
  GetClientRect(frame, &r);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font);
  wchar_t caption[256]{};
  const int len = GetWindowTextW(frame, caption, 256);
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, len, &text);
  RECT edge = r;
  edge.top += text.cy / 2;
  DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
  if (len > 0) {
    const int left = Scale(7);
    RECT label{left, 0, left + text.cx + Scale(2), text.cy};
    // In high contrast a caption of a fixed colour (the active panel's red)
    // keeps its cue as highlighted text, the system's own mark of a choice.
    const bool emphasis = st && st->fore && !IsSystemColour(*st->fore) && HighContrast() && IsWindowEnabled(frame);
    FillRect(dc, &label, emphasis ? GetSysColorBrush(COLOR_HIGHLIGHT) : FormBrush());
    SetBkMode(dc, TRANSPARENT);
    if (IsWindowEnabled(frame)) {
      SetTextColor(dc, emphasis ? GetSysColor(COLOR_HIGHLIGHTTEXT) : ToColorRef(st ? TextColourOf(*st) : SystemColour(COLOR_BTNTEXT)));
      TextOutW(dc, left + Scale(1), 0, caption, len);
    } else {
      // Disabled captions look disabled whatever their colour value.
      SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
      TextOutW(dc, left + Scale(1) + 1, 1, caption, len);
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      TextOutW(dc, left + Scale(1), 0, caption, len);
    }
  }
  SelectObject(dc, oldFont);
}

// The frame's window becomes the ring of its etched edge and its caption:
// what lies inside is drawn by the controls alone, whatever their z-order.
void Form::ShapeFrame(HWND frame) {
  RECT r{};
  GetClientRect(frame, &r);
  wchar_t caption[256]{};
  const int len = GetWindowTextW(frame, caption, 256);
  SIZE text{};
  if (HDC dc = GetDC(frame)) {
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, caption, len, &text);
    SelectObject(dc, old);
    ReleaseDC(frame, dc);
  }
  const int top = text.cy / 2;
  HRGN ring = CreateRectRgn(0, top, r.right, r.bottom);
  HRGN inside = CreateRectRgn(2, top + 2, r.right - 2, r.bottom - 2);
  HRGN label = CreateRectRgn(0, 0, len > 0 ? Scale(7) + text.cx + Scale(2) + 1 : 0, text.cy + 1);
  if (ring && inside && label) {
    CombineRgn(ring, ring, inside, RGN_DIFF);
    CombineRgn(ring, ring, label, RGN_OR);
    // The system owns the region from here on.
    if (SetWindowRgn(frame, ring, TRUE)) ring = nullptr;
  }
  for (HRGN rgn : {ring, inside, label})
    if (rgn) DeleteObject(rgn);
}

LRESULT CALLBACK Form::FrameSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(h, &ps);
      reinterpret_cast<Form*>(ref)->PaintFrame(h, dc);
      EndPaint(h, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      reinterpret_cast<Form*>(ref)->PaintFrame(h, reinterpret_cast<HDC>(wp));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    // The themed button paints at once on these, in the theme's colours:
    // they skip the button and the frame repaints itself instead.
    case WM_UPDATEUISTATE:
    case WM_ENABLE:
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(h, msg, wp, lp);
      if (msg == WM_SETTEXT) reinterpret_cast<Form*>(ref)->ShapeFrame(h);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    // A new size or font moves the edge or the caption.
    case WM_SIZE:
    case WM_SETFONT: {
      const LRESULT result = DefSubclass(h, msg, wp, lp);
      reinterpret_cast<Form*>(ref)->ShapeFrame(h);
      return result;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: {
      const LRESULT result = DefSubclass(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveSubclass(h, &Form::FrameSubclassProc, detail::kFrameSubclass);
      break;
    default:
      break;
  }
  return DefSubclass(h, msg, wp, lp);
}

// The text colour of a control's role: window text in a box that can be
// typed into, button text on everything drawn on the form's face.
namespace {

bool Editable(HWND box) { return IsWindowEnabled(box) && !(GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY); }

}  // namespace

ColourValue Form::TextColourOf(const ControlState& st) const {
  const bool editable = st.design->kind == Kind::TextBox && Editable(st.hwnd);
  const ColourValue role = SystemColour(editable ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
  if (!st.fore) return role;
  if (HighContrast()) {
    if (st.foreHighContrast) return *st.foreHighContrast;
    if (!IsSystemColour(*st.fore)) return role;
  }
  return *st.fore;
}

namespace {

// A solid brush kept for one colour and made again when the colour changes.
HBRUSH BrushOf(BrushHandle& brush, COLORREF& made, COLORREF colour) {
  if (!brush || made != colour) {
    brush.reset(CreateSolidBrush(colour));
    made = colour;
  }
  return brush.get();
}

}  // namespace

HBRUSH Form::FormBrush() {
  const auto& back = Design().backColour;
  if (!back) return GetSysColorBrush(COLOR_BTNFACE);
  const ColourValue colour = HighContrast() && !IsSystemColour(*back) ? SystemColour(COLOR_WINDOW) : *back;
  return BrushOf(formBrush_, formBrushColour_, ToColorRef(colour));
}

// Every text colour is set, never left to the device context's black, so
// that any colour scheme shows it.
HBRUSH Form::ColourFor(HWND control, HDC dc) {
  ControlState* st = StateOf(control);
  if (!st) return nullptr;
  SetTextColor(dc, ToColorRef(TextColourOf(*st)));
  if (st->back) {
    const ColourValue back =
        HighContrast() && !IsSystemColour(*st->back) ? SystemColour(COLOR_BTNFACE) : *st->back;
    SetBkColor(dc, ToColorRef(back));
    return BrushOf(st->backBrush, st->backBrushColour, ToColorRef(back));
  }
  if (st->design->kind == Kind::DropDownList) return ListColours(dc);
  if (st->design->kind == Kind::TextBox) {
    // Read-only boxes keep the usual opaque face, the others the window colour.
    const int face = Editable(control) ? COLOR_WINDOW : COLOR_BTNFACE;
    SetBkColor(dc, GetSysColor(face));
    return GetSysColorBrush(face);
  }
  // Labels and frames show the form through.
  SetBkMode(dc, TRANSPARENT);
  return FormBrush();
}

// A list draws its chosen item over the device context's background: text,
// background and brush are one pair, on the face of an enabled or disabled
// list (which then takes the grey text itself) and in its drop-down part.
HBRUSH Form::ListColours(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return GetSysColorBrush(COLOR_WINDOW);
}

// The system colours or high contrast changed: the standard controls hear of
// it too, and everything is drawn again in the colours now in force.
void Form::Recolour() {
  // Every child, the ones a form makes outside its table too.
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) SendMessageW(c, WM_SYSCOLORCHANGE, 0, 0);
  Form_ColoursChanged();
  // At once, the window before its controls, so no later erase covers them.
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// A picture that takes the focus shows it, as a dotted frame around it,
// unless the window hides focus marks until the keyboard is used. The frame
// is drawn in the same painting as the picture, clipped alike, so a partial
// repaint keeps it whole; losing the focus repaints the picture without it.
LRESULT CALLBACK Form::PictureSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefSubclass(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      HDC dc = BeginPaint(h, &ps);
      if (!dc) return 0;
      DefSubclass(h, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
      const bool hidden = (SendMessageW(h, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) != 0;
      if (GetFocus() == h && !hidden) {
        RECT r{};
        GetClientRect(h, &r);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        DrawFocusRect(dc, &r);
      }
      EndPaint(h, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      RemoveSubclass(h, &Form::PictureSubclassProc, detail::kPictureSubclass);
      break;
    default:
      break;
  }
  return DefSubclass(h, msg, wp, lp);
}

}  // namespace forms
