#pragma once
// The narrow seam between the program and the platform calls that tests can
// neither observe nor make fail otherwise: what is handed to the shell, the
// browser launch, the registry writes that must be able to fail, and the clock.
#include <windows.h>
#include <shellapi.h>

#include <ctime>

struct Platform {
  BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data);
  HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT showCommand);
  LSTATUS(WINAPI* regSetValueEx)(HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                 const BYTE* data, DWORD size);
  LSTATUS(WINAPI* regDeleteValue)(HKEY key, LPCSTR name);
  std::time_t (*now)();

  // The real calls.
  static const Platform& System();
};
