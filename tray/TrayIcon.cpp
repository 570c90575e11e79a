#include "tray/TrayIcon.h"

#include <cstring>
#include <utility>

#include "framework/Dpi.h"
#include "res/resource.h"
#include "tray/DayIcons.h"
#include "tray/DayString.h"

namespace {

constexpr char kTrayTip[] = "Ravelind";
constexpr UINT_PTR kDayWatchTimer = 1;
constexpr UINT kFirstTickMs = 1000;  // the first look, a second after start
constexpr UINT kTickMs = 10000;      // every later look
// How late a look may come, a tenth of the wait for it (a second at most),
// so that Windows may wake the processor once for it and other programs'
// timers: the first look still comes about a second after start.
constexpr ULONG Tolerance(UINT ms) { return ms / 10; }

#if defined(_WIN64)
static_assert(NOTIFYICONDATAA_V1_SIZE == 104, "first-version tray record, 64-bit");
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first-version tray record, 32-bit");
#endif
static_assert(sizeof kTrayTip <= sizeof NOTIFYICONDATAA{}.szTip);

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

std::string TrayIcon::Today() const {
  SYSTEMTIME now{};
  m_platform.localTime(&now);
  std::tm day{};
  day.tm_mday = now.wDay;
  return ravelind::FormatDayString(&day);
}

std::wstring TrayIcon::LongDate() const {
  SYSTEMTIME now{};
  m_platform.localTime(&now);
  wchar_t text[128] = {};
  const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &now, nullptr, text,
                                     128, nullptr);
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length - 1)) : std::wstring{};
}

// The picture is the one drawn for the tray's size: the shell would shrink
// the 32-px one itself, and unevenly.
void TrayIcon::Add() {
  if (m_retired) return;
  m_dayShown = Today();
  m_size = SmallIconSize(m_platform.trayDpi());
  ScopedIcon picture = LoadDayIcon(m_dayShown, m_size);
  NOTIFYICONDATAA data =
      TrayRecord(m_window, picture ? picture.get() : LoadDayIcon(m_dayShown));
  // At log-on the task bar can be there and too busy to answer: the watch
  // tries again.
  m_inTray = m_platform.notifyIcon(NIM_ADD, &data) != FALSE;
  m_picture = std::move(picture);  // the one it replaces is shown no more
}

void TrayIcon::ReturnFocus() {
  NOTIFYICONDATAA data = TrayRecord(m_window, nullptr);
  (void)m_platform.notifyIcon(NIM_SETFOCUS, &data);  // a shell may not know it: nothing lost
}

void TrayIcon::Remove() {
  // The shell matches window and identifier only; the icon is a formality.
  NOTIFYICONDATAA data =
      TrayRecord(m_window, LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_DAY01)));
  (void)m_platform.notifyIcon(NIM_DELETE, &data);
  m_inTray = false;
}

void TrayIcon::Retire() {
  (void)KillTimer(m_window, kDayWatchTimer);
  Remove();
  m_retired = true;
}

// An add that reported failure may have put the icon there all the same:
// taking it out first never shows it twice.
bool TrayIcon::Refresh() {
  if (m_retired) return false;
  if (m_inTray && Today() == m_dayShown && SmallIconSize(m_platform.trayDpi()) == m_size) {
    return false;
  }
  Remove();
  Add();
  return true;
}

void TrayIcon::StartWatch() {
  (void)m_platform.setTimer(m_window, kDayWatchTimer, kFirstTickMs, Tolerance(kFirstTickMs));
}

// Every tick looks, and re-arms the ten-second watch.
void TrayIcon::OnTick() {
  (void)Refresh();
  (void)m_platform.setTimer(m_window, kDayWatchTimer, kTickMs, Tolerance(kTickMs));
}

POINT TrayIcon::MenuPoint() const {
  POINT cursor{};
  (void)GetCursorPos(&cursor);
  RECT icon{};
  if (!m_platform.trayIconRect(m_window, kTrayIconId, &icon) || PtInRect(&icon, cursor)) {
    return cursor;
  }
  return {icon.left + (icon.right - icon.left) / 2, icon.top + (icon.bottom - icon.top) / 2};
}
