#pragma once
// The Day string: today's day of the month as two digits, "01" to "31".
#include <ctime>
#include <string>

namespace ravelind {

// Formats the day of the month of a broken-down local time the way "%d" does.
// Returns an empty text when there is no time to format.
std::string FormatDayString(const std::tm* localTime);

}  // namespace ravelind
