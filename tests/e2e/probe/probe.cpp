// The end-to-end probe: run in the same Wine desktop as Ravelind, it prints what
// a person would see as JSON lines, one window a line. `probe windows`: every
// top-level window; `probe controls HWND`: a window's controls with check
// states; `probe close HWND` and `probe terminate PID`: cleanup.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Json(const char* text) {
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x20 || *p >= 0x7f || *p == '"' || *p == '\\') {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", *p);
      out += buf;
    } else {
      out += static_cast<char>(*p);
    }
  }
  return out + "\"";
}

const char* Bool(bool value) { return value ? "true" : "false"; }

// One JSON line about a window or a control: what both have, then the rest.
void Print(HWND window, const std::string& rest) {
  char cls[256] = {}, text[2048] = {};
  (void)GetClassNameA(window, cls, sizeof cls);
  // WM_GETTEXT crosses processes; a hung window must not hang the probe.
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, 2000, &got)) {
    text[0] = 0;
  }
  text[sizeof text - 1] = 0;
  RECT r{};
  (void)GetWindowRect(window, &r);
  std::printf("{\"hwnd\":%llu,\"class\":%s,\"title\":%s,\"visible\":%s,"
              "\"rect\":[%ld,%ld,%ld,%ld]%s}\n",
              static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
              Json(cls).c_str(), Json(text).c_str(), Bool(IsWindowVisible(window)), r.left, r.top,
              r.right, r.bottom, rest.c_str());
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  const HWND owner = GetWindow(window, GW_OWNER);
  // The shell's rule for task-bar buttons: visible, not a tool window, and
  // either unowned or marked as an application window.
  const LONG_PTR ex = GetWindowLongPtrA(window, GWL_EXSTYLE);
  const bool taskbar = IsWindowVisible(window) && !(ex & WS_EX_TOOLWINDOW) &&
                       (owner == nullptr || (ex & WS_EX_APPWINDOW));
  Print(window, ",\"pid\":" + std::to_string(pid) + ",\"foreground\":" +
                    Bool(GetForegroundWindow() == window) + ",\"taskbar\":" + Bool(taskbar) +
                    ",\"owner\":" + std::to_string(reinterpret_cast<UINT_PTR>(owner)));
  return TRUE;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  DWORD_PTR state = 0;  // BM_GETCHECK: 0 from controls that are no buttons
  (void)SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
  Print(control, ",\"id\":" + std::to_string(GetDlgCtrlID(control)) +
                     ",\"checked\":" + std::to_string(state));
  return TRUE;
}

HWND Handle(const char* text) {
  return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(text, nullptr, 0)));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  if (verb == "windows") {
    (void)EnumWindows(PrintWindow, 0);
  } else if (verb == "controls" && argc > 2) {
    HWND window = Handle(argv[2]);
    if (!IsWindow(window)) return 2;
    (void)EnumChildWindows(window, PrintControl, 0);
  } else if (verb == "close" && argc > 2) {
    return PostMessageA(Handle(argv[2]), WM_CLOSE, 0, 0) ? 0 : 2;
  } else if (verb == "terminate" && argc > 2) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                 std::strtoul(argv[2], nullptr, 0));
    if (process == nullptr) return 2;
    const BOOL ok = TerminateProcess(process, 1);
    (void)WaitForSingleObject(process, 5000);
    CloseHandle(process);
    return ok ? 0 : 2;
  } else {
    std::fputs("usage: probe windows | controls HWND | close HWND | terminate PID\n", stderr);
    return 1;
  }
  std::fflush(stdout);
  return 0;
}
