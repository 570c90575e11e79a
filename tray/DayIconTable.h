#pragma once
// The table that picks a day icon resource for a Day string.
#include <string_view>

namespace ravelind {

// The day of the month, 1 to 31, of the first row with a key exactly equal
// to `day`, or 1 when nothing matches.
int DayNumber(std::string_view day);

// Resource identifier of the day icon for `day`: the first row with a key
// exactly equal to it, or the 1st's icon (IDI_DAY01) when nothing matches.
int DayIconId(std::string_view day);

}  // namespace ravelind
