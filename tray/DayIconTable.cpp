#include "tray/DayIconTable.h"

#include <array>

#include "res/resource.h"

namespace ravelind {
namespace {

// Each day's icon, from the 1st to the 31st. The identifiers do not follow
// day order; the table decides, not arithmetic.
constexpr std::array<int, 31> kDayIcons{
    IDI_DAY01, IDI_DAY02, IDI_DAY03, IDI_DAY04, IDI_DAY05, IDI_DAY06, IDI_DAY07, IDI_DAY08,
    IDI_DAY09, IDI_DAY10, IDI_DAY11, IDI_DAY12, IDI_DAY13, IDI_DAY14, IDI_DAY15, IDI_DAY16,
    IDI_DAY17, IDI_DAY18, IDI_DAY19, IDI_DAY20, IDI_DAY21, IDI_DAY22, IDI_DAY23, IDI_DAY24,
    IDI_DAY25, IDI_DAY26, IDI_DAY27, IDI_DAY28, IDI_DAY29, IDI_DAY30, IDI_DAY31,
};

}  // namespace

// A row's keys are its day in two digits and, for the 1st to the 9th, in one;
// the rows are tried in day order, the two-digit key first.
int DayNumber(std::string_view day) {
  for (int number = 1; number <= int(kDayIcons.size()); ++number) {
    const char key[] = {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
    if (day == std::string_view(key, 2) || (number < 10 && day == std::string_view(key + 1, 1))) {
      return number;
    }
  }
  return 1;  // only when local time could not be formatted
}

int DayIconId(std::string_view day) { return kDayIcons[std::size_t(DayNumber(day) - 1)]; }

}  // namespace ravelind
