// The real ZORNAVEX, started fresh for each test and driven from this process
// with real keys: the fixture every end-to-end test of it shares.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "ui_driver.h"

namespace zxtest {

class RunningZornavex : public ::testing::Test {
 protected:
  // Starts the program and waits for its main window, in front.
  void StartProgram(const std::wstring& exe) {
    ASSERT_TRUE(program.Start(exe)) << "cannot start the program";
    main = WaitForWindow(program.Id(), kFormClass, L"ZORNAVEX", 20000);
    ASSERT_NE(main, nullptr);
    Activate(main);
  }
  // A key pressed. Keys and characters reach the program in the order sent,
  // so only a check waits, for what it checks (FocusReaches, TextBecomes).
  static void Key(WORD vk, bool ctrl = false, bool shift = false) { PressKey(vk, ctrl, shift); }
  int FocusedId() const { return FocusedControlId(main); }
  std::wstring Text(int id) const { return ReadText(Child(main, id)); }
  auto FocusReaches(int id) const { return Becomes([&] { return FocusedId(); }, id); }
  auto TextBecomes(int id, const std::wstring& text) const { return Becomes([&] { return Text(id); }, text); }

  Process program;
  HWND main = nullptr;
};

}  // namespace zxtest
