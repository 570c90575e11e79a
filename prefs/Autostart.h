#pragma once
// The Run entry that starts the program at log-on.
#include <string>
#include <string_view>

namespace ravelind {

// Sub key, of the machine's and of the user's registry, that holds the
// programs started at log-on.
inline constexpr wchar_t kAutostartSubKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

// Name of the program's value under that key.
inline constexpr wchar_t kAutostartValueName[] = L"Ravelind";

// Followed by a directory on the command line: the program starts there.
// Windows starts the Run entries in a system folder, not where rv.ini is.
inline constexpr wchar_t kWorkDirSwitch[] = L"/workdir";

// `argument` as one command-line argument that the system's parser reads
// back whole: quoted when it holds a blank or a quote, or is empty.
std::wstring QuoteArgument(std::wstring_view argument);

// The command stored in the entry: the executable at `exePath`, started in
// `workDir`.
std::wstring AutostartCommand(std::wstring_view exePath, std::wstring_view workDir);

}  // namespace ravelind
