// The benchmark's baseline: the least a tray program with a month calendar
// does. Windows Sockets first, then one dialog from a template holding a month
// calendar, with one tray icon while it is open. IDOK, IDCANCEL or closing the
// dialog removes the icon and ends the program.
#include <winsock.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kIconId = 128;
constexpr UINT kCallbackMessage = WM_USER + 100;
constexpr int kDialogId = 1;

void TrayIcon(HWND dialog, DWORD message) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = dialog;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
  lstrcpynA(data.szTip, "Baseline", sizeof data.szTip);
  (void)Shell_NotifyIconA(message, &data);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
    TrayIcon(dialog, NIM_ADD);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    TrayIcon(dialog, NIM_DELETE);
    (void)EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WSADATA sockets;
  if (WSAStartup(MAKEWORD(1, 1), &sockets) != 0) return 1;
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
  (void)InitCommonControlsEx(&classes);
  const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialogId), nullptr,
                                         DialogProc, 0);
  (void)WSACleanup();
  return result == IDOK || result == IDCANCEL ? 0 : 2;
}
