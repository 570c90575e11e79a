#include "tray/DayIcons.h"

#include "tray/DayIconTable.h"

HICON LoadDayIcon(std::string_view day) {
  return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ravelind::DayIconId(day)));
}

ScopedIcon LoadDayIcon(std::string_view day, int size) {
  return ScopedIcon(static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr),
                                                   MAKEINTRESOURCEA(ravelind::DayIconId(day)),
                                                   IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
