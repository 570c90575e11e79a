#include "prefs/AutostartEntry.h"

#include <string>

#include "framework/Paths.h"
#include "framework/Scoped.h"
#include "prefs/Autostart.h"

bool AutostartEntry::Write() {
  const std::wstring program = ModulePath();
  const std::wstring folder = CurrentDirectory();
  if (program.empty() || folder.empty()) return false;
  const std::wstring command = ravelind::AutostartCommand(program, folder);
  return WriteUnder(HKEY_LOCAL_MACHINE, command) || WriteUnder(HKEY_CURRENT_USER, command);
}

bool AutostartEntry::Delete() {
  const bool machine = DeleteUnder(HKEY_LOCAL_MACHINE);
  return DeleteUnder(HKEY_CURRENT_USER) && machine;
}

bool AutostartEntry::WriteUnder(HKEY root, const std::wstring& command) {
  ScopedRegKey key;
  if (m_platform.regCreateKey(root, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  const auto size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));  // with the NUL
  return m_platform.regSetValueEx(key.get(), ravelind::kAutostartValueName, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(command.c_str()),
                                  size) == ERROR_SUCCESS;
}

// A Run key that cannot be opened holds nothing of ours to delete.
bool AutostartEntry::DeleteUnder(HKEY root) {
  ScopedRegKey key;
  if (m_platform.regCreateKey(root, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return true;
  }
  const LSTATUS status = m_platform.regDeleteValue(key.get(), ravelind::kAutostartValueName);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
