#pragma once
// Whether the control hints are on when the window starts, from the stored
// TOOLTIPS value: on for "yes" and for no value at all, off for anything else.
#include <string_view>

namespace ravelind {

constexpr bool HintsOnAtStart(std::string_view tooltipsSetting) {
  return tooltipsSetting == "yes" || tooltipsSetting.empty();
}

}  // namespace ravelind
