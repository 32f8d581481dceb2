// The main window's layout at the system DPI with and without the
// per-monitor functions, and when it moves to a monitor of another DPI.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "Dpi.h"
#include "frmAvvio.h"

using namespace zornavex;

namespace {

// Whether each control of the form still held a live font when it was
// given its new one.
HWND g_form = nullptr;
std::vector<bool> g_heldLiveFont;
LRESULT CALLBACK CheckHeldFont(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_SETFONT && GetParent(m->hwnd) == g_form) {
    const auto held = reinterpret_cast<HGDIOBJ>(SendMessageW(m->hwnd, WM_GETFONT, 0, 0));
    g_heldLiveFont.push_back(!held || GetObjectType(held) == OBJ_FONT);
  }
  return CallNextHookEx(nullptr, code, wp, lp);
}

// Windows 7 to 10 version 1511 have no per-monitor DPI functions: the window
// then scales by the system DPI, and must come out as it does with them.
// ZX_EXPECT_DPI names the DPI the test's prefix is set to.
TEST(MainWindowDpi, WithoutPerMonitorFunctionsTheLayoutIsTheSame) {
  forms::Initialise();
  struct Layout {
    UINT dpi;
    RECT client, frame3, calcola4, list2;
  };
  auto measure = [](bool fallback) {
    forms::dpi::ForceFallback(fallback);
    frmAvvio f;
    f.Show();
    Layout l{f.Dpi(), {}, {}, {}, {}};
    GetClientRect(f.hwnd(), &l.client);
    const std::pair<int, RECT*> parts[] = {{Frame3, &l.frame3}, {cmdCalcola4, &l.calcola4}, {cmbFrequenza2, &l.list2}};
    for (auto [id, rect] : parts) {
      GetWindowRect(f.Control(id), rect);
      MapWindowPoints(HWND_DESKTOP, f.hwnd(), reinterpret_cast<POINT*>(rect), 2);
    }
    f.Unload();
    forms::dpi::ForceFallback(false);
    return l;
  };
  const Layout fallback = measure(true);
  const Layout perMonitor = measure(false);

  HDC screen = GetDC(nullptr);
  const UINT systemDpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
  ReleaseDC(nullptr, screen);
  if (const char* expected = std::getenv("ZX_EXPECT_DPI")) {
    EXPECT_EQ(systemDpi, std::stoul(expected));
  }
  const UINT dpi = fallback.dpi;
  EXPECT_EQ(dpi, systemDpi);
  auto scale = [dpi](int px) { return MulDiv(px, static_cast<int>(dpi), 96); };
  EXPECT_EQ(fallback.client.right, scale(545));
  EXPECT_EQ(fallback.client.bottom, scale(380));
  EXPECT_EQ(fallback.frame3.left, scale(4));
  EXPECT_EQ(fallback.frame3.top, scale(200));
  EXPECT_EQ(fallback.frame3.right, scale(4) + scale(257));
  EXPECT_EQ(fallback.calcola4.left, scale(280 + 184));
  EXPECT_EQ(fallback.calcola4.top, scale(200 + 136));
  EXPECT_EQ(fallback.calcola4.bottom - fallback.calcola4.top, scale(25));
  EXPECT_EQ(fallback.list2.left, scale(280 + 168));
  EXPECT_EQ(fallback.list2.top, scale(12 + 28));

  EXPECT_EQ(perMonitor.dpi, fallback.dpi);
  for (auto [a, b] : {std::pair{fallback.client, perMonitor.client}, std::pair{fallback.frame3, perMonitor.frame3},
                      std::pair{fallback.calcola4, perMonitor.calcola4}, std::pair{fallback.list2, perMonitor.list2}})
    EXPECT_TRUE(EqualRect(&a, &b));
}

// Moved to a monitor of another DPI: the size it answers beforehand is the
// size it then takes, at the place suggested, with the controls laid out
// again. Wine sends neither message (the test does), and draws every title
// bar at the system DPI: where that is taller than at the new DPI, the
// window grows by the difference so that the client area stays whole.
TEST(MainWindowDpi, MovedToAnotherMonitorItTakesTheSizeItAnswered) {
  forms::Initialise();
  frmAvvio f;
  f.Show();
  const UINT nuovo = f.Dpi() == 144 ? 96 : 144;
  SIZE answered{};
  ASSERT_TRUE(SendMessageW(f.hwnd(), WM_GETDPISCALEDSIZE, nuovo, reinterpret_cast<LPARAM>(&answered)));
  const RECT suggested{37, 41, 37 + MulDiv(answered.cx, 3, 4), 41 + MulDiv(answered.cy, 3, 4)};  // a linear guess
  g_form = f.hwnd();
  HHOOK spy = SetWindowsHookExW(WH_CALLWNDPROC, &CheckHeldFont, nullptr, GetCurrentThreadId());
  SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(nuovo, nuovo), reinterpret_cast<LPARAM>(&suggested));
  UnhookWindowsHookEx(spy);
  // Every control took its new font while the one it held still existed.
  EXPECT_GE(g_heldLiveFont.size(), 47u);  // one for each control
  EXPECT_EQ(std::count(g_heldLiveFont.begin(), g_heldLiveFont.end(), false), 0);
  RECT win{};
  GetWindowRect(f.hwnd(), &win);
  EXPECT_EQ(f.Dpi(), nuovo);
  EXPECT_EQ(win.left, 37);
  EXPECT_EQ(win.top, 41);
  EXPECT_EQ(win.right - win.left, answered.cx);
  EXPECT_GE(win.bottom - win.top, answered.cy);
  RECT client{};
  GetClientRect(f.hwnd(), &client);
  EXPECT_GE(client.bottom, MulDiv(380, static_cast<int>(nuovo), 96));
  RECT frame3{};
  GetWindowRect(f.Control(Frame3), &frame3);
  MapWindowPoints(HWND_DESKTOP, f.hwnd(), reinterpret_cast<POINT*>(&frame3), 2);
  EXPECT_EQ(frame3.top, MulDiv(200, static_cast<int>(nuovo), 96));
  EXPECT_EQ(frame3.right - frame3.left, MulDiv(257, static_cast<int>(nuovo), 96));
  f.Unload();
}

}  // namespace
