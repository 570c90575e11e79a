// The tray icon: the calendar window's presence in the notification area.
#include <cstring>

#include "framework/Scoped.h"
#include "res/resource.h"
#include "tray/DayIconTable.h"
#include "tray/DayIcons.h"
#include "tray/Tray.h"
#include "ui/CalendarDlg.h"

namespace {

#if defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 104, "first-version tray record, 64-bit");
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first-version tray record, 32-bit");
#endif
static_assert(sizeof kTrayTip <= kTrayTipMaxBytes);

// The record every shell call gets, filled afresh: the first version, so that
// every shell accepts it, whatever larger version the headers declare.
NOTIFYICONDATAA TrayRecord(HWND window, HICON icon) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayCallbackMessage;
  data.hIcon = icon;
  std::memcpy(data.szTip, kTrayTip, sizeof kTrayTip);
  return data;
}

}  // namespace

std::string CCalendarDlg::Today() const { return ravelind::DayStringAt(m_platform.now()); }

void CCalendarDlg::AddTrayIcon() {
  m_dayShown = Today();
  NOTIFYICONDATAA data = TrayRecord(m_hWnd, LoadDayIcon(m_dayShown));
  // A failed add is retried only at the next change of day or a new task bar.
  (void)m_platform.notifyIcon(NIM_ADD, &data);
}

void CCalendarDlg::RemoveTrayIcon() {
  // The shell matches window and identifier only; the icon is a formality.
  HICON first = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(ravelind::kFirstDayIconId));
  NOTIFYICONDATAA data = TrayRecord(m_hWnd, first);
  (void)m_platform.notifyIcon(NIM_DELETE, &data);
}

LRESULT CCalendarDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
  POINT cursor{};
  (void)GetCursorPos(&cursor);
  if (wParam != kTrayIconId) return 1;
  switch (lParam) {
    case WM_LBUTTONDBLCLK:
      BringBack();
      break;
    case WM_RBUTTONDOWN:
      ShowTrayMenu(cursor);
      break;
    default:
      break;  // single clicks, releases and movement change nothing
  }
  return 1;
}

// Shows a hidden or minimised window in its normal place, on top, in front.
void CCalendarDlg::BringBack() {
  (void)ShowWindow(m_hWnd, SW_RESTORE);
  (void)SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  (void)SetForegroundWindow(m_hWnd);
}

void CCalendarDlg::ShowTrayMenu(POINT cursor) {
  ScopedMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.get(), 0);
  // Our window must be in the foreground while the menu is up, or a click
  // elsewhere does not close it; the WM_NULL afterwards lets it go for good.
  (void)SetForegroundWindow(m_hWnd);
  (void)TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x - kTrayMenuOffsetX, cursor.y, 0, m_hWnd,
                       nullptr);
  (void)PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

// A new task bar (Explorer restarted) has no icons: put ours back.
LRESULT CCalendarDlg::OnTaskbarCreated(WPARAM, LPARAM) {
  AddTrayIcon();
  return 0;
}
