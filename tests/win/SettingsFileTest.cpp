// rv.ini in the working directory: created at the first start, read at every
// start, replaced as a whole at exit, and left alone when it cannot be replaced.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "WinTestSupport.h"
#include "ui/CalendarDlg.h"

namespace {

constexpr char kWrittenByDefault[] =
    "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n";

std::set<std::string> FilesIn(const ScopedWorkDir& dir) {
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir.path() + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.insert(name);
  } while (FindNextFileA(search, &found));
  (void)FindClose(search);
  return names;
}

class SettingsFileTest : public ::testing::Test {
 protected:
  // Opens and closes the window; returns the message box its closing raised.
  BoxSeen OpenAndClose(const std::function<void(HWND)>& script = [](HWND) {}) {
    CCalendarDlg dialog(nullptr, fake.Get());
    HWND window = nullptr;
    BoxSeen box = AnswerMessageBox(nullptr, [&] {
      RunModal(dialog, [&](HWND w) {
        window = w;
        script(w);
      });
    });
    box.owned = box.ownerWindow != nullptr && box.ownerWindow == window;
    return box;
  }

  ScopedWorkDir dir;
  TestPlatform fake;
};

TEST_F(SettingsFileTest, FirstStartCreatesAnEmptyFileAndExitWritesEveryKey) {
  ASSERT_TRUE(FilesIn(dir).empty());
  std::string atStart = "<missing>";
  const BoxSeen box = OpenAndClose([&](HWND) {
    if (dir.Exists("rv.ini")) atStart = dir.ReadFile("rv.ini");
  });
  EXPECT_EQ(atStart, "");
  EXPECT_EQ(box.caption, "") << box.text;
  const std::string written = dir.ReadFile("rv.ini");
  EXPECT_EQ(written, kWrittenByDefault);
  EXPECT_EQ(written.size(), 74u);
  EXPECT_EQ(FilesIn(dir), std::set<std::string>{"rv.ini"}) << "a temporary file was left";

  // A second run over its own file changes nothing.
  (void)OpenAndClose();
  EXPECT_EQ(dir.ReadFile("rv.ini"), kWrittenByDefault);
}

TEST_F(SettingsFileTest, StoredValuesComeBackAndYesTicksTheBoxes) {
  // Values this program does not use pass through unchanged; a longer file
  // than the one written is replaced, not overwritten in place.
  dir.WriteFile("rv.ini",
                "CREATOR=someone else\r\nTOOLTIPS=no\r\nSTARTUP=yes\r\nSYSDATE=d/m y\r\n"
                "WEEKLABELS=Mo Tu We\r\nMIN=no\r\nUNKNOWN=kept nowhere\r\n; a comment line\r\n");
  const BoxSeen box = OpenAndClose([&](HWND window) {
    EXPECT_EQ(IsDlgButtonChecked(window, 1004), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, 1003), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, 1007), BST_UNCHECKED);
  });
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(dir.ReadFile("rv.ini"),
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\nSTARTUP=yes\r\nSYSDATE=d/m y\r\n"
            "WEEKLABELS=Mo Tu We\r\nMIN=no\r\n\r\n");

  // Only exactly "yes" ticks; other values are kept as they were.
  dir.WriteFile("rv.ini", "STARTUP=Yes\r\nMIN=yes\r\n");
  (void)OpenAndClose([&](HWND window) {
    EXPECT_EQ(IsDlgButtonChecked(window, 1004), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, 1007), BST_CHECKED);
  });
  EXPECT_EQ(dir.ReadFile("rv.ini"),
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=Yes\r\nSYSDATE=\r\nWEEKLABELS=\r\n"
            "MIN=yes\r\n\r\n");
}

TEST_F(SettingsFileTest, AFailedSaveSaysSoAndLeavesTheOldFileAlone) {
  // rv.ini is a directory: nothing can take its place.
  ASSERT_TRUE(CreateDirectoryA("rv.ini", nullptr));
  BoxSeen box = OpenAndClose();
  EXPECT_EQ(box.caption, "Error Writing File");
  EXPECT_EQ(box.text, "Save to File");
  EXPECT_FALSE(box.hasIcon);
  EXPECT_TRUE(box.owned) << "the box is not owned by the calendar window";
  EXPECT_TRUE(GetFileAttributesA("rv.ini") & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(FilesIn(dir), std::set<std::string>{"rv.ini"}) << "a temporary file was left";
  ASSERT_TRUE(RemoveDirectoryA("rv.ini"));

  // A read-only rv.ini cannot be replaced either.
  const std::string before = "TOOLTIPS=no\r\nSYSDATE=x\r\n";
  dir.WriteFile("rv.ini", before);
  ASSERT_TRUE(SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_READONLY));
  box = OpenAndClose([](HWND window) {
    (void)SendDlgItemMessageA(window, 1007, BM_CLICK, 0, 0);  // something new to save
  });
  EXPECT_EQ(box.caption, "Error Writing File");
  EXPECT_EQ(box.text, "Save to File");
  EXPECT_TRUE(box.owned);
  EXPECT_EQ(dir.ReadFile("rv.ini"), before);
  EXPECT_TRUE(GetFileAttributesA("rv.ini") & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(FilesIn(dir), std::set<std::string>{"rv.ini"}) << "a temporary file was left";
}

}  // namespace
