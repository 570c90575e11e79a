#include "WinTestSupport.h"

#include <fstream>
#include <map>
#include <sstream>

TestPlatform* TestPlatform::current = nullptr;

TestPlatform::TestPlatform() : now(LocalTime(2026, 12, 6)) {
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
    return current->failSetValue ? current->failSetValue
                                 : RegSetValueExA(key, name, reserved, type, data, size);
  };
  m_platform.regDeleteValue = [](HKEY key, LPCSTR name) -> LSTATUS {
    return current->failDeleteValue ? current->failDeleteValue : RegDeleteValueA(key, name);
  };
  m_platform.now = []() {
    current->clockReadAt.push_back(GetTickCount());
    return current->now;
  };
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
  std::tm tm{second, minute, hour, day, month - 1, year - 1900, 0, 0, -1};
  return std::mktime(&tm);
}

WinTest::WinTest() {
  char buffer[MAX_PATH];
  (void)GetCurrentDirectoryA(MAX_PATH, buffer);
  m_previous = buffer;
  (void)GetTempPathA(MAX_PATH, buffer);
  static int counter = 0;
  m_path = std::string(buffer) + "ravelind-test-" + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++counter);
  (void)CreateDirectoryA(m_path.c_str(), nullptr);
  (void)SetCurrentDirectoryA(m_path.c_str());
}

WinTest::~WinTest() {
  for (const std::string& name : FilesHere()) {
    (void)SetFileAttributesA(name.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!DeleteFileA(name.c_str())) (void)RemoveDirectoryA(name.c_str());
  }
  (void)SetCurrentDirectoryA(m_previous.c_str());
  (void)RemoveDirectoryA(m_path.c_str());
}

std::vector<std::string> FilesHere() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("*", &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search, &found));
  (void)FindClose(search);
  return names;
}

std::string ReadIni() {
  std::ifstream in("rv.ini", std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return in ? bytes.str() : "<missing>";
}

void WriteIni(const std::string& bytes) {
  std::ofstream("rv.ini", std::ios::binary | std::ios::trunc) << bytes;
}

HICON ResourceIcon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }

void ExpectRecord(const ShellCall& call, DWORD message, HWND window, HICON icon) {
  EXPECT_EQ(call.message, message);
  EXPECT_EQ(call.data.cbSize, 104u);
  EXPECT_EQ(call.data.hWnd, window);
  EXPECT_EQ(call.data.uID, 128u);
  EXPECT_EQ(call.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(call.data.uCallbackMessage, kTrayMessage);
  EXPECT_EQ(call.data.hIcon, icon);
  const char tip[sizeof call.data.szTip] = "Ravelind";  // zeros after it
  EXPECT_EQ(std::memcmp(call.data.szTip, tip, sizeof tip), 0) << call.data.szTip;
}

void Click(HWND window, int id) { (void)SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
bool Ticked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

namespace {

struct Poller {
  const std::function<bool()>* poll;
  bool busy = false;
};
std::map<UINT_PTR, Poller> g_pollers;
std::vector<const CDialog*> g_modal;  // those RunModal runs: never taken for a message box

void CALLBACK RunPoller(HWND, UINT, UINT_PTR timer, DWORD) {
  auto found = g_pollers.find(timer);
  if (found == g_pollers.end() || found->second.busy) return;
  found->second.busy = true;
  const bool done = (*found->second.poll)();
  found = g_pollers.find(timer);
  if (found != g_pollers.end()) found->second.busy = done;  // a done poller stays busy
  if (done) (void)KillTimer(nullptr, timer);
}

BOOL CALLBACK AddWindow(HWND window, LPARAM all) {
  reinterpret_cast<std::vector<HWND>*>(all)->push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  (void)EnumThreadWindows(GetCurrentThreadId(), AddWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

std::string ClassOf(HWND window) {
  char cls[64] = {};
  (void)GetClassNameA(window, cls, sizeof cls);
  return cls;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  (void)GetWindowTextA(window, text, sizeof text);
  return text;
}

void WhilePolling(const std::function<bool()>& poll, const std::function<void()>& action) {
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunPoller);
  g_pollers[timer] = {&poll};
  action();
  (void)KillTimer(nullptr, timer);
  g_pollers.erase(timer);
}

INT_PTR RunModal(CDialog& dialog, const std::function<void(HWND)>& script, DWORD endWithinMs) {
  INT_PTR result = 0;
  DWORD deadline = 0;
  g_modal.push_back(&dialog);
  WhilePolling(
      [&] {
        HWND window = dialog.m_hWnd;
        if (!IsWindow(window)) return deadline != 0;
        if (deadline == 0) {
          script(window);
          deadline = GetTickCount() + endWithinMs;
          if (endWithinMs != 0) return false;
          if (IsWindow(window)) (void)SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
          return true;
        }
        if (static_cast<LONG>(GetTickCount() - deadline) < 0) return false;
        dialog.EndDialog(kDialogNotEnded);
        return true;
      },
      [&] { result = dialog.DoModal(); });
  g_modal.pop_back();
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

bool WhileDialogShown(const std::function<void(HWND)>& look, const std::function<void()>& action) {
  bool seen = false;
  const std::vector<HWND> before = ThreadWindows();
  auto isOld = [&](HWND w) {
    return std::find(before.begin(), before.end(), w) != before.end() ||
           std::any_of(g_modal.begin(), g_modal.end(), [&](auto* d) { return d->m_hWnd == w; });
  };
  WhilePolling(
      [&] {
        for (HWND box : ThreadWindows()) {
          if (ClassOf(box) != "#32770" || !IsWindowVisible(box) || isOld(box)) continue;
          seen = true;
          look(box);
          (void)PostMessageA(box, WM_COMMAND, IDOK, 0);
          return true;
        }
        return false;
      },
      action);
  return seen;
}

BoxSeen AnswerMessageBox(const std::function<void()>& action) {
  BoxSeen seen;
  (void)WhileDialogShown(
      [&](HWND box) {
        seen = {TextOf(box), "", GetWindow(box, GW_OWNER)};
        for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
          if (ClassOf(c) == "Static") seen.text += TextOf(c);
        }
      },
      action);
  return seen;
}
