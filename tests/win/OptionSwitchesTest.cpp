// The three switches: ToolTips (hints on or off), Start Menu (the Run entry)
// and Start Minimized, each driven by a real click on its check box.
#include "WinTestSupport.h"

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kSavedRunKey[] = "Software\\Ravelind tests\\Run";

std::string ReadRunValue() {
  char data[1024] = {};
  DWORD size = sizeof data;
  return RegGetValueA(HKEY_LOCAL_MACHINE, kRunKey, "Ravelind", RRF_RT_REG_SZ, nullptr, data,
                      &size) == ERROR_SUCCESS
             ? std::string(data, size)
             : "<none>";
}
void DeleteRunValue() { (void)RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunKey, "Ravelind"); }

// Whether resting the pointer on the Help button brings up its hint.
bool HintsShow(HWND window) {
  RECT rect{};
  (void)GetWindowRect(GetDlgItem(window, 1008), &rect);
  (void)SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  (void)PostMessageA(GetDlgItem(window, 1008), WM_MOUSEMOVE, 0,
                     MAKELPARAM((rect.right - rect.left) / 2, (rect.bottom - rect.top) / 2));
  bool shown = false;  // within 3 s: Wine's tooltips can be slow to come up
  for (const DWORD until = GetTickCount() + 3000;
       !shown && static_cast<LONG>(until - GetTickCount()) > 0;) {
    Pump(20);
    for (HWND w : ThreadWindows()) {
      shown = shown || (lstrcmpiA(ClassOf(w).c_str(), TOOLTIPS_CLASSA) == 0 && IsWindowVisible(w) &&
                        TextOf(w) == "Will launch the manual in your browser.");
    }
  }
  (void)SetCursorPos(0, 0);  // away, so that the tip goes and the next rest is new
  Pump(300);
  return shown;
}

// What the Run value should hold for this executable, NUL included.
std::string ExpectedRunValue() {
  char path[MAX_PATH] = {};
  (void)GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string value = path;
  return (value.find(' ') == std::string::npos ? value : '"' + value + '"') + '\0';
}

bool CopyKey(HKEY fromRoot, const char* from, HKEY toRoot, const char* to) {
  HKEY source = nullptr, target = nullptr;
  const bool copied = RegOpenKeyA(fromRoot, from, &source) == ERROR_SUCCESS &&
                      RegCreateKeyA(toRoot, to, &target) == ERROR_SUCCESS &&
                      RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
  if (source != nullptr) (void)RegCloseKey(source);
  if (target != nullptr) (void)RegCloseKey(target);
  return copied;
}

// Takes the Run key away, with its values, until destroyed.
struct ScopedNoRunKey {
  ScopedNoRunKey()
      : removed(CopyKey(HKEY_LOCAL_MACHINE, kRunKey, HKEY_CURRENT_USER, kSavedRunKey) &&
                RegDeleteTreeA(HKEY_LOCAL_MACHINE, kRunKey) == ERROR_SUCCESS) {}
  ~ScopedNoRunKey() {
    if (CopyKey(HKEY_CURRENT_USER, kSavedRunKey, HKEY_LOCAL_MACHINE, kRunKey)) {
      (void)RegDeleteTreeA(HKEY_CURRENT_USER, kSavedRunKey);
    }
  }
  const bool removed;
};

class OptionSwitchesTest : public WinTest {
 protected:
  OptionSwitchesTest() { DeleteRunValue(); }
  ~OptionSwitchesTest() override { DeleteRunValue(); }
};

