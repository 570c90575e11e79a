#include "prefs/Autostart.h"

namespace ravelind {
namespace {

constexpr char kQuote = '"';
constexpr char kSpace = ' ';

bool IsQuoted(std::string_view path) {
  return path.size() >= 2 && path.front() == kQuote && path.back() == kQuote;
}

}  // namespace

std::string AutostartCommand(std::string_view exePath) {
  const bool needsQuotes = exePath.find(kSpace) != std::string_view::npos && !IsQuoted(exePath);
  if (!needsQuotes) return std::string{exePath};
  std::string command;
  command.reserve(exePath.size() + 2);
  command += kQuote;
  command += exePath;
  command += kQuote;
  return command;
}

}  // namespace ravelind
