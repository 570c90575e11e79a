#pragma once
// Loading the day icon for a Day string from the program's own resources.
#include <windows.h>

#include <string_view>

#include "tray/DayString.h"

// The system's shared icon for `day`'s row of the day icon table: never destroyed.
HICON LoadDayIcon(std::string_view day);
