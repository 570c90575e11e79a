// The tray icon: the record handed to the shell, the icon's clicks, its menu,
// and its return after the notification area is re-created.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "res/resource.h"
#include "ui/CalendarDlg.h"

namespace {

constexpr UINT kTrayMessage = 0x0464;  // WM_USER + 100

HICON ResourceIcon(int id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

// Every shell call carries the same first-version record; only the icon varies.
void ExpectRecord(const ShellCall& call, DWORD message, HWND window, HICON icon) {
  EXPECT_EQ(call.message, message);
  EXPECT_EQ(call.data.cbSize, 104u);
  EXPECT_EQ(call.data.hWnd, window);
  EXPECT_EQ(call.data.uID, 128u);
  EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(call.data.uCallbackMessage, kTrayMessage);
  EXPECT_EQ(call.data.hIcon, icon);
  const char tip[sizeof call.data.szTip] = "Ravelind";  // zeros after it: no date
  EXPECT_EQ(std::memcmp(call.data.szTip, tip, sizeof tip), 0) << call.data.szTip;
}

LRESULT TrayClick(HWND window, LPARAM mouse, WPARAM iconId = 128) {
  return SendMessageA(window, kTrayMessage, iconId, mouse);
}

// A popup menu as seen while it was open; the watcher then closes it, or
// chooses the item with mnemonic `choose`.
struct MenuSeen {
  bool open = false;
  RECT rect{};
  std::vector<UINT> ids;
  std::vector<std::string> texts;
  char choose = 0;
};
MenuSeen* g_menu = nullptr;

HWND OpenMenu() {
  HWND popup = FindWindowA("#32768", nullptr);
  return popup != nullptr && IsWindowVisible(popup) ? popup : nullptr;
}

void CALLBACK WatchForMenu(HWND, UINT, UINT_PTR, DWORD) {
  HWND popup = OpenMenu();
  if (g_menu == nullptr || popup == nullptr) return;
  g_menu->open = true;
  (void)GetWindowRect(popup, &g_menu->rect);
  auto* menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  for (int i = 0; menu != nullptr && i < GetMenuItemCount(menu); ++i) {
    char text[64] = {};
    (void)GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    g_menu->ids.push_back(GetMenuItemID(menu, i));
    g_menu->texts.push_back(text);
  }
  if (g_menu->choose != 0) {
    (void)PostMessageA(popup, WM_CHAR, static_cast<WPARAM>(g_menu->choose), 0);
  } else {
    (void)PostMessageA(popup, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  g_menu = nullptr;
}

// Runs `action` with the menu watcher on.
void WatchMenus(MenuSeen& seen, const std::function<void()>& action) {
  g_menu = &seen;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchForMenu);
  action();
  (void)KillTimer(nullptr, timer);
  g_menu = nullptr;
}

// Moves the pointer and waits until the window system reports it there for
// good: Wine sometimes answers a move with a late report of the old place.
bool MovePointer(POINT to) {
  auto there = [&] {
    POINT now{};
    return GetCursorPos(&now) && now.x == to.x && now.y == to.y;
  };
  for (int attempt = 0; attempt < 5; ++attempt) {
    (void)SetCursorPos(to.x, to.y);
    Pump(200);
    if (!there()) continue;
    Pump(100);
    if (there()) return true;
  }
  return false;
}

// Closes the About box when it appears; remembers its owner.
HWND g_aboutOwner = nullptr;
void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowA("#32770", "About Ravelind");
  if (g_aboutOwner != nullptr || box == nullptr || !IsWindowVisible(box)) return;
  g_aboutOwner = GetWindow(box, GW_OWNER);
  (void)PostMessageA(box, WM_COMMAND, IDOK, 0);
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

// rv.ini as it is at each shell call: loaded before the add, saved before the delete.
const ScopedWorkDir* g_dir = nullptr;
std::vector<std::string> g_iniAtCall;
BOOL WINAPI NotifyAndReadSettings(DWORD message, PNOTIFYICONDATAA data) {
  g_iniAtCall.push_back(g_dir->Exists("rv.ini") ? g_dir->ReadFile("rv.ini") : "<missing>");
  return TestPlatform::current->Get().notifyIcon(message, data);
}

class TrayIconTest : public ::testing::Test {
 protected:
  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(TrayIconTest, AddedOnceAfterLoadingAndDeletedAfterSavingTheSettings) {
  fake.now = LocalNoon(2027, 1, 15);
  Platform platform = fake.Get();
  platform.notifyIcon = NotifyAndReadSettings;
  g_dir = &dir;
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
  ASSERT_EQ(g_iniAtCall.size(), 2u);
  EXPECT_NE(g_iniAtCall[0], "<missing>") << "settings not loaded before the add";
  EXPECT_NE(g_iniAtCall[1].find("TOOLTIPS="), std::string::npos) << "not saved before the delete";
}

TEST_F(TrayIconTest, WindowIconAndTrayIconAreTheClockDaysIcon) {
  const struct {
    int day, iconId;
  } kDays[] = {{1, 129}, {7, 139}, {10, 138}, {15, 151}, {30, 164}, {31, 163}};
  for (const auto& row : kDays) {
    fake.now = LocalNoon(2027, 1, row.day);
    CCalendarDlg dialog(nullptr, fake.Get());
    EXPECT_EQ(dialog.WindowIcon(), ResourceIcon(row.iconId)) << "day " << row.day;
  }
  fake.now = LocalNoon(2027, 1, 30);
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    ASSERT_EQ(fake.notifyCalls.size(), 1u);
    EXPECT_EQ(fake.notifyCalls[0].data.hIcon, dialog.WindowIcon());
    for (WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
      EXPECT_EQ(SendMessageA(window, WM_GETICON, size, 0),
                reinterpret_cast<LRESULT>(ResourceIcon(164)));
    }
  });
}

TEST_F(TrayIconTest, DoubleClickBringsTheWindowBackAndOtherClicksDoNothing) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    RECT before{}, after{};
    (void)GetWindowRect(window, &before);
    (void)ShowWindow(window, SW_MINIMIZE);
    Pump(100);
    ASSERT_FALSE(IsWindowVisible(window)) << "minimising should leave only the tray icon";

    MenuSeen stray;  // a menu opened by mistake is seen, and closed
    WatchMenus(stray, [&] {
      for (LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE}) {
        EXPECT_EQ(TrayClick(window, mouse), 1) << mouse;
      }
      EXPECT_EQ(TrayClick(window, WM_LBUTTONDBLCLK, 129), 1);
      EXPECT_EQ(TrayClick(window, WM_RBUTTONDOWN, 0), 1);
      Pump(50);
    });
    EXPECT_FALSE(stray.open);
    EXPECT_FALSE(IsWindowVisible(window));

