#include "tray/DayIconTable.h"

#include <gtest/gtest.h>

#include <string>

namespace ravelind {
namespace {

// Which icon each two-digit day gets is seen where the resources test reads each day's
// icon through the table; here, that the 1st to the 9th are found without the zero too.
TEST(DayIconTable, FindsTheFirstToTheNinthWithOrWithoutALeadingZero) {
  for (int day = 1; day <= 9; ++day)
    EXPECT_EQ(DayIconId(std::to_string(day)), DayIconId("0" + std::to_string(day))) << day;
}

}  // namespace
}  // namespace ravelind
