// The calendar window, created and sent messages as the system and the user would.
#include "WinTestSupport.h"

#include <pbt.h>

#include "app/CalendarApp.h"
#include "prefs/Autostart.h"

using CalendarDlgTest = WinTest;

static std::wstring ExePath() {
  wchar_t path[MAX_PATH] = {};
  return {path, GetModuleFileNameW(nullptr, path, MAX_PATH)};
}

static std::wstring CurrentDir() {
  wchar_t folder[MAX_PATH] = {};
  return {folder, GetCurrentDirectoryW(MAX_PATH, folder)};
}

TEST_F(CalendarDlgTest, LoadsBeforeTheTrayAddSavesBeforeTheDeleteAndSaysWhenItCannot) {
  HWND window = Open();
  for (const WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}})  // the tray's: the 15th's
    EXPECT_EQ(SendMessageA(window, WM_GETICON, size, 0), reinterpret_cast<LRESULT>(Icon(151)));
  (void)SendMessageA(window, WM_COMMAND, IDCANCEL, 0);  // Esc ends it, and it saves all the same
  EXPECT_EQ(fake.tray, (Strings{"add 151", "delete 129"}));
  EXPECT_EQ(fake.iniAtTray, (Strings{"", "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\n"
                                         "SYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n"}));
  for (const bool readOnly : {false, true}) {
    ASSERT_TRUE(DeleteFileA("rv.ini") || RemoveDirectoryA("rv.ini"));
    if (readOnly) WriteIni("TOOLTIPS=no\r\n");
    ASSERT_TRUE(readOnly ? SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_READONLY)
                         : CreateDirectoryA("rv.ini", nullptr));
    window = Open();
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
  int month = 12, day = 15;
  for (const auto& [message, wParam] : kLooks) {
    fake.tray.clear();
    fake.now = LocalTime(2026, ++month, day, 23);  // the same day of another month: nothing
    (void)SendMessageA(window, message, wParam, 0);
    fake.now = LocalTime(2026, month, ++day, 0);
    (void)SendMessageA(window, message, wParam, 0);
    EXPECT_EQ(fake.tray, (Strings{"delete 129", "add " + std::to_string(131 + day)}));
  }
  fake.now = LocalTime(2027, 1, 10);
  fake.shown = false;  // a new task bar starts empty
  (void)SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(fake.tray.back(), "add 138");
  (void)ShowWindow(window, SW_HIDE);  // only a double click brings it back
  for (const LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE})
    EXPECT_EQ(SendMessageA(window, kTrayCallbackMessage, kTrayIconId, mouse), 1);
  EXPECT_FALSE(IsWindowVisible(window));
}

// At log-on the task bar can be too busy to take the icon; a refused add may
// still have shown it.
TEST_F(CalendarDlgTest, ARefusedTrayIconIsAddedAtTheNextTickAndNeverTwice) {
  for (const bool kept : {false, true}) {
    fake.tray.clear();
    fake.refuseAdds = kept ? 1 : 2;
    fake.keepRefused = kept;
    HWND window = Open();
    for (int tick = 0; tick < 3; ++tick) (void)SendMessageA(window, WM_TIMER, 1, 0);
    const Strings refused{"add 151 (refused)", "delete 129"};
    Strings expected = kept ? refused : Strings{refused[0], refused[1], refused[0], refused[1]};
    expected.push_back("add 151");
    EXPECT_EQ(fake.tray, expected) << kept;
    (void)DestroyWindow(window);
  }
}

TEST_F(CalendarDlgTest, ToolTipsTurnsTheHintsOffAndOnAndTheSwitchesAreSaved) {
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
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window));  // minimised at the next start
    (void)DestroyWindow(window);
    EXPECT_EQ(ReadIni(), "CREATOR=Ravelind 1.0\r\nTOOLTIPS=" + std::string(value.empty() ? "no" : "yes") +
                         "\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=yes\r\n\r\n");
  }
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

