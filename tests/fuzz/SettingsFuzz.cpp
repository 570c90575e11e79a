// Fuzzer of the settings reader: besides not crashing, checks properties that
// hold for the content of any file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "prefs/Settings.h"

namespace {

constexpr char kUnset[] = "\nunset";  // no line gives a value holding an LF

void Check(bool condition, const char* what) {
  if (!condition) std::fprintf(stderr, "settings_fuzz: %s\n", what), std::abort();
}

ravelind::SettingsRecord Read(std::string_view bytes) {
  ravelind::SettingsRecord record{kUnset, kUnset, kUnset, kUnset, kUnset};
  ravelind::ParseSettings(bytes, record);
  return record;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const ravelind::SettingsRecord values = Read(input);
  // A value is replaced only when its key stands in the input, and never by
  // one holding an LF, an "=" or a Ctrl+Z. What was read, written and read
  // again loses only trailing white space (which an "=" after it had kept).
  ravelind::SettingsRecord kept;
  std::size_t valueBytes = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i] == kUnset) continue;
    Check(input.find(ravelind::kSettings[i].key) != std::string_view::npos, "value without key");
    Check(values[i].find_first_of("\n=\x1A") == std::string::npos, "value holds LF, = or Ctrl+Z");
    kept[i] = values[i], valueBytes += values[i].size();
  }
  const std::string composed = ravelind::ComposeSettings(kept);
  Check(composed.size() == 74 + valueBytes, "composed size");
  const ravelind::SettingsRecord reread = Read(composed);
  for (std::size_t i = 0; i < values.size(); ++i)
    Check(reread[i] == kept[i].substr(0, kept[i].find_last_not_of(" \t\n\v\f\r") + 1),
          "rewritten value differs");
  return 0;
}
