#pragma once
// The autostart entry: the value "Ravelind" under the Run key, which starts
// the program at log-on in the folder it was started from when the entry was
// written. The machine's key comes first; where it may not be written (a
// standard user, or any user with UAC on and the program not elevated), the
// user's own key holds the entry instead. Never both: the program would start
// twice.
#include <string>

#include "framework/Platform.h"

class AutostartEntry {
 public:
  explicit AutostartEntry(const Platform& platform) : m_platform(platform) {}

  // Writes the value naming this program and the working directory, and
  // takes any other copy of ours away; false when no key took it.
  bool Write();
  // Deletes the value from both keys; false only when a value that is there
  // stays there.
  bool Delete();

 private:
  bool WriteUnder(HKEY root, const std::wstring& command);
  bool DeleteUnder(HKEY root);
  bool IsUnder(HKEY root);

  const Platform& m_platform;
};
