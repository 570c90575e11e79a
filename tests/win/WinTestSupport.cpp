#include "WinTestSupport.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "prefs/Autostart.h"

TestPlatform* TestPlatform::current = nullptr;

TestPlatform::TestPlatform() : now(LocalNoon(2026, 12, 6)) {
  current = this;
  m_platform.notifyIcon = [](DWORD message, PNOTIFYICONDATAA data) -> BOOL {
    current->notifyCalls.push_back({message, *data});
    return TRUE;
  };
  m_platform.shellExecute = [](HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT show) -> HINSTANCE {
    current->shellExecuteCalls.push_back({owner, verb ? verb : "", file ? file : "",
                                          parameters != nullptr, directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
  };
  m_platform.regSetValueEx = [](HKEY key, LPCSTR name, DWORD reserved, DWORD type,
                                const BYTE* data, DWORD size) -> LSTATUS {
    if (current->failSetValue != ERROR_SUCCESS) return current->failSetValue;
    return RegSetValueExA(key, name, reserved, type, data, size);
  };
  m_platform.regDeleteValue = [](HKEY key, LPCSTR name) -> LSTATUS {
    if (current->failDeleteValue != ERROR_SUCCESS) return current->failDeleteValue;
    return RegDeleteValueA(key, name);
  };
  m_platform.now = []() { return current->now; };
}

TestPlatform::~TestPlatform() { current = nullptr; }

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

std::time_t LocalNoon(int year, int month, int day) { return LocalTime(year, month, day, 12, 0, 0); }

ScopedWorkDir::ScopedWorkDir() {
  char buffer[MAX_PATH];
  (void)GetCurrentDirectoryA(MAX_PATH, buffer);
  m_previous = buffer;
  char temp[MAX_PATH];
  (void)GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  std::ostringstream name;
  name << temp << "ravelind-test-" << GetCurrentProcessId() << "-" << ++counter;
  m_path = name.str();
  (void)CreateDirectoryA(m_path.c_str(), nullptr);
  (void)SetCurrentDirectoryA(m_path.c_str());
}

ScopedWorkDir::~ScopedWorkDir() {
  (void)SetCurrentDirectoryA(m_previous.c_str());
  WIN32_FIND_DATAA found;
  const std::string pattern = m_path + "\\*";
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string entry = m_path + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        (void)RemoveDirectoryA(entry.c_str());
      } else {
        (void)SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
        (void)DeleteFileA(entry.c_str());
      }
    } while (FindNextFileA(search, &found));
    (void)FindClose(search);
  }
  (void)RemoveDirectoryA(m_path.c_str());
}

