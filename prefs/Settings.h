#pragma once
// The settings file: five yes/no preferences kept as KEY=value lines, each
// described once by a row of kSettings that the reader, the writer, the
// window's data exchange and its start-up all walk.
//
// The file is read and written as bytes; the text-mode rules of the C runtime
// (CR LF for a line end, Ctrl+Z for the end of the text) are applied here, so
// that they hold the same on every platform and can be tested on the host. A
// lone CR or LF also ends a line when reading.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "res/resource.h"

namespace ravelind {

// Name of the settings file, in the working directory.
inline constexpr char kSettingsFileName[] = "rv.ini";

// The only values the switches write.
inline constexpr std::string_view kYes = "yes";
inline constexpr std::string_view kNo = "no";

// The settings, in the order of their lines in a written file.
enum Setting : std::size_t { kToolTips, kStartup, kSysDate, kWeekLabels, kMin, kSettingCount };

struct SettingRow {
  std::string_view key;
  int checkBox;      // the switch that keeps it, or 0: then it is only carried along
  bool onWhenEmpty;  // besides "yes", no value at all turns the switch on at start
};

inline constexpr std::array<SettingRow, kSettingCount> kSettings{{
    {"TOOLTIPS", IDC_TOOLTIPS, true},
    {"STARTUP", IDC_STARTMENU, false},
    {"SYSDATE", 0, false},
    {"WEEKLABELS", 0, false},
    {"MIN", IDC_STARTMINIMIZED, false},
}};

// The stored values, byte for byte as they appear after the "=" of their
// line, indexed by Setting.
using SettingsRecord = std::array<std::string, kSettingCount>;

// Whether `value`, as stored, turns the switch of `which` on at start.
constexpr bool IsOnAtStart(Setting which, std::string_view value) {
  return value == kYes || (kSettings[which].onWhenEmpty && value.empty());
}

// Reads the whole content of a settings file. Replaces only the values whose
// key occurs in it; a key given twice takes its later value.
void ParseSettings(std::string_view fileBytes, SettingsRecord& record);

// The bytes to store for a record, line ends already CR LF.
std::string ComposeSettings(const SettingsRecord& record);

}  // namespace ravelind
