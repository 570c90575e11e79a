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

constexpr char kUnset[] = "\nunset";  // no line gives a value holding an LF

void Check(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "settings_fuzz: %s\n", what);
  std::abort();
}

// The values after reading the pieces one after the other.
ravelind::SettingsRecord Read(std::initializer_list<std::string_view> pieces) {
  ravelind::SettingsRecord r{kUnset, kUnset, kUnset, kUnset, kUnset};
  for (const std::string_view piece : pieces) ravelind::ParseSettings(piece, r);
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const ravelind::SettingsRecord values = Read({input});

  // A value is replaced only when its key stands in the input, and never by
  // one holding an LF, an "=" or a Ctrl+Z.
  ravelind::SettingsRecord kept;
  std::size_t valueBytes = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == kUnset) continue;
    Check(input.find(ravelind::kSettings[i].key) != std::string_view::npos,
          "value replaced without its key");
    Check(values[i].find_first_of("\n=\x1A") == std::string::npos, "value holds LF, = or Ctrl+Z");
    kept[i] = values[i];
    valueBytes += values[i].size();
  }

  // What was read, written and read again, loses only trailing white space
  // (which an "=" after it had kept).
  const std::string composed = ravelind::ComposeSettings(kept);
  Check(composed.size() == 74 + valueBytes, "composed size");
  const ravelind::SettingsRecord reread = Read({composed});
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::string& value = kept[i];
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
