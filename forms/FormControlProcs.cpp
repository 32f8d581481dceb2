// The controls' own behaviour inside a form: typed characters offered to
// the form first, frames that draw their own caption, and colours.
#include <windows.h>
#include <commctrl.h>

#include "CommonControls.h"
#include "Form.h"

namespace forms {

void Form::OnKeyPress(int id, KeyPressHandler handler) {
  ControlState* st = StateOf(id);
  if (!st) return;
  st->keyPress = std::move(handler);
  SetSubclass(st->hwnd, &Form::EditSubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK Form::EditSubclassProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  if (msg == WM_CHAR) {
    Form* form = reinterpret_cast<Form*>(ref);
    if (ControlState* st = form->StateOf(h); st && st->keyPress) {
      short key = static_cast<short>(wp);
      st->keyPress(key);
      if (key == 0) return 0;
      wp = static_cast<WPARAM>(static_cast<unsigned short>(key));
    }
  } else if (msg == WM_NCDESTROY) {
    RemoveSubclass(h, &Form::EditSubclassProc, 1);
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
    FillRect(dc, &label, formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    if (IsWindowEnabled(frame)) {
      SetTextColor(dc, st && st->fore ? ToColorRef(*st->fore) : GetSysColor(COLOR_BTNTEXT));
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
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE: {
      const LRESULT result = DefSubclass(h, msg, wp, lp);
      InvalidateRect(h, nullptr, TRUE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveSubclass(h, &Form::FrameSubclassProc, 2);
      break;
    default:
      break;
  }
  return DefSubclass(h, msg, wp, lp);
}

HBRUSH Form::ColourFor(HWND control, HDC dc) {
  ControlState* st = StateOf(control);
  if (!st) return nullptr;
  if (st->fore) SetTextColor(dc, ToColorRef(*st->fore));
  if (st->back) {
    SetBkColor(dc, ToColorRef(*st->back));
    return st->backBrush.get();
  }
  // Read-only boxes keep the usual opaque face; labels and frames show the
  // form through.
  if (st->design->kind == Kind::TextBox) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
  }
  SetBkMode(dc, TRANSPARENT);
  return formBrush_ ? formBrush_.get() : GetSysColorBrush(COLOR_BTNFACE);
}

}  // namespace forms
