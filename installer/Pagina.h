// What the installer's windows share: like a dialog, a window that becomes
// active gives the focus back to the control that had it, or to its first one.
#pragma once

#include "Form.h"

namespace velisca {

class Pagina : public forms::Form {
 protected:
  // The control that takes the focus the first time; 0 for none.
  int primoFuoco_ = 0;

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == WM_ACTIVATE && LOWORD(wp) == WA_INACTIVE) {
      HWND f = GetFocus();
      if (f && IsChild(hwnd(), f)) ultimoFuoco_ = f;
    }
    const LRESULT result = Form::HandleMessage(msg, wp, lp);
    if (msg == WM_ACTIVATE && LOWORD(wp) != WA_INACTIVE) {
      if (ultimoFuoco_ && IsWindow(ultimoFuoco_) && IsChild(hwnd(), ultimoFuoco_)) SetFocus(ultimoFuoco_);
      else if (primoFuoco_) Focus(primoFuoco_);
    }
    if (msg == WM_NCDESTROY) ultimoFuoco_ = nullptr;
    return result;
  }

 private:
  HWND ultimoFuoco_ = nullptr;
};

}  // namespace velisca
