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
  Strings tray;  // each shell call and its icon, "add 151": marked when the record is unusual
  std::vector<NOTIFYICONDATAA> records;  // the records those calls were handed
  Strings iniAtTray;                     // rv.ini at each of them
  std::vector<std::wstring> opened;      // each launch: "verb file"
  std::vector<HKEY> refusedRoots;        // regCreateKey answers ERROR_ACCESS_DENIED for these
  bool refuseDelete = false;             // regDeleteValue refuses a value that is there
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
std::string ReadIni(const std::string& file = "rv.ini");  // "<missing>" when there is none
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

// Each day's icon (not in day order, with gaps); [0] is the main icon.
constexpr UINT kDayIcon[32] = {128, 129, 130, 131, 132, 133, 134, 139, 140, 141, 138,
                               142, 143, 144, 145, 151, 147, 148, 149, 150, 152, 153,
                               154, 155, 156, 157, 158, 159, 160, 161, 164, 163};
inline HICON Icon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }
inline void Click(HWND window, int id) { (void)SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
inline bool Ticked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }
