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
  bool m_socketsStarted = false;  // AfxSocketInit succeeded: clean up at exit
};

CWinApp* AfxGetApp();

// Starts Windows Sockets 1.1; the framework cleans it up at exit.
BOOL AfxSocketInit();

// A message box owned by the main window, with the application's name as caption.
int AfxMessageBox(UINT stringId, UINT type = MB_OK);

// The framework's WinMain: initialises the application object and runs it.
int AfxWinMain();
