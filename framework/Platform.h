#pragma once
// The narrow seam between the program and the platform calls that tests can
// neither observe nor make fail otherwise: what is handed to the shell, the
// browser launch, the registry calls that must be able to fail, and the clock.
#include <windows.h>
#include <shellapi.h>

#include <ctime>

struct Platform {
  BOOL(WINAPI* notifyIcon)(DWORD message, PNOTIFYICONDATAA data);
  HINSTANCE(WINAPI* shellExecute)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                                  LPCWSTR directory, INT showCommand);
  LSTATUS(WINAPI* regCreateKey)(HKEY root, LPCWSTR subKey, PHKEY key);
  LSTATUS(WINAPI* regSetValueEx)(HKEY key, LPCWSTR name, DWORD reserved, DWORD type,
                                 const BYTE* data, DWORD size);
  LSTATUS(WINAPI* regDeleteValue)(HKEY key, LPCWSTR name);
  std::time_t (*now)();

  // The real calls.
  static const Platform& System();
};