    EXPECT_EQ(TrayClick(window, WM_LBUTTONDBLCLK), 1);
    Pump(50);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    (void)GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(before, after)) << "not back in its former place and size";
    EXPECT_EQ(GetForegroundWindow(), window);

    // Shown but behind another window: comes to the front, unmoved.
    HWND other = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, before.left, before.top,
                                 300, 300, nullptr, nullptr, nullptr, nullptr);
    (void)SetForegroundWindow(other);
    Pump(50);
    ASSERT_EQ(GetForegroundWindow(), other);
    EXPECT_EQ(TrayClick(window, WM_LBUTTONDBLCLK), 1);
    Pump(50);
    EXPECT_EQ(GetForegroundWindow(), window);
    HWND top = GetTopWindow(nullptr);
    while (top != nullptr && top != window && top != other) top = GetWindow(top, GW_HWNDNEXT);
    EXPECT_EQ(top, window) << "still below the other window";
    (void)GetWindowRect(window, &after);
    EXPECT_TRUE(SameRect(before, after));
    EXPECT_EQ(fake.notifyCalls.size(), 1u);
    (void)DestroyWindow(other);
  });
}

TEST_F(TrayIconTest, RightClickOpensTheTrayMenuLeftOfThePointerUntilItCloses) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (POINT cursor : {POINT{500, 300}, POINT{620, 420}}) {
      ASSERT_TRUE(MovePointer(cursor));
      MenuSeen seen;
      WatchMenus(seen, [&] { EXPECT_EQ(TrayClick(window, WM_RBUTTONDOWN), 1); });
      ASSERT_TRUE(seen.open) << "no menu while the right-click was handled";
      EXPECT_EQ(seen.rect.left, cursor.x - 50);
      EXPECT_EQ(seen.rect.top, cursor.y);
      EXPECT_EQ(seen.ids, (std::vector<UINT>{32771, 32773}));
      EXPECT_EQ(seen.texts, (std::vector<std::string>{"&About", "&Help"}));
      EXPECT_EQ(OpenMenu(), nullptr) << "the menu outlived the right-click";
    }
    Pump(50);
    EXPECT_TRUE(fake.shellExecuteCalls.empty()) << "closing the menu chose something";
  });
}

TEST_F(TrayIconTest, TrayMenuItemsOpenTheHelpPageAndTheAboutBox) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    ASSERT_TRUE(MovePointer({500, 300}));
    MenuSeen help;
    help.choose = 'h';
    WatchMenus(help, [&] { (void)TrayClick(window, WM_RBUTTONDOWN); });
    Pump(100);
    ASSERT_EQ(fake.shellExecuteCalls.size(), 1u);
    EXPECT_EQ(fake.shellExecuteCalls[0].verb, "open");
    EXPECT_EQ(fake.shellExecuteCalls[0].file, RAVELIND_HELP_URL);
    EXPECT_EQ(fake.shellExecuteCalls[0].show, SW_SHOWNORMAL);

    g_aboutOwner = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseAboutBox);
    MenuSeen about;
    about.choose = 'a';
    WatchMenus(about, [&] { (void)TrayClick(window, WM_RBUTTONDOWN); });
    Pump(300);
    (void)KillTimer(nullptr, timer);
    EXPECT_EQ(g_aboutOwner, window) << "no About box owned by the calendar window";
    EXPECT_EQ(fake.shellExecuteCalls.size(), 1u);
  });
}

TEST_F(TrayIconTest, ANewTaskBarGetsTheIconAgain) {
  fake.now = LocalNoon(2027, 1, 10);
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    const UINT taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    (void)SendMessageA(window, taskbarCreated, 0, 0);
    ASSERT_EQ(fake.notifyCalls.size(), 2u);
    ExpectRecord(fake.notifyCalls[1], NIM_ADD, window, ResourceIcon(138));

    // After midnight: today's icon, and today becomes the day shown.
    fake.now = LocalTime(2027, 1, 11, 0, 0, 5);
    (void)SendMessageA(window, taskbarCreated, 0, 0);
    ASSERT_EQ(fake.notifyCalls.size(), 3u);
    ExpectRecord(fake.notifyCalls[2], NIM_ADD, window, ResourceIcon(142));
    EXPECT_EQ(dialog.DayShown(), "11");
  });
}

}  // namespace
