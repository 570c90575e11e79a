#include "prefs/Autostart.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace ravelind {
namespace {

TEST(Autostart, QuotesThePathOnlyWhenItHoldsASpace) {
  EXPECT_EQ(AutostartCommand("C:\\Program Files\\Ravelind\\ravelind.exe"),
            "\"C:\\Program Files\\Ravelind\\ravelind.exe\"");
  EXPECT_EQ(AutostartCommand("C:\\Tools\\ravelind.exe"), "C:\\Tools\\ravelind.exe");
  EXPECT_EQ(AutostartCommand(" "), "\" \"");
  EXPECT_EQ(AutostartCommand("C:\\a b\\c d.exe"), "\"C:\\a b\\c d.exe\"");
  // Already quoted: left as it is.
  EXPECT_EQ(AutostartCommand("\"C:\\a b\\r.exe\""), "\"C:\\a b\\r.exe\"");
  // A quote at one end only does not make the path quoted.
  EXPECT_EQ(AutostartCommand("\"C:\\a b\\r.exe"), "\"\"C:\\a b\\r.exe\"");
  EXPECT_EQ(AutostartCommand(""), "");
  // Byte for byte otherwise, 8-bit names included.
  EXPECT_EQ(AutostartCommand("C:\\Caf\xE9\\r.exe"), "C:\\Caf\xE9\\r.exe");
}

TEST(Autostart, NamesARunValueRelativeToTheHive) {
  const std::string_view subKey = kAutostartSubKey;
  // RegOpenKeyEx wants a path below the hive: no hive name, no outer backslash.
  EXPECT_NE(subKey.front(), '\\');
  EXPECT_NE(subKey.back(), '\\');
  EXPECT_EQ(subKey.find("HKEY"), std::string_view::npos);
  EXPECT_EQ(subKey.find('/'), std::string_view::npos);
  EXPECT_EQ(subKey.find("\\\\"), std::string_view::npos);
  // Run, not RunOnce: the entry must start the program at every log-on.
  EXPECT_EQ(subKey.substr(subKey.rfind('\\')), "\\Run");
  const std::string_view valueName = kAutostartValueName;
  EXPECT_FALSE(valueName.empty());
  EXPECT_EQ(valueName.find('\\'), std::string_view::npos);
}

}  // namespace
}  // namespace ravelind
