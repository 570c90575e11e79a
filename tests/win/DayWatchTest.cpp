// The day-change watch: the tray icon follows the day of the month, at each
// tick of the watch, when the clock is set and when the machine wakes.
#include <gtest/gtest.h>

#include <pbt.h>

#include <vector>

#include "WinTestSupport.h"
#include "ui/CalendarDlg.h"

namespace {

HICON ResourceIcon(int id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

// The swap is a delete followed by an add of the new day's icon, same tip.
void ExpectSwapTo(const std::vector<ShellCall>& calls, HWND window, int iconId) {
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls[0].data.hWnd, window);
  EXPECT_EQ(calls[0].data.uID, 128u);
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[1].data.hWnd, window);
  EXPECT_EQ(calls[1].data.uID, 128u);
  EXPECT_EQ(calls[1].data.hIcon, ResourceIcon(iconId));
  EXPECT_STREQ(calls[1].data.szTip, "Ravelind");
}

class DayWatchTest : public ::testing::Test {
 protected:
  DayWatchTest() { fake.now = LocalNoon(2026, 12, 6); }
  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(DayWatchTest, TickSwapsTheIconOnlyWhenTheDayOfTheMonthChanges) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    fake.notifyCalls.clear();
    (void)SendMessageA(window, WM_TIMER, 1, 0);
    // A month later, the same day of the month: nothing to do.
    fake.now = LocalNoon(2027, 1, 6);
    (void)SendMessageA(window, WM_TIMER, 1, 0);
    EXPECT_TRUE(fake.notifyCalls.empty());
    EXPECT_EQ(dialog.DayShown(), "06");

    // Just past midnight; any timer's tick looks.
    fake.now = LocalTime(2027, 1, 7, 0, 0, 1);
    (void)SendMessageA(window, WM_TIMER, 77, 0);
    ExpectSwapTo(fake.notifyCalls, window, 139);
    EXPECT_EQ(dialog.DayShown(), "07");
    fake.notifyCalls.clear();
    (void)SendMessageA(window, WM_TIMER, 1, 0);
    EXPECT_TRUE(fake.notifyCalls.empty()) << "swapped twice for one change";

    // A clock set back to another day swaps too.
    fake.now = LocalNoon(2027, 1, 5);
    (void)SendMessageA(window, WM_TIMER, 1, 0);
    ExpectSwapTo(fake.notifyCalls, window, 133);
    EXPECT_EQ(dialog.DayShown(), "05");

    // The window keeps the icon of the day it started on.
    EXPECT_EQ(dialog.WindowIcon(), ResourceIcon(134));
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0),
              reinterpret_cast<LRESULT>(ResourceIcon(134)));
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(ResourceIcon(134)));
  });
}

TEST_F(DayWatchTest, ClockSetAndWakingUpLookAtOnce) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    fake.notifyCalls.clear();
    (void)SendMessageA(window, WM_TIMECHANGE, 0, 0);
    (void)SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_TRUE(fake.notifyCalls.empty()) << "swapped without a change of day";

    fake.now = LocalNoon(2026, 12, 30);
    (void)SendMessageA(window, WM_TIMECHANGE, 0, 0);
    ExpectSwapTo(fake.notifyCalls, window, 164);
    EXPECT_EQ(dialog.DayShown(), "30");

    fake.notifyCalls.clear();
    fake.now = LocalTime(2026, 12, 31, 6, 30, 0);
    (void)SendMessageA(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    ExpectSwapTo(fake.notifyCalls, window, 163);
    EXPECT_EQ(dialog.DayShown(), "31");
  });
}

// The watch's own timer, observed as it is delivered to the window.
HWND g_watched = nullptr;
std::vector<DWORD> g_ticks;

LRESULT CALLBACK RecordTick(int code, WPARAM wParam, LPARAM lParam) {
  const auto* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER &&
      msg->hwnd == g_watched && msg->hwnd != nullptr) {
    g_ticks.push_back(GetTickCount());
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(DayWatchTest, FirstLookAfterOneSecondThenEveryTenSeconds) {
  CCalendarDlg dialog(nullptr, fake.Get());
  g_ticks.clear();
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, RecordTick, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  RunModal(dialog, [&](HWND window) {
    g_watched = window;
    const DWORD start = GetTickCount();  // the watch was armed just before this
    auto waitForTicks = [&](std::size_t count, DWORD limitMs) {
      while (g_ticks.size() < count && GetTickCount() - start < limitMs) Pump(20);
    };

    waitForTicks(1, 3000);
    ASSERT_EQ(g_ticks.size(), 1u) << "no first tick within 3 s";
    const DWORD first = g_ticks[0] - start;
    EXPECT_GE(first, 700u);
    EXPECT_LE(first, 2000u);
    EXPECT_EQ(fake.notifyCalls.size(), 1u) << "the first tick saw no change of day";

    // The day changes after the first tick: the next tick, ten seconds on, sees it.
    fake.now = LocalNoon(2026, 12, 7);
    waitForTicks(2, 14000);
    ASSERT_EQ(g_ticks.size(), 2u) << "no second tick within 14 s";
    const DWORD gap = g_ticks[1] - g_ticks[0];
    EXPECT_GE(gap, 9500u);
    EXPECT_LE(gap, 11500u);
    fake.notifyCalls.erase(fake.notifyCalls.begin());
    ExpectSwapTo(fake.notifyCalls, window, 139);
    g_watched = nullptr;
  });
  (void)UnhookWindowsHookEx(hook);
}

}  // namespace
