#pragma once
// The autostart entry: the value "Ravelind" under the Run key, which starts
// the program at log-on in the folder it was started from when the entry was
// written. The machine's key comes first; where it may not be written (a
// standard user, or any user with UAC on and the program not elevated), the
// user's own key holds the entry instead. Never two: the program would start
// twice. Explorer's switch for the entry (Task Manager's Startup tab,
// Settings > Apps > Startup) is a mark beside it, which a tick clears.
//
// Both builds write in the registry's 64-bit view: there the 32-bit build's
// entry and its mark are where Task Manager looks for them, as the 64-bit
// build's. The machine key's 32-bit view (WOW6432Node), where an earlier
// 32-bit build wrote, is started at log-on too: an entry of ours there counts
// as one, and goes where it may.
#include <string>

#include "framework/Platform.h"
#include "framework/Scoped.h"

class AutostartEntry {
 public:
  explicit AutostartEntry(const Platform& platform) : m_platform(platform) {}

  // Sees to it that the next log-on starts this program once, in the working
  // directory: writes the value, takes any other copy of ours away and any
  // mark that switches the entry off; false when that cannot be done.
  bool Write();
  // Deletes the value from every key, and the marks where it may; false only
  // when a value that is there stays there.
  bool Delete();

  // A Run key that Windows starts at log-on, and where Explorer keeps its
  // marks for that key's values.
  struct Place {
    HKEY root;
    REGSAM view;  // of the Run key; the marks are in the 64-bit view
    const wchar_t* marks;
  };

 private:
  LSTATUS Open(const Place& place, bool marks, REGSAM access, ScopedRegKey& key);
  bool WriteUnder(const Place& place, const std::wstring& command);
  bool DeleteUnder(const Place& place);
  // Whether `place` holds a value of our name; `command` receives its text
  // (empty when it is too long to be ours).
  bool IsUnder(const Place& place, std::wstring* command = nullptr);
  // Explorer's mark beside the value at `place`.
  enum class Mark { kNone, kOn, kOff };
  Mark MarkUnder(const Place& place);
  bool DeleteMark(const Place& place);

  const Platform& m_platform;
};
