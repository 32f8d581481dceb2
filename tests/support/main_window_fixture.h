// ZORNAVEX's main window shown in this process, with message boxes and
// program ends recorded: the fixture every in-process test of it shares.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "Modal.h"
#include "frmAvvio.h"
#include "ui_driver.h"

namespace zxtest {

class ShownMainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Initialise();
    main.Show();
    Activate(main.hwnd());
  }
  void TearDown() override {
    forms::SetModalHandler(nullptr);
    main.Unload();
  }

  // A key as the keyboard delivers it to the focused control, acted on.
  static void KeyToFocus(WORD vk) {
    PostMessageW(GetFocus(), WM_KEYDOWN, vk, 0);
    PostMessageW(GetFocus(), WM_KEYUP, vk, 0xC0000000);
    Settle();
  }
  static int Focused() { return GetDlgCtrlID(GetFocus()); }
  // A button pressed as a click does, and what it then posted acted on.
  void Press(int button) {
    SendMessageW(main.Control(button), BM_CLICK, 0, 0);
    Settle();
  }
  static auto FocusReaches(int id) { return Becomes(&Focused, id, 2000); }
  auto TextBecomes(int id, const std::wstring& text) { return Becomes([&] { return main.Text(id); }, text, 2000); }
  // An item of a list chosen by program, as the tests' starting point.
  void Choose(int list, const wchar_t* item) {
    HWND h = main.Control(list);
    SendMessageW(h, CB_SETCURSEL, SendMessageW(h, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(item)), 0);
  }

  Seams seams;
  zornavex::frmAvvio main;
};

}  // namespace zxtest
