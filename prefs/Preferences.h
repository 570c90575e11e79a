#pragma once
// The preferences: the settings record kept in "rv.ini" in the working
// directory, and the state of the three option switches' check boxes.
#include <array>

#include "prefs/Settings.h"
#include "prefs/Switches.h"

class Preferences {
 public:
  // Reads rv.ini, created empty when it is missing; an unreadable file reads
  // as empty. Each switch's box then follows its start rule.
  void Load();
  // Replaces rv.ini with the record; false when it could not be written, in
  // which case the file is left as it was.
  bool Save() const;

  // A switch's box state, 1 for ticked: what data exchange moves.
  int& Box(ravelind::Switch which) { return m_boxes[which]; }
  bool IsTicked(ravelind::Switch which) const { return m_boxes[which] != 0; }
  // Stores the box state as the switch's value, "yes" or "no"; true for "yes".
  bool Store(ravelind::Switch which);
  // Sets the box and the value together.
  void Set(ravelind::Switch which, bool on);
  // Whether the stored value turns the switch on at start.
  bool IsOnAtStart(ravelind::Switch which) const;

  const ravelind::SettingsRecord& Record() const { return m_record; }

 private:
  std::string& Value(ravelind::Switch which) { return m_record.*ravelind::kSwitches[which].value; }

  ravelind::SettingsRecord m_record;  // TOOLTIPS, STARTUP, SYSDATE, WEEKLABELS, MIN
  std::array<int, ravelind::kSwitchCount> m_boxes{};
};
