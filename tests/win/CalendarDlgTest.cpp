// The calendar window as it runs: its layout and the About box's, what it sets
// up when it opens, minimising to the tray, and every way of closing it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "WinTestSupport.h"
#include "res/resource.h"
#include "ui/CalendarDlg.h"

namespace {

constexpr char kWrittenByDefault[] =
    "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n";

// A control as the live dialog shows it, its rectangle back in dialog units.
struct ControlSeen {
  int id;
  std::string cls, text;
  DWORD style;
  RECT du;
};

// Pixels to dialog units: the inverse of MapDialogRect for this dialog's font.
RECT ToDialogUnits(HWND dialog, RECT px) {
  RECT base{0, 0, 4, 8};
  (void)MapDialogRect(dialog, &base);
  // Each of place and size was mapped on its own: map them back so.
  const LONG left = MulDiv(px.left, 4, base.right);
  const LONG top = MulDiv(px.top, 8, base.bottom);
  return {left, top, left + MulDiv(px.right - px.left, 4, base.right),
          top + MulDiv(px.bottom - px.top, 8, base.bottom)};
}

std::vector<ControlSeen> ControlsInZOrder(HWND dialog) {
  std::vector<ControlSeen> seen;
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    char cls[64] = {};
    char text[256] = {};
    (void)GetClassNameA(c, cls, sizeof cls);
    (void)GetWindowTextA(c, text, sizeof text);
    RECT r{};
    (void)GetWindowRect(c, &r);
    (void)MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    seen.push_back({GetDlgCtrlID(c), cls, text, static_cast<DWORD>(GetWindowLongA(c, GWL_STYLE)),
                    ToDialogUnits(dialog, r)});
  }
  return seen;
}

void ExpectControl(const ControlSeen& c, int id, const char* cls, const std::string& text,
                   RECT du) {
  SCOPED_TRACE(text.empty() ? std::string(cls) : text);
  EXPECT_EQ(c.id, id);
  EXPECT_STRCASEEQ(c.cls.c_str(), cls);
  EXPECT_EQ(c.text, text);
  EXPECT_EQ(c.du.left, du.left);
  EXPECT_EQ(c.du.top, du.top);
  EXPECT_EQ(c.du.right - c.du.left, du.right) << "width";
  EXPECT_EQ(c.du.bottom - c.du.top, du.bottom) << "height";
  EXPECT_TRUE(c.style & WS_VISIBLE);
}

SIZE ClientInDialogUnits(HWND dialog) {
  RECT client{};
  (void)GetClientRect(dialog, &client);
  const RECT du = ToDialogUnits(dialog, client);
  return {du.right, du.bottom};
}

std::string FontFace(HWND dialog, LONG* height) {
  LOGFONTA font{};
  (void)GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
  *height = font.lfHeight;
  return font.lfFaceName;
}

LONG PointsToHeight(int points) {
  HDC screen = GetDC(nullptr);
  const LONG height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  (void)ReleaseDC(nullptr, screen);
  return height;
}

// Records the start and end of a move or size loop.
WNDPROC g_dialogProc = nullptr;
std::vector<UINT> g_sizeMoveSeen;

LRESULT CALLBACK WatchSizeMove(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENTERSIZEMOVE || message == WM_EXITSIZEMOVE) g_sizeMoveSeen.push_back(message);
  return CallWindowProcA(g_dialogProc, window, message, wParam, lParam);
}

