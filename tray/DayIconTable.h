#pragma once
// The table that picks a day icon resource for a Day string.
#include <string_view>

namespace ravelind {

// Icon resource of the 1st: also what a text that matches no row gets, and the
// picture of the About box.
constexpr int kFirstDayIconId = 129;

// Resource identifier of the day icon for `day`: the first row with a key
// exactly equal to it, or the 1st's icon when nothing matches.
int DayIconId(std::string_view day);

}  // namespace ravelind
