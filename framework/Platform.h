#pragma once
// The narrow seam between the program and the platform calls that tests can
// neither observe nor make fail otherwise: what is handed to the shell, the
// browser launch, the rights a registry key is opened with, the clock, and
// the notification area's DPI (a running Wine desktop cannot change its own).
#include <windows.h>
#include <shellapi.h>

struct Platform {
  BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data);
  HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT showCommand);
  // Opens a registry key with `access`; one that is missing is made only when
  // write access is asked for. Windows refuses write access to the machine's
  // keys to a program that is not elevated, and gives it read access where it
  // asks for the most it may have.
  LSTATUS(WINAPI* regOpenKey)(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key);
  // The local time, by the time zone in force at the moment of the call: the
  // C run time's localtime reads the zone once and keeps it.
  void(WINAPI* localTime)(LPSYSTEMTIME time);
  UINT (*trayDpi)();

  // The real calls.
  static const Platform& System();
};
