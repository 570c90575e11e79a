#include "prefs/Preferences.h"

#include <string>

#include "prefs/SettingsFile.h"

void Preferences::Load() {
  std::string bytes;
  m_unread = !ReadSettingsFile(m_platform, bytes);
  ravelind::ParseSettings(bytes, m_record);
  for (std::size_t i = 0; i < ravelind::kSettingCount; ++i) {
    const auto which = static_cast<ravelind::Setting>(i);
    m_boxes[i] = ravelind::kSettings[i].checkBox != 0 && ravelind::IsOnAtStart(which, m_record[i]);
  }
}

bool Preferences::Save() {
  if (m_unread) {
    std::string bytes;
    if (!ReadSettingsFile(m_platform, bytes)) return false;
    ravelind::SettingsRecord stored;
    ravelind::ParseSettings(bytes, stored);
    for (std::size_t i = 0; i < ravelind::kSettingCount; ++i) {
      if (!m_stored[i]) m_record[i] = stored[i];
    }
    m_unread = false;
  }
  return WriteSettingsFile(m_platform, ravelind::ComposeSettings(m_record));
}

bool Preferences::Store(ravelind::Setting which) {
  const bool on = IsTicked(which);
  m_record[which] = on ? ravelind::kYes : ravelind::kNo;
  m_stored[which] = true;
  return on;
}

void Preferences::Set(ravelind::Setting which, bool on) {
  m_boxes[which] = on ? 1 : 0;
  (void)Store(which);
}
