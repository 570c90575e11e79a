// Fuzzer of the settings reader: besides not crashing, checks the properties
// that hold for the content of any file.
#include "prefs/Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using ravelind::ComposeSettings;
using ravelind::ParseSettings;
using ravelind::SettingsRecord;

constexpr std::string_view kTrailingSpace = " \t\n\v\f\r";
constexpr std::size_t kEmptyFileSize = 74;  // composed size of a record of empty values
// A value no line can give: it holds an LF.
constexpr std::string_view kUnset = "\nunset";

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings_fuzz: %s\n", what);
  std::abort();
}

std::array<const std::string*, 5> Values(const SettingsRecord& record) {
  return {&record.tooltips, &record.startup, &record.sysdate, &record.weeklabels, &record.min};
}

// In the order of the members Values() lists.
std::array<std::string_view, 5> Keys() {
  return {"TOOLTIPS", "STARTUP", "SYSDATE", "WEEKLABELS", "MIN"};
}

std::string WithoutTrailingSpace(const std::string& value) {
  const std::size_t last = value.find_last_not_of(kTrailingSpace);
  return last == std::string::npos ? std::string{} : value.substr(0, last + 1);
}

bool SameRecord(const SettingsRecord& a, const SettingsRecord& b) {
  return a.tooltips == b.tooltips && a.startup == b.startup && a.sysdate == b.sysdate &&
         a.weeklabels == b.weeklabels && a.min == b.min;
}

SettingsRecord UnsetRecord() {
  const std::string unset{kUnset};
  return {unset, unset, unset, unset, unset};
}

// A value read from a line never holds an LF, an "=" or a Ctrl+Z, and a member
// is only replaced when its key stands in the input.
void CheckValuesRead(std::string_view input) {
  SettingsRecord record = UnsetRecord();
  ParseSettings(input, record);
  const auto values = Values(record);
  const auto keys = Keys();
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string& value = *values[i];
    if (value == kUnset) continue;
    Check(input.find(keys[i]) != std::string_view::npos, "member replaced without its key");
    Check(value.find_first_of("\n=\x1A") == std::string::npos, "value holds LF, = or Ctrl+Z");
  }
}

// Writing what was read and reading it again gives the same values, less
// their trailing white space (which an "=" after it had kept).
void CheckRewrite(std::string_view input) {
  SettingsRecord read;
  ParseSettings(input, read);
  const std::string composed = ComposeSettings(read);
  std::size_t valueBytes = 0;
  for (const std::string* value : Values(read)) valueBytes += value->size();
  Check(composed.size() == kEmptyFileSize + valueBytes, "composed size");

  SettingsRecord reread = UnsetRecord();
  ParseSettings(composed, reread);
  const auto before = Values(read);
  const auto after = Values(reread);
  for (std::size_t i = 0; i < before.size(); ++i) {
    Check(*after[i] == WithoutTrailingSpace(*before[i]), "rewritten value differs");
  }
}

// Reading two pieces of a file one after the other equals reading them joined
// by a line feed, as long as the first piece has no Ctrl+Z.
void CheckSplit(std::string_view input) {
  const std::string_view first = input.substr(0, input.size() / 2);
  const std::string_view second = input.substr(input.size() / 2);
  if (first.find('\x1A') != std::string_view::npos) return;
  SettingsRecord piecewise = UnsetRecord();
  ParseSettings(first, piecewise);
  ParseSettings(second, piecewise);
  SettingsRecord joined = UnsetRecord();
  ParseSettings(std::string{first} + '\n' + std::string{second}, joined);
  Check(SameRecord(piecewise, joined), "pieces read differently from the whole");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckValuesRead(input);
  CheckRewrite(input);
  CheckSplit(input);
  return 0;
}
