#include "prefs/AutostartEntry.h"

#include <string>

#include "framework/Scoped.h"
#include "prefs/Autostart.h"

namespace {

// Full path of the running executable, or empty when it does not fit.
std::string ExecutablePath() {
  std::string path(32768, '\0');
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return path;
}

}  // namespace

bool AutostartEntry::Write() {
  const std::string command = ravelind::AutostartCommand(ExecutablePath());
  if (command.empty()) return false;
  ScopedRegKey key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  const auto size = static_cast<DWORD>(command.size() + 1);  // with the NUL
  return m_platform.regSetValueEx(key.get(), ravelind::kAutostartValueName, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(command.c_str()),
                                  size) == ERROR_SUCCESS;
}

// A Run key that cannot be opened is passed over in silence.
bool AutostartEntry::Delete() {
  ScopedRegKey key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return true;
  }
  const LSTATUS status = m_platform.regDeleteValue(key.get(), ravelind::kAutostartValueName);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
