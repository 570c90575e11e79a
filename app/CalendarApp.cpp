#include "app/CalendarApp.h"

#include <shellapi.h>

#include "prefs/Autostart.h"
#include "res/resource.h"
#include "ui/CalendarDlg.h"

namespace {

// Started at log-on, the program is told where it was started from when the
// autostart entry was written: rv.ini lives there. A folder that is gone
// leaves the working directory as it is.
void EnterFolderOfCommandLine() {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr) return;
  for (int i = 1; i + 1 < count; ++i) {
    if (lstrcmpiW(arguments[i], ravelind::kWorkDirSwitch) == 0) {
      (void)SetCurrentDirectoryW(arguments[i + 1]);
    }
  }
  (void)LocalFree(arguments);
}

}  // namespace

CCalendarApp::CCalendarApp() : CWinApp("Ravelind") {}

BOOL CCalendarApp::InitInstance() {
  EnterFolderOfCommandLine();
  if (!AfxSocketInit()) {
    AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
    return FALSE;
  }
  // Embedded-control hosting and 3-D controls need no call: the system does both.

  if (m_ownerWindow.m_hWnd == nullptr) {
    // Failure only costs the window its place off the task bar.
    (void)m_ownerWindow.CreateEx(0, AfxRegisterWndClass(), "", WS_POPUP, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr);
  }
  CCalendarDlg calendar(m_ownerWindow.m_hWnd != nullptr ? &m_ownerWindow : nullptr);
  m_pMainWnd = &calendar;
  (void)calendar.DoModal();
  m_pMainWnd = nullptr;
  // No message loop of our own: returning FALSE ends the program.
  return FALSE;
}
