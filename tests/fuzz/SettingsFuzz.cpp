// Fuzzer of the settings reader: besides not crashing, checks properties that
// hold for the content of any file.
#include "prefs/Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

constexpr std::string_view kKeys[]{"TOOLTIPS", "STARTUP", "SYSDATE", "WEEKLABELS", "MIN"};
constexpr char kUnset[] = "\nunset";  // no line gives a value holding an LF

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings_fuzz: %s\n", what);
  std::abort();
}

// The values after reading the pieces one after the other, in kKeys order.
std::array<std::string, 5> Read(std::initializer_list<std::string_view> pieces) {
  ravelind::SettingsRecord r{kUnset, kUnset, kUnset, kUnset, kUnset};
  for (const std::string_view piece : pieces) ravelind::ParseSettings(piece, r);
  return {r.tooltips, r.startup, r.sysdate, r.weeklabels, r.min};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::array<std::string, 5> values = Read({input});

  // A member is replaced only when its key stands in the input, and never by
  // a value holding an LF, an "=" or a Ctrl+Z.
  ravelind::SettingsRecord kept;
  std::array<std::string*, 5> members{&kept.tooltips, &kept.startup, &kept.sysdate,
                                      &kept.weeklabels, &kept.min};
  std::size_t valueBytes = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == kUnset) continue;
    Check(input.find(kKeys[i]) != std::string_view::npos, "member replaced without its key");
    Check(values[i].find_first_of("\n=\x1A") == std::string::npos, "value holds LF, = or Ctrl+Z");
    *members[i] = values[i];
    valueBytes += values[i].size();
  }

  // What was read, written and read again, loses only trailing white space
  // (which an "=" after it had kept).
  const std::string composed = ravelind::ComposeSettings(kept);
  Check(composed.size() == 74 + valueBytes, "composed size");
  const std::array<std::string, 5> reread = Read({composed});
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string& value = *members[i];
    Check(reread[i] == value.substr(0, value.find_last_not_of(" \t\n\v\f\r") + 1),
          "rewritten value differs");
  }

  // Lines are read independently: two pieces read one after the other read
  // as if joined by an LF, unless Ctrl+Z ended the first.
  const std::string_view first = input.substr(0, size / 2), second = input.substr(size / 2);
  if (first.find('\x1A') == std::string_view::npos)
    Check(Read({first, second}) == Read({std::string(first) + '\n' + std::string(second)}),
          "pieces read differently");
  return 0;
}
