#pragma once
// What the Windows-side tests share: a platform whose shell, browser launch,
// registry writes and clock the test controls; a throwaway working directory;
// ways to act inside running modal loops; and the expected resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Platform.h"  // windows.h first
#include <commctrl.h>
#include "res/resource.h"
#include "ui/CalendarDlg.h"

struct ShellCall {
  DWORD message;
  NOTIFYICONDATAA data;
};

struct ShellExecuteCall {
  HWND owner;
  std::string verb, file;
  bool hasParameters, hasDirectory;
  INT show;
};

// One fake at a time: the platform's calls are plain function pointers.
class TestPlatform {
 public:
  TestPlatform();
  ~TestPlatform() { current = nullptr; }
  const Platform& Get() const { return m_platform; }

  std::vector<ShellCall> notifyCalls;
  std::vector<ShellExecuteCall> shellExecuteCalls;
  std::time_t now;                       // what every call of now() reads
  std::vector<DWORD> clockReadAt;        // GetTickCount() at each of those calls
  LSTATUS failSetValue = ERROR_SUCCESS;  // anything else: the write fails with it
  LSTATUS failDeleteValue = ERROR_SUCCESS;
  static TestPlatform* current;

 private:
  Platform m_platform;
};

std::time_t LocalTime(int year, int month, int day, int hour = 12, int minute = 0, int second = 0);

// Each test runs in a new empty working directory, removed afterwards, with a
// platform of its own.
class WinTest : public ::testing::Test {
 protected:
  WinTest();
  ~WinTest() override;
  TestPlatform fake;

 private:
  std::string m_previous, m_path;
};
std::vector<std::string> FilesHere();  // in the working directory

// rv.ini in the working directory.
std::string ReadIni();  // "<missing>" when there is none
void WriteIni(const std::string& bytes);

constexpr char kWrittenByDefault[] =
    "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n";
// Day of the month to the identifier of its icon: not in day order, with gaps.
constexpr UINT kDayIcon[32] = {0,   129, 130, 131, 132, 133, 134, 139, 140, 141, 138,
                              142, 143, 144, 145, 151, 147, 148, 149, 150, 152, 153,
                              154, 155, 156, 157, 158, 159, 160, 161, 164, 163};
constexpr UINT kTrayMessage = 0x0464;  // WM_USER + 100

HICON ResourceIcon(UINT id);
// The whole record handed to the shell; only the message and the icon vary.
void ExpectRecord(const ShellCall& call, DWORD message, HWND window, HICON icon);
void Click(HWND window, int id);
std::string ClassOf(HWND window);
std::string TextOf(HWND window);
std::vector<HWND> ThreadWindows();
bool Ticked(HWND window, int id);

// Runs `action`; meanwhile the message loop calls `poll` every 20 ms (never
// re-entered) until it returns true.
void WhilePolling(const std::function<bool()>& poll, const std::function<void()>& action);

// Runs the dialog modally; `script` runs inside its loop once the window is up.
// With endWithinMs 0 the dialog is then cancelled; otherwise it must end by
// itself, and one still up after endWithinMs ends with kDialogNotEnded.
constexpr INT_PTR kDialogNotEnded = 0x7E57;
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script, DWORD endWithinMs = 0);

void Pump(DWORD ms);

// Runs `action`; the first dialog box (a message box too) that shows meanwhile,
// other than those RunModal runs, is handed to `look`, then closed with IDOK.
bool WhileDialogShown(const std::function<void(HWND)>& look, const std::function<void()>& action);

// The first message box `action` raised; caption empty when none.
struct BoxSeen {
  std::string caption, text;
  HWND owner = nullptr;
};
BoxSeen AnswerMessageBox(const std::function<void()>& action);
