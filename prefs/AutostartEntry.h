#pragma once
// The autostart entry: the value "Ravelind" under the Run key, which starts
// the program at log-on in the folder it was started from when the entry was
// written. The machine's key comes first; where it may not be written (a
// standard user, or any user with UAC on and the program not elevated), the
// user's own key holds the entry instead. Never both: the program would start
// twice. Explorer's switch for the entry (Task Manager's Startup tab,
// Settings > Apps > Startup) is a mark beside it, which a tick clears.
//
// Both builds use the registry's 64-bit view: there the 32-bit build's entry
// and its mark are where Task Manager looks for them, as the 64-bit build's.
#include <string>

#include "framework/Platform.h"
#include "framework/Scoped.h"

class AutostartEntry {
 public:
  explicit AutostartEntry(const Platform& platform) : m_platform(platform) {}

  // Sees to it that the next log-on starts this program in the working
  // directory: writes the value, takes any other copy of ours away and any
  // mark that switches the entry off; false when that cannot be done.
  bool Write();
  // Deletes the value from both keys, and their marks where it may; false
  // only when a value that is there stays there.
  bool Delete();

 private:
  LSTATUS Open(HKEY root, const wchar_t* subKey, REGSAM access, ScopedRegKey& key);
  bool WriteUnder(HKEY root, const std::wstring& command);
  bool DeleteUnder(HKEY root);
  // Whether `root` holds a value of our name; `command` receives its text
  // (empty when it is too long to be ours).
  bool IsUnder(HKEY root, std::wstring* command = nullptr);
  // Explorer's mark beside the value under `root`.
  enum class Mark { kNone, kOn, kOff };
  Mark MarkUnder(HKEY root);
  bool DeleteMark(HKEY root);

  const Platform& m_platform;
};
