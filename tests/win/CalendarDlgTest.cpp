// The calendar window, created and sent messages as the system and the user would.
#include "WinTestSupport.h"

#include <pbt.h>

#include "prefs/Autostart.h"

using CalendarDlgTest = WinTest;

TEST_F(CalendarDlgTest, LoadsBeforeTheTrayAddSavesBeforeTheDeleteAndSaysWhenItCannot) {
  (void)SendMessageA(Open(), WM_COMMAND, IDCANCEL, 0);  // Esc ends it, and it saves all the same
  EXPECT_EQ(fake.tray, (Strings{"add 134", "delete 129"}));
  EXPECT_EQ(fake.iniAtTray, (Strings{"", "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\n"
                                         "SYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n"}));
  for (const bool readOnly : {false, true}) {
    ASSERT_TRUE(DeleteFileA("rv.ini") || RemoveDirectoryA("rv.ini"));
    if (readOnly) WriteIni("TOOLTIPS=no\r\n");
    ASSERT_TRUE(readOnly ? SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_READONLY)
                         : CreateDirectoryA("rv.ini", nullptr));
    HWND window = Open();
    Click(window, IDC_STARTMINIMIZED);
    BoxCatcher boxes(window);
    (void)DestroyWindow(window);
    EXPECT_EQ(boxes.seen, Strings{"Error Writing File: Save to File"}) << readOnly;
    EXPECT_EQ(ReadIni(), readOnly ? "TOOLTIPS=no\r\n" : "<missing>");
  }
}

TEST_F(CalendarDlgTest, EachLookAtTheClockAndANewTaskBarShowTodaysIcon) {
  const std::pair<UINT, WPARAM> kLooks[] = {{WM_TIMER, 77}, {WM_TIMECHANGE, 0},
      {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}, {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND}};
  HWND window = Open();
  int day = 6;  // the fake's clock starts on the 6th of December
  for (const auto& [message, wParam] : kLooks) {
    fake.tray.clear();
    fake.now = LocalTime(2026, 12, day, 23);
    (void)SendMessageA(window, message, wParam, 0);  // the same day: nothing
    fake.now = LocalTime(2026, 12, ++day, 0);
    (void)SendMessageA(window, message, wParam, 0);
    EXPECT_EQ(fake.tray, (Strings{"delete 129", "add " + std::to_string(kDayIcon[day])}));
  }
  fake.now = LocalTime(2026, 12, 15);
  (void)SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(fake.tray.back(), "add 151");
  (void)ShowWindow(window, SW_HIDE);  // only a double click brings it back
  for (const LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE})
    EXPECT_EQ(SendMessageA(window, kTrayCallbackMessage, kTrayIconId, mouse), 1);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(CalendarDlgTest, ToolTipsTurnsTheHintsOffAndOnAndStartMinimizedIsOnlyStored) {
  auto hasHints = [](HWND window) {  // a tooltip control of the window's
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr &&
           GetWindow(tip, GW_OWNER) != window) {}
    return tip != nullptr;
  };
  for (const std::string value : {"", "no"}) {
    WriteIni("TOOLTIPS=" + value + "\r\n");
    HWND window = Open();
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) (void)DispatchMessageA(&msg);
    EXPECT_EQ(Ticked(window, IDC_TOOLTIPS) + hasHints(window), value.empty() ? 2 : 0) << value;
    Click(window, IDC_TOOLTIPS);
    Click(window, IDC_STARTMINIMIZED);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) (void)DispatchMessageA(&msg);
    EXPECT_EQ(hasHints(window), !value.empty());
    EXPECT_EQ(dlg->Prefs().Record().tooltips, value.empty() ? "no" : "yes");
    EXPECT_EQ(dlg->Prefs().Record().min, "yes");
    Click(window, IDC_STARTMINIMIZED);
    EXPECT_EQ(dlg->Prefs().Record().min, "no");
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window));
    (void)DestroyWindow(window);
  }
}

static std::wstring ExePath() {
  wchar_t path[MAX_PATH] = {};
  return {path, GetModuleFileNameW(nullptr, path, MAX_PATH)};
}

