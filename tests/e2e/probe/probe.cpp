// The end-to-end probe: run inside the same Wine desktop as Ravelind, it reads
// what a person would see and prints it as JSON lines, one window a line.
//
//   probe windows            every top-level window (visible or not)
//   probe controls HWND      the child controls of a window, with check states
//   probe close HWND         posts WM_CLOSE (a person's close box, minus the mouse)
//   probe command HWND ID    posts WM_COMMAND ID (a button press without the mouse)
//   probe terminate PID      ends a process at once (cleanup only)
//
// A window line: hwnd, pid, class, title, visible, iconic, foreground, owner,
// taskbar (would the shell give it a task-bar button), rect [l,t,r,b] and, for
// tooltips, the text they show.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Json(const char* text) {
  std::string out = "\"";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    switch (*p) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (*p < 0x20 || *p >= 0x7f) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", *p);
          out += buf;
        } else {
          out += static_cast<char>(*p);
        }
    }
  }
  return out + "\"";
}

std::string Text(HWND window) {
  // WM_GETTEXT crosses processes; a hung window must not hang the probe.
  char buffer[2048] = {};
  DWORD_PTR got = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer),
                           SMTO_ABORTIFHUNG, 2000, &got)) {
    return "";
  }
  buffer[sizeof buffer - 1] = 0;
  return buffer;
}

std::string Rect(HWND window) {
  RECT r{};
  (void)GetWindowRect(window, &r);
  char buf[96];
  std::snprintf(buf, sizeof buf, "[%ld,%ld,%ld,%ld]", r.left, r.top, r.right, r.bottom);
  return buf;
}

const char* Bool(bool value) { return value ? "true" : "false"; }

// The shell's rule for task-bar buttons: visible, not a tool window, and
// either unowned or marked as an application window.
bool OnTaskBar(HWND window) {
  const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
  if (!IsWindowVisible(window) || (exStyle & WS_EX_TOOLWINDOW)) return false;
  return GetWindow(window, GW_OWNER) == nullptr || (exStyle & WS_EX_APPWINDOW);
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  char cls[256] = {};
  (void)GetClassNameA(window, cls, sizeof cls);
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                     ",\"pid\":" + std::to_string(pid) + ",\"class\":" + Json(cls) +
                     ",\"title\":" + Json(Text(window).c_str()) +
                     ",\"visible\":" + Bool(IsWindowVisible(window)) +
                     ",\"iconic\":" + Bool(IsIconic(window)) +
                     ",\"foreground\":" + Bool(GetForegroundWindow() == window) +
                     ",\"owner\":" +
                     std::to_string(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))) +
                     ",\"taskbar\":" + Bool(OnTaskBar(window)) + ",\"rect\":" + Rect(window) + "}";
  std::puts(line.c_str());
  return TRUE;
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  char cls[256] = {};
  (void)GetClassNameA(control, cls, sizeof cls);
  std::string line = "{\"hwnd\":" + std::to_string(reinterpret_cast<UINT_PTR>(control)) +
                     ",\"id\":" + std::to_string(GetDlgCtrlID(control)) +
                     ",\"class\":" + Json(cls) + ",\"text\":" + Json(Text(control).c_str()) +
                     ",\"visible\":" + Bool(IsWindowVisible(control));
  if (lstrcmpiA(cls, "Button") == 0) {
    DWORD_PTR state = 0;
    (void)SendMessageTimeoutA(control, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
    line += ",\"checked\":" + std::to_string(state);
  }
  line += ",\"rect\":" + Rect(control) + "}";
  std::puts(line.c_str());
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
  } else if (verb == "command" && argc > 3) {
    return PostMessageA(Handle(argv[2]), WM_COMMAND, std::strtoul(argv[3], nullptr, 0), 0) ? 0 : 2;
  } else if (verb == "terminate" && argc > 2) {
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                 std::strtoul(argv[2], nullptr, 0));
    if (process == nullptr) return 2;
    const BOOL ok = TerminateProcess(process, 1);
    (void)WaitForSingleObject(process, 5000);
    CloseHandle(process);
    return ok ? 0 : 2;
  } else {
    std::fputs("usage: probe windows | controls HWND | close HWND | command HWND ID | "
               "terminate PID\n",
               stderr);
    return 1;
  }
  std::fflush(stdout);
  return 0;
}
