// The three switches: ToolTips (hints on or off), Start Menu (the Run entry)
// and Start Minimized, each driven by a real click on its check box.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "WinTestSupport.h"
#include "ui/CalendarDlg.h"

namespace {

constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

void Click(HWND window, int id) { (void)SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
bool Ticked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

// Whether resting the pointer on the Help button brings up its hint.
bool HintsShow(HWND window) {
  return HoverTip(GetDlgItem(window, 1008), 1200) == "Will launch the manual in your browser.";
}

// What the Run value should hold for this executable, NUL included.
std::string ExpectedRunValue() {
  char path[MAX_PATH] = {};
  (void)GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string value = path;
  if (value.find(' ') != std::string::npos) value = '"' + value + '"';
  return value + '\0';
}

// Takes the Run key away, with its values, until destroyed.
class ScopedNoRunKey {
 public:
  ScopedNoRunKey() {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_LOCAL_MACHINE, kRunKey, &key) != ERROR_SUCCESS) return;
    char name[256];
    BYTE data[2048];
    for (DWORD i = 0;; ++i) {
      DWORD nameSize = sizeof name;
      DWORD dataSize = sizeof data;
      DWORD type = 0;
      if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) {
        break;
      }
      m_values.push_back({name, {type, std::string(reinterpret_cast<char*>(data), dataSize)}});
    }
    (void)RegCloseKey(key);
    m_removed = RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRunKey) == ERROR_SUCCESS;
  }
  ~ScopedNoRunKey() {
    HKEY key = nullptr;
    if (RegCreateKeyA(HKEY_LOCAL_MACHINE, kRunKey, &key) != ERROR_SUCCESS) return;
    for (const auto& [name, value] : m_values) {
      (void)RegSetValueExA(key, name.c_str(), 0, value.first,
                           reinterpret_cast<const BYTE*>(value.second.data()),
                           static_cast<DWORD>(value.second.size()));
    }
    (void)RegCloseKey(key);
  }
  bool removed() const { return m_removed; }

 private:
  std::vector<std::pair<std::string, std::pair<DWORD, std::string>>> m_values;
  bool m_removed = false;
};

class OptionSwitchesTest : public ::testing::Test {
 protected:
  OptionSwitchesTest() { DeleteRunValue(); }
  ~OptionSwitchesTest() override { DeleteRunValue(); }
  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(OptionSwitchesTest, HintsAtStartFollowTheToolTipsSetting) {
  const std::pair<const char*, bool> kCases[] = {
      {nullptr, true}, {"", true}, {"yes", true}, {"no", false}, {"YES", false}, {" yes", false}};
  for (const auto& [value, on] : kCases) {
    SCOPED_TRACE(value == nullptr ? "no TOOLTIPS line" : std::string("TOOLTIPS=") + value);
    dir.WriteFile("rv.ini", value == nullptr ? "SYSDATE=\r\n" : std::string("TOOLTIPS=") + value + "\r\n");
    CCalendarDlg dialog(nullptr, fake.Get());
    RunModal(dialog, [&](HWND window) {
      EXPECT_EQ(Ticked(window, 1003), on);
      EXPECT_EQ(HintsShow(window), on);
      if (on) {
        char cls[32] = {};
        (void)GetClassNameA(dialog.GetToolTipControl(), cls, sizeof cls);
        EXPECT_STRCASEEQ(cls, "tooltips_class32");
      }
    });
  }
}

TEST_F(OptionSwitchesTest, ToolTipsClickTurnsHintsOffAndOnAtOnce) {
  dir.WriteFile("rv.ini", "TOOLTIPS=no\r\n");
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    ASSERT_FALSE(Ticked(window, 1003));
    Click(window, 1003);
    EXPECT_TRUE(Ticked(window, 1003));
    EXPECT_EQ(dialog.Settings().tooltips, "yes");
    EXPECT_TRUE(HintsShow(window)) << "hints did not come on";
    Click(window, 1003);
    EXPECT_FALSE(Ticked(window, 1003));
    EXPECT_EQ(dialog.Settings().tooltips, "no");
    EXPECT_FALSE(HintsShow(window)) << "hints did not go off";
    Click(window, 1003);
    EXPECT_EQ(dialog.Settings().tooltips, "yes");
    EXPECT_TRUE(HintsShow(window));
  });
  EXPECT_NE(dir.ReadFile("rv.ini").find("\r\nTOOLTIPS=yes\r\n"), std::string::npos);
}

