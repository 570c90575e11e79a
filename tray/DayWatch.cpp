// The day-change watch: keeps the tray icon on today's day.
#include <pbt.h>

#include "tray/Tray.h"
#include "ui/CalendarDlg.h"

// Every tick looks, whatever the timer, and re-arms the ten-second watch.
void CCalendarDlg::OnTimer(UINT_PTR) {
  CheckDay();
  (void)SetTimer(m_hWnd, kDayWatchTimer, kTickMs, nullptr);
  Default();
}

// The clock was set: look now rather than at the next tick.
void CCalendarDlg::OnTimeChange() { CheckDay(); }

// Back from sleep, the day may have changed long ago.
BOOL CCalendarDlg::OnPowerBroadcast(UINT event, LPARAM) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) CheckDay();
  return TRUE;
}

// Swaps the tray icon when the day of the month differs from the one shown.
void CCalendarDlg::CheckDay() {
  std::string today = Today();
  if (today == m_dayShown) return;
  m_dayShown = std::move(today);
  RemoveTrayIcon();
  AddTrayIcon();
}
