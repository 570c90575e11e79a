#include "prefs/Autostart.h"

#include <gtest/gtest.h>

namespace ravelind {
namespace {

// Windows skips a Run entry whose command is longer than 260 characters: 18
// come before this folder, and only a blank in it adds two quotes.
TEST(Autostart, MakesNoCommandLongerThanARunEntryMayBe) {
  EXPECT_EQ(AutostartCommand(L"C:\\r.exe", std::wstring(242, L'x')).size(), 260u);
  EXPECT_EQ(AutostartCommand(L"C:\\r.exe", std::wstring(243, L'x')), L"");
  EXPECT_EQ(AutostartCommand(L"C:\\r.exe", L" " + std::wstring(239, L'x')),
            L"C:\\r.exe /workdir \" " + std::wstring(239, L'x') + L"\"");
  EXPECT_EQ(AutostartCommand(L"C:\\r.exe", L" " + std::wstring(240, L'x')), L"");
}

// Each folder comes back whole through the system's rules for command lines.
TEST(Autostart, ReadsBackTheFolderItWrote) {
  for (const wchar_t* folder : {L"C:\\Users\\me", L"C:\\My Tools", L"D:\\", L"C:\\a b\\",
                                L"C:\\100% sure", L"C:\\%TEMP%", L"C:\\Календарь 日历",
                                L"C:\\tab\there", L"\\\\server\\share\\x y"}) {
    for (const wchar_t* exe : {L"C:\\r.exe", L"C:\\Program Files\\R\\ravelind.exe"})
      EXPECT_EQ(WorkDirOf(AutostartCommand(exe, folder)), folder) << folder << " " << exe;
  }
  // Typed by hand: the switch in any case, the last one counts; no folder, none.
  EXPECT_EQ(WorkDirOf(L"\"C:\\x\\r.exe\" /WorkDir a /workdir \"b c\"\\\\\" d"), L"b c\\ d");
  for (const wchar_t* line : {L"C:\\r.exe", L"C:\\r.exe /workdir", L"\"C:\\/workdir x\"", L""})
    EXPECT_EQ(WorkDirOf(line), L"") << line;
}

}  // namespace
}  // namespace ravelind
