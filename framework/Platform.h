#pragma once
// The narrow seam between the program and the platform calls that tests can
// neither observe nor make fail otherwise: what is handed to the shell, the
// browser launch, the rights a registry key is opened with, the clock, and
// the notification area's DPI (a running Wine desktop cannot change its own),
// and the file calls that save rv.ini.
#include <windows.h>
#include <shellapi.h>

struct Platform {
  BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data);
  HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT showCommand);
  // Opens a registry key with `access`, the registry view (KEY_WOW64_32KEY or
  // KEY_WOW64_64KEY) among it; one that is missing is made only when write
  // access is asked for. Windows refuses write access to the machine's keys,
  // in either view, to a program that is not elevated, and gives it read
  // access where it asks for the most it may have.
  LSTATUS(WINAPI* regOpenKey)(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key);
  // The local time, by the time zone in force at the moment of the call: the
  // C run time's localtime reads the zone once and keeps it.
  void(WINAPI* localTime)(LPSYSTEMTIME time);
  UINT (*trayDpi)();
  // Windows refuses to recreate a hidden or system file unless it is asked for
  // those attributes again; Wine allows it.
  HANDLE(WINAPI* createFile)(LPCSTR name, DWORD access, DWORD share,
                             LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                             HANDLE model);
  // A rename on a network share or under a filter driver can report failure
  // after it took effect.
  BOOL(WINAPI* setFileInformation)(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                                   DWORD size);

  // The real calls.
  static const Platform& System();
};
