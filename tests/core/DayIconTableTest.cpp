#include "tray/DayIconTable.h"

#include <gtest/gtest.h>

#include <string>

namespace ravelind {
namespace {

// Icon of each day, 1st to 31st: the identifiers do not follow day order.
constexpr int kIconIds[31] = {129, 130, 131, 132, 133, 134, 139, 140, 141, 138, 142,
                              143, 144, 145, 151, 147, 148, 149, 150, 152, 153, 154,
                              155, 156, 157, 158, 159, 160, 161, 164, 163};

std::string TwoDigits(int day) { return (day < 10 ? "0" : "") + std::to_string(day); }

TEST(DayIconTable, GivesEachDayItsIconWithOrWithoutALeadingZero) {
  for (int day = 1; day <= 31; ++day) {
    EXPECT_EQ(DayIconId(TwoDigits(day)), kIconIds[day - 1]) << TwoDigits(day);
    EXPECT_EQ(DayIconId(std::to_string(day)), kIconIds[day - 1]) << day;
  }
}

}  // namespace
}  // namespace ravelind
