// The benchmark's timing driver, run by scripts/bench.sh in the same Wine
// desktop as the programs it times.
//
//   bench-driver ROUNDS IDLE_MS POLL_MS WORKROOT NAME EXE [NAME EXE]...
//
// Each round starts every program once, in turn, in a fresh empty directory
// WORKROOT\NAME-ROUND, and measures from the launch until its dialog is
// visible and until its tray icon exists (NIM_MODIFY on the dialog, icon 128,
// succeeds). After IDLE_MS more it prints "IDLE NAME ROUND" and waits for the
// file WORKROOT\ack (the script reads the memory meanwhile), then sends IDOK
// and measures until the process is gone. One line per run:
//   RUN NAME ROUND VISIBLE_MS TRAY_MS QUIT_MS      or      FAIL NAME ROUND WHY
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kTrayIconId = 128;
constexpr DWORD kTimeoutMs = 30000;

double g_ticksPerMs = 1;

double NowMs() {
  LARGE_INTEGER now;
  (void)QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / g_ticksPerMs;
}

struct Search {
  DWORD pid;
  HWND dialog;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  char cls[16] = {};
  if (pid != search->pid || GetClassNameA(window, cls, sizeof cls) == 0 ||
      lstrcmpA(cls, "#32770") != 0) {
    return TRUE;
  }
  search->dialog = window;
  return FALSE;
}

bool TrayHasIcon(HWND window) {
  NOTIFYICONDATAA data{};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = window;
  data.uID = kTrayIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

bool WaitForFile(const std::string& path) {
  for (DWORD waited = 0; waited < kTimeoutMs * 4; waited += 10) {
    if (DeleteFileA(path.c_str())) return true;
    Sleep(10);
  }
  return false;
}

// One run of one program; prints its line.
void Run(const char* name, const char* exe, int round, DWORD idleMs, DWORD pollMs,
         const std::string& root) {
  const std::string dir = root + "\\" + name + "-" + std::to_string(round);
  if (!CreateDirectoryA(dir.c_str(), nullptr)) {
    std::printf("FAIL %s %d directory\n", name, round);
    return;
  }
  std::string commandLine = std::string("\"") + exe + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const double start = NowMs();
  if (!CreateProcessA(exe, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                      &startup, &process)) {
    std::printf("FAIL %s %d launch\n", name, round);
    return;
  }
  Search search{process.dwProcessId, nullptr};
  double visible = -1, tray = -1;
  const char* failure = nullptr;
  while (visible < 0 || tray < 0) {
    if (search.dialog == nullptr) (void)EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.dialog != nullptr) {
      if (visible < 0 && IsWindowVisible(search.dialog)) visible = NowMs() - start;
      if (tray < 0 && TrayHasIcon(search.dialog)) tray = NowMs() - start;
    }
    if (WaitForSingleObject(process.hProcess, pollMs) == WAIT_OBJECT_0) {
      failure = "ended";
      break;
    }
    if (NowMs() - start > kTimeoutMs) {
      failure = "timeout";
      break;
    }
  }
  double quit = -1;
  if (failure == nullptr) {
    Sleep(idleMs);
    std::printf("IDLE %s %d\n", name, round);
    (void)std::fflush(stdout);
    if (!WaitForFile(root + "\\ack")) failure = "no-ack";
  }
  if (failure == nullptr) {
    const double quitStart = NowMs();
    (void)PostMessageA(search.dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (WaitForSingleObject(process.hProcess, kTimeoutMs) == WAIT_OBJECT_0) {
      quit = NowMs() - quitStart;
    } else {
      failure = "no-quit";
    }
  }
  if (failure != nullptr) {
    (void)TerminateProcess(process.hProcess, 1);
    (void)WaitForSingleObject(process.hProcess, kTimeoutMs);
    std::printf("FAIL %s %d %s\n", name, round, failure);
  } else {
    std::printf("RUN %s %d %.1f %.1f %.1f\n", name, round, visible, tray, quit);
  }
  (void)std::fflush(stdout);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || argc % 2 != 1) {
    std::fputs("usage: bench-driver ROUNDS IDLE_MS POLL_MS WORKROOT NAME EXE [NAME EXE]...\n",
                stderr);
    return 1;
  }
  LARGE_INTEGER frequency;
  (void)QueryPerformanceFrequency(&frequency);
  g_ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000.0;
  const int rounds = std::atoi(argv[1]);
  const auto idleMs = static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10));
  const auto pollMs = static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10));
  const std::string root = argv[4];
  for (int round = 0; round < rounds; ++round) {
    for (int i = 5; i + 1 < argc; i += 2) Run(argv[i], argv[i + 1], round, idleMs, pollMs, root);
  }
  return 0;
}