// Start Menu against the real Run keys, for a program that is elevated and for
// one that is not, which Windows lets read the machine's key but not write it.
TEST_F(CalendarDlgTest, StartMenuLeavesOneRunValueOrSaysWhichRemains) {
  const std::wstring command = ravelind::AutostartCommand(ExePath(), CurrentDir());
  const HKEY kRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
  const char* kNames[] = {"HKLM", "HKCU"};
  auto holding = [&] {  // the keys that hold our value: "HKLM" when it is ours, "HKLM?" another's
    std::string keys;
    for (int i = 0; i < 2; ++i) {
      wchar_t data[2048] = {};
      DWORD size = sizeof data;
      if (RegGetValueW(kRoots[i], ravelind::kAutostartSubKey, ravelind::kAutostartValueName,
                       RRF_RT_REG_SZ, nullptr, data, &size) == ERROR_SUCCESS) {
        keys += std::string(keys.empty() ? "" : " ") + kNames[i] + (data == command ? "" : "?");
      }
    }
    return keys;
  };
  HWND window = Open();
  struct Row { std::vector<HKEY> readOnly; std::string before; bool tick; std::string after; };
  const std::vector<HKEY> kElevated, kStandard{HKEY_LOCAL_MACHINE};
  const std::string kCannot = ", Error: Unable to remove program from start menu.";
  const Row kRows[] = {
      {kElevated, "", true, "ticked HKLM"},           {kElevated, "HKLM", true, "ticked HKLM"},
      {kElevated, "HKCU", true, "ticked HKLM"},       {kElevated, "HKLM HKCU", true, "ticked HKLM"},
      {kElevated, "", false, "clear"},                {kElevated, "HKLM", false, "clear"},
      {kElevated, "HKCU", false, "clear"},            {kElevated, "HKLM HKCU", false, "clear"},
      {kStandard, "", true, "ticked HKCU"},           {kStandard, "HKLM", true, "ticked HKLM?"},
      {kStandard, "HKCU", true, "ticked HKCU"},       {kStandard, "HKLM HKCU", true, "ticked HKLM?"},
      {kStandard, "", false, "clear"},                {kStandard, "HKLM", false, "ticked HKLM?" + kCannot},
      {kStandard, "HKCU", false, "clear"},            {kStandard, "HKLM HKCU", false, "ticked HKLM?" + kCannot},
      {{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}, "", true,
       "clear, Error: Unable to add program to start menu."},
  };
  for (const Row& row : kRows) {
    for (int i = 0; i < 2; ++i) {  // another run's value, or none
      (void)RegDeleteKeyValueW(kRoots[i], ravelind::kAutostartSubKey, ravelind::kAutostartValueName);
      const bool there = row.before.find(kNames[i]) != std::string::npos;
      ASSERT_TRUE(!there || RegSetKeyValueW(kRoots[i], ravelind::kAutostartSubKey,
                                            ravelind::kAutostartValueName, REG_SZ, L"x", 4) == 0);
    }
    fake.readOnly = row.readOnly;
    (void)CheckDlgButton(window, IDC_STARTMENU, row.tick ? BST_UNCHECKED : BST_CHECKED);
    BoxCatcher boxes(window);
    Click(window, IDC_STARTMENU);
    std::string after = (Ticked(window, IDC_STARTMENU) ? "ticked " : "clear ") + holding();
    if (after.back() == ' ') after.pop_back();
    for (const std::string& box : boxes.seen) after += ", " + box;
    EXPECT_EQ(after, row.after) << row.readOnly.size() << " read-only, before: " << row.before
                                << (row.tick ? ", tick" : ", clear");
  }
  (void)DestroyWindow(window);
  EXPECT_NE(ReadIni().find("\r\nSTARTUP=no\r\n"), std::string::npos);  // what the box shows
}

TEST_F(CalendarDlgTest, AStartFolderThatIsGoneLeavesTheProgramInItsOwn) {
  EnterStartFolder(L"r.exe /workdir C:\\gone\\for\\good");
  EXPECT_EQ(CurrentDir(), ExePath().substr(0, ExePath().rfind(L'\\')));
  EnterStartFolder((L"r.exe /workdir \"" + path + L"\"").c_str());
  EXPECT_EQ(CurrentDir(), path);
}
