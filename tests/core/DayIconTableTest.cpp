#include "tray/DayIconTable.h"
#include "tray/DayString.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace ravelind {
namespace {

// Icon of each day, 1st to 31st: the identifiers do not follow day order.
constexpr int kIconIds[31] = {129, 130, 131, 132, 133, 134, 139, 140, 141, 138, 142,
                              143, 144, 145, 151, 147, 148, 149, 150, 152, 153, 154,
                              155, 156, 157, 158, 159, 160, 161, 164, 163};

std::string TwoDigits(int day) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", day);
  return text;
}

TEST(DayIconTable, GivesEachDayItsIconWithOrWithoutALeadingZero) {
  for (int day = 1; day <= 31; ++day) {
    EXPECT_EQ(DayIconId(TwoDigits(day)), kIconIds[day - 1]) << TwoDigits(day);
    EXPECT_EQ(DayIconId(std::to_string(day)), kIconIds[day - 1]) << day;
  }
}

TEST(DayIconTable, GivesTheFirstsIconToTextThatMatchesNoDay) {
  for (const char* text : {"", "0", "00", "32", "007", " 7", "7 ", "7x", "1O", "15\n"})
    EXPECT_EQ(DayIconId(text), 129) << '"' << text << '"';
}

TEST(DayString, IsTheDayOfTheMonthInTwoDigitsAtAnyHour) {
  for (int day = 1; day <= 31; ++day)
    for (const int second : {0, 12 * 3600, 24 * 3600 - 1}) {
      std::tm moment{};
      moment.tm_year = 2025 - 1900;
      moment.tm_mon = 0;
      moment.tm_mday = day;
      moment.tm_sec = second;
      moment.tm_isdst = -1;
      const std::time_t when = std::mktime(&moment);
      EXPECT_EQ(FormatDayString(&moment), TwoDigits(day)) << second;
      EXPECT_EQ(DayStringAt(when), TwoDigits(day)) << second;
    }
  EXPECT_EQ(FormatDayString(nullptr), "");
}

}  // namespace
}  // namespace ravelind
