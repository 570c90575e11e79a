#pragma once
// What the Windows-side tests share: a platform whose shell, browser launch,
// registry writes and clock the test controls; a throwaway working directory;
// and a way to act inside a running modal dialog.
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "app/Platform.h"
#include "framework/Dialog.h"

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
  ~TestPlatform();
  const Platform& Get() const { return m_platform; }

  std::vector<ShellCall> notifyCalls;
  std::vector<ShellExecuteCall> shellExecuteCalls;
  std::time_t now;                     // the clock every call of now() reads
  LSTATUS failSetValue = ERROR_SUCCESS;  // anything else: the write fails with it
  LSTATUS failDeleteValue = ERROR_SUCCESS;

  static TestPlatform* current;

 private:
  Platform m_platform;
};

// Noon local time on the given date.
std::time_t LocalNoon(int year, int month, int day);
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);

// A new empty directory that is the working directory while this lives.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  ~ScopedWorkDir();
  const std::string& path() const { return m_path; }
  std::string ReadFile(const std::string& name) const;  // empty when missing
  bool Exists(const std::string& name) const;
  void WriteFile(const std::string& name, const std::string& bytes) const;

 private:
  std::string m_previous, m_path;
};

// Runs the dialog modally; `script` runs inside its message loop once the
// window is up. The dialog is cancelled afterwards unless the script ended it.
INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script);

// Handles pending messages for about `ms` milliseconds.
void Pump(DWORD ms);

// Runs `action` and answers the first message box it raises; returns that
// box's caption and text (empty when none appeared).
struct BoxSeen {
  std::string caption, text;
  bool hasIcon = false;
  bool owned = false;
  HWND ownerWindow = nullptr;  // the box's owner, whatever was expected
};
BoxSeen AnswerMessageBox(HWND owner, const std::function<void()>& action);

// The registry value under the Run key, or nullopt-like "<none>".
std::string ReadRunValue();
void DeleteRunValue();

// Runs the dialog modally; `script` runs inside its message loop once the
// window is up, and the dialog must then end by itself (a key, a command the
// script posted). One that is still up after `timeoutMs` is ended with
// kDialogNotEnded.
constexpr INT_PTR kDialogNotEnded = 0x7E57;
INT_PTR RunModalToEnd(CDialog& dialog, const std::function<void(HWND)>& script,
                      DWORD timeoutMs = 3000);

// Runs `action`; when a visible dialog box captioned `caption` appears while it
// runs, `look` sees it and it is then closed with IDOK. Returns whether it appeared.
bool WhileDialogShown(const std::string& caption, const std::function<void(HWND)>& look,
                      const std::function<void()>& action);

// Rests the mouse pointer on `control` (moves it there and lets the control
// see the move) for up to `waitMs`; returns the text of the tooltip window that
// came up, or "<no tip>" when none did. The pointer is moved away afterwards.
std::string HoverTip(HWND control, DWORD waitMs = 2000);
