// The benchmark's baselines, built twice from this file.
//
// The plain baseline is the least a tray program with a month calendar does:
// Windows Sockets first, then one dialog from a template holding a month
// calendar, with one tray icon while it is open.
//
// The full baseline (built with BENCH_FULL) also does, with the least code,
// everything else Ravelind does before its tray icon appears: an invisible
// owner window, the whole dialog template, the window menu's extra item, the
// window's big and small icon and the settings file opened (made when
// missing). It carries Ravelind's manifest too, and writes the settings file
// when it closes. What Ravelind costs beyond it is what our own code costs;
// what it costs beyond the plain baseline is the price of Ravelind's window.
//
// IDOK, IDCANCEL or closing the dialog removes the icon and ends the program.
#include <winsock.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

namespace {

constexpr UINT kIconId = 128;
constexpr UINT kCallbackMessage = WM_USER + 100;
#ifdef BENCH_FULL
constexpr int kDialogId = 2;
#else
constexpr int kDialogId = 1;
#endif

HICON g_icon = nullptr;

void TrayIcon(HWND dialog, DWORD message) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = dialog;
  data.uID = kIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kCallbackMessage;
  data.hIcon = g_icon;
  lstrcpynA(data.szTip, "Baseline", sizeof data.szTip);
  (void)Shell_NotifyIconA(message, &data);
}

#ifdef BENCH_FULL
void WindowInitialisation(HWND dialog) {
  HMENU menu = GetSystemMenu(dialog, FALSE);
  (void)AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  (void)AppendMenuA(menu, MF_STRING, 0x0010, "&About Baseline...");
  (void)SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_icon));
  (void)SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_icon));
  HANDLE file = CreateFileA("rv.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) (void)CloseHandle(file);
}

void WriteSettings() {
  static const char kText[] = "TOOLTIPS=yes\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n";
  HANDLE file = CreateFileA("rv.ini", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  (void)WriteFile(file, kText, sizeof kText - 1, &written, nullptr);
  (void)CloseHandle(file);
}
#endif

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  if (message == WM_INITDIALOG) {
#ifdef BENCH_FULL
    WindowInitialisation(dialog);
#endif
    TrayIcon(dialog, NIM_ADD);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
#ifdef BENCH_FULL
    WriteSettings();
#endif
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
  HWND owner = nullptr;
#ifdef BENCH_FULL
  WNDCLASSA ownerClass{};
  ownerClass.lpfnWndProc = DefWindowProcA;
  ownerClass.hInstance = instance;
  ownerClass.lpszClassName = "BaselineOwner";
  (void)RegisterClassA(&ownerClass);
  owner = CreateWindowExA(0, ownerClass.lpszClassName, "", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  g_icon = LoadIconA(instance, MAKEINTRESOURCEA(1));
#else
  g_icon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION
#endif
  const INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(kDialogId), owner,
                                         DialogProc, 0);
  if (owner != nullptr) (void)DestroyWindow(owner);
  (void)WSACleanup();
  return result == IDOK || result == IDCANCEL ? 0 : 2;
}
