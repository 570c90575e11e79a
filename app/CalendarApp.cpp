#include "app/CalendarApp.h"

#include "framework/Paths.h"
#include "prefs/Autostart.h"
#include "res/resource.h"
#include "ui/CalendarDlg.h"

void EnterStartFolder(const wchar_t* commandLine) {
  const std::wstring folder = ravelind::WorkDirOf(commandLine);
  if (folder.empty() || SetCurrentDirectoryW(folder.c_str())) return;
  (void)SetCurrentDirectoryW(ModuleFolder().c_str());
}

CCalendarApp::CCalendarApp() : CWinApp("Ravelind") {}

BOOL CCalendarApp::InitInstance() {
  EnterStartFolder(GetCommandLineW());
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
