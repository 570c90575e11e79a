#pragma once
// The preferences: the settings record kept in "rv.ini" in the working
// directory, and the state of the option switches' check boxes.
#include <array>

#include "framework/Platform.h"
#include "prefs/Settings.h"

class Preferences {
 public:
  explicit Preferences(const Platform& platform) : m_platform(platform) {}

  // Reads rv.ini, created empty when it is missing. Each switch's box then
  // follows its setting's start rule.
  void Load();
  // Replaces rv.ini with the record; false when it could not be written, in
  // which case the file is left as it was. A file that was there but could
  // not be read at Load is read now: what the switches did not change is
  // written back as it stands there, and while it still cannot be read it is
  // not written over.
  bool Save();

  // A switch's box state, 1 for ticked: what data exchange moves.
  int& Box(ravelind::Setting which) { return m_boxes[which]; }
  bool IsTicked(ravelind::Setting which) const { return m_boxes[which] != 0; }
  // Stores the box state as the setting's value, "yes" or "no"; true for "yes".
  bool Store(ravelind::Setting which);
  // Sets the box and the value together.
  void Set(ravelind::Setting which, bool on);

 private:
  const Platform& m_platform;
  ravelind::SettingsRecord m_record;
  std::array<int, ravelind::kSettingCount> m_boxes{};
  std::array<bool, ravelind::kSettingCount> m_stored{};  // set by a switch in this run
  bool m_unread = false;  // rv.ini was there at Load and could not be read
};
