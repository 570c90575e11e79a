// The controls' hints, the About box and the help page, from every place that
// opens them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <utility>

#include "WinTestSupport.h"
#include "res/resource.h"
#include "ui/CalendarDlg.h"

namespace {

const std::pair<int, const char*> kHints[] = {
    {1, "This button will save your preferences and then quit the program."},
    {1001, "Display of this months calander. Use the arrows to change month."},
    {1003, "Allows the user to toggle tooltips on or off."},
    {1004, "If you check this, it will load the program every time you start your pc."},
    {1007, "If you check this, when the program starts, it will only appear on the system tray."},
    {1008, "Will launch the manual in your browser."},
    {1009, "Will take you to the Ravelind website."},
};

// Asks the window's dialog procedure for a control's hint the way a tooltip
// does. Returns the procedure's own answer: TRUE when it handled the request.
INT_PTR AskForHint(HWND window, HWND control, NMTTDISPINFOA& info) {
  info = NMTTDISPINFOA{};
  info.hdr.hwndFrom = nullptr;
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(control);
  info.hdr.code = TTN_NEEDTEXTA;
  info.uFlags = TTF_IDISHWND;
  info.lpszText = info.szText;
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
  return proc(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
}

HWND Footer(HWND window) {
  HWND last = GetWindow(GetDlgItem(window, 1), GW_HWNDLAST);
  return GetDlgCtrlID(last) == 0xFFFF ? last : nullptr;
}

class HintsAboutHelpTest : public ::testing::Test {
 protected:
  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(HintsAboutHelpTest, EveryControlGetsItsWholeHintAndTheFooterNone) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    NMTTDISPINFOA info;
    for (const auto& [id, text] : kHints) {
      SCOPED_TRACE(id);
      EXPECT_TRUE(AskForHint(window, GetDlgItem(window, id), info));
      ASSERT_NE(info.lpszText, nullptr);
      EXPECT_STREQ(info.lpszText, text);
    }
    // Longer than the record's 80-byte buffer: it must arrive whole.
    (void)AskForHint(window, GetDlgItem(window, 1007), info);
    EXPECT_EQ(std::strlen(info.lpszText), 83u);
    EXPECT_NE(info.lpszText, info.szText);

    HWND footer = Footer(window);
    ASSERT_NE(footer, nullptr);
    EXPECT_TRUE(AskForHint(window, footer, info));
    EXPECT_EQ(info.lpszText, info.szText);
    EXPECT_STREQ(info.szText, "");
  });
}

TEST_F(HintsAboutHelpTest, ARestingPointerShowsTheWholeHint) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (int id : {1007, 1004, 1}) {
      SCOPED_TRACE(id);
      const char* expected = nullptr;
      for (const auto& hint : kHints) {
        if (hint.first == id) expected = hint.second;
      }
      EXPECT_EQ(HoverTip(GetDlgItem(window, id)), expected);
    }
    EXPECT_EQ(HoverTip(Footer(window), 1200), "<no tip>");
  });
}

TEST_F(HintsAboutHelpTest, AboutButtonWindowMenuAndTrayMenuOpenTheAboutBox) {
  const std::pair<const char*, std::function<void(HWND)>> kWays[] = {
      {"About button", [](HWND w) { (void)SendDlgItemMessageA(w, 1009, BM_CLICK, 0, 0); }},
      {"window menu", [](HWND w) { (void)SendMessageA(w, WM_SYSCOMMAND, 0x0010, 0); }},
      {"tray menu", [](HWND w) { (void)SendMessageA(w, WM_COMMAND, 32771, 0); }},
  };
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (const auto& [name, open] : kWays) {
      SCOPED_TRACE(name);
      std::string texts;
      HWND owner = nullptr;
      const bool shown = WhileDialogShown(
          "About Ravelind",
          [&](HWND about) {
            owner = GetWindow(about, GW_OWNER);
            HWND icon = GetWindow(about, GW_CHILD);
            texts = (GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK) == SS_ICON ? "icon|" : "?|";
            for (HWND c = GetWindow(icon, GW_HWNDNEXT); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
              char text[128] = {};
              (void)GetWindowTextA(c, text, sizeof text);
              texts += std::string(text) + "|";
            }
          },
          [&] { open(window); });
      EXPECT_TRUE(shown);
      EXPECT_EQ(owner, window);
      EXPECT_EQ(texts, "icon|Ravelind Version 1.1|" RAVELIND_MAKER_NOTICE "|OK|");
      EXPECT_TRUE(IsWindowVisible(window)) << "the calendar window went away";
    }
    EXPECT_TRUE(fake.shellExecuteCalls.empty()) << "About opened a web page";
  });
}

TEST_F(HintsAboutHelpTest, HelpButtonAndTrayMenuOpenTheManualThroughTheShell) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    const BoxSeen box = AnswerMessageBox(window, [&] {
      (void)SendDlgItemMessageA(window, 1008, BM_CLICK, 0, 0);
      (void)SendMessageA(window, WM_COMMAND, 32773, 0);
    });
    EXPECT_EQ(box.caption, "") << box.text;
    ASSERT_EQ(fake.shellExecuteCalls.size(), 2u);
    for (const ShellExecuteCall& call : fake.shellExecuteCalls) {
      EXPECT_EQ(call.owner, nullptr);
      EXPECT_EQ(call.verb, "open");
      EXPECT_EQ(call.file.rfind("http", 0), 0u) << call.file;
      const std::string ending = "/ravelind/help.htm";
      ASSERT_GT(call.file.size(), ending.size());
      EXPECT_EQ(call.file.substr(call.file.size() - ending.size()), ending);
      EXPECT_FALSE(call.hasParameters);
      EXPECT_FALSE(call.hasDirectory);
      EXPECT_EQ(call.show, SW_SHOWNORMAL);
    }
    EXPECT_EQ(fake.shellExecuteCalls[0].file, fake.shellExecuteCalls[1].file);
    EXPECT_TRUE(IsWindowVisible(window));
  });
}

}  // namespace
