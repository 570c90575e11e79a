#pragma once
// The three option switches, described once: the check box, the setting it
// keeps, and when it is on at start. Data exchange, loading and the switch
// handlers all walk this table.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "prefs/Settings.h"
#include "res/resource.h"

namespace ravelind {

// The only values the switches write.
inline constexpr std::string_view kYes = "yes";
inline constexpr std::string_view kNo = "no";

// When a stored value turns its switch on at start.
enum class StartRule {
  kExactlyYes,  // exactly "yes"
  kYesOrEmpty,  // exactly "yes", or no value at all
};

struct SwitchDef {
  int controlId;
  std::string SettingsRecord::*value;
  StartRule rule;
};

enum Switch : std::size_t { kToolTips, kStartMenu, kStartMinimized, kSwitchCount };

inline constexpr std::array<SwitchDef, kSwitchCount> kSwitches{{
    {IDC_TOOLTIPS, &SettingsRecord::tooltips, StartRule::kYesOrEmpty},
    {IDC_STARTMENU, &SettingsRecord::startup, StartRule::kExactlyYes},
    {IDC_STARTMINIMIZED, &SettingsRecord::min, StartRule::kExactlyYes},
}};

// Whether `value`, as stored, turns on a switch that follows `rule`.
constexpr bool IsOnAtStart(StartRule rule, std::string_view value) {
  return value == kYes || (rule == StartRule::kYesOrEmpty && value.empty());
}

}  // namespace ravelind
