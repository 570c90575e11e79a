// The controls' hints, the About box and the help page, from every place that
// opens them.
#include "WinTestSupport.h"

namespace {

// Asks the dialog procedure for a control's hint the way a tooltip does;
// returns whether it handled the request.
INT_PTR AskForHint(HWND window, HWND control, NMTTDISPINFOA& info) {
  info = NMTTDISPINFOA{};
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(control);
  info.hdr.code = TTN_NEEDTEXTA;
  info.uFlags = TTF_IDISHWND;
  info.lpszText = info.szText;
  auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrA(window, DWLP_DLGPROC));
  return proc(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
}

// A dialog's caption and its controls' ids, classes and texts.
std::string Signature(HWND dialog) {
  std::string signature = TextOf(dialog);
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    signature += "|" + std::to_string(GetDlgCtrlID(c)) + " " + ClassOf(c) + " " + TextOf(c);
  }
  return signature;
}

using HintsAboutHelpTest = WinTest;

TEST_F(HintsAboutHelpTest, EveryControlGetsItsWholeHintAndTheFooterNone) {
  const std::pair<int, const char*> kHints[] = {
      {1, "This button will save your preferences and then quit the program."},
      {1001, "Display of this months calander. Use the arrows to change month."},
      {1003, "Allows the user to toggle tooltips on or off."},
      {1004, "If you check this, it will load the program every time you start your pc."},
      {1007, "If you check this, when the program starts, it will only appear on the system tray."},
      {1008, "Will launch the manual in your browser."},
      {1009, "Will take you to the Ravelind website."},
      {0xFFFF, ""},
  };
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    NMTTDISPINFOA info;
    for (const auto& [id, text] : kHints) {
      SCOPED_TRACE(id);
      ASSERT_NE(GetDlgItem(window, id), nullptr);
      EXPECT_TRUE(AskForHint(window, GetDlgItem(window, id), info));
      ASSERT_NE(info.lpszText, nullptr);
      EXPECT_STREQ(info.lpszText, text);
    }
    // Longer than the record's 80-byte buffer: it must arrive whole.
    (void)AskForHint(window, GetDlgItem(window, 1007), info);
    EXPECT_EQ(std::strlen(info.lpszText), 83u);
  });
}

TEST_F(HintsAboutHelpTest, AboutButtonWindowMenuAndTrayMenuOpenDialog100) {
  HWND built = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(100), nullptr,
                                  [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
  ASSERT_NE(built, nullptr);
  const std::string expected = Signature(built);
  (void)DestroyWindow(built);
  EXPECT_EQ(expected.substr(0, 15), "About Ravelind|");

  const std::pair<const char*, std::function<void(HWND)>> kWays[] = {
      {"About button", [](HWND w) { Click(w, 1009); }},
      {"window menu", [](HWND w) { (void)SendMessageA(w, WM_SYSCOMMAND, 0x0010, 0); }},
      // The low four bits of a system command are the system's own.
      {"window menu, low bits set", [](HWND w) { (void)SendMessageA(w, WM_SYSCOMMAND, 0x0013, 0); }},
      {"tray menu", [](HWND w) { (void)SendMessageA(w, WM_COMMAND, 32771, 0); }},
  };
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (const auto& [name, open] : kWays) {
      SCOPED_TRACE(name);
      std::string seen;
      HWND owner = nullptr;
      EXPECT_TRUE(WhileDialogShown(
          [&](HWND about) {
            seen = Signature(about);
            owner = GetWindow(about, GW_OWNER);
          },
          [&] { open(window); }));
      EXPECT_EQ(seen, expected);
      EXPECT_EQ(owner, window);
      EXPECT_TRUE(IsWindowVisible(window));
    }
    EXPECT_TRUE(fake.shellExecuteCalls.empty()) << "About opened a web page";
  });
}

TEST_F(HintsAboutHelpTest, HelpButtonAndTrayMenuOpenTheManualThroughTheShell) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    const BoxSeen box = AnswerMessageBox([&] {
      Click(window, 1008);
      (void)SendMessageA(window, WM_COMMAND, 32773, 0);
    });
    EXPECT_EQ(box.caption, "") << box.text;
    ASSERT_EQ(fake.shellExecuteCalls.size(), 2u);
    for (const ShellExecuteCall& call : fake.shellExecuteCalls) {
      EXPECT_EQ(call.owner, nullptr);
      EXPECT_EQ(call.verb, "open");
      EXPECT_EQ(call.file, RAVELIND_HELP_URL);
      EXPECT_FALSE(call.hasParameters);
      EXPECT_FALSE(call.hasDirectory);
      EXPECT_EQ(call.show, SW_SHOWNORMAL);
    }
  });
  const std::string url = RAVELIND_HELP_URL;
  EXPECT_TRUE(url.rfind("http://", 0) == 0 && url.find("/ravelind/help.htm") != std::string::npos);
}

}  // namespace
