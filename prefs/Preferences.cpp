#include "prefs/Preferences.h"

#include <windows.h>

#include <string>
#include <utility>

#include "framework/Scoped.h"

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// The whole file, created empty when it is missing. A file that cannot be
// opened reads as empty; a read error keeps what came before it.
std::string ReadSettingsFile() {
  std::string bytes;
  ScopedFile file(CreateFileA(ravelind::kSettingsFileName, GENERIC_READ, kShareAll, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

bool WriteAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD written = 0;
    const auto part = static_cast<DWORD>(bytes.size() - done);
    if (!WriteFile(file, bytes.data() + done, part, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return FlushFileBuffers(file) != FALSE;
}

// Writes the bytes into an open file and closes it.
bool WriteAndClose(ScopedFile file, const std::string& bytes) {
  const bool written = file && WriteAll(file.get(), bytes);
  // A close can fail too (the last buffers reach the disk then).
  return file && CloseHandle(file.release()) && written;
}

ScopedFile OpenForWriting(const char* path, DWORD share) {
  return ScopedFile(CreateFileA(path, GENERIC_WRITE, share, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Replaces the settings file as a whole: the new text goes to a temporary file
// beside it, which then takes the old one's place, so that on any failure the
// old file stays exactly as it was. Where no new file may be made in the
// folder, the file is rewritten in place instead.
bool ReplaceSettingsFile(const std::string& bytes) {
  // A read-only file is not to be replaced. Windows refuses the move below
  // for it anyway; some other implementations of the call do not.
  const DWORD attributes = GetFileAttributesA(ravelind::kSettingsFileName);
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return false;
  }
  // The temporary file is made by the call that opens it, so that a failed
  // open leaves nothing behind; named after the process, so that two copies
  // of the program saving in one folder do not share it.
  const std::string temporary = "rv" + std::to_string(GetCurrentProcessId()) + ".tmp";
  ScopedFile file = OpenForWriting(temporary.c_str(), 0);
  if (!file) return WriteAndClose(OpenForWriting(ravelind::kSettingsFileName, kShareAll), bytes);
  if (WriteAndClose(std::move(file), bytes) &&
      MoveFileExA(temporary.c_str(), ravelind::kSettingsFileName,
                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  (void)DeleteFileA(temporary.c_str());
  return false;
}

}  // namespace

void Preferences::Load() {
  ravelind::ParseSettings(ReadSettingsFile(), m_record);
  for (std::size_t i = 0; i < ravelind::kSettingCount; ++i) {
    const auto which = static_cast<ravelind::Setting>(i);
    m_boxes[i] = ravelind::kSettings[i].checkBox != 0 && ravelind::IsOnAtStart(which, m_record[i]);
  }
}

bool Preferences::Save() const { return ReplaceSettingsFile(ravelind::ComposeSettings(m_record)); }

bool Preferences::Store(ravelind::Setting which) {
  const bool on = IsTicked(which);
  m_record[which] = on ? ravelind::kYes : ravelind::kNo;
  return on;
}

void Preferences::Set(ravelind::Setting which, bool on) {
  m_boxes[which] = on ? 1 : 0;
  (void)Store(which);
}
