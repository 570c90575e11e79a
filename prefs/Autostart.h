#pragma once
// The Run entry that starts the program when Windows starts.
#include <string>
#include <string_view>

namespace ravelind {

// Sub key of HKEY_LOCAL_MACHINE that holds the programs started at log-on.
inline constexpr char kAutostartSubKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Name of the program's value under that key.
inline constexpr char kAutostartValueName[] = "Ravelind";

// The command stored in the entry for the executable at `exePath`: quoted when
// the path holds a space, so that Windows does not cut it there.
std::string AutostartCommand(std::string_view exePath);

}  // namespace ravelind
