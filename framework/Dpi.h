#pragma once
// Dots per inch where the program draws: a window's, and the task bar's. The
// calls that tell them per monitor came with Windows 10; before, every
// window has the system's DPI.
#include <windows.h>

// The DPI of the task bar, which holds the notification area. It follows a
// change of the display's scale at once; the system's DPI, which a program
// reads at its start, waits for the next log-on.
UINT TaskbarDpi();
// The DPI of the monitor a window of ours is on.
UINT WindowDpi(HWND window);
// The size of a small icon (the notification area's, a caption's) at `dpi`.
int SmallIconSize(UINT dpi);
