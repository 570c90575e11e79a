#include "prefs/Autostart.h"

#include <gtest/gtest.h>

#include <string_view>
#include <utility>

namespace ravelind {
namespace {

TEST(Autostart, QuotesAnArgumentSoThatTheCommandLineParserReadsItBackWhole) {
  const std::pair<std::wstring_view, std::wstring_view> cases[] = {
      {L"C:\\Tools\\ravelind.exe", L"C:\\Tools\\ravelind.exe"},
      {L"C:\\Program Files\\r.exe", L"\"C:\\Program Files\\r.exe\""},
      {L"C:\\Календарь 日历", L"\"C:\\Календарь 日历\""},
      {L"C:\\", L"C:\\"},                  // backslashes are plain outside quotes
      {L"C:\\a b\\", L"\"C:\\a b\\\\\""},  // but doubled before the closing one
      {L"a\\\"b", L"\"a\\\\\\\"b\""},      // and before a quote, which is escaped
      {L"tab\there", L"\"tab\there\""},
      {L"", L"\"\""},
  };
  for (const auto& [argument, quoted] : cases) EXPECT_EQ(QuoteArgument(argument), quoted);
}

TEST(Autostart, NamesTheProgramAndTheFolderToStartIn) {
  EXPECT_EQ(AutostartCommand(L"C:\\My Tools\\ravelind.exe", L"C:\\Users\\me"),
            L"\"C:\\My Tools\\ravelind.exe\" /workdir C:\\Users\\me");
}

}  // namespace
}  // namespace ravelind