TEST_F(OptionSwitchesTest, HintsAreOnAtStartForYesOrNothingAndEachClickSwitchesThem) {
  for (const std::string value : {"", "yes", "YES"}) {
    SCOPED_TRACE("TOOLTIPS=" + value);
    WriteIni(value.empty() ? "SYSDATE=\r\n" : "TOOLTIPS=" + value + "\r\n");
    CCalendarDlg dialog(nullptr, fake.Get());
    RunModal(dialog, [&](HWND window) {
      EXPECT_EQ(Ticked(window, 1003), value != "YES");
      EXPECT_EQ(HintsShow(window), value != "YES");
      if (value != "YES") return;
      for (const bool on : {true, false}) {
        Click(window, 1003);
        EXPECT_EQ(Ticked(window, 1003), on);
        EXPECT_EQ(dialog.Settings().tooltips, on ? "yes" : "no");
        EXPECT_EQ(HintsShow(window), on);
      }
    });
  }
  EXPECT_NE(ReadIni().find("\r\nTOOLTIPS=no\r\n"), std::string::npos);
}

TEST_F(OptionSwitchesTest, StartMenuAddsAndRemovesTheRunEntry) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (const bool on : {true, false, true, false}) {
      SCOPED_TRACE(on);
      const BoxSeen box = AnswerMessageBox([&] { Click(window, 1004); });
      EXPECT_EQ(box.caption, "") << box.text;
      EXPECT_EQ(Ticked(window, 1004), on);
      EXPECT_EQ(dialog.Settings().startup, on ? "yes" : "no");
      EXPECT_EQ(ReadRunValue(), on ? ExpectedRunValue() : "<none>");
    }
    // Clearing when the value has already gone is silent.
    Click(window, 1004);
    DeleteRunValue();
    const BoxSeen gone = AnswerMessageBox([&] { Click(window, 1004); });
    EXPECT_EQ(gone.caption, "") << gone.text;
    EXPECT_FALSE(Ticked(window, 1004));
    EXPECT_EQ(dialog.Settings().startup, "no");
  });
  EXPECT_NE(ReadIni().find("\r\nSTARTUP=no\r\n"), std::string::npos);
}

TEST_F(OptionSwitchesTest, StartMenuFailuresSaySoAndLeaveTheBoxTrue) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    auto expectBox = [&](const BoxSeen& box, const char* text, bool on, const std::string& run) {
      EXPECT_EQ(box.caption, "Error");
      EXPECT_EQ(box.text, text);
      EXPECT_EQ(box.owner, window);
      EXPECT_EQ(Ticked(window, 1004), on);
      EXPECT_EQ(dialog.Settings().startup, on ? "yes" : "no");
      EXPECT_EQ(ReadRunValue(), run);
    };
    constexpr char kAddFailed[] = "Unable to add program to start menu.";
    {
      SCOPED_TRACE("no Run key");
      ScopedNoRunKey noKey;
      ASSERT_TRUE(noKey.removed);
      expectBox(AnswerMessageBox([&] { Click(window, 1004); }), kAddFailed, false, "<none>");
    }
    SCOPED_TRACE("write refused");
    fake.failSetValue = ERROR_ACCESS_DENIED;
    expectBox(AnswerMessageBox([&] { Click(window, 1004); }), kAddFailed, false, "<none>");
    fake.failSetValue = ERROR_SUCCESS;

    SCOPED_TRACE("delete refused");
    Click(window, 1004);
    fake.failDeleteValue = ERROR_ACCESS_DENIED;
    expectBox(AnswerMessageBox([&] { Click(window, 1004); }),
              "Unable to remove program from start menu.", true, ExpectedRunValue());
    fake.failDeleteValue = ERROR_SUCCESS;
  });
}

TEST_F(OptionSwitchesTest, StartMinimizedOnlyChangesTheSetting) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    RECT before{}, after{};
    (void)GetWindowRect(window, &before);
    for (const bool on : {true, false, true}) {
      Click(window, 1007);
      Pump(50);
      EXPECT_EQ(Ticked(window, 1007), on);
      EXPECT_EQ(dialog.Settings().min, on ? "yes" : "no");
    }
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    (void)GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
  });
  EXPECT_NE(ReadIni().find("\r\nMIN=yes\r\n"), std::string::npos);
}

}  // namespace
