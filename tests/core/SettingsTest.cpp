#include "prefs/Settings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

namespace ravelind {
namespace {

using namespace std::string_literals;

// Values no parse can produce, to tell a replaced member from an untouched one.
SettingsRecord UntouchedRecord() {
  return {"keep-tooltips", "keep-startup", "keep-sysdate", "keep-weeklabels", "keep-min"};
}

SettingsRecord Parsed(std::string_view bytes) {
  SettingsRecord record = UntouchedRecord();
  ParseSettings(bytes, record);
  return record;
}

void ExpectSameRecord(const SettingsRecord& actual, const SettingsRecord& expected) {
  EXPECT_EQ(actual.tooltips, expected.tooltips);
  EXPECT_EQ(actual.startup, expected.startup);
  EXPECT_EQ(actual.sysdate, expected.sysdate);
  EXPECT_EQ(actual.weeklabels, expected.weeklabels);
  EXPECT_EQ(actual.min, expected.min);
}

TEST(SettingsFile, ComposesTheFixedLayoutByteForByte) {
  const std::string empty = ComposeSettings(SettingsRecord{});
  EXPECT_EQ(empty,
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\n"
            "WEEKLABELS=\r\nMIN=\r\n\r\n");
  EXPECT_EQ(empty.size(), 74u);

  SettingsRecord typical;
  typical.tooltips = "no";
  typical.startup = "yes";
  typical.min = "yes";
  const std::string composed = ComposeSettings(typical);
  EXPECT_EQ(composed,
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\nSTARTUP=yes\r\nSYSDATE=\r\n"
            "WEEKLABELS=\r\nMIN=yes\r\n\r\n");
  EXPECT_EQ(composed.size(), 82u);

  EXPECT_EQ(kSettingsFileName, "rv.ini"s);
}

TEST(SettingsFile, ComposesValuesByteForByteExceptLineFeeds) {
  SettingsRecord record;
  record.tooltips = "a\nb";        // a line feed is written as CR LF
  record.startup = "c\rd";         // a lone CR is stored as it is
  record.sysdate = "\xE9t\xE9 \t";  // 8-bit bytes and white space unchanged
  record.weeklabels = "x=y";
  record.min = "\x1A";
  EXPECT_EQ(ComposeSettings(record),
            "CREATOR=Ravelind 1.0\r\nTOOLTIPS=a\r\nb\r\nSTARTUP=c\rd\r\n"
            "SYSDATE=\xE9t\xE9 \t\r\nWEEKLABELS=x=y\r\nMIN=\x1A\r\n\r\n");
}

TEST(SettingsFile, AppliesTextModeToTheBytesRead) {
  // CR LF and a bare LF both end a line.
  SettingsRecord record = Parsed("MIN=yes\r\nSTARTUP=no\nSYSDATE=yes\r\n");
  EXPECT_EQ(record.min, "yes");
  EXPECT_EQ(record.startup, "no");
  EXPECT_EQ(record.sysdate, "yes");

  // Lines ended by CR alone make one line; the value keeps the inner CRs.
  record = Parsed("MIN=yes\rSTARTUP=yes\r");
  EXPECT_EQ(record.min, "yes\rSTARTUPyes");
  EXPECT_EQ(record.startup, "keep-startup");
  record = Parsed("TOOLTIPS=no\rMIN=yes\r");
  EXPECT_EQ(record.tooltips, "no\rMINyes");
  EXPECT_EQ(record.min, "keep-min");

  // Only the CR right before an LF goes; another one before it stays a CR.
  EXPECT_EQ(Parsed("MIN=a\rb\r\n").min, "a\rb");
  EXPECT_EQ(Parsed("MIN=a\r\r\nSTARTUP=b").min, "a");
  EXPECT_EQ(Parsed("MIN=a\r\r\nSTARTUP=b").startup, "b");

  // Ctrl+Z ends the content, wherever it stands.
  record = Parsed("MIN=yes\x1ASTARTUP=yes\r\n");
  EXPECT_EQ(record.min, "yes");
  EXPECT_EQ(record.startup, "keep-startup");
  EXPECT_EQ(Parsed("STARTUP=yes\r\n\x1A\r\nMIN=yes\r\n").min, "keep-min");
  EXPECT_EQ(Parsed("MI\x1AN=yes").min, "keep-min");
  EXPECT_EQ(Parsed("MIN=yes\r\x1A\n").min, "yes");  // CR then Ctrl+Z: no line end

  // Bytes are bytes: no code page, no byte order mark.
  EXPECT_EQ(Parsed("MIN=\xE9t\xE9\xFF\x80").min, "\xE9t\xE9\xFF\x80");
  EXPECT_EQ(Parsed("\xEF\xBB\xBFMIN=yes").min, "keep-min");
  EXPECT_EQ(Parsed("MIN=a\0b"s).min, "a\0b"s);
}

struct LineCase {
  const char* name;
  std::string line;
  std::string expectedMin;  // "keep-min" when the line must be ignored
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LineCase& lineCase, std::ostream* out) { *out << lineCase.name; }

class SettingsLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SettingsLine, SetsMinOnlyAsTheLineRulesSay) {
  const LineCase& lineCase = GetParam();
  EXPECT_EQ(Parsed(lineCase.line).min, lineCase.expectedMin);
  // The same line ended by CR LF, and after another line, reads the same.
  EXPECT_EQ(Parsed(lineCase.line + "\r\n").min, lineCase.expectedMin);
  EXPECT_EQ(Parsed("TOOLTIPS=no\r\n" + lineCase.line + "\r\n").min, lineCase.expectedMin);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SettingsLine,
    ::testing::Values(
        LineCase{"Plain", "MIN=yes", "yes"},
        LineCase{"TrailingWhiteSpace", "MIN=yes \t\v\f\r", "yes"},
        LineCase{"InnerWhiteSpaceKept", "MIN=y e\ts", "y e\ts"},
        LineCase{"SpaceAfterSeparatorKept", "MIN= yes", " yes"},
        LineCase{"EverySeparatorDropped", "MIN=ye=s", "yes"},
        LineCase{"OnlySeparators", "MIN===", ""},
        LineCase{"SeparatorThenSpace", "MIN=yes =", "yes "},
        LineCase{"EmptyValue", "MIN=", ""},
        LineCase{"KeyWithoutSeparator", "MIN", ""},
        LineCase{"KeyWithoutSeparatorTrailingSpace", "MIN \t", ""},
        LineCase{"LowerCaseKey", "min=yes", "keep-min"},
        LineCase{"SpaceBeforeSeparator", "MIN =yes", "keep-min"},
        LineCase{"LeadingSpace", " MIN=yes", "keep-min"},
        LineCase{"LeadingTab", "\tMIN=yes", "keep-min"},
        LineCase{"LongerKey", "MINI=yes", "keep-min"},
        LineCase{"ShorterKey", "MI=yes", "keep-min"},
        LineCase{"EmptyKey", "=MIN=yes", "keep-min"},
        LineCase{"CreatorLine", "CREATOR=Ravelind 1.0", "keep-min"},
        LineCase{"EmptyLine", "", "keep-min"}),
    [](const ::testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(SettingsFile, ReplacesOnlyTheKeysThatOccur) {
  SettingsRecord record = Parsed("STARTUP=yes\r\nUNKNOWN=yes\r\nCREATOR=x\r\n");
  SettingsRecord expected = UntouchedRecord();
  expected.startup = "yes";
  ExpectSameRecord(record, expected);

  ExpectSameRecord(Parsed(""), UntouchedRecord());
  ExpectSameRecord(Parsed("\r\n\r\n\n"), UntouchedRecord());

  // The later of two lines wins, also when it clears the value.
  EXPECT_EQ(Parsed("MIN=yes\r\nMIN=no\r\n").min, "no");
  EXPECT_EQ(Parsed("MIN=yes\r\nMIN\r\n").min, "");

  // Each key reaches its own member.
  record = Parsed(
      "TOOLTIPS=1\r\nSTARTUP=2\r\nSYSDATE=3\r\nWEEKLABELS=4\r\nMIN=5\r\n");
  ExpectSameRecord(record, SettingsRecord{"1", "2", "3", "4", "5"});
}

TEST(SettingsFile, HasNoLimitOnLineLengthOrCount) {
  const std::string longValue(1u << 20, 'v');
  EXPECT_EQ(Parsed("MIN=" + longValue + "\r\n").min, longValue);

  std::string manyLines;
  constexpr int kLineCount = 100000;
  for (int i = 0; i < kLineCount; ++i) manyLines += "MIN=" + std::to_string(i) + "\r\n";
  EXPECT_EQ(Parsed(manyLines).min, std::to_string(kLineCount - 1));
}

TEST(SettingsFile, IsOnOnlyForExactlyYes) {
  EXPECT_TRUE(IsOn("yes"));
  for (const std::string_view off :
       {"", "no", "Yes", "YES", "y", "yes ", " yes", "yes\r", "yess", "1"}) {
    EXPECT_FALSE(IsOn(off)) << '"' << off << '"';
  }
  // Trailing white space is gone after reading; leading white space is not.
  EXPECT_TRUE(IsOn(Parsed("MIN=yes \r\n").min));
  EXPECT_FALSE(IsOn(Parsed("MIN= yes\r\n").min));
}

// Deterministic generator of values the file can hold: any byte but "=", LF,
// CR and Ctrl+Z, and no white space at the end.
class ValueGenerator {
 public:
  explicit ValueGenerator(std::uint32_t seed) : state_(seed) {}

  std::string Next() {
    const std::size_t length = NextNumber() % 24;
    std::string value;
    for (std::size_t i = 0; i < length; ++i) value += NextByte();
    while (!value.empty() && IsTrailingSpace(value.back())) value.pop_back();
    return value;
  }

 private:
  std::uint32_t NextNumber() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }

  char NextByte() {
    for (;;) {
      // Favour the bytes near the rules: white space, "y", "e", "s".
      constexpr std::string_view kInteresting = " \t\v\fyesYESno";
      const std::uint32_t pick = NextNumber();
      const char c = pick % 3 == 0 ? kInteresting[(pick / 3) % kInteresting.size()]
                                   : static_cast<char>(static_cast<unsigned char>(pick >> 4));
      if (c != '=' && c != '\n' && c != '\r' && c != '\x1A') return c;
    }
  }

  static bool IsTrailingSpace(char c) {
    return std::string_view(" \t\n\v\f\r").find(c) != std::string_view::npos;
  }

  std::uint32_t state_;
};

TEST(SettingsFile, ReadsBackWhatItWrites) {
  ValueGenerator generator(20240101u);
  for (int round = 0; round < 2000; ++round) {
    const SettingsRecord written{generator.Next(), generator.Next(), generator.Next(),
                                 generator.Next(), generator.Next()};
    SettingsRecord read = UntouchedRecord();
    ParseSettings(ComposeSettings(written), read);
    SCOPED_TRACE(round);
    ExpectSameRecord(read, written);
    if (HasFailure()) break;
  }
  // Leading white space and an inner CR survive the trip as well.
  const SettingsRecord edges{" yes", "\tno", "a\rb", "", "\xFF"};
  SettingsRecord read;
  ParseSettings(ComposeSettings(edges), read);
  ExpectSameRecord(read, edges);
}

}  // namespace
}  // namespace ravelind
