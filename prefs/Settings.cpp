#include "prefs/Settings.h"

#include <cstddef>

namespace ravelind {
namespace {

constexpr char kLineFeed = '\n';
constexpr char kCarriageReturn = '\r';
constexpr char kEndOfText = '\x1A';  // Ctrl+Z: text mode reads nothing past it
constexpr char kSeparator = '=';
constexpr std::string_view kTrailingSpace = " \t\n\v\f\r";
constexpr std::string_view kCreatorLine = "CREATOR=Ravelind 1.0";

// The characters a text-mode read yields, with every line end as one LF:
// CR LF and LF as usual, and a lone CR too (files from old editors), so that
// such a file is not read as one long line. The text ends at the first Ctrl+Z.
std::string ReadAsText(std::string_view bytes) {
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == kEndOfText) break;
    if (c != kCarriageReturn) {
      text += c;
    } else if (i + 1 == bytes.size() || bytes[i + 1] != kLineFeed) {
      text += kLineFeed;
    }
  }
  return text;
}

// The bytes a text-mode write stores: every LF becomes CR LF.
std::string WriteAsText(std::string_view text) {
  std::string bytes;
  bytes.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == kLineFeed) bytes += kCarriageReturn;
    bytes += c;
  }
  return bytes;
}

std::string_view WithoutTrailingSpace(std::string_view line) {
  const std::size_t last = line.find_last_not_of(kTrailingSpace);
  return last == std::string_view::npos ? std::string_view{} : line.substr(0, last + 1);
}

// The value part of a line, from its first "=" on, with every "=" dropped.
std::string WithoutSeparators(std::string_view valuePart) {
  std::string value;
  value.reserve(valuePart.size());
  for (const char c : valuePart) {
    if (c != kSeparator) value += c;
  }
  return value;
}

std::string* ValueFor(std::string_view key, SettingsRecord& record) {
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    if (key == kSettings[i].key) return &record[i];
  }
  return nullptr;
}

void HandleLine(std::string_view line, SettingsRecord& record) {
  line = WithoutTrailingSpace(line);
  const std::size_t separator = line.find(kSeparator);
  std::string* value = ValueFor(line.substr(0, separator), record);
  if (value == nullptr) return;
  *value = separator == std::string_view::npos ? std::string{}
                                                : WithoutSeparators(line.substr(separator));
}

}  // namespace

void ParseSettings(std::string_view fileBytes, SettingsRecord& record) {
  const std::string text = ReadAsText(fileBytes);
  std::string_view rest = text;
  // The last line counts even without a line feed, so that a setting typed
  // by hand at the very end is not lost.
  while (!rest.empty()) {
    const std::size_t end = rest.find(kLineFeed);
    HandleLine(rest.substr(0, end), record);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
}

std::string ComposeSettings(const SettingsRecord& record) {
  std::string text{kCreatorLine};
  text += kLineFeed;
  for (std::size_t i = 0; i < kSettingCount; ++i) {
    text += kSettings[i].key;
    text += kSeparator;
    text += record[i];
    text += kLineFeed;
  }
  text += kLineFeed;
  return WriteAsText(text);
}

}  // namespace ravelind