std::string ScopedWorkDir::ReadFile(const std::string& name) const {
  std::ifstream in(m_path + "\\" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool ScopedWorkDir::Exists(const std::string& name) const {
  return GetFileAttributesA((m_path + "\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void ScopedWorkDir::WriteFile(const std::string& name, const std::string& bytes) const {
  std::ofstream out(m_path + "\\" + name, std::ios::binary | std::ios::trunc);
  out << bytes;
}

namespace {

const std::function<void(HWND)>* g_script = nullptr;
CDialog* g_dialog = nullptr;

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
  (void)KillTimer(nullptr, timer);
  HWND window = g_dialog->m_hWnd;
  (*g_script)(window);
  if (IsWindow(window)) (void)SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script) {
  g_script = &script;
  g_dialog = &dialog;
  (void)SetTimer(nullptr, 0, 10, RunScript);
  const INT_PTR result = dialog.DoModal();
  g_script = nullptr;
  g_dialog = nullptr;
  return result;
}

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (!IsDialogMessageA(GetActiveWindow(), &msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    Sleep(5);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

namespace {

struct BoxSearch {
  DWORD thread;
  HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<BoxSearch*>(lParam);
  char cls[16] = {};
  (void)GetClassNameA(window, cls, sizeof cls);
  if (std::string(cls) == "#32770" && IsWindowVisible(window) &&
      GetDlgItem(window, 0xFFFF) != nullptr) {
    search->box = window;
    return FALSE;
  }
  return TRUE;
}

BoxSeen* g_seen = nullptr;
HWND g_boxOwner = nullptr;

void CALLBACK WatchForBox(HWND, UINT, UINT_PTR timer, DWORD) {
  BoxSearch search{GetCurrentThreadId()};
  (void)EnumThreadWindows(search.thread, FindBox, reinterpret_cast<LPARAM>(&search));
  if (search.box == nullptr) return;
  (void)KillTimer(nullptr, timer);
  char text[512] = {};
  (void)GetWindowTextA(search.box, text, sizeof text);
  g_seen->caption = text;
  (void)GetDlgItemTextA(search.box, 0xFFFF, text, sizeof text);
  g_seen->text = text;
  // A message box with an icon has a static icon control, id 0x0014.
  HWND icon = GetDlgItem(search.box, 0x0014);
  g_seen->hasIcon = icon != nullptr && IsWindowVisible(icon) &&
                    SendMessageA(icon, STM_GETICON, 0, 0) != 0;
  g_seen->ownerWindow = GetWindow(search.box, GW_OWNER);
  g_seen->owned = g_seen->ownerWindow == g_boxOwner && g_boxOwner != nullptr;
  (void)PostMessageA(search.box, WM_COMMAND, IDOK, 0);
}

}  // namespace

BoxSeen AnswerMessageBox(HWND owner, const std::function<void()>& action) {
  BoxSeen seen;
  g_seen = &seen;
  g_boxOwner = owner;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, WatchForBox);
  action();
  (void)KillTimer(nullptr, timer);
  g_seen = nullptr;
  return seen;
}

std::string ReadRunValue() {
  char data[1024] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, &key) != ERROR_SUCCESS) {
    return "<no key>";
  }
  const LSTATUS status = RegQueryValueExA(key, ravelind::kAutostartValueName, nullptr, &type,
                                         reinterpret_cast<BYTE*>(data), &size);
  (void)RegCloseKey(key);
  if (status != ERROR_SUCCESS) return "<none>";
  if (type != REG_SZ) return "<not REG_SZ>";
  return std::string(data, size);  // size counts the NUL
}

void DeleteRunValue() {
  HKEY key = nullptr;
  if (RegOpenKeyA(HKEY_LOCAL_MACHINE, ravelind::kAutostartSubKey, &key) != ERROR_SUCCESS) return;
  (void)RegDeleteValueA(key, ravelind::kAutostartValueName);
  (void)RegCloseKey(key);
}

namespace {

const std::function<void(HWND)>* g_endScript = nullptr;
CDialog* g_endDialog = nullptr;
DWORD g_endTimeout = 0;
UINT_PTR g_endTimer = 0;

void CALLBACK ForceEnd(HWND, UINT, UINT_PTR timer, DWORD) {
  (void)KillTimer(nullptr, timer);
  if (g_endDialog != nullptr && IsWindow(g_endDialog->m_hWnd)) {
    g_endDialog->EndDialog(kDialogNotEnded);
  }
}

void CALLBACK RunScriptThenWait(HWND, UINT, UINT_PTR timer, DWORD) {
  (void)KillTimer(nullptr, timer);
  (*g_endScript)(g_endDialog->m_hWnd);
  g_endTimer = SetTimer(nullptr, 0, g_endTimeout, ForceEnd);
}

}  // namespace

INT_PTR RunModalToEnd(CDialog& dialog, const std::function<void(HWND)>& script,
                      DWORD timeoutMs) {
  g_endScript = &script;
  g_endDialog = &dialog;
  g_endTimeout = timeoutMs;
  (void)SetTimer(nullptr, 0, 10, RunScriptThenWait);
  const INT_PTR result = dialog.DoModal();
  if (g_endTimer != 0) (void)KillTimer(nullptr, g_endTimer);
  g_endTimer = 0;
  g_endScript = nullptr;
  g_endDialog = nullptr;
  return result;
}

namespace {

const std::string* g_lookCaption = nullptr;
const std::function<void(HWND)>* g_look = nullptr;
bool g_lookSeen = false;

void CALLBACK LookAtDialog(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = FindWindowA("#32770", g_lookCaption->c_str());
  if (box == nullptr || !IsWindowVisible(box)) return;
  (void)KillTimer(nullptr, timer);
  g_lookSeen = true;
  (*g_look)(box);
  (void)PostMessageA(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

bool WhileDialogShown(const std::string& caption, const std::function<void(HWND)>& look,
                      const std::function<void()>& action) {
  g_lookCaption = &caption;
  g_look = &look;
  g_lookSeen = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, LookAtDialog);
  action();
  (void)KillTimer(nullptr, timer);
  g_look = nullptr;
  g_lookCaption = nullptr;
  return g_lookSeen;
}

namespace {

struct TipSearch {
  HWND tip = nullptr;
};

BOOL CALLBACK FindVisibleTip(HWND window, LPARAM lParam) {
  char cls[32] = {};
  (void)GetClassNameA(window, cls, sizeof cls);
  if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && IsWindowVisible(window)) {
    reinterpret_cast<TipSearch*>(lParam)->tip = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

std::string HoverTip(HWND control, DWORD waitMs) {
  RECT rect{};
  (void)GetWindowRect(control, &rect);
  const POINT screen{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  POINT client = screen;
  (void)ScreenToClient(control, &client);
  (void)SetCursorPos(screen.x, screen.y);
  (void)PostMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
  std::string text = "<no tip>";
  const DWORD until = GetTickCount() + waitMs;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    Pump(20);
    TipSearch search;
    (void)EnumThreadWindows(GetCurrentThreadId(), FindVisibleTip,
                            reinterpret_cast<LPARAM>(&search));
    if (search.tip != nullptr) {
      char buffer[1024] = {};
      (void)GetWindowTextA(search.tip, buffer, sizeof buffer);
      text = buffer;
      break;
    }
  }
  // Away from every control, so that the tip goes and the next hover is new.
  (void)SetCursorPos(0, 0);
  Pump(300);
  return text;
}
