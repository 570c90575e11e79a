#pragma once
// The Run entry that starts the program at log-on, and the `/workdir`
// argument it carries: written and read back here, by the system's rules for
// command lines.
#include <cstddef>
#include <string>
#include <string_view>

namespace ravelind {

// Sub key, of the machine's and of the user's registry, that holds the
// programs started at log-on.
inline constexpr wchar_t kAutostartSubKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Name of the program's value under that key.
inline constexpr wchar_t kAutostartValueName[] = L"Ravelind";

// Sub key of the same root where Explorer (Task Manager's Startup tab,
// Settings > Apps > Startup) keeps its switch for each Run value: a binary
// value of the same name whose first byte is odd while the entry is off.
inline constexpr wchar_t kStartupApprovedSubKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
// The same switch for a value in the 32-bit view of the machine's Run key
// (WOW6432Node), kept in the 64-bit view.
inline constexpr wchar_t kStartupApproved32SubKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";

// Windows starts a Run entry only when its command is at most this long.
inline constexpr std::size_t kMaxRunCommandLength = 260;

// The command stored in the entry: the executable at `exePath`, told to start
// in `workDir` (Windows starts the Run entries in a system folder, not where
// rv.ini is). Empty when it would be longer than a Run entry may be.
std::wstring AutostartCommand(std::wstring_view exePath, std::wstring_view workDir);

// The arguments that tell the program to start in `workDir`: `/workdir` and
// the folder, as one argument however it is named.
std::wstring WorkDirArguments(std::wstring_view workDir);

// The folder that `/workdir` names on a command line, the last one if there
// are several; empty when there is none.
std::wstring WorkDirOf(std::wstring_view commandLine);

}  // namespace ravelind
