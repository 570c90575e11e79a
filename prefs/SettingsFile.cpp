#include "prefs/SettingsFile.h"

#include <windows.h>

#include <cstdlib>
#include <string>

#include "framework/Scoped.h"
#include "prefs/Settings.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// What a new copy of the file takes over from the old one.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// How long another program's hold on the file is waited out: about a second.
constexpr int kTries = 20;
constexpr DWORD kWaitMs = 50;

// Another program has the file open and shares too little with us.
bool SharesTooLittle(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}
// Windows refuses to replace a file that is open without delete sharing with
// "access denied", not with a sharing violation.
bool IsHeld(DWORD error) { return SharesTooLittle(error) || error == ERROR_ACCESS_DENIED; }

// Runs `attempt` until it succeeds or the file stays held for about a second;
// false, with the last error kept, when it never succeeded.
template <class Attempt>
bool Retried(Attempt attempt, bool (*held)(DWORD)) {
  for (int tries = 1;; ++tries) {
    if (attempt()) return true;
    const DWORD error = GetLastError();
    if (tries == kTries || !held(error)) {
      SetLastError(error);
      return false;
    }
    Sleep(kWaitMs);
  }
}

// Writes all of `bytes` from the start of the file, cuts off what is beyond
// them, and flushes.
bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const auto part = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0) {
      return false;
    }
    done += written;
  }
  return SetEndOfFile(file) && FlushFileBuffers(file);
}

// Rewrites rv.ini itself, made when missing. Opening the file as it is keeps
// its attributes: Windows refuses to recreate a hidden or system file unless
// it is asked for the same attributes.
bool WriteInPlace(const Platform& platform, const std::string& bytes) {
  ScopedFile file(platform.createFile(ravelind::kSettingsFileName, GENERIC_WRITE, kShareAll,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // A close can fail too (the last buffers reach the disk then).
  return file && WriteAll(file.get(), bytes) && CloseHandle(file.release());
}

// The same, once another program's short hold is over.
bool WriteInPlaceWhenFree(const Platform& platform, const std::string& bytes) {
  return Retried([&] { return WriteInPlace(platform, bytes); }, SharesTooLittle);
}

// Renames the open file over rv.ini. A bare name renames within the file's
// own folder, which is rv.ini's.
bool RenameOverSettingsFile(const Platform& platform, HANDLE file) {
  constexpr std::size_t kLength = sizeof ravelind::kSettingsFileName - 1;
  constexpr std::size_t kNameBytes = kLength * sizeof(wchar_t);
  alignas(FILE_RENAME_INFO) unsigned char buffer[sizeof(FILE_RENAME_INFO) + kNameBytes] = {};
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer);
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = kNameBytes;
  for (std::size_t i = 0; i < kLength; ++i) {
    rename->FileName[i] = static_cast<unsigned char>(ravelind::kSettingsFileName[i]);  // ASCII
  }
  return platform.setFileInformation(file, FileRenameInfo, rename, sizeof buffer) != FALSE;
}

// The open file goes when it is closed.
void Discard(HANDLE file) {
  FILE_DISPOSITION_INFO disposition{TRUE};
  (void)SetFileInformationByHandle(file, FileDispositionInfo, &disposition, sizeof disposition);
}

// rv.ini reached by more than one name: Scoop keeps it as a hard link to its
// own copy, which each new version's folder links again. A new file would take
// only our name and leave the settings behind in the other.
bool HasOtherNames(const Platform& platform) {
  ScopedFile file(platform.createFile(ravelind::kSettingsFileName, FILE_READ_ATTRIBUTES,
                                      kShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION about;
  return file && GetFileInformationByHandle(file.get(), &about) && about.nNumberOfLinks > 1;
}

// Our temporary files are named "rv", the saving process's id, ".tmp".
std::string TemporaryName(DWORD process) { return "rv" + std::to_string(process) + ".tmp"; }

// A save cut off before its rename (the process ended during the wait at
// shutdown) leaves its temporary file, hidden when rv.ini is. Those that no
// process holds open go: a save in progress holds its own without sharing.
void RemoveLeftTemporaries() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("rv*.tmp", &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const char* id = found.cFileName + 2;
    const std::string name = found.cFileName;
    if (*id >= '1' && *id <= '9' && TemporaryName(std::strtoul(id, nullptr, 10)) == name) {
      (void)DeleteFileA(name.c_str());
    }
  } while (FindNextFileA(search, &found));
  (void)FindClose(search);
}

}  // namespace

bool ReadSettingsFile(const Platform& platform, std::string& bytes) {
  bytes.clear();
  ScopedFile file;
  const bool opened = Retried([&] {
    file = ScopedFile(platform.createFile(ravelind::kSettingsFileName, GENERIC_READ, kShareAll,
                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(file);
  }, SharesTooLittle);
  if (!opened) {
    // Not there and not to be made (a folder we may not write to): the
    // settings of a first start.
    return GetFileAttributesA(ravelind::kSettingsFileName) == INVALID_FILE_ATTRIBUTES &&
           GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) {
    if (got == 0) return true;
    bytes.append(chunk, got);
  }
  return false;
}

// The new text goes to a temporary file beside rv.ini, which then takes the
// old one's place, so that on any failure the old file stays exactly as it
// was. Where no new file may be made, another program holds rv.ini longer
// than we wait, or the file has another name too, it is rewritten in place.
bool WriteSettingsFile(const Platform& platform, const std::string& bytes) {
  RemoveLeftTemporaries();
  // A read-only file is not to be replaced. Windows refuses the rename below
  // for it anyway; some other implementations of the call do not.
  const DWORD attributes = GetFileAttributesA(ravelind::kSettingsFileName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && HasOtherNames(platform)) {
    return WriteInPlaceWhenFree(platform, bytes);
  }
  const DWORD kept = attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes & kKeptAttributes;
  // Named after the process, so that two copies of the program saving in one
  // folder do not share it. Everything is done through the handle that made
  // it, with the right to delete it asked for then: a folder that lets us
  // make files but not delete them refuses the file at once, rather than
  // keeping it for good.
  const std::string name = TemporaryName(GetCurrentProcessId());
  ScopedFile temporary(platform.createFile(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                           CREATE_ALWAYS, kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL,
                                           nullptr));
  if (!temporary) return WriteInPlaceWhenFree(platform, bytes);
  if (!WriteAll(temporary.get(), bytes)) {
    Discard(temporary.get());  // a full disk, say: rv.ini stays as it was
    return false;
  }
  if (Retried([&] { return RenameOverSettingsFile(platform, temporary.get()); }, IsHeld)) {
    return true;
  }
  // A rename can report failure after it took effect: the handle then names
  // rv.ini, and a discard through it would delete the settings. The file goes
  // by its temporary name instead, which is not there if it was renamed.
  temporary.reset();
  (void)DeleteFileA(name.c_str());
  return WriteInPlaceWhenFree(platform, bytes);
}
