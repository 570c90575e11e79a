#include "prefs/Autostart.h"

namespace ravelind {

// The rules of the system's command-line parser: backslashes are literal
// except in front of a quote, where each of them needs a second one, as does
// every backslash at the end of a quoted argument.
std::wstring QuoteArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos) {
    return std::wstring{argument};
  }
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L'"';
}

std::wstring AutostartCommand(std::wstring_view exePath, std::wstring_view workDir) {
  return QuoteArgument(exePath) + L' ' + kWorkDirSwitch + L' ' + QuoteArgument(workDir);
}

}  // namespace ravelind
