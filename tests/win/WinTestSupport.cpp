#include "WinTestSupport.h"

#include <algorithm>
#include <fstream>
#include <sstream>

static Fake* g_fake = nullptr;

// Notes the call and its icon, and plays a notification area that may be too
// busy to take an add.
static BOOL WINAPI FakeNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
  UINT id = 128;
  while (id < 200 && Icon(id) != data->hIcon) ++id;
  const bool usual = data->cbSize == static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE) &&
                     GetDlgItem(data->hWnd, IDC_CALENDAR) != nullptr && data->uID == 128 &&
                     data->uCallbackMessage == 0x0464 &&
                     data->uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP) &&
                     std::string(data->szTip, 64) == "Ravelind" + std::string(56, '\0');
  std::string call = (message == NIM_ADD ? "add " : message == NIM_DELETE ? "delete " : "? ") +
                     std::to_string(id) + (usual ? "" : " (unusual record)");
  BOOL done = TRUE;
  if (message == NIM_ADD) {
    if (g_fake->shown) call += " (twice)";
    done = g_fake->refuseAdds-- <= 0;
    if (!done) call += " (refused)";
    g_fake->shown = g_fake->shown || done || g_fake->keepRefused;
  } else if (message == NIM_DELETE) {
    g_fake->shown = false;
  }
  g_fake->tray.push_back(call);
  g_fake->iniAtTray.push_back(ReadIni());
  return done;
}

static HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  g_fake->opened.push_back(std::wstring(verb) + L" " + file);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // above 32: done
}

static LSTATUS WINAPI FakeOpenKey(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key) {
  const std::vector<HKEY>& readOnly = g_fake->readOnly;
  if (std::count(readOnly.begin(), readOnly.end(), root)) {
    if ((access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0) return ERROR_ACCESS_DENIED;
    if ((access & MAXIMUM_ALLOWED) != 0) access = KEY_READ;
  }
  return Platform::System().regOpenKey(root, subKey, access, key);
}

static std::time_t FakeNow() { return g_fake->now; }

Fake::Fake() : now(LocalTime(2026, 12, 15)),
    platform{FakeNotifyIcon, FakeShellExecute, FakeOpenKey, FakeNow} { g_fake = this; }

std::time_t LocalTime(int year, int month, int day, int hour) {
  std::tm tm{0, 0, hour, day, month - 1, year - 1900, 0, 0, -1};
  return std::mktime(&tm);
}

WinTest::WinTest() {
  wchar_t temp[MAX_PATH];
  static int count = 0;
  path = std::wstring(temp, GetTempPathW(MAX_PATH, temp)) + L"rv-test-" +
         std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
  EXPECT_TRUE(CreateDirectoryW(path.c_str(), nullptr) && SetCurrentDirectoryW(path.c_str()));
}

WinTest::~WinTest() {
  if (dlg != nullptr && dlg->m_hWnd != nullptr) (void)DestroyWindow(dlg->m_hWnd);
  (void)SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_NORMAL);
  (void)(DeleteFileA("rv.ini") || RemoveDirectoryA("rv.ini"));
  (void)SetCurrentDirectoryW(L"..");
  EXPECT_TRUE(RemoveDirectoryW(path.c_str())) << "more than rv.ini was left";
}

std::string ReadIni() {
  std::ifstream in("rv.ini", std::ios::binary);
  std::ostringstream bytes;
  return in ? (bytes << in.rdbuf(), bytes.str()) : "<missing>";
}

void WriteIni(const std::string& bytes) { std::ofstream("rv.ini", std::ios::binary) << bytes; }

static BoxCatcher* g_catcher = nullptr;

static LRESULT CALLBACK CatchBoxes(int code, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<HWND>(wParam);
  char caption[256] = {}, text[256] = {};
  (void)GetClassNameA(box, caption, sizeof caption);
  if (code == HCBT_ACTIVATE && box != g_catcher->owner && lstrcmpA(caption, "#32770") == 0) {
    (void)GetWindowTextA(box, caption, sizeof caption);
    HWND label = GetDlgItem(box, 0xFFFF);  // a message box's text; the About box's icon
    if (SendMessageA(label, STM_GETICON, 0, 0) == 0) (void)GetWindowTextA(label, text, sizeof text);
    const bool owned = GetWindow(box, GW_OWNER) == g_catcher->owner;
    g_catcher->seen.push_back(caption + std::string(*text ? ": " : "") + text +
                              (owned ? "" : " [other owner]"));
    (void)PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxCatcher::BoxCatcher(HWND expectedOwner) : owner(expectedOwner) {
  g_catcher = this;
  hook = SetWindowsHookExA(WH_CBT, CatchBoxes, nullptr, GetCurrentThreadId());
}
BoxCatcher::~BoxCatcher() { (void)UnhookWindowsHookEx(hook); }
