// The main window in process, and the checks its tests share.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include "Module1.h"
#include "main_window_fixture.h"

namespace zxtest {

using namespace zornavex;

inline constexpr forms::ColourValue kRed = 255, kInactive = 0x8000000F, kDefault = 0x80000012;
inline constexpr int kFrames[] = {Frame1, Frame2, Frame3, Frame4};
inline constexpr int kMenus[] = {mnu_1, mnu_2, mnu_3, mnu_4};

class MainWindow : public ShownMainWindow {
 protected:
  // A button pressed as a click does, and what it then posted acted on.
  void Press(int button) {
    SendMessageW(main.Control(button), BM_CLICK, 0, 0);
    Settle();
  }
  // Every control of a panel (its id / 100) is enabled, or every one disabled.
  void ExpectPanel(int frame, bool enabled) {
    SCOPED_TRACE(testing::Message() << "panel " << frame);
    int controls = 0;
    for (int id = frame; id < frame + 100; ++id) {
      if (HWND h = main.Control(id)) {
        ++controls;
        EXPECT_EQ(IsWindowEnabled(h) != FALSE, enabled) << "control " << id;
      }
    }
    // The frame and at least its list, boxes and button.
    EXPECT_GE(controls, 5) << "no control has this panel's ids";
  }
};

}  // namespace zxtest
