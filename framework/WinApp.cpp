#include "framework/WinApp.h"

#include <commctrl.h>
#include <winsock.h>

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

BOOL AfxSocketInit() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return FALSE;
  if (CWinApp* app = AfxGetApp()) app->m_socketsStarted = true;
  return TRUE;
}

int AfxMessageBox(UINT stringId, UINT type) {
  char text[256] = {};
  (void)LoadStringA(GetModuleHandleA(nullptr), stringId, text, sizeof text);
  CWinApp* app = AfxGetApp();
  HWND owner = app != nullptr && app->m_pMainWnd != nullptr ? app->m_pMainWnd->m_hWnd : nullptr;
  return MessageBoxA(owner, text, app != nullptr ? app->m_pszAppName : nullptr, type);
}

int AfxWinMain() {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;

  // The month calendar and the tooltips live in the common controls.
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES | ICC_WIN95_CLASSES};
  (void)InitCommonControlsEx(&classes);

  (void)app->InitInstance();
  const int exitCode = app->ExitInstance();
  if (app->m_socketsStarted) (void)WSACleanup();
  return exitCode;
}
