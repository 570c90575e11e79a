#include "prefs/Autostart.h"

#include <cwctype>
#include <vector>

namespace ravelind {
namespace {

constexpr std::wstring_view kWorkDirSwitch = L"/workdir";

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// `argument` as one command-line argument that the parser below reads back
// whole: quoted when it holds a blank or a quote, or is empty. Backslashes
// are literal except in front of a quote, where each of them needs a second
// one, as does every backslash at the end of a quoted argument.
std::wstring Quoted(std::wstring_view argument) {
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

// The arguments after the program's name, as the system's parser
// (CommandLineToArgvW) splits them.
std::vector<std::wstring> ArgumentsOf(std::wstring_view line) {
  std::size_t i = 0;
  const std::size_t n = line.size();
  // The program's name ends at the next quote when it starts with one, else
  // at a blank; a backslash means nothing in it.
  if (i < n && line[i] == L'"') {
    i = line.find(L'"', 1);
    i = i == std::wstring_view::npos ? n : i + 1;
  } else {
    while (i < n && !IsBlank(line[i])) ++i;
  }
  std::vector<std::wstring> arguments;
  for (;;) {
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) return arguments;
    std::wstring argument;
    bool quoted = false;
    while (i < n && (quoted || !IsBlank(line[i]))) {
      std::size_t backslashes = 0;
      while (i < n && line[i] == L'\\') ++backslashes, ++i;
      const bool quote = i < n && line[i] == L'"';
      argument.append(quote ? backslashes / 2 : backslashes, L'\\');
      if (!quote) {
        if (backslashes == 0) argument += line[i++];
      } else if (backslashes % 2 == 1) {
        argument += line[i++];  // an escaped quote
      } else {
        quoted = !quoted, ++i;
      }
    }
    arguments.push_back(argument);
  }
}

bool IsWorkDirSwitch(std::wstring_view argument) {
  if (argument.size() != kWorkDirSwitch.size()) return false;
  for (std::size_t i = 0; i < argument.size(); ++i) {
    if (std::towlower(static_cast<std::wint_t>(argument[i])) !=
        static_cast<std::wint_t>(kWorkDirSwitch[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::wstring WorkDirArguments(std::wstring_view workDir) {
  return std::wstring{kWorkDirSwitch} + L' ' + Quoted(workDir);
}

std::wstring AutostartCommand(std::wstring_view exePath, std::wstring_view workDir) {
  std::wstring command = Quoted(exePath) + L' ' + WorkDirArguments(workDir);
  if (command.size() > kMaxRunCommandLength) command.clear();
  return command;
}

std::wstring WorkDirOf(std::wstring_view commandLine) {
  const std::vector<std::wstring> arguments = ArgumentsOf(commandLine);
  std::wstring folder;
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    if (IsWorkDirSwitch(arguments[i])) folder = arguments[i + 1];
  }
  return folder;
}

}  // namespace ravelind