class CalendarDlgTest : public ::testing::Test {
 protected:
  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(CalendarDlgTest, WindowAndAboutBoxAreLaidOutAsBuilt) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    char caption[64] = {};
    (void)GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Ravelind");
    const SIZE size = ClientInDialogUnits(window);
    EXPECT_EQ(size.cx, 201);
    EXPECT_EQ(size.cy, 113);
    LONG height = 0;
    EXPECT_EQ(FontFace(window, &height), "MS Sans Serif");
    EXPECT_EQ(height, PointsToHeight(8));
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    for (DWORD bit : {static_cast<DWORD>(WS_VISIBLE), static_cast<DWORD>(WS_CAPTION),
                      static_cast<DWORD>(WS_SYSMENU), static_cast<DWORD>(WS_MINIMIZEBOX),
                      static_cast<DWORD>(WS_MAXIMIZEBOX), static_cast<DWORD>(DS_MODALFRAME)}) {
      EXPECT_EQ(style & bit, bit) << std::hex << "style bit " << bit;
    }
    EXPECT_FALSE(style & WS_THICKFRAME) << "the window should not be resizable";
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    const std::vector<ControlSeen> controls = ControlsInZOrder(window);
    ASSERT_EQ(controls.size(), 8u);
    ExpectControl(controls[0], 1, "Button", "Quit", {148, 7, 50, 14});
    EXPECT_EQ(controls[0].style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
    ExpectControl(controls[1], 1001, "SysMonthCal32", "", {7, 7, 132, 99});
    ExpectControl(controls[2], 1003, "Button", "ToolTips", {140, 43, 43, 10});
    ExpectControl(controls[3], 1004, "Button", "Start Menu", {140, 33, 51, 10});
    ExpectControl(controls[4], 1007, "Button", "Start Minimized", {140, 23, 60, 10});
    for (std::size_t i : {2u, 3u, 4u}) {
      EXPECT_EQ(controls[i].style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX)) << i;
    }
    ExpectControl(controls[5], 1008, "Button", "Help", {148, 76, 50, 14});
    ExpectControl(controls[6], 1009, "Button", "About", {148, 62, 50, 14});
    for (std::size_t i : {5u, 6u}) {
      EXPECT_EQ(controls[i].style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON)) << i;
    }
    ExpectControl(controls[7], static_cast<WORD>(-1), "Static", RAVELIND_FOOTER_TEXT,
                  {0, 105, 198, 8});
    EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), 1);
    for (std::size_t i = 0; i < controls.size(); ++i) {
      EXPECT_EQ((controls[i].style & WS_TABSTOP) != 0, i != 7) << controls[i].id;
    }

    // The tab key visits the controls in the same order and comes round again.
    std::vector<int> tabOrder;
    HWND at = GetDlgItem(window, 1);
    for (int i = 0; i < 8; ++i) {
      tabOrder.push_back(GetDlgCtrlID(at));
      at = GetNextDlgTabItem(window, at, FALSE);
    }
    EXPECT_EQ(tabOrder, (std::vector<int>{1, 1001, 1003, 1004, 1007, 1008, 1009, 1}));

    const bool shown = WhileDialogShown(
        "About Ravelind",
        [&](HWND about) {
          const SIZE aboutSize = ClientInDialogUnits(about);
          EXPECT_EQ(aboutSize.cx, 235);
          EXPECT_EQ(aboutSize.cy, 55);
          LONG aboutHeight = 0;
          EXPECT_EQ(FontFace(about, &aboutHeight), "MS Sans Serif");
          EXPECT_EQ(GetWindow(about, GW_OWNER), window);
          const std::vector<ControlSeen> parts = ControlsInZOrder(about);
          ASSERT_EQ(parts.size(), 4u);
          // An icon static takes the icon's own size; its place is what counts.
          EXPECT_EQ(parts[0].cls, "Static");
          EXPECT_EQ(parts[0].style & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
          EXPECT_EQ(parts[0].du.left, 11);
          EXPECT_EQ(parts[0].du.top, 17);
          EXPECT_NE(SendMessageA(GetWindow(about, GW_CHILD), STM_GETICON, 0, 0), 0);
          ExpectControl(parts[1], static_cast<WORD>(-1), "Static", "Ravelind Version 1.1",
                        {40, 10, 119, 8});
          EXPECT_TRUE(parts[1].style & SS_NOPREFIX);
          ExpectControl(parts[2], static_cast<WORD>(-1), "Static", RAVELIND_MAKER_NOTICE,
                        {40, 25, 165, 8});
          ExpectControl(parts[3], IDOK, "Button", "OK", {178, 7, 50, 14});
          EXPECT_EQ(parts[3].style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON));
        },
        [&] { (void)SendDlgItemMessageA(window, 1009, BM_CLICK, 0, 0); });
    EXPECT_TRUE(shown);
  });
}

TEST_F(CalendarDlgTest, OpeningSetsUpMenuIconsSettingsTrayAndTimer) {
  ASSERT_FALSE(dir.Exists("rv.ini"));
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

    EXPECT_NE(dialog.WindowIcon(), nullptr);
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0),
              reinterpret_cast<LRESULT>(dialog.WindowIcon()));
    EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_SMALL, 0),
              reinterpret_cast<LRESULT>(dialog.WindowIcon()));

    EXPECT_TRUE(dir.Exists("rv.ini"));
    EXPECT_EQ(dir.ReadFile("rv.ini"), "");
    EXPECT_EQ(IsDlgButtonChecked(window, 1003), BST_CHECKED) << "hints start on";
    ASSERT_EQ(fake.notifyCalls.size(), 1u);
    EXPECT_EQ(fake.notifyCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(fake.notifyCalls[0].data.hWnd, window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(KillTimer(window, 1)) << "the day watch's timer 1 was not armed";
  });
}

