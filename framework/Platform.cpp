#include "framework/Platform.h"

#include "framework/Dpi.h"
#include "framework/ProcAddress.h"

namespace {

LSTATUS WINAPI OpenKey(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key) {
  const LSTATUS status = RegOpenKeyExW(root, subKey, 0, access, key);
  if (status != ERROR_FILE_NOT_FOUND || (access & KEY_SET_VALUE) == 0) return status;
  return RegCreateKeyExW(root, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, key,
                         nullptr);
}

bool TrayIconRect(HWND window, UINT id, RECT* rect) {
  const auto getRect = SystemCall<HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*)>(
      "shell32.dll", "Shell_NotifyIconGetRect");
  NOTIFYICONIDENTIFIER icon{sizeof icon, window, id, {}};
  return getRect != nullptr && SUCCEEDED(getRect(&icon, rect));
}

bool Machines(USHORT* process, USHORT* native) {
  const auto isWow64Process2 = SystemCall<BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*)>(
      "kernel32.dll", "IsWow64Process2");
  return isWow64Process2 != nullptr && isWow64Process2(GetCurrentProcess(), process, native);
}

UINT_PTR SetWatchTimer(HWND window, UINT_PTR id, UINT ms, ULONG tolerance) {
  const auto setCoalescable = SystemCall<UINT_PTR(WINAPI*)(HWND, UINT_PTR, UINT, TIMERPROC, ULONG)>(
      "user32.dll", "SetCoalescableTimer");
  if (setCoalescable != nullptr) return setCoalescable(window, id, ms, nullptr, tolerance);
  return SetTimer(window, id, ms, nullptr);
}

constexpr Platform kSystem{Shell_NotifyIconA, ShellExecuteW, OpenKey, GetLocalTime, TaskbarDpi,
                           CreateFileA, SetFileInformationByHandle, TrayIconRect,
                           RegisterApplicationRestart, UnregisterApplicationRestart, Machines,
                           IsWow64Process, SetWatchTimer};

}  // namespace

const Platform& Platform::System() { return kSystem; }
