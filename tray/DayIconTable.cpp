#include "tray/DayIconTable.h"

#include <array>

#include "res/resource.h"

namespace ravelind {
namespace {

struct DayIconRow {
  std::string_view key;       // two digits
  std::string_view shortKey;  // one digit, for the 1st to the 9th only
  int iconId;
};

// The identifiers do not follow day order; the table decides, not arithmetic.
constexpr std::array<DayIconRow, 31> kDayIcons{{
    {"01", "1", IDI_DAY01}, {"02", "2", IDI_DAY02}, {"03", "3", IDI_DAY03}, {"04", "4", IDI_DAY04},
    {"05", "5", IDI_DAY05}, {"06", "6", IDI_DAY06}, {"07", "7", IDI_DAY07}, {"08", "8", IDI_DAY08},
    {"09", "9", IDI_DAY09}, {"10", "", IDI_DAY10},  {"11", "", IDI_DAY11},  {"12", "", IDI_DAY12},
    {"13", "", IDI_DAY13},  {"14", "", IDI_DAY14},  {"15", "", IDI_DAY15},  {"16", "", IDI_DAY16},
    {"17", "", IDI_DAY17},  {"18", "", IDI_DAY18},  {"19", "", IDI_DAY19},  {"20", "", IDI_DAY20},
    {"21", "", IDI_DAY21},  {"22", "", IDI_DAY22},  {"23", "", IDI_DAY23},  {"24", "", IDI_DAY24},
    {"25", "", IDI_DAY25},  {"26", "", IDI_DAY26},  {"27", "", IDI_DAY27},  {"28", "", IDI_DAY28},
    {"29", "", IDI_DAY29},  {"30", "", IDI_DAY30},  {"31", "", IDI_DAY31},
}};

}  // namespace

int DayIconId(std::string_view day) {
  for (const DayIconRow& row : kDayIcons) {
    if (day == row.key) return row.iconId;
    if (!row.shortKey.empty() && day == row.shortKey) return row.iconId;
  }
  return IDI_DAY01;  // only when local time could not be formatted
}

}  // namespace ravelind
