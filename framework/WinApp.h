#pragma once
// CWinApp: the one application object. The framework's entry point calls its
// InitInstance, which runs the program's windows; the program then ends with
// ExitInstance's code. There is no message loop of the framework's own.
#include "framework/Wnd.h"

class CWinApp {
 public:
  explicit CWinApp(LPCSTR appName);
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance();
  virtual int ExitInstance();  // the process's exit code

  LPCSTR m_pszAppName;
  CWnd* m_pMainWnd = nullptr;
  // The socket library, loaded from the system folder by AfxSocketInit, and
  // its clean-up, called at exit once start-up succeeded.
  HMODULE m_sockets = nullptr;
  int(WINAPI* m_socketsCleanup)() = nullptr;
};

CWinApp* AfxGetApp();

// Starts Windows Sockets 1.1; the framework cleans it up at exit. The socket
// library comes from the system folder only: a DLL of that name lying beside
// the program is never loaded.
BOOL AfxSocketInit();

// Keeps DLLs that are loaded by name to the system folder, so that none lying
// beside the program or in the working directory (a Downloads folder holds
// whatever a web page pushed there) runs in the process.
void AfxLimitDllSearch();

// A message box owned by the main window, with the application's name as caption.
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// The framework's WinMain: initialises the application object and runs it.
int AfxWinMain();
