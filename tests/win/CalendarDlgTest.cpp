// The calendar window as it runs: its layout and the About box's, what it sets
// up when it opens, minimising to the tray, and every way of closing it.
// (The window menu's About: HintsAboutHelpTest.)
#include "WinTestSupport.h"

namespace {

// Pixels to dialog units for this dialog's font; place and size each on its own.
RECT ToDialogUnits(HWND dialog, RECT px) {
  RECT base{0, 0, 4, 8};
  (void)MapDialogRect(dialog, &base);
  return {MulDiv(px.left, 4, base.right), MulDiv(px.top, 8, base.bottom),
          MulDiv(px.right - px.left, 4, base.right), MulDiv(px.bottom - px.top, 8, base.bottom)};
}

// A control as "id class 'text' x,y wxh kind tab visible", in dialog units.
std::string Describe(int id, std::string cls, const std::string& text, RECT du, DWORD kind,
                     bool tab, bool visible = true) {
  std::transform(cls.begin(), cls.end(), cls.begin(), [](char c) { return c | 0x20; });
  return std::to_string(id) + " " + cls + " '" + text + "' " + std::to_string(du.left) + "," +
         std::to_string(du.top) + " " + std::to_string(du.right) + "x" +
         std::to_string(du.bottom) + " " + std::to_string(kind) + (tab ? " tab" : "") +
         (visible ? " visible" : "");
}

// The dialog's client size, font and controls (in Z order) as Describe puts them.
std::vector<std::string> Layout(HWND dialog) {
  RECT area{};
  (void)GetClientRect(dialog, &area);
  const RECT client = ToDialogUnits(dialog, area);
  LOGFONTA font{};
  (void)GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
  std::vector<std::string> seen{std::to_string(client.right) + "x" +
                                std::to_string(client.bottom) + " " + font.lfFaceName};
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r{};
    (void)GetWindowRect(c, &r);
    (void)MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    RECT du = ToDialogUnits(dialog, r);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE));
    const DWORD kind = style & (ClassOf(c) == "Static" ? SS_TYPEMASK : BS_TYPEMASK);
    const bool icon = ClassOf(c) == "Static" && kind == SS_ICON;
    if (icon) du.right = du.bottom = -1;  // an icon takes the icon's own size
    seen.push_back(Describe(GetDlgCtrlID(c), ClassOf(c), icon ? "" : TextOf(c), du, kind,
                            style & WS_TABSTOP, style & WS_VISIBLE));
  }
  return seen;
}

using CalendarDlgTest = WinTest;

TEST_F(CalendarDlgTest, WindowAndAboutBoxAreLaidOutAsBuilt) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    EXPECT_EQ(TextOf(window), "Ravelind");
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    const DWORD bits =
        WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | DS_MODALFRAME;
    EXPECT_EQ(style & (bits | WS_THICKFRAME), bits);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(Layout(window),
              (std::vector<std::string>{
                  "201x113 MS Sans Serif",
                  Describe(1, "Button", "Quit", {148, 7, 50, 14}, BS_DEFPUSHBUTTON, true),
                  Describe(1001, "SysMonthCal32", "", {7, 7, 132, 99}, 0, true),
                  Describe(1003, "Button", "ToolTips", {140, 43, 43, 10}, BS_AUTOCHECKBOX, true),
                  Describe(1004, "Button", "Start Menu", {140, 33, 51, 10}, BS_AUTOCHECKBOX, true),
                  Describe(1007, "Button", "Start Minimized", {140, 23, 60, 10}, BS_AUTOCHECKBOX,
                           true),
                  Describe(1008, "Button", "Help", {148, 76, 50, 14}, BS_PUSHBUTTON, true),
                  Describe(1009, "Button", "About", {148, 62, 50, 14}, BS_PUSHBUTTON, true),
                  Describe(0xFFFF, "Static", RAVELIND_FOOTER_TEXT, {0, 105, 198, 8}, SS_LEFT,
                           false)}));
    EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), 1);
    std::vector<int> tabOrder;
    for (HWND at = GetDlgItem(window, 1); tabOrder.size() < 8;
         at = GetNextDlgTabItem(window, at, FALSE)) {
      tabOrder.push_back(GetDlgCtrlID(at));
    }
    EXPECT_EQ(tabOrder, (std::vector<int>{1, 1001, 1003, 1004, 1007, 1008, 1009, 1}));

    EXPECT_TRUE(WhileDialogShown(
        [&](HWND about) {
          EXPECT_EQ(TextOf(about), "About Ravelind");
          EXPECT_EQ(GetWindow(about, GW_OWNER), window);
          EXPECT_NE(SendMessageA(GetWindow(about, GW_CHILD), STM_GETICON, 0, 0), 0);
          EXPECT_EQ(
              Layout(about),
              (std::vector<std::string>{
                  "235x55 MS Sans Serif",
                  Describe(0xFFFF, "Static", "", {11, 17, -1, -1}, SS_ICON, false),
                  Describe(0xFFFF, "Static", "Ravelind Version 1.1", {40, 10, 119, 8}, SS_LEFT,
                           false),
                  Describe(0xFFFF, "Static", RAVELIND_MAKER_NOTICE, {40, 25, 165, 8}, SS_LEFT,
                           false),
                  Describe(IDOK, "Button", "OK", {178, 7, 50, 14}, BS_DEFPUSHBUTTON, true)}));
          EXPECT_TRUE(GetWindowLongA(GetDlgItem(about, IDOK), GWL_STYLE) & WS_GROUP);
        },
        [&] { Click(window, 1009); }));
  });
}

