#pragma once
// CCalendarDlg: the calendar window, the program's only visible window. It
// owns all run-time state: the settings, the three switch flags, the day shown
// in the tray and the window icon. Its members live in the room of the
// subsystem they serve: tray/ (tray icon, day-change watch), prefs/ (settings
// file, option switches), ui/ (the rest).
#include <string>

#include "app/Platform.h"
#include "framework/Dialog.h"
#include "prefs/Settings.h"

class CCalendarDlg : public CDialog {
 public:
  explicit CCalendarDlg(CWnd* parent = nullptr, const Platform& platform = Platform::System());

  // Tray icon
  void AddTrayIcon();
  void RemoveTrayIcon();
  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

  // Settings file
  void LoadSettings();
  void SaveSettings();

  // What tests look at.
  const std::string& DayShown() const { return m_dayShown; }
  const ravelind::SettingsRecord& Settings() const { return m_settings; }
  HICON WindowIcon() const { return m_hIcon; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(CDataExchange* pDX) override;
  MessageTable GetMessageTable() const override;

 private:
  // Window
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HCURSOR OnQueryDragIcon();
  void OnSize(UINT type, int width, int height);
  LRESULT OnHideIfMinimised(WPARAM, LPARAM);
  void OnDestroy();
  void OnHelpButton();
  void OnAboutButton();
  BOOL OnToolTipNeedText(UINT id, NMHDR* header, LRESULT* result);
  void AddAboutMenuItem();
  void BringBack();
  void ShowTrayMenu(POINT cursor);
  LRESULT OnTaskbarCreated(WPARAM wParam, LPARAM lParam);

  // Day-change watch
  void OnTimer(UINT_PTR timerId);
  void OnTimeChange();
  BOOL OnPowerBroadcast(UINT event, LPARAM data);
  void CheckDay();
  std::string Today() const;

  // Option switches
  void ApplyTooltipRule();
  void OnToolTips();
  void OnStartMenu();
  void OnStartMinimized();
  bool WriteAutostartEntry();
  bool DeleteAutostartEntry();

  std::string m_dayShown;              // Day string of the icon now in the tray
  ravelind::SettingsRecord m_settings;  // TOOLTIPS, STARTUP, SYSDATE, WEEKLABELS, MIN
  CMonthCalCtrl m_calendar;
  int m_tooltipsFlag = 0;
  int m_startupFlag = 0;
  int m_minimizedFlag = 0;
  HICON m_hIcon;  // today's day icon at construction; shared, never destroyed
  const Platform& m_platform;

  friend struct CalendarMessages;
};
