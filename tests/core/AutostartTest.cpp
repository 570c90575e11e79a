#include "prefs/Autostart.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>

namespace ravelind {
namespace {

TEST(Autostart, QuotesThePathOnlyWhenItHoldsASpace) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      // path, command
      {"C:\\Program Files\\Ravelind\\ravelind.exe",
       "\"C:\\Program Files\\Ravelind\\ravelind.exe\""},
      {"C:\\Tools\\ravelind.exe", "C:\\Tools\\ravelind.exe"},
      {" ", "\" \""},
      {"C:\\a b\\c d.exe", "\"C:\\a b\\c d.exe\""},
      {"\"C:\\a b\\r.exe\"", "\"C:\\a b\\r.exe\""},  // already quoted
      {"\"C:\\a b\\r.exe", "\"\"C:\\a b\\r.exe\""},  // a quote at one end only
      {"", ""},
      {"C:\\Caf\xE9\\r.exe", "C:\\Caf\xE9\\r.exe"}};
  for (const auto& [path, command] : cases) EXPECT_EQ(AutostartCommand(path), command) << path;
}

TEST(Autostart, NamesARunValueRelativeToTheHive) {
  // RegOpenKeyEx wants a path below the hive; Run, not RunOnce, starts the
  // program at every log-on.
  EXPECT_EQ(std::string_view(kAutostartSubKey),
            "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  const std::string_view valueName = kAutostartValueName;
  EXPECT_FALSE(valueName.empty());
  EXPECT_EQ(valueName.find('\\'), std::string_view::npos);
}

}  // namespace
}  // namespace ravelind
