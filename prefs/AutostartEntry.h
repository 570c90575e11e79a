#pragma once
// The autostart entry: the value "Ravelind" under the machine's Run key, which
// starts the program at log-on.
#include "framework/Platform.h"

class AutostartEntry {
 public:
  explicit AutostartEntry(const Platform& platform) : m_platform(platform) {}

  // Writes the value naming this program; false when it is not there.
  bool Write();
  // Deletes the value; false only when a value that is there stays there.
  bool Delete();

 private:
  const Platform& m_platform;
};
