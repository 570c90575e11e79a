#pragma once
// The tray icon: today's day icon in the notification area, with the tip
// "Ravelind", and the watch that swaps it when the date changes.
#include <string>

#include "framework/Platform.h"
#include "framework/Scoped.h"

constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 0x0464

class TrayIcon {
 public:
  explicit TrayIcon(const Platform& platform) : m_platform(platform) {}

  // The window that owns the icon, gets its notifications and runs the watch.
  void Attach(HWND window) { m_window = window; }

  // Puts today's day icon into the notification area and records its day.
  void Add();
  // Takes the icon out; the day shown stays.
  void Remove();
  // Takes the icon out for good (the session has ended): the watch stops, and
  // nothing puts it back.
  void Retire();
  // Swaps the icon when the day of the month differs from the one shown or
  // the notification area wants another size of picture, and tries again
  // when the last add failed; true when it did any of these.
  bool Refresh();

  // The watch: a first look a second from now, then one every ten seconds.
  void StartWatch();
  // A tick of the watch's timer (any timer of the window counts).
  void OnTick();

  // Where the tray menu opens: at the pointer when it is on the icon (a
  // click), else at the icon's middle (the keyboard's Shift+F10 or Menu key,
  // which the shell reports as a right press wherever the pointer rests).
  POINT MenuPoint() const;

  // Gives the keyboard focus back to the notification area, at the icon, as
  // after a menu that was closed without a choice.
  void ReturnFocus();

  // Today's Day string by the platform's clock.
  std::string Today() const;
  // Today's date in the user's long date format, by the platform's clock.
  std::wstring LongDate() const;

 private:
  HWND m_window = nullptr;
  const Platform& m_platform;
  std::string m_dayShown;  // Day string of the icon now in the tray; empty before the first add
  bool m_inTray = false;   // the shell took the last add
  bool m_retired = false;  // out for good
  ScopedIcon m_picture;    // the picture the shell was last given
  int m_size = 0;          // its size: the small-icon size at the tray's DPI then
};
