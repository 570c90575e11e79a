// The three option switches of the calendar window, the tooltip rule at start,
// and the autostart entry under the machine's Run key.
#include <string>

#include "framework/Scoped.h"
#include "prefs/Autostart.h"
#include "prefs/TooltipRule.h"
#include "ui/CalendarDlg.h"

namespace {

constexpr char kYes[] = "yes";
constexpr char kNo[] = "no";

// Full path of the running executable, or empty when it does not fit.
std::string ExecutablePath() {
  std::string path(32768, '\0');
  const DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  path.resize(length);
  return path;
}

}  // namespace

void CCalendarDlg::ApplyTooltipRule() {
  const bool on = ravelind::HintsOnAtStart(m_settings.tooltips);
  (void)EnableToolTips(on ? TRUE : FALSE);
  m_tooltipsFlag = on ? 1 : 0;
  UpdateData(FALSE);
}

void CCalendarDlg::OnToolTips() {
  UpdateData(TRUE);
  m_settings.tooltips = m_tooltipsFlag ? kYes : kNo;
  (void)EnableToolTips(m_tooltipsFlag ? TRUE : FALSE);
  UpdateData(FALSE);
}

void CCalendarDlg::OnStartMenu() {
  UpdateData(TRUE);
  if (m_startupFlag) {
    m_settings.startup = kYes;
    if (!WriteAutostartEntry()) {
      MessageBox("Unable to add program to start menu.", "Error", 0);
      m_startupFlag = 0;
      m_settings.startup = kNo;
    }
  } else {
    m_settings.startup = kNo;
    if (!DeleteAutostartEntry()) {
      // The entry is still there: say so, and show it.
      MessageBox("Unable to remove program from start menu.", "Error", 0);
      m_startupFlag = 1;
      m_settings.startup = kYes;
    }
  }
  UpdateData(FALSE);
}

void CCalendarDlg::OnStartMinimized() {
  UpdateData(TRUE);
  m_settings.min = m_minimizedFlag ? kYes : kNo;
  UpdateData(FALSE);
}

// Writes the Run value that names this executable; false when it is not there.
bool CCalendarDlg::WriteAutostartEntry() {
  const std::string command = ravelind::AutostartCommand(ExecutablePath());
  if (command.empty()) return false;
  ScopedRegKey key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return false;
  }
  const auto size = static_cast<DWORD>(command.size() + 1);  // with the NUL
  return m_platform.regSetValueEx(key.get(), ravelind::kAutostartValueName, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(command.c_str()),
                                  size) == ERROR_SUCCESS;
}

// Deletes the Run value; false only when a value that is there stays there.
// A Run key that cannot be opened is passed over in silence.
bool CCalendarDlg::DeleteAutostartEntry() {
  ScopedRegKey key;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, key.put()) != ERROR_SUCCESS) {
    return true;
  }
  const LSTATUS status = m_platform.regDeleteValue(key.get(), ravelind::kAutostartValueName);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
