#pragma once
// The narrow seam between the program and the platform calls that tests can
// neither observe nor make fail otherwise: what is handed to the shell, the
// browser launch, the rights a registry key is opened with, the clock, and
// the notification area's DPI (a running Wine desktop cannot change its own),
// the file calls that save rv.ini, and what Windows versions differ in: the
// icon's place, Restart Manager, the machine, batched timers.
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

  // Where the notification area shows the icon `id` of `window`, in screen
  // coordinates; false where the shell cannot tell (before Windows 7).
  bool (*trayIconRect)(HWND window, UINT id, RECT* rect);
  // Restart Manager starts the program again with `arguments` after it closed
  // it for an installer (RegisterApplicationRestart), until unregistered.
  HRESULT(WINAPI* registerRestart)(PCWSTR arguments, DWORD flags);
  HRESULT(WINAPI* unregisterRestart)();
  // The machine this process runs as and the system's own
  // (IsWow64Process2, Windows 10 1709 and later); false where it is missing.
  // The 32-bit build needs it on ARM64, where IsWow64Process says FALSE.
  bool (*machines)(USHORT* process, USHORT* native);
  BOOL(WINAPI* isWow64Process)(HANDLE process, PBOOL wow64);
  // A timer that Windows may fire up to `tolerance` ms late, to wake the
  // processor once for several programs (SetCoalescableTimer, Windows 8 and
  // later); SetTimer where that is missing.
  UINT_PTR (*setTimer)(HWND window, UINT_PTR id, UINT ms, ULONG tolerance);

  // The real calls.
  static const Platform& System();
};
