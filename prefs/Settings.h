#pragma once
// The settings file: five yes/no preferences kept as KEY=value lines.
//
// The file is read and written as bytes; the text-mode rules of the C runtime
// (CR LF for a line end, Ctrl+Z for the end of the text) are applied here, so
// that they hold the same on every platform and can be tested on the host. A
// lone CR or LF also ends a line when reading.
#include <string>
#include <string_view>

namespace ravelind {

// Name of the settings file, in the working directory.
inline constexpr char kSettingsFileName[] = "rv.ini";

// The stored values, byte for byte as they appear after the "=" of their line.
struct SettingsRecord {
  std::string tooltips;    // TOOLTIPS
  std::string startup;     // STARTUP
  std::string sysdate;     // SYSDATE
  std::string weeklabels;  // WEEKLABELS
  std::string min;         // MIN
};

// Reads the whole content of a settings file. Replaces only the members whose
// key occurs in it; a key given twice takes its later value.
void ParseSettings(std::string_view fileBytes, SettingsRecord& record);

// The bytes to store for a record, line ends already CR LF.
std::string ComposeSettings(const SettingsRecord& record);

}  // namespace ravelind
