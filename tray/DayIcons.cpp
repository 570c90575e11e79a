#include "tray/DayIcons.h"

#include "tray/DayIconTable.h"

HICON LoadDayIcon(std::string_view day) {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ravelind::DayIconId(day)));
}
