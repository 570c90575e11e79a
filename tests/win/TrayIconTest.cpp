// The tray icon on its own, and the window's icon: the tray's, for every day.
#include "WinTestSupport.h"

using TrayIconTest = WinTest;

TEST_F(TrayIconTest, HandsTheShellTheUsualRecordAndSwapsOnANewDayOnly) {
  HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  fake.now = LocalTime(2027, 1, 15, 0);
  TrayIcon tray(fake.platform);
  tray.Attach(window);
  tray.Add();
  tray.Remove();
  fake.now = LocalTime(2027, 1, 15, 23);
  EXPECT_FALSE(tray.Refresh());
  fake.now = LocalTime(2027, 2, 16, 0);
  EXPECT_TRUE(tray.Refresh());
  fake.now = LocalTime(2027, 2, 10);  // the clock set back
  EXPECT_TRUE(tray.Refresh());
  EXPECT_EQ(fake.tray, (Strings{"add 151", "delete 129", "delete 129", "add 147", "delete 129",
                                "add 138"}));
  for (const NOTIFYICONDATAA& record : fake.records) EXPECT_EQ(record.hWnd, window);
  (void)DestroyWindow(window);
}

TEST_F(TrayIconTest, TheWindowShowsTheDaysIconForEveryDay) {
  for (int day = 1; day <= 31; ++day) {
    fake.now = LocalTime(2027, 1, day);
    EXPECT_EQ(CCalendarDlg(nullptr, fake.platform).WindowIcon(), Icon(kDayIcon[day])) << day;
  }
}
