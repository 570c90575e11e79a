#pragma once
// The application object: starts the platform services, runs the calendar
// window modally under an invisible owner, and ends the program when it closes.
#include "framework/WinApp.h"

class CCalendarApp : public CWinApp {
 public:
  CCalendarApp();
  BOOL InitInstance() override;

 private:
  // Never shown: owning the calendar window keeps it off the task bar.
  CWnd m_ownerWindow;
};

// Started at log-on, the program is told with `/workdir` the folder it was
// started from when the autostart entry was written: rv.ini lives there.
// Where that folder cannot be entered (gone, renamed, a file), the program's
// own folder is the next best place: the system folder that a log-on start
// begins in is not one to keep settings in. Without `/workdir`, nothing changes.
void EnterStartFolder(const wchar_t* commandLine);
