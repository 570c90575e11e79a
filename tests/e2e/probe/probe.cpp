// The end-to-end probe: run in Ravelind's Wine desktop, it prints what a person
// would see as JSON lines in UTF-8. `probe windows`: the top-level windows;
// `probe controls HWND`: a window's controls; `probe close HWND`; `probe load DLL...`: loads
// DLLs by name, by the loader's usual search; `probe hold`: keeps the desktop open for good.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Json(const wchar_t* text) {
  char utf8[4096] = {};
  (void)WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
  std::string out = "\"";
  for (const char* p = utf8; *p; ++p) {
    if (*p == '"' || *p == '\\') out += '\\';
    if (static_cast<unsigned char>(*p) >= 0x20) out += *p;  // control characters left out
  }
  return out + "\"";
}

// One line about a window or control: class, text, visibility, place, the rest.
BOOL Print(HWND window, const std::string& rest) {
  wchar_t cls[256] = {}, text[1024] = {};
  (void)GetClassNameW(window, cls, 256);
  (void)GetWindowTextW(window, text, 1024);
  RECT r{};
  (void)GetWindowRect(window, &r);
  std::printf("{\"class\":%s,\"title\":%s,\"visible\":%d,\"rect\":[%ld,%ld,%ld,%ld],%s}\n",
              Json(cls).c_str(), Json(text).c_str(), IsWindowVisible(window) ? 1 : 0, r.left,
              r.top, r.right, r.bottom, rest.c_str());
  return TRUE;
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM) {
  DWORD pid = 0;
  (void)GetWindowThreadProcessId(window, &pid);
  return Print(window, "\"hwnd\":" + std::to_string(reinterpret_cast<UINT_PTR>(window)) +
                           ",\"pid\":" + std::to_string(pid) +
                           ",\"front\":" + std::to_string(GetForegroundWindow() == window));
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  return Print(control, "\"id\":" + std::to_string(GetDlgCtrlID(control)) + ",\"checked\":" +
                            std::to_string(SendMessageW(control, BM_GETCHECK, 0, 0)));
}

}  // namespace

int main(int argc, char** argv) {
  const std::string verb = argc > 1 ? argv[1] : "";
  HWND window = reinterpret_cast<HWND>(std::strtoull(argc > 2 ? argv[2] : "0", nullptr, 0));
  if (verb == "windows") (void)EnumWindows(PrintWindow, 0);
  if (verb == "controls") (void)EnumChildWindows(window, PrintControl, 0);
  if (verb == "close") (void)PostMessageW(window, WM_CLOSE, 0, 0);
  for (int i = 2; verb == "load" && i < argc; ++i) (void)LoadLibraryA(argv[i]);
  if (verb == "hold" && GetDesktopWindow() != nullptr) Sleep(INFINITE);
  return 0;
}
