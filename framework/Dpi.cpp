#include "framework/Dpi.h"

#include "framework/ProcAddress.h"

namespace {

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) (void)ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace

UINT WindowDpi(HWND window) {
  const auto getDpiForWindow = SystemCall<UINT(WINAPI*)(HWND)>("user32.dll", "GetDpiForWindow");
  const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

UINT TaskbarDpi() { return WindowDpi(FindWindowA("Shell_TrayWnd", nullptr)); }

int SmallIconSize(UINT dpi) {
  const auto getSystemMetricsForDpi =
      SystemCall<int(WINAPI*)(int, UINT)>("user32.dll", "GetSystemMetricsForDpi");
  if (getSystemMetricsForDpi != nullptr) return getSystemMetricsForDpi(SM_CXSMICON, dpi);
  const auto system = static_cast<int>(SystemDpi());
  return MulDiv(GetSystemMetrics(SM_CXSMICON), static_cast<int>(dpi), system);
}
