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
};
BoxSeen AnswerMessageBox(HWND owner, const std::function<void()>& action);

// The registry value under the Run key, or nullopt-like "<none>".
std::string ReadRunValue();
void DeleteRunValue();
