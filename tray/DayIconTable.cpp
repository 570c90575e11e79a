#include "tray/DayIconTable.h"

#include <array>

namespace ravelind {
namespace {

struct DayIconRow {
  std::string_view key;       // two digits
  std::string_view shortKey;  // one digit, for the 1st to the 9th only
  int iconId;
};

// The identifiers do not follow day order; the table decides, not arithmetic.
constexpr std::array<DayIconRow, 31> kDayIcons{{
    {"01", "1", 129}, {"02", "2", 130}, {"03", "3", 131}, {"04", "4", 132},
    {"05", "5", 133}, {"06", "6", 134}, {"07", "7", 139}, {"08", "8", 140},
    {"09", "9", 141}, {"10", "", 138},  {"11", "", 142},  {"12", "", 143},
    {"13", "", 144},  {"14", "", 145},  {"15", "", 151},  {"16", "", 147},
    {"17", "", 148},  {"18", "", 149},  {"19", "", 150},  {"20", "", 152},
    {"21", "", 153},  {"22", "", 154},  {"23", "", 155},  {"24", "", 156},
    {"25", "", 157},  {"26", "", 158},  {"27", "", 159},  {"28", "", 160},
    {"29", "", 161},  {"30", "", 164},  {"31", "", 163},
}};

}  // namespace

int DayIconId(std::string_view day) {
  for (const DayIconRow& row : kDayIcons) {
    if (day == row.key) return row.iconId;
    if (!row.shortKey.empty() && day == row.shortKey) return row.iconId;
  }
  return kFirstDayIconId;  // only when local time could not be formatted
}

}  // namespace ravelind