TEST_F(CalendarDlgTest, AHintArrivesWholeHelpOpensTheManualAndAboutIsModal) {
  const std::wstring manual = ExePath().substr(0, ExePath().rfind(L'\\')) + L"\\help.htm";
  (void)CloseHandle(CreateFileW(manual.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0));
  HWND window = Open();
  for (const int id : {0xFFFF, IDC_STARTMINIMIZED}) {  // the footer has none
    NMTTDISPINFOA info{};
    info.hdr = {nullptr, reinterpret_cast<UINT_PTR>(GetDlgItem(window, id)), TTN_NEEDTEXTA};
    info.uFlags = TTF_IDISHWND;
    info.lpszText = info.szText;
    (void)SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, id == 0xFFFF ? "" : "If you check this, when the program starts, "
                                                    "it will only appear on the system tray.");
  }
  Click(window, IDC_HELPBUTTON);
  EXPECT_TRUE(DeleteFileW(manual.c_str()));
  (void)SendMessageA(window, WM_COMMAND, ID_TRAY_HELP, 0);  // the tray menu's Help
  EXPECT_EQ(fake.opened,
            (std::vector<std::wstring>{L"open " + manual, L"open " RAVELIND_HELP_URL}));
  char item[32] = {};
  (void)GetMenuStringA(GetSystemMenu(window, FALSE), IDM_ABOUTBOX, item, sizeof item, 0);
  EXPECT_STREQ(item, "&About Ravelind...");
  BoxCatcher boxes(window);
  Click(window, IDC_ABOUTBUTTON);  // runs the About box until the catcher's IDOK
  (void)SendMessageA(window, WM_SYSCOMMAND, IDM_ABOUTBOX | 3, 0);  // the window menu's About
  (void)SendMessageA(window, WM_COMMAND, ID_TRAY_ABOUT, 0);        // the tray menu's
  EXPECT_EQ(boxes.seen, Strings(3, "About Ravelind"));
  EXPECT_TRUE(IsWindowEnabled(window));
}

// Start Menu against the real Run keys; the value goes from both before and after.
TEST_F(CalendarDlgTest, StartMenuWritesTheRunValueAndSaysWhenItCannot) {
  using ravelind::kAutostartSubKey, ravelind::kAutostartValueName, ravelind::QuoteArgument;
  wchar_t folder[MAX_PATH] = {};
  const std::wstring command = QuoteArgument(ExePath()) + L" /workdir " +
                               QuoteArgument({folder, GetCurrentDirectoryW(MAX_PATH, folder)});
  (void)AutostartEntry(Platform::System()).Delete();
  HWND window = Open();
  // A click with these roots refused: box, setting, keys with the value ("?": another), boxes.
  auto click = [&](std::vector<HKEY> refused, bool refuseDelete = false) {
    fake.refusedRoots = refused;
    fake.refuseDelete = refuseDelete;
    BoxCatcher boxes(window);
    Click(window, IDC_STARTMENU);
    std::string seen = (Ticked(window, IDC_STARTMENU) ? "ticked " : "clear ") +
                       dlg->Prefs().Record().startup;
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      wchar_t data[2048] = {};
      DWORD size = sizeof data;
      if (RegGetValueW(root, kAutostartSubKey, kAutostartValueName, RRF_RT_REG_SZ | RRF_NOEXPAND,
                       nullptr, data, &size) != ERROR_SUCCESS) continue;
      seen += root == HKEY_LOCAL_MACHINE ? " HKLM" : " HKCU";
      seen += data == command ? "" : "?";
    }
    for (const std::string& box : boxes.seen) seen += ", " + box;
    return seen;
  };
  EXPECT_EQ(click({}), "ticked yes HKLM");
  EXPECT_EQ(click({}), "clear no");
  EXPECT_EQ(click({HKEY_LOCAL_MACHINE}), "ticked yes HKCU");
  EXPECT_EQ(click({}), "clear no");
  EXPECT_EQ(click({HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}),
            "clear no, Error: Unable to add program to start menu.");
  EXPECT_EQ(click({}), "ticked yes HKLM");
  EXPECT_EQ(click({}, true), "ticked yes HKLM, Error: Unable to remove program from start menu.");
  (void)AutostartEntry(Platform::System()).Delete();
}
