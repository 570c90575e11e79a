#include "prefs/Settings.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ravelind {
namespace {

using namespace std::string_literals;

// Values no parse can produce, to tell a replaced value from an untouched one.
const SettingsRecord kUntouched{"keep-tooltips", "keep-startup", "keep-sysdate", "keep-weeklabels",
                                "keep-min"};

SettingsRecord Parsed(std::string_view bytes) {
  SettingsRecord record = kUntouched;
  ParseSettings(bytes, record);
  return record;
}

// The layout itself is seen where the window saves; here, what values do to it:
// byte for byte, but an LF is written as CR LF.
TEST(SettingsFile, WritesValuesByteForByteButEachLFAsCRLF) {
  EXPECT_EQ(ComposeSettings(SettingsRecord{"a\nb", "c\rd", "\xE9t\xE9 \t", "x=y", "\x1A"}),
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=a\r\nb\r\nSTARTUP=c\rd\r\n"
            "SYSDATE=\xE9t\xE9 \t\r\nWEEKLABELS=x=y\r\nMIN=\x1A\r\n\r\n");
}

TEST(SettingsFile, ReadsEachLineByTheLineRules) {
  // clang-format off
  const std::vector<std::pair<std::string, std::string>> cases{  // line, MIN after it
      {"MIN=yes", "yes"},       {"MIN=yes \t\v\f\r", "yes"}, {"MIN=y e\ts", "y e\ts"},
      {"MIN= yes", " yes"},     {"MIN=ye=s", "yes"},         {"MIN===", ""},
      {"MIN=yes =", "yes "},    {"MIN=", ""},                {"MIN", ""},
      {"MIN \t", ""},           {"min=yes", "keep-min"},     {"MIN =yes", "keep-min"},
      {" MIN=yes", "keep-min"}, {"\tMIN=yes", "keep-min"},   {"MINI=yes", "keep-min"},
      {"MI=yes", "keep-min"},   {"=MIN=yes", "keep-min"},    {"CREATOR=Ravelind 1.0", "keep-min"},
      {"", "keep-min"}};
  // clang-format on
  for (const auto& [line, min] : cases) {
    SCOPED_TRACE(line);
    // Alone and unended, ended by CR LF, and after another line: the same.
    EXPECT_EQ(Parsed(line)[kMin], min);
    EXPECT_EQ(Parsed(line + "\r\n")[kMin], min);
    EXPECT_EQ(Parsed("TOOLTIPS=no\r\n" + line + "\r\n")[kMin], min);
  }
}

TEST(SettingsFile, AppliesTextModeAndReplacesOnlyTheKeysThatOccur) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
      // bytes, STARTUP and MIN after them
      {"MIN=yes\nSTARTUP=no\r\n", {"no", "yes"}},       // LF or CR LF ends a line
      {"MIN=yes\rSTARTUP=yes\r", {"yes", "yes"}},        // and so does a lone CR
      {"MIN=a\r\r\nSTARTUP=b", {"b", "a"}},             // last line needs no LF
      {"MIN=yes\x1ASTARTUP=yes\r\n", {"keep-startup", "yes"}},  // Ctrl+Z ends the text
      {"STARTUP=yes\r\n\x1A\r\nMIN=yes\r\n", {"yes", "keep-min"}},
      {"MI\x1AN=yes", {"keep-startup", "keep-min"}},
      {"MIN=\xE9t\xE9\xFF\x80", {"keep-startup", "\xE9t\xE9\xFF\x80"}},  // no code page
      {"\xEF\xBB\xBFMIN=yes", {"keep-startup", "keep-min"}},             // nor byte order mark
      {"MIN=a\0b"s, {"keep-startup", "a\0b"s}},
      {"MIN=yes\r\nMIN=no\r\n", {"keep-startup", "no"}},  // the later line wins
      {"STARTUP=yes\r\nUNKNOWN=yes\r\nCREATOR=x\r\n", {"yes", "keep-min"}},
      {"", {"keep-startup", "keep-min"}}};
  for (const auto& [bytes, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    EXPECT_EQ(Parsed(bytes), (SettingsRecord{"keep-tooltips", expected[0], "keep-sysdate",
                                             "keep-weeklabels", expected[1]}));
  }
  EXPECT_EQ(Parsed("TOOLTIPS=1\r\nSTARTUP=2\r\nSYSDATE=3\r\nWEEKLABELS=4\r\nMIN=5\r\n"),
            (SettingsRecord{"1", "2", "3", "4", "5"}));
}

TEST(SettingsFile, HasNoLimitOnLineLength) {
  const std::string longValue(1u << 20, 'v');
  EXPECT_EQ(Parsed("TOOLTIPS=no\r\nMIN=" + longValue + "\r\n")[kMin], longValue);
}

TEST(SettingsFile, TurnsASwitchOnAtStartForExactlyYesAndHintsAlsoForNothing) {
  for (const std::string_view value :
       {"", "yes", "no", "Yes", "YES", "y", "yes ", " yes", "yes\r", "yess", "1"}) {
    SCOPED_TRACE(testing::PrintToString(value));
    const bool yes = value == "yes";
    EXPECT_EQ(IsOnAtStart(kToolTips, value), yes || value.empty());
    EXPECT_EQ(IsOnAtStart(kStartup, value), yes);
    EXPECT_EQ(IsOnAtStart(kMin, value), yes);
  }
}

}  // namespace
}  // namespace ravelind
