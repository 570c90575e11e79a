// rv.ini in the working directory: created at the first start, read at every
// start, replaced as a whole at exit, and left alone when it cannot be replaced.
#include "WinTestSupport.h"

namespace {

class SettingsFileTest : public WinTest {
 protected:
  // Opens the window, runs `script`, closes it; returns the box the closing raised.
  BoxSeen OpenAndClose(const std::function<void(HWND)>& script = [](HWND) {}) {
    CCalendarDlg dialog(nullptr, fake.Get());
    HWND window = nullptr;
    const BoxSeen box = AnswerMessageBox([&] {
      RunModal(dialog, [&](HWND w) {
        window = w;
        script(w);
      });
    });
    EXPECT_TRUE(box.caption.empty() || box.owner == window) << "the box has another owner";
    return box;
  }

};

TEST_F(SettingsFileTest, FirstStartCreatesAnEmptyFileAndExitWritesEveryKey) {
  std::string atStart = "<missing>";
  const BoxSeen box = OpenAndClose([&](HWND) {
    atStart = ReadIni();
  });
  EXPECT_EQ(atStart, "");
  EXPECT_EQ(box.caption, "") << box.text;
  EXPECT_EQ(ReadIni(), kWrittenByDefault);
  EXPECT_EQ(ReadIni().size(), 74u);
  EXPECT_EQ(FilesHere(), std::vector<std::string>{"rv.ini"}) << "a temporary file was left";
}

TEST_F(SettingsFileTest, StoredValuesComeBackAndUnknownLinesGo) {
  WriteIni(
                "CREATOR=someone else\r\nTOOLTIPS=no\r\nSTARTUP=Yes\r\nSYSDATE=d/m y\r\n"
                "WEEKLABELS=Mo Tu We\r\nMIN=yes\r\nUNKNOWN=kept nowhere\r\n; a comment line\r\n");
  EXPECT_EQ(OpenAndClose().caption, "");
  EXPECT_EQ(ReadIni(),
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\nSTARTUP=Yes\r\nSYSDATE=d/m y\r\n"
            "WEEKLABELS=Mo Tu We\r\nMIN=yes\r\n\r\n");
}

TEST_F(SettingsFileTest, AFailedSaveSaysSoAndLeavesTheOldFileAlone) {
  const std::string before = "TOOLTIPS=no\r\nSYSDATE=x\r\n";
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only rv.ini" : "rv.ini a directory");
    if (readOnly) {
      WriteIni(before);
      ASSERT_TRUE(SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_READONLY));
    } else {
      ASSERT_TRUE(CreateDirectoryA("rv.ini", nullptr));
    }
    const BoxSeen box = OpenAndClose([](HWND window) { Click(window, 1007); });
    EXPECT_EQ(box.caption, "Error Writing File");
    EXPECT_EQ(box.text, "Save to File");
    EXPECT_EQ(FilesHere(), std::vector<std::string>{"rv.ini"}) << "a temporary file was left";
    const DWORD attributes = GetFileAttributesA("rv.ini");
    EXPECT_TRUE(attributes & (readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(readOnly ? ReadIni() : before, before);
    ASSERT_TRUE(readOnly || RemoveDirectoryA("rv.ini"));
  }
}

}  // namespace