TEST_F(OptionSwitchesTest, StartMenuAddsAndRemovesTheRunEntry) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    for (int round = 0; round < 2; ++round) {
      SCOPED_TRACE(round);
      const BoxSeen on = AnswerMessageBox(window, [&] { Click(window, 1004); });
      EXPECT_EQ(on.caption, "") << on.text;
      EXPECT_TRUE(Ticked(window, 1004));
      EXPECT_EQ(dialog.Settings().startup, "yes");
      EXPECT_EQ(ReadRunValue(), ExpectedRunValue());

      const BoxSeen off = AnswerMessageBox(window, [&] { Click(window, 1004); });
      EXPECT_EQ(off.caption, "") << off.text;
      EXPECT_FALSE(Ticked(window, 1004));
      EXPECT_EQ(dialog.Settings().startup, "no");
      EXPECT_EQ(ReadRunValue(), "<none>");
    }
    // Clearing when the value has already gone is silent.
    Click(window, 1004);
    DeleteRunValue();
    const BoxSeen gone = AnswerMessageBox(window, [&] { Click(window, 1004); });
    EXPECT_EQ(gone.caption, "") << gone.text;
    EXPECT_FALSE(Ticked(window, 1004));
    EXPECT_EQ(dialog.Settings().startup, "no");
  });
  EXPECT_NE(dir.ReadFile("rv.ini").find("\r\nSTARTUP=no\r\n"), std::string::npos);
}

TEST_F(OptionSwitchesTest, StartMenuFailuresSaySoAndLeaveTheBoxTrue) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    auto expectAddRefused = [&](const BoxSeen& box, const char* runValue) {
      EXPECT_EQ(box.caption, "Error");
      EXPECT_EQ(box.text, "Unable to add program to start menu.");
      EXPECT_FALSE(box.hasIcon);
      EXPECT_TRUE(box.owned);
      EXPECT_FALSE(Ticked(window, 1004));
      EXPECT_EQ(dialog.Settings().startup, "no");
      EXPECT_EQ(ReadRunValue(), runValue);
    };
    {
      SCOPED_TRACE("no Run key");
      ScopedNoRunKey noKey;
      ASSERT_TRUE(noKey.removed());
      expectAddRefused(AnswerMessageBox(window, [&] { Click(window, 1004); }), "<no key>");
    }
    ASSERT_EQ(ReadRunValue(), "<none>") << "the Run key did not come back";
    {
      SCOPED_TRACE("write refused");
      fake.failSetValue = ERROR_ACCESS_DENIED;
      expectAddRefused(AnswerMessageBox(window, [&] { Click(window, 1004); }), "<none>");
      fake.failSetValue = ERROR_SUCCESS;
    }

    SCOPED_TRACE("delete refused");
    Click(window, 1004);
    ASSERT_EQ(ReadRunValue(), ExpectedRunValue());
    fake.failDeleteValue = ERROR_ACCESS_DENIED;
    const BoxSeen box = AnswerMessageBox(window, [&] { Click(window, 1004); });
    fake.failDeleteValue = ERROR_SUCCESS;
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.text, "Unable to remove program from start menu.");
    EXPECT_FALSE(box.hasIcon);
    EXPECT_TRUE(box.owned);
    EXPECT_TRUE(Ticked(window, 1004));
    EXPECT_EQ(dialog.Settings().startup, "yes");
    EXPECT_EQ(ReadRunValue(), ExpectedRunValue());
  });
}

TEST_F(OptionSwitchesTest, StartMinimizedOnlyChangesTheSetting) {
  CCalendarDlg dialog(nullptr, fake.Get());
  RunModal(dialog, [&](HWND window) {
    RECT before{};
    (void)GetWindowRect(window, &before);
    Click(window, 1007);
    Pump(50);
    EXPECT_TRUE(Ticked(window, 1007));
    EXPECT_EQ(dialog.Settings().min, "yes");
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsIconic(window));
    RECT after{};
    (void)GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    Click(window, 1007);
    EXPECT_FALSE(Ticked(window, 1007));
    EXPECT_EQ(dialog.Settings().min, "no");
    Click(window, 1007);
  });
  EXPECT_NE(dir.ReadFile("rv.ini").find("\r\nMIN=yes\r\n"), std::string::npos);
  EXPECT_EQ(fake.shellExecuteCalls.size(), 0u);
}

}  // namespace
