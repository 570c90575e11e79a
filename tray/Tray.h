#pragma once
// Identifiers of the tray icon and the day-change timer.
#include <windows.h>

constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 0x0464
constexpr UINT kTrayTipMaxBytes = 64;                  // szTip of the first record version
constexpr char kTrayTip[] = "Ravelind";

constexpr UINT_PTR kDayWatchTimer = 1;
constexpr UINT kFirstTickMs = 1000;   // the first look, a second after start
constexpr UINT kTickMs = 10000;       // every later look

// The tray menu opens this far to the left of the pointer.
constexpr int kTrayMenuOffsetX = 50;
