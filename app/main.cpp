// Ravelind: today's date as a calendar page in the notification area.
#include "app/CalendarApp.h"

// The one application object.
CCalendarApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return AfxWinMain(); }