TEST_F(CalendarDlgTest, OpeningSetsUpMenuIconsSettingsTrayAndTimer) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    const int count = GetMenuItemCount(menu);
    ASSERT_GE(count, 2);
    EXPECT_TRUE(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR);
    char text[64] = {};
    (void)GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Ravelind...");
    EXPECT_EQ(GetMenuItemID(menu, count - 1), 0x0010u);
    for (WPARAM size : {WPARAM{ICON_BIG}, WPARAM{ICON_SMALL}}) {
      EXPECT_EQ(SendMessageA(window, WM_GETICON, size, 0),
                reinterpret_cast<LRESULT>(ResourceIcon(kDayIcon[6])));
    }
    EXPECT_EQ(FilesHere(), std::vector<std::string>{"rv.ini"});
    EXPECT_EQ(ReadIni(), "");
    EXPECT_TRUE(Ticked(window, 1003)) << "hints start on";
    ASSERT_EQ(fake.notifyCalls.size(), 1u);
    EXPECT_EQ(fake.notifyCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(KillTimer(window, 1)) << "the day watch's timer 1 was not armed";
  });
}

TEST_F(CalendarDlgTest, MinimisingLeavesOnlyTheTrayIcon) {
  for (const std::string min : {"yes", ""}) {
    SCOPED_TRACE("MIN=" + min);
    WriteIni("MIN=" + min + "\r\n");
    fake.notifyCalls.clear();
    CCalendarDlg dialog(nullptr, fake.Get());
    RunModal(dialog, [&](HWND window) {
      Pump(50);
      EXPECT_EQ(IsWindowVisible(window) == FALSE, min == "yes");
      EXPECT_EQ(IsIconic(window) != FALSE, min == "yes");
      EXPECT_EQ(Ticked(window, 1007), min == "yes");
      EXPECT_EQ(fake.notifyCalls.size(), 1u);
      if (min == "yes") return;
      (void)SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
      Pump(50);
      EXPECT_TRUE(IsIconic(window));
      EXPECT_FALSE(IsWindowVisible(window));
      EXPECT_TRUE(IsWindow(window));
    });
  }
}

TEST_F(CalendarDlgTest, EveryWayOutEndsTheWindowAndSaves) {
  auto key = [](int id, WPARAM vk) {
    return [id, vk](HWND w) {
      (void)SetFocus(GetDlgItem(w, id));
      (void)PostMessageA(GetDlgItem(w, id), WM_KEYDOWN, vk, 0);
    };
  };
  const struct {
    const char* name;
    INT_PTR result;
    std::function<void(HWND)> act;
  } kWays[] = {
      {"Enter on a check box", IDOK, key(1004, VK_RETURN)},
      {"Quit", IDOK, [](HWND w) { (void)PostMessageA(GetDlgItem(w, 1), BM_CLICK, 0, 0); }},
      {"Esc", IDCANCEL, key(1003, VK_ESCAPE)},
      {"close box", IDCANCEL, [](HWND w) { (void)PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const auto& way : kWays) {
    SCOPED_TRACE(way.name);
    WriteIni(std::string(300, '#') + "\r\nSYSDATE=\r\n");  // longer than the save
    fake.notifyCalls.clear();
    CCalendarDlg dialog(nullptr, fake.Get());
    EXPECT_EQ(RunModal(dialog, way.act, 3000), way.result);
    EXPECT_EQ(ReadIni(), kWrittenByDefault);
    ASSERT_EQ(fake.notifyCalls.size(), 2u);
    EXPECT_EQ(fake.notifyCalls[1].message, static_cast<DWORD>(NIM_DELETE));
  }
}

}  // namespace
