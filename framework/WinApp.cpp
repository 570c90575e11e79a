#include "framework/WinApp.h"

#include <commctrl.h>
#include <winsock.h>

#include "framework/ProcAddress.h"

namespace {

// The application object registers itself here: it is the one global.
CWinApp* g_app = nullptr;

}  // namespace

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName) { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

// Loaded at run time rather than imported: wsock32 is not one of the DLLs
// that Windows takes from the system folder whatever lies beside the program.
BOOL AfxSocketInit() {
  HMODULE sockets = LoadSystemLibrary(L"wsock32.dll");
  if (sockets == nullptr) return FALSE;
  const auto startup = ProcAddress<int(WINAPI*)(WORD, LPWSADATA)>(sockets, "WSAStartup");
  const auto cleanup = ProcAddress<int(WINAPI*)()>(sockets, "WSACleanup");
  WSADATA data;
  if (startup == nullptr || cleanup == nullptr || startup(MAKEWORD(1, 1), &data) != 0) {
    (void)FreeLibrary(sockets);
    return FALSE;
  }
  if (CWinApp* app = AfxGetApp()) {
    app->m_sockets = sockets;
    app->m_socketsCleanup = cleanup;
  }
  return TRUE;
}

void AfxLimitDllSearch() {
  // Windows 8 and later, and Windows 7 with KB2533623.
  const auto setDefaultDirectories =
      SystemCall<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDirectories != nullptr && setDefaultDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return;
  }
  (void)SetDllDirectoryW(L"");  // takes the working directory out at least
}

int AfxMessageBox(UINT stringId, UINT type) {
  char text[256] = {};
  (void)LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text);
  CWinApp* app = AfxGetApp();
  HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
  return MessageBoxA(owner, text, app != nullptr ? app->m_pszAppName : nullptr, type);
}

int AfxWinMain() {
  AfxLimitDllSearch();  // before anything that may load a DLL
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;

  // The month calendar and the tooltips live in the common controls.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
  (void)InitCommonControlsEx(&classes);

  (void)app->InitInstance();
  const int exitCode = app->ExitInstance();
  if (app->m_socketsCleanup != nullptr) (void)app->m_socketsCleanup();
  if (app->m_sockets != nullptr) (void)FreeLibrary(app->m_sockets);
  return exitCode;
}
