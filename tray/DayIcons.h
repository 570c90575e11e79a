#pragma once
// Loading the day icon for a Day string from the program's own resources.
#include <windows.h>

#include <string_view>

#include "framework/Scoped.h"
#include "tray/DayString.h"

// The system's shared icon for `day`'s row of the day icon table, its 32-px
// picture: never destroyed.
HICON LoadDayIcon(std::string_view day);

// The same day's picture drawn for `size` pixels (for a size none is drawn
// for, the 32-px one stretched), the program's own: destroyed when it goes.
ScopedIcon LoadDayIcon(std::string_view day, int size);
