#pragma once
// For the Windows-side suites: a platform the test controls, a working directory, a box catcher.
#include <gtest/gtest.h>

#include <memory>

#include "ui/CalendarDlg.h"  // windows.h first
#include <commctrl.h>
#include "res/resource.h"

using Strings = std::vector<std::string>;

struct Fake {  // one at a time: the seam holds plain function pointers
  Fake();
  // Each shell call and its icon, "add 151"; marked when the record is not the
  // usual one for the calendar window, when the add is refused, or when the
  // icon would show twice.
  Strings tray;
  Strings iniAtTray;                 // rv.ini at each of them
  int refuseAdds = 0;                // the shell refuses this many adds (a busy task bar)
  bool keepRefused = false;          // and shows those icons all the same
  bool shown = false;                // an icon of ours is in the fake notification area
  std::vector<std::wstring> opened;  // each launch: "verb file"
  // Keys under these roots open as Windows opens the machine's for a program
  // that is not elevated: write access refused, the most it may have is read.
  std::vector<HKEY> readOnly;
  std::time_t now;
  Platform platform;
};
std::time_t LocalTime(int year, int month, int day, int hour = 12);

// Each test runs in a new empty working directory; only rv.ini may be left there.
class WinTest : public ::testing::Test {
 protected:
  WinTest();
  ~WinTest() override;
  HWND Open() {  // a calendar window on the fake; DestroyWindow saves and ends it
    dlg = std::make_unique<CCalendarDlg>(nullptr, fake.platform);
    return dlg->Create() ? dlg->m_hWnd : nullptr;
  }
  Fake fake;
  std::unique_ptr<CCalendarDlg> dlg;
  std::wstring path;
};
std::string ReadIni();  // "<missing>" when there is none
void WriteIni(const std::string& bytes);

// While alive, each dialog box other than `owner` that the thread activates is
// noted as "caption: text" ("[other owner]" when not `owner`'s), then sent IDOK.
struct BoxCatcher {
  explicit BoxCatcher(HWND expectedOwner);
  ~BoxCatcher();
  HWND owner;
  HHOOK hook;
  Strings seen;
};

inline HICON Icon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }
inline void Click(HWND window, int id) { (void)SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
inline bool Ticked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
