// The tray icon: the record handed to the shell, the icon's clicks, its menu,
// and its return after the notification area is re-created.
#include "WinTestSupport.h"

namespace {

LRESULT TrayClick(HWND window, LPARAM mouse, WPARAM iconId = 128) {
  return SendMessageA(window, kTrayMessage, iconId, mouse);
}

HWND OpenMenu() {
  HWND popup = FindWindowA("#32768", nullptr);
  return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

// A popup menu seen while `action` ran: its place and "id text|" for each item.
// It is then closed.
struct MenuSeen {
  RECT rect{};
  std::string items;
};
MenuSeen WatchMenus(const std::function<void()>& action) {
  MenuSeen seen;
  WhilePolling(
      [&] {
        HWND popup = OpenMenu();
        if (popup == nullptr) return false;
        (void)GetWindowRect(popup, &seen.rect);
        auto* menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
          char text[64] = {};
          (void)GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
          seen.items += std::to_string(GetMenuItemID(menu, i)) + " " + text + "|";
        }
        (void)PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
      },
      action);
  return seen;
}

// Moves the pointer and waits until the window system reports it there for
// good: Wine sometimes answers a move with a late report of the old place.
bool MovePointer(POINT to) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    (void)SetCursorPos(to.x, to.y);
    POINT at[2]{};
    Pump(200);
    (void)GetCursorPos(&at[0]);
    Pump(100);
    (void)GetCursorPos(&at[1]);
    if (at[0].x == to.x && at[0].y == to.y && at[1].x == to.x && at[1].y == to.y) return true;
  }
  return false;
}

// rv.ini as it is at each shell call.
std::vector<std::string> g_iniAtCall;
BOOL WINAPI NotifyAndReadSettings(DWORD message, PNOTIFYICONDATAA data) {
  g_iniAtCall.push_back(ReadIni());
  return TestPlatform::current->Get().notifyIcon(message, data);
}

using TrayIconTest = WinTest;

TEST_F(TrayIconTest, AddedOnceAfterLoadingAndDeletedAfterSavingTheSettings) {
  fake.now = LocalTime(2027, 1, 15);
  Platform platform = fake.Get();
  platform.notifyIcon = NotifyAndReadSettings;
  g_iniAtCall.clear();
  CCalendarDlg dialog(nullptr, platform);
  HWND window = nullptr;
  RunModal(dialog, [&](HWND w) {
    window = w;
    Pump(100);
    ASSERT_EQ(fake.notifyCalls.size(), 1u);
    ExpectRecord(fake.notifyCalls[0], NIM_ADD, w, ResourceIcon(151));
    EXPECT_EQ(dialog.DayShown(), "15");
  });
  ASSERT_EQ(fake.notifyCalls.size(), 2u);
  ExpectRecord(fake.notifyCalls[1], NIM_DELETE, window, ResourceIcon(129));
  EXPECT_EQ(g_iniAtCall, (std::vector<std::string>{"", kWrittenByDefault}))
      << "not loaded before the add or not saved before the delete";
}

TEST_F(TrayIconTest, TheIconIsTheClockDaysIcon) {
  for (int day = 1; day <= 31; ++day) {
    fake.now = LocalTime(2027, 1, day);
    CCalendarDlg dialog(nullptr, fake.Get());
    EXPECT_EQ(dialog.WindowIcon(), ResourceIcon(kDayIcon[day])) << "day " << day;
  }
}

TEST_F(TrayIconTest, DoubleClickBringsTheWindowBackAndOtherClicksDoNothing) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    RECT before{}, after{};
    (void)GetWindowRect(window, &before);
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, before.left, before.top,
                                 300, 300, nullptr, nullptr, nullptr, nullptr);
    (void)ShowWindow(window, SW_MINIMIZE);
    (void)SetForegroundWindow(other);
    Pump(100);
    ASSERT_FALSE(IsWindowVisible(window));
    ASSERT_EQ(GetForegroundWindow(), other);

    const MenuSeen stray = WatchMenus([&] {
      for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE}) {
        EXPECT_EQ(TrayClick(window, mouse), 1) << mouse;
      }
      EXPECT_EQ(TrayClick(window, WM_LBUTTONDBLCLK, 129), 1);
      EXPECT_EQ(TrayClick(window, WM_RBUTTONDOWN, 0), 1);
      Pump(50);
    });
    EXPECT_EQ(stray.items, "");
    EXPECT_FALSE(IsWindowVisible(window));

    EXPECT_EQ(TrayClick(window, WM_LBUTTONDBLCLK), 1);
    Pump(50);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    (void)GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "not back in its former place and size";
    EXPECT_EQ(GetForegroundWindow(), window);
    HWND top = GetTopWindow(nullptr);
    while (top != nullptr && top != window && top != other) top = GetWindow(top, GW_HWNDNEXT);
    EXPECT_EQ(top, window) << "still below the other window";
    EXPECT_EQ(fake.notifyCalls.size(), 1u);
    (void)DestroyWindow(other);
  });
}

TEST_F(TrayIconTest, RightPressOpensTheTrayMenuLeftOfThePointerUntilItCloses) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    const POINT cursor{500, 300};
    ASSERT_TRUE(MovePointer(cursor));
    const MenuSeen seen = WatchMenus([&] { EXPECT_EQ(TrayClick(window, WM_RBUTTONDOWN), 1); });
    ASSERT_EQ(seen.items, "32771 &About|32773 &Help|") << "no menu while the press was handled";
    EXPECT_EQ(seen.rect.left, cursor.x - 50);
    EXPECT_EQ(seen.rect.top, cursor.y);
    EXPECT_EQ(OpenMenu(), nullptr) << "the menu outlived the right press";
    Pump(50);
    EXPECT_TRUE(fake.shellExecuteCalls.empty()) << "closing the menu chose something";
  });
}

TEST_F(TrayIconTest, ANewTaskBarGetsTodaysIcon) {
  fake.now = LocalTime(2027, 1, 10);
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    fake.now = LocalTime(2027, 1, 11, 0, 0, 5);
    (void)SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    ASSERT_EQ(fake.notifyCalls.size(), 2u);
    ExpectRecord(fake.notifyCalls[1], NIM_ADD, window, ResourceIcon(142));
    EXPECT_EQ(dialog.DayShown(), "11");
  });
}

}  // namespace
