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

using Place = AutostartEntry::Place;
const Place kMachine{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kStartupApprovedSubKey};
const Place kMachine32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, ravelind::kStartupApproved32SubKey};
const Place kUser{HKEY_CURRENT_USER, KEY_WOW64_64KEY, kStartupApprovedSubKey};

// The machine key's 32-bit view is a key of its own on 64-bit Windows only
// (x64 and ARM64): elsewhere it is the one view, which must not be cleared as
// another. Under ARM64's emulation IsWow64Process says FALSE for a 32-bit
// program; IsWow64Process2 names the system's own machine.
bool HasTwoViews(const Platform& platform) {
  USHORT process = 0, native = 0;
  if (platform.machines(&process, &native)) {
    return native == IMAGE_FILE_MACHINE_AMD64 || native == IMAGE_FILE_MACHINE_ARM64 ||
           native == IMAGE_FILE_MACHINE_IA64;
  }
  BOOL wow64 = FALSE;
  return sizeof(void*) == 8 || (platform.isWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

}  // namespace

bool AutostartEntry::Write() {
  const std::wstring command = OurCommand();
  if (command.empty()) return false;
  const Place* place = &kMachine;
  const bool twoViews = HasTwoViews(m_platform);
  if (WriteUnder(kMachine, command)) {
    if (twoViews) (void)DeleteUnder(kMachine32);
  } else {
    // Machine values we may not change: one of ours is the entry; any other
    // would start another copy, another folder's settings, or ours twice.
    std::wstring found, found32;
    const bool in64 = IsUnder(kMachine, &found);
    const bool in32 = twoViews && IsUnder(kMachine32, &found32);
    if (in64 || in32) {
      if (in64 == in32 || !IsSameCommand(in64 ? found : found32, command)) {
        (void)DeleteUnder(kUser);  // a second start beside them
        return false;
      }
      place = in64 ? &kMachine : &kMachine32;
    } else if (WriteUnder(kUser, command)) {
      place = &kUser;
    } else {
      return false;
    }
  }
  if (place != &kUser) (void)DeleteUnder(kUser);
  // Switched off in Task Manager, the entry would be skipped at every log-on.
  // The mark goes rather than being set on: without one the entry is on, as
  // it was before anyone switched it, and nothing of Explorer's own format is
  // written.
  return MarkUnder(*place) != Mark::kOff || DeleteMark(*place);
}

bool AutostartEntry::Delete() {
  const bool machine = DeleteUnder(kMachine);
  const bool machine32 = !HasTwoViews(m_platform) || DeleteUnder(kMachine32);
  return DeleteUnder(kUser) && machine && machine32;
}

LSTATUS AutostartEntry::Open(const Place& place, bool marks, REGSAM access, ScopedRegKey& key) {
  return m_platform.regOpenKey(place.root, marks ? place.marks : kAutostartSubKey,
                               access | (marks ? KEY_WOW64_64KEY : place.view), key.put());
}

bool AutostartEntry::WriteUnder(const Place& place, const std::wstring& command) {
  ScopedRegKey key;
  if (Open(place, false, KEY_SET_VALUE, key) != ERROR_SUCCESS) return false;
  const auto size = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));  // with the NUL
  return RegSetValueExW(key.get(), kAutostartValueName, 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(command.c_str()), size) == ERROR_SUCCESS;
}

// A key that may not be written is no failure while our value is not there.
// A mark left without its value would be stale: it goes where it may.
bool AutostartEntry::DeleteUnder(const Place& place) {
  if (MarkUnder(place) != Mark::kNone) (void)DeleteMark(place);
  ScopedRegKey key;
  if (Open(place, false, KEY_SET_VALUE, key) == ERROR_SUCCESS) {
    const LSTATUS status = RegDeleteValueW(key.get(), kAutostartValueName);
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) return true;
  }
  return !IsUnder(place);
}

bool AutostartEntry::IsUnder(const Place& place, std::wstring* command) {
  ScopedRegKey key;
  wchar_t text[ravelind::kMaxRunCommandLength + 1] = {};
  DWORD size = sizeof text;
  if (Open(place, false, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return false;
  const LSTATUS status = RegGetValueW(key.get(), nullptr, kAutostartValueName,
                                      RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                                      nullptr, text, &size);
  if (command != nullptr) *command = status == ERROR_SUCCESS ? text : L"";
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

// Off while its first byte is odd; one too long to read is not taken for off.
AutostartEntry::Mark AutostartEntry::MarkUnder(const Place& place) {
  ScopedRegKey key;
  BYTE mark[64] = {};
  DWORD size = sizeof mark;
  if (Open(place, true, KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return Mark::kNone;
  const LSTATUS status =
      RegQueryValueExW(key.get(), kAutostartValueName, nullptr, nullptr, mark, &size);
  if (status == ERROR_MORE_DATA) return Mark::kOn;
  if (status != ERROR_SUCCESS) return Mark::kNone;
  return size > 0 && (mark[0] & 1) != 0 ? Mark::kOff : Mark::kOn;
}

bool AutostartEntry::DeleteMark(const Place& place) {
  ScopedRegKey key;
  return Open(place, true, KEY_SET_VALUE, key) == ERROR_SUCCESS &&
         RegDeleteValueW(key.get(), kAutostartValueName) == ERROR_SUCCESS;
}
