#pragma once
// CCalendarDlg: the calendar window, the program's only visible window. It
// holds the tray icon, the preferences and the autostart entry, routes the
// window's messages to them, and decides what the user is shown.
#include <string>

#include "framework/Dialog.h"
#include "framework/Platform.h"
#include "framework/Scoped.h"
#include "prefs/AutostartEntry.h"
#include "prefs/Preferences.h"
#include "tray/TrayIcon.h"

class CCalendarDlg : public CDialog {
 public:
  explicit CCalendarDlg(CWnd* parent = nullptr, const Platform& platform = Platform::System());

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
  bool OnQueryEndSession(UINT reasons);
  void OnEndSession(bool ending, UINT reasons);
  LRESULT OnDpiChanged(WPARAM, LPARAM);
  void SetSmallIcon();
  void OnHelpButton();
  void OnAboutButton();
  BOOL OnToolTipNeedText(UINT id, NMHDR* header, LRESULT* result);
  void AddAboutMenuItem();
  bool FrontOpenBox();

  // Tray icon
  void AddTrayIcon() { m_tray.Add(); }
  void RemoveTrayIcon() { m_tray.Remove(); }
  LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
  LRESULT OnTaskbarCreated(WPARAM, LPARAM);
  void BringBack();
  void OnTrayOpen();
  void OnTrayQuit();
  void ShowTrayMenu(POINT place);

  // Day-change watch
  void OnTimer(UINT_PTR);
  void OnTimeChange() { CheckDay(); }
  BOOL OnPowerBroadcast(UINT event, LPARAM data);
  void CheckDay() { (void)m_tray.Refresh(); }

  // Settings file and option switches
  void LoadSettings();
  void SaveSettings();
  void ApplyTooltipRule();
  void OnToolTips();
  void OnStartMenu();
  void OnStartMinimized();

  TrayIcon m_tray;  // the day shown lives here
  Preferences m_prefs;
  AutostartEntry m_autostart;
  CMonthCalCtrl m_calendar;
  std::string m_iconDay;   // the Day string at construction, which the window shows
  HICON m_hIcon;           // its day icon, 32 px; shared, never destroyed
  ScopedIcon m_smallIcon;  // its picture drawn for the caption at the window's DPI
  const Platform& m_platform;
  bool m_sessionEnded = false;  // saved and out of the tray already
  bool m_restartAsked = false;  // of Restart Manager, for after an installer
};
