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