TEST_F(CalendarDlgTest, MinimisingLeavesOnlyTheTrayIcon) {
  // Only exactly "yes" starts minimised.
  for (const char* min : {"yes", "Yes", " yes", "no", ""}) {
    SCOPED_TRACE(std::string("MIN=") + min);
    dir.WriteFile("rv.ini", std::string("MIN=") + min + "\r\n");
    fake.notifyCalls.clear();
    CCalendarDlg dialog(nullptr, fake.Get());
    RunModal(dialog, [&](HWND window) {
      Pump(50);
      const bool hidden = std::string(min) == "yes";
      EXPECT_EQ(IsWindowVisible(window) == FALSE, hidden);
      EXPECT_EQ(IsIconic(window) != FALSE, hidden);
      EXPECT_EQ(IsDlgButtonChecked(window, 1007) == BST_CHECKED, hidden);
      ASSERT_EQ(fake.notifyCalls.size(), 1u);
      EXPECT_EQ(fake.notifyCalls[0].message, static_cast<DWORD>(NIM_ADD));
    });
  }

  // The minimise box, that is SC_MINIMIZE, hides the window as well.
  dir.WriteFile("rv.ini", "");
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    (void)SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50);
    EXPECT_TRUE(IsIconic(window));
    EXPECT_FALSE(IsWindowVisible(window));
  });
}

TEST_F(CalendarDlgTest, EveryWayOutEndsTheWindowAndSaves) {
  struct Way {
    const char* name;
    INT_PTR result;
    std::function<void(HWND)> act;
  };
  const Way ways[] = {
      // Enter from a check box still reaches Quit, the default button.
      {"Enter", IDOK,
       [](HWND w) {
         HWND box = GetDlgItem(w, 1004);
         (void)SetFocus(box);
         (void)PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0);
       }},
      {"Quit", IDOK, [](HWND w) { (void)PostMessageA(GetDlgItem(w, 1), BM_CLICK, 0, 0); }},
      {"Esc", IDCANCEL,
       [](HWND w) {
         HWND box = GetDlgItem(w, 1003);
         (void)SetFocus(box);
         (void)PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
       }},
      {"close box", IDCANCEL,
       [](HWND w) { (void)PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    ScopedWorkDir own;
    // A longer file before: the save replaces all of it.
    own.WriteFile("rv.ini", std::string(300, '#') + "\r\nSYSDATE=\r\n");
    fake.notifyCalls.clear();
    CCalendarDlg dialog(nullptr, fake.Get());
    bool savedBeforeEnd = true;
    EXPECT_EQ(RunModalToEnd(dialog,
                            [&](HWND w) {
                              way.act(w);
                              savedBeforeEnd = own.ReadFile("rv.ini").find("CREATOR") !=
                                               std::string::npos;
                            }),
              way.result);
    EXPECT_FALSE(savedBeforeEnd);
    EXPECT_EQ(own.ReadFile("rv.ini"), kWrittenByDefault);
    ASSERT_EQ(fake.notifyCalls.size(), 2u);
    EXPECT_EQ(fake.notifyCalls[1].message, static_cast<DWORD>(NIM_DELETE));
  }
}

TEST_F(CalendarDlgTest, WindowMenuAboutOpensTheAboutBoxOtherCommandsWorkAsUsual) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    // The low four bits of a system command are the system's own.
    for (WPARAM command : {WPARAM{0x0010}, WPARAM{0x0013}}) {
      HWND owner = nullptr;
      EXPECT_TRUE(WhileDialogShown(
          "About Ravelind", [&](HWND about) { owner = GetWindow(about, GW_OWNER); },
          [&] { (void)SendMessageA(window, WM_SYSCOMMAND, command, 0); }))
          << std::hex << command;
      EXPECT_EQ(owner, window);
      EXPECT_TRUE(IsWindow(window));
    }

    // SC_MOVE starts the system's move loop; Esc ends it.
    g_sizeMoveSeen.clear();
    g_dialogProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchSizeMove)));
    (void)PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0);
    (void)SendMessageA(window, WM_SYSCOMMAND, SC_MOVE, 0);
    (void)SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dialogProc));
    EXPECT_EQ(g_sizeMoveSeen, (std::vector<UINT>{WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE}));
    EXPECT_TRUE(IsWindowVisible(window));

    (void)SendMessageA(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    Pump(50);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindow(window));
  });

  // SC_CLOSE, once minimised, still closes and saves.
  ScopedWorkDir own;
  CCalendarDlg closing(nullptr, fake.Get());
  EXPECT_EQ(RunModalToEnd(closing,
                          [](HWND w) {
                            (void)ShowWindow(w, SW_MINIMIZE);
                            (void)PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
                          }),
            IDCANCEL);
  EXPECT_EQ(own.ReadFile("rv.ini"), kWrittenByDefault);
}

}  // namespace
