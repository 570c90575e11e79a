#include "prefs/AutostartEntry.h"

#include <string>

#include "framework/Paths.h"
#include "prefs/Autostart.h"

using ravelind::kAutostartSubKey;
using ravelind::kAutostartValueName;
using ravelind::kStartupApprovedSubKey;

namespace {

// The command that starts this program in the working directory; empty when
// no form of it fits a Run entry.
std::wstring OurCommand() {
  const std::wstring program = ModulePath();
  const std::wstring folder = CurrentDirectory();
  if (program.empty() || folder.empty()) return {};
  // The folder is named twice: deep down, only the short form of the paths
  // fits, where the volume keeps short names.
  std::wstring command = ravelind::AutostartCommand(program, folder);
  if (command.empty()) command = ravelind::AutostartCommand(ShortPath(program), ShortPath(folder));
  return command;
}

bool IsSameCommand(const std::wstring& one, const std::wstring& other) {
  return CompareStringOrdinal(one.c_str(), -1, other.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace

bool AutostartEntry::Write() {
  const std::wstring command = OurCommand();
  if (command.empty()) return false;
  HKEY root = HKEY_LOCAL_MACHINE;
  std::wstring machine;
  if (!WriteUnder(root, command)) {
    if (!IsUnder(root, &machine)) {
      root = HKEY_CURRENT_USER;
      if (!WriteUnder(root, command)) return false;
    } else if (!IsSameCommand(machine, command)) {
      // A machine entry we may not change starts another copy or another
      // folder's settings, or nothing: not ours to call done. A user entry
      // beside it would start a second copy.
      (void)DeleteUnder(HKEY_CURRENT_USER);
      return false;
    }
  }
  if (root == HKEY_LOCAL_MACHINE) (void)DeleteUnder(HKEY_CURRENT_USER);
  // Switched off in Task Manager, the entry would be skipped at every log-on.
  // The mark goes rather than being set on: without one the entry is on, as
  // it was before anyone switched it, and nothing of Explorer's own format is
  // written.
  return MarkUnder(root) != Mark::kOff || DeleteMark(root);
}

bool AutostartEntry::Delete() {
  const bool machine = DeleteUnder(HKEY_LOCAL_MACHINE);
  return DeleteUnder(HKEY_CURRENT_USER) && machine;
}

LSTATUS AutostartEntry::Open(HKEY root, const wchar_t* subKey, REGSAM access, ScopedRegKey& key) {
  return m_platform.regOpenKey(root, subKey, access | KEY_WOW64_64KEY, key.put());
}

bool AutostartEntry::WriteUnder(HKEY root, const std::wstring& command) {
  ScopedRegKey key;
  if (Open(root, kAutostartSubKey, KEY_SET_VALUE, key) != ERROR_SUCCESS) return false;
  const auto size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));  // with the NUL
  return RegSetValueExW(key.get(), kAutostartValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

// A key that may not be written is no failure while our value is not there.
// A mark left without its value would be stale: it goes where it may.
bool AutostartEntry::DeleteUnder(HKEY root) {
  if (MarkUnder(root) != Mark::kNone) (void)DeleteMark(root);
  ScopedRegKey key;
  if (Open(root, kAutostartSubKey, KEY_SET_VALUE, key) == ERROR_SUCCESS) {
    const LSTATUS status = RegDeleteValueW(key.get(), kAutostartValueName);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return true;
  }
  return !IsUnder(root);
}

bool AutostartEntry::IsUnder(HKEY root, std::wstring* command) {
  ScopedRegKey key;
  wchar_t text[ravelind::kMaxRunCommandLength + 1] = {};
  DWORD size = sizeof text;
  if (Open(root, kAutostartSubKey, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return false;
  const LSTATUS status = RegGetValueW(key.get(), nullptr, kAutostartValueName,
                                      RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                      nullptr, text, &size);
  if (command != nullptr) *command = status == ERROR_SUCCESS ? text : L"";
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

// Off while its first byte is odd; one too long to read is not taken for off.
AutostartEntry::Mark AutostartEntry::MarkUnder(HKEY root) {
  ScopedRegKey key;
  BYTE mark[64] = {};
  DWORD size = sizeof mark;
  if (Open(root, kStartupApprovedSubKey, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return Mark::kNone;
  const LSTATUS status =
      RegQueryValueExW(key.get(), kAutostartValueName, nullptr, nullptr, mark, &size);
  if (status == ERROR_MORE_DATA) return Mark::kOn;
  if (status != ERROR_SUCCESS) return Mark::kNone;
  return size > 0 && (mark[0] & 1) != 0 ? Mark::kOff : Mark::kOn;
}

bool AutostartEntry::DeleteMark(HKEY root) {
  ScopedRegKey key;
  return Open(root, kStartupApprovedSubKey, KEY_SET_VALUE, key) == ERROR_SUCCESS &&
         RegDeleteValueW(key.get(), kAutostartValueName) == ERROR_SUCCESS;
}
