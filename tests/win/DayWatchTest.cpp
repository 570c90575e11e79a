// The day-change watch: the tray icon follows the day of the month, at each
// tick of the watch, when the clock is set and when the machine wakes.
#include "WinTestSupport.h"

#include <pbt.h>

namespace {

// A change of day: the icon is deleted, then added with the new day's icon.
void ExpectSwapTo(const std::vector<ShellCall>& calls, HWND window, int day) {
  ASSERT_EQ(calls.size(), 2u);
  ExpectRecord(calls[0], NIM_DELETE, window, ResourceIcon(129));
  ExpectRecord(calls[1], NIM_ADD, window, ResourceIcon(kDayIcon[day]));
}

using DayWatchTest = WinTest;

TEST_F(DayWatchTest, TheIconFollowsTheDayOfTheMonthAtEachLook) {
  const struct {
    std::time_t now;
    UINT message;
    WPARAM wParam;
    int newDay;  // 0: no change
  } kSteps[] = {
      {LocalTime(2026, 12, 5, 23, 59, 59), WM_TIMER, 1, 0},
      {LocalTime(2027, 1, 5), WM_TIMER, 1, 0},
      {LocalTime(2027, 1, 6, 0, 0, 1), WM_TIMER, 77, 6},
      {LocalTime(2027, 1, 6, 0, 0, 1), WM_TIMER, 1, 0},
      {LocalTime(2027, 1, 4), WM_TIMER, 1, 4},  // the clock set back
      {LocalTime(2027, 1, 4), WM_TIMECHANGE, 0, 0},
      {LocalTime(2027, 1, 4), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0},
      {LocalTime(2027, 1, 30), WM_TIMECHANGE, 0, 30},
      {LocalTime(2027, 1, 31, 6, 30), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 31},
  };
  fake.now = LocalTime(2026, 12, 5);
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    std::string day = "05";
    for (const auto& step : kSteps) {
      SCOPED_TRACE(std::to_string(&step - kSteps));
      fake.notifyCalls.clear();
      fake.now = step.now;
      (void)SendMessageA(window, step.message, step.wParam, 0);
      if (step.newDay == 0) {
        EXPECT_TRUE(fake.notifyCalls.empty());
      } else {
        ExpectSwapTo(fake.notifyCalls, window, step.newDay);
        day = (step.newDay < 10 ? "0" : "") + std::to_string(step.newDay);
      }
      EXPECT_EQ(dialog.DayShown(), day);
    }
    // The window keeps the icon of the day it started on.
    for (WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
      EXPECT_EQ(SendMessageA(window, WM_GETICON, size, 0),
                reinterpret_cast<LRESULT>(ResourceIcon(kDayIcon[5])));
    }
  });
}

// Each look at the day reads the clock (once when the day stays).
TEST_F(DayWatchTest, FirstLookAfterOneSecondThenEveryTenSeconds) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    const std::vector<DWORD>& ticks = fake.clockReadAt;
    fake.clockReadAt.clear();
    const DWORD start = GetTickCount();  // the watch was armed just before this
    auto waitForTicks = [&](std::size_t count, DWORD limitMs) {
      while (ticks.size() < count && GetTickCount() - start < limitMs) Pump(20);
    };
    waitForTicks(1, 3000);
    ASSERT_EQ(ticks.size(), 1u) << "no first tick within 3 s";
    EXPECT_GE(ticks[0] - start, 700u);
    EXPECT_LE(ticks[0] - start, 2000u);
    EXPECT_EQ(fake.notifyCalls.size(), 1u) << "the first tick saw no change of day";

    // The day changes after the first tick: the next tick, ten seconds on, sees it.
    fake.now = LocalTime(2026, 12, 7);
    waitForTicks(2, 14000);
    ASSERT_GE(ticks.size(), 2u) << "no second tick within 14 s";
    EXPECT_GE(ticks[1] - ticks[0], 9500u);
    EXPECT_LE(ticks[1] - ticks[0], 11500u);
    fake.notifyCalls.erase(fake.notifyCalls.begin());
    ExpectSwapTo(fake.notifyCalls, window, 7);
  });
}

}  // namespace
