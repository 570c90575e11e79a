#include "prefs/AutostartEntry.h"

#include <string>

#include "framework/Paths.h"
#include "framework/Scoped.h"
#include "prefs/Autostart.h"

using ravelind::kAutostartSubKey;
using ravelind::kAutostartValueName;

bool AutostartEntry::Write() {
  const std::wstring program = ModulePath();
  const std::wstring folder = CurrentDirectory();
  if (program.empty() || folder.empty()) return false;
  // The folder is named twice: deep down, only the short form of the paths
  // fits, where the volume keeps short names.
  std::wstring command = ravelind::AutostartCommand(program, folder);
  if (command.empty()) command = ravelind::AutostartCommand(ShortPath(program), ShortPath(folder));
  if (command.empty()) return false;
  // A machine entry that we may not change (an elevated run wrote it) starts
  // the program already: a user entry beside it would start it twice.
  if (WriteUnder(HKEY_LOCAL_MACHINE, command) || IsUnder(HKEY_LOCAL_MACHINE)) {
    (void)DeleteUnder(HKEY_CURRENT_USER);
    return true;
  }
  return WriteUnder(HKEY_CURRENT_USER, command);
}

bool AutostartEntry::Delete() {
  const bool machine = DeleteUnder(HKEY_LOCAL_MACHINE);
  return DeleteUnder(HKEY_CURRENT_USER) && machine;
}

bool AutostartEntry::WriteUnder(HKEY root, const std::wstring& command) {
  ScopedRegKey key;
  if (m_platform.regOpenKey(root, kAutostartSubKey, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  const auto size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));  // with the NUL
  return RegSetValueExW(key.get(), kAutostartValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

// A key that may not be written is no failure while our value is not there.
bool AutostartEntry::DeleteUnder(HKEY root) {
  ScopedRegKey key;
  if (m_platform.regOpenKey(root, kAutostartSubKey, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS) {
    const LSTATUS status = RegDeleteValueW(key.get(), kAutostartValueName);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return true;
  }
  return !IsUnder(root);
}

bool AutostartEntry::IsUnder(HKEY root) {
  ScopedRegKey key;
  return m_platform.regOpenKey(root, kAutostartSubKey, KEY_QUERY_VALUE, key.put()) ==
             ERROR_SUCCESS &&
         RegQueryValueExW(key.get(), kAutostartValueName, nullptr, nullptr, nullptr, nullptr) ==
             ERROR_SUCCESS;
}
