// Gives the focus back to the control that had it when a form is activated
// again (after a message box, or when the user returns to it); the first
// activation focuses the form's initial control.
#pragma once

#include <windows.h>

namespace zornavex {

class FocusMemory {
 public:
  void Reset(HWND initial) { last_ = initial; }
  // Call after the default WM_ACTIVATE handling, which focuses the form itself.
  void OnActivate(HWND form, WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (focus && IsChild(form, focus)) last_ = focus;
    } else if (last_ && IsChild(form, last_) && IsWindowEnabled(last_)) {
      SetFocus(last_);
    }
  }

 private:
  HWND last_ = nullptr;
};

}  // namespace zornavex
