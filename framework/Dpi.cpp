#include "framework/Dpi.h"

namespace {

// A user32 call of Windows 10 (1607), or null where it is missing.
template <class Function>
Function User32Call(const char* name) {
  const FARPROC call = GetProcAddress(GetModuleHandleA("user32.dll"), name);
  return reinterpret_cast<Function>(reinterpret_cast<void*>(call));
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) (void)ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window) {
  const auto getDpiForWindow = User32Call<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

UINT TaskbarDpi() { return WindowDpi(FindWindowA("Shell_TrayWnd", nullptr)); }

int SmallIconSize(UINT dpi) {
  const auto getSystemMetricsForDpi =
      User32Call<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(SM_CXSMICON, dpi);
  const auto system = static_cast<int>(SystemDpi());
  return MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi), system);
}
