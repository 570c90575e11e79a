// The calendar window, created and sent messages as the system and the user would,
// on a platform seam whose shell, browser, registry rights and clock the test controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>
#include <tuple>

#include "ui/CalendarDlg.h"  // windows.h first
#include <commctrl.h>
#include <pbt.h>

#include "app/CalendarApp.h"
#include "framework/Paths.h"
#include "prefs/Autostart.h"
#include "tray/DayIconTable.h"
#include "tray/DayPicture.h"
#include "res/resource.h"

namespace {

using Strings = std::vector<std::string>;

// What the folder of rv.ini does wrong: a rename that reports failure after it took effect
// (a share), or no new file allowed in it (an immutable folder).
enum Folder { kSound, kLateRename, kNoNewFile };

struct Fake {  // one at a time: the seam holds plain function pointers
  Fake();
  // Each shell call and its icon, "add 151"; marked when the record is unusual,
  // when the add is refused, or when the icon would show twice.
  Strings tray;
  Strings iniAtTray;                 // rv.ini at each of them
  int refuseAdds = 0;                // the shell refuses this many adds (a busy task bar)
  bool keepRefused = false;          // and shows those icons all the same
  bool shown = false;                // an icon of ours is in the fake notification area
  std::vector<std::wstring> opened;  // each launch: "verb file"
  // Keys under these roots, in either view, open as Windows opens the machine's for a
  // program that is not elevated: write access refused, the most it may have is read.
  std::vector<HKEY> readOnly;
  std::time_t now;
  int zoneHours = 0;  // the time zone's move from where `now` was made
  UINT trayDpi = 96;
  std::vector<HICON> pictures;  // each icon handed over with an add
  Folder folder = kSound;
  RECT icon{300, 300, 316, 316};  // where the notification area shows ours
  Strings restarts;               // what was asked of Restart Manager
  USHORT native = 0;              // the system's machine; 0: no IsWow64Process2 to tell
  Strings timers;                 // each timer set, with how late it may come
  Platform platform;
};
Fake* g_fake = nullptr;

HICON Icon(UINT id) { return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)); }
void Click(HWND window, int id) { (void)SendDlgItemMessageA(window, id, BM_CLICK, 0, 0); }
bool Ticked(HWND window, int id) { return IsDlgButtonChecked(window, id) == BST_CHECKED; }

std::string ReadIni(const char* name = "rv.ini") {  // "<missing>" when there is none
  std::ifstream in(name, std::ios::binary);
  std::ostringstream bytes;
  return in ? (bytes << in.rdbuf(), bytes.str()) : "<missing>";
}

void WriteIni(const std::string& bytes) { std::ofstream("rv.ini", std::ios::binary) << bytes; }

std::time_t LocalTime(int year, int month, int day, int hour = 12) {
  std::tm tm{0, 0, hour, day, month - 1, year - 1900, 0, 0, -1};
  return std::mktime(&tm);
}

// An icon's colour bits, whose length tells its size; empty when there is no such icon.
std::string Bits(HICON icon) {
  ICONINFO info{};
  std::string bits(48 * 48 * 4, '\0');
  if (!GetIconInfo(icon, &info)) return "";
  bits.resize(std::size_t(GetBitmapBits(info.hbmColor, LONG(bits.size()), bits.data())));
  (void)DeleteObject(info.hbmColor), (void)DeleteObject(info.hbmMask);
  return bits;
}

// Which day's picture drawn for a small size an icon shows, by its colour bits as drawn
// (white, or black, clear too): "151" for the 15th's for 16 px, the small-icon size of 96 DPI;
// "151 at 20 px" for another size.
std::string PictureName(HICON icon) {
  static const auto kNames = [] {
    std::map<std::string, std::string> names;
    for (const int size : {16, 20, 24, 28, 36, 40, 48})
      for (int day = 1; day <= 31; ++day) {
        const ravelind::DayPicture picture(day, size);
        std::string bits;
        for (int i = 0; i < size * size; ++i)  // blue, green, red, none
          bits.append(picture.At(i / size, i % size) == ravelind::Shade::kWhite ? 3 : 0, '\xff')
              .append(picture.At(i / size, i % size) == ravelind::Shade::kWhite ? 1 : 4, '\0');
        names[bits] = std::to_string(ravelind::DayIconId(std::to_string(day))) +
                      (size == 16 ? "" : " at " + std::to_string(size) + " px");
      }
    return names;
  }();
  const auto found = kNames.find(Bits(icon));
  return found == kNames.end() ? "?" : found->second;
}

// Notes the call and its icon, and plays a notification area that may be too
// busy to take an add. An add hands over a picture of ours; a delete, the
// shared icon of the 1st.
BOOL WINAPI FakeNotifyIcon(DWORD message, PNOTIFYICONDATAA data) {
  UINT id = 128;
  while (id < 200 && Icon(id) != data->hIcon) ++id;
  const bool shared = id < 200;
  if (message == NIM_ADD) g_fake->pictures.push_back(data->hIcon);
  const bool usual = data->cbSize == static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE) &&
                     shared == (message == NIM_DELETE) &&
                     GetDlgItem(data->hWnd, IDC_CALENDAR) != nullptr && data->uID == 128 &&
                     data->uCallbackMessage == 0x0464 &&
                     data->uFlags == (NIF_MESSAGE | NIF_ICON | NIF_TIP) &&
                     std::string(data->szTip, 64) == "Ravelind" + std::string(56, '\0');
  if (message == NIM_SETFOCUS) return g_fake->tray.push_back("focus"), TRUE;
  std::string call = (message == NIM_ADD ? "add " : message == NIM_DELETE ? "delete " : "? ") +
                     (shared ? std::to_string(id) : PictureName(data->hIcon)) +
                     (usual ? "" : " (unusual record)");
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

HINSTANCE WINAPI FakeShellExecute(HWND, LPCWSTR verb, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  g_fake->opened.push_back(std::wstring(verb) + L" " + file);
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));  // above 32: done
}

LSTATUS WINAPI FakeOpenKey(HKEY root, LPCWSTR subKey, REGSAM access, PHKEY key) {
  const std::vector<HKEY>& readOnly = g_fake->readOnly;
  if (std::count(readOnly.begin(), readOnly.end(), root)) {
    if ((access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) != 0) return ERROR_ACCESS_DENIED;
    if ((access & MAXIMUM_ALLOWED) != 0) access = KEY_READ;
  }
  return Platform::System().regOpenKey(root, subKey, access, key);
}

UINT FakeDpi() { return g_fake->trayDpi; }

// As Windows does, and Wine does not: a hidden or system file is recreated only when asked
// for those attributes again.
HANDLE WINAPI FakeCreateFile(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD disposition, DWORD flags, HANDLE model) {
  const DWORD now = GetFileAttributesA(name);
  const bool made = now == INVALID_FILE_ATTRIBUTES && disposition != OPEN_EXISTING;
  const bool remade = !made && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) &&
                      (now & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) & ~flags) != 0;
  if (remade || (made && g_fake->folder == kNoNewFile))
    return SetLastError(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
  return CreateFileA(name, access, share, security, disposition, flags, model);
}

BOOL WINAPI FakeSetFileInformation(HANDLE file, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info,
                                   DWORD size) {
  const BOOL done = SetFileInformationByHandle(file, kind, info, size);
  if (kind != FileRenameInfo || !done || g_fake->folder != kLateRename) return done;
  SetLastError(ERROR_UNEXP_NET_ERR);
  return FALSE;
}

void WINAPI FakeClock(LPSYSTEMTIME time) {
  const std::time_t moment = g_fake->now + g_fake->zoneHours * 3600;
  const std::tm* local = std::localtime(&moment);
  *time = SYSTEMTIME{WORD(local->tm_year + 1900), WORD(local->tm_mon + 1), 0, WORD(local->tm_mday),
                     WORD(local->tm_hour), 0, 0, 0};
}

bool FakeIconRect(HWND, UINT, RECT* rect) { return *rect = g_fake->icon, true; }

HRESULT WINAPI FakeRegisterRestart(PCWSTR arguments, DWORD flags) {
  std::string line = "register " + std::to_string(flags) + " ";
  for (const wchar_t* c = arguments; *c; ++c) line += char(*c);  // the test's paths are ASCII
  return g_fake->restarts.push_back(line), S_OK;
}

HRESULT WINAPI FakeUnregisterRestart() { return g_fake->restarts.push_back("unregister"), S_OK; }

bool FakeMachines(USHORT* process, USHORT* native) {
  return *process = IMAGE_FILE_MACHINE_I386, *native = g_fake->native, g_fake->native != 0;
}

UINT_PTR FakeSetTimer(HWND window, UINT_PTR id, UINT ms, ULONG tolerance) {
  g_fake->timers.push_back(std::to_string(ms) + " ms, " + std::to_string(tolerance) + " late");
  return SetTimer(window, id, ms, nullptr);
}

Fake::Fake() : now(LocalTime(2026, 12, 15)),
    platform{FakeNotifyIcon, FakeShellExecute, FakeOpenKey, FakeClock, FakeDpi, FakeCreateFile,
             FakeSetFileInformation, FakeIconRect, FakeRegisterRestart, FakeUnregisterRestart,
             FakeMachines, IsWow64Process, FakeSetTimer} { g_fake = this; }

HWND g_owner = nullptr;
Strings* g_boxes = nullptr;

LRESULT CALLBACK CatchBox(int code, WPARAM wParam, LPARAM lParam) {
  auto* box = reinterpret_cast<HWND>(wParam);
  char caption[256] = {}, text[256] = {};
  (void)GetClassNameA(box, caption, sizeof caption);
  if (code == HCBT_ACTIVATE && box != g_owner && lstrcmpA(caption, "#32770") == 0) {
    (void)GetWindowTextA(box, caption, sizeof caption);
    HWND label = GetDlgItem(box, 0xFFFF);  // a message box's text; the About box's icon
    if (SendMessageA(label, STM_GETICON, 0, 0) == 0) (void)GetWindowTextA(label, text, sizeof text);
    g_boxes->push_back(caption + std::string(*text ? ": " : "") + text +
                       (GetWindow(box, GW_OWNER) == g_owner ? "" : " [other owner]"));
    (void)PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The dialog boxes other than `owner` that the thread activates while `action` runs, each
// noted as "caption: text" ("[other owner]" when not `owner`'s), then sent IDOK.
template <class Action>
Strings BoxesDuring(HWND owner, Action action) {
  Strings seen;
  g_owner = owner, g_boxes = &seen;
  HHOOK hook = SetWindowsHookExA(WH_CBT, CatchBox, nullptr, GetCurrentThreadId());
  action();
  (void)UnhookWindowsHookEx(hook);
  return seen;
}

// Each test runs in a new empty working directory; only rv.ini may be left there.
class CalendarDlgTest : public ::testing::Test {
 protected:
  CalendarDlgTest() {
    static int count = 0;
    path = std::filesystem::temp_directory_path() /
           ("rv-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count));
    EXPECT_TRUE(std::filesystem::create_directory(path));
    std::filesystem::current_path(path);
  }
  ~CalendarDlgTest() override {
    (void)SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_NORMAL);
    (void)(DeleteFileA("rv.ini") || RemoveDirectoryA("rv.ini"));
    std::filesystem::current_path(path.parent_path());
    std::error_code error;
    EXPECT_TRUE(std::filesystem::remove(path, error)) << "more than rv.ini was left";
  }
  HWND Open() {  // a calendar window on the fake; DestroyWindow saves and ends it
    dlg = std::make_unique<CCalendarDlg>(nullptr, fake.platform);
    return dlg->Create() ? dlg->m_hWnd : nullptr;
  }
  Fake fake;
  std::unique_ptr<CCalendarDlg> dlg;
  std::filesystem::path path;
};

}  // namespace

// At log-off, restart and shutdown Windows may end the process as soon as the window has
// answered WM_ENDSESSION, without destroying it: that saves as closing does, with no box.
// Restart Manager (ENDSESSION_CLOSEAPP) closes just this program: it ends as Quit does, and
// asks to be started again in its folder, not when the session ends after all.
TEST_F(CalendarDlgTest, LoadsBeforeTheTrayAddSavesBeforeTheDeleteAtClosingAndSessionsEnd) {
  HWND window = Open();
  // The tray's day, the 15th: 32 px, and drawn for the caption.
  EXPECT_EQ(SendMessageA(window, WM_GETICON, ICON_BIG, 0), reinterpret_cast<LRESULT>(Icon(151)));
  EXPECT_EQ(PictureName(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0))),
            "151");
  (void)SendMessageA(window, WM_COMMAND, IDCANCEL, 0);  // Esc ends it, and it saves all the same
  EXPECT_EQ(fake.tray, (Strings{"add 151", "delete 129"}));
  EXPECT_EQ(fake.iniAtTray, (Strings{"", "CREATOR=Ravelind 1.0\r\nTOOLTIPS=\r\nSTARTUP=\r\n"
                                         "SYSDATE=\r\nWEEKLABELS=\r\nMIN=\r\n\r\n"}));
  const std::string kStored = "TOOLTIPS=no\r\n";
  const std::string kSaved = "CREATOR=Ravelind 1.0\r\nTOOLTIPS=no\r\n"
                             "STARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=yes\r\n\r\n";
  const std::string kBox = ", Error Writing File: Save to File";
  struct End { LPARAM reason; DWORD attributes; std::string after; };  // reason -1: closed
  const End kEnds[] = {{-1, FILE_ATTRIBUTE_READONLY, kStored + kBox},
                       {0, FILE_ATTRIBUTE_READONLY, kStored}, {0, FILE_ATTRIBUTE_NORMAL, kSaved},
                       {ENDSESSION_CLOSEAPP, FILE_ATTRIBUTE_READONLY, kStored},
                       {ENDSESSION_CLOSEAPP, FILE_ATTRIBUTE_NORMAL, kSaved}};
  for (const auto& [reason, attributes, after] : kEnds) {
    WriteIni(kStored);
    (void)SetFileAttributesA("rv.ini", attributes);
    window = Open();
    Click(window, IDC_STARTMINIMIZED);
    fake.tray.clear();
    const Strings boxes = BoxesDuring(window, [&, reason = reason] {
      if (reason >= 0) {
        const LPARAM logOff = reason | LPARAM(ENDSESSION_LOGOFF);
        EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, logOff));
        (void)SendMessageA(window, WM_ENDSESSION, FALSE, logOff);  // cancelled
        EXPECT_EQ(ReadIni(), kStored);
        EXPECT_TRUE(SendMessageA(window, WM_QUERYENDSESSION, 0, reason));
        (void)SendMessageA(window, WM_ENDSESSION, TRUE, reason);  // a shutdown, or Restart Manager
        EXPECT_EQ(IsWindow(window), !reason) << "ends with Restart Manager only";
        for (const UINT late : {UINT(WM_TIMER), RegisterWindowMessageA("TaskbarCreated")})
          (void)SendMessageA(window, late, 1, 0);  // neither a tick nor a new task bar adds it
      }
      (void)DestroyWindow(window);  // after the session's end, were the process to live on
    });
    EXPECT_EQ(ReadIni() + (boxes.empty() ? "" : ", " + boxes[0]), after) << reason;
    EXPECT_EQ(fake.tray, Strings{"delete 129"}) << reason;
    const std::string again = "register 11 /workdir " + path.string();  // no crash, hang, reboot
    EXPECT_EQ(fake.restarts, reason > 0 ? (Strings{again, "unregister", again}) : Strings{});
    fake.restarts.clear();
    (void)SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_NORMAL);
  }
}

// Virus scanners, sync clients and editors hold the files beside the program. Unread at
// the start, rv.ini is read again at the save, and not written over while unreadable.
// At the quit a short hold is waited out; a long one that shares writing has the file
// rewritten in place, its old tail cut off, as it is in a folder that allows no new file
// once a short hold is over.
// It stays hidden. A rename that reports failure after it took effect loses nothing. A
// temporary file that a save cut off left behind goes at the next save, unless a process
// holds it (another copy, saving).
TEST_F(CalendarDlgTest, ARvIniHeldByAnotherProgramIsWaitedForAndNeverWrittenOverUnread) {
  const std::string kKept = "TOOLTIPS=no\r\nSTARTUP=yes\r\nSYSDATE=kept\r\n";
  const std::string kStored = kKept + "LONGER=" + std::string(99, 'x') + "\r\n";
  const std::string kSaved = "CREATOR=Ravelind 1.0\r\n" + kKept + "WEEKLABELS=\r\nMIN=yes\r\n\r\n";
  struct Hold { bool fromStart; DWORD share; DWORD ms; std::string after; Folder folder; };
  const Hold kHolds[] = {{true, 0, 0, kSaved, kSound},  // ms: from the quit
                         {true, 0, 2500, kStored + ", Error Writing File: Save to File", kSound},
                         {false, 0, 300, kSaved, kSound},
                         {false, FILE_SHARE_READ | FILE_SHARE_WRITE, 1500, kSaved, kSound},
                         {false, FILE_SHARE_READ | FILE_SHARE_DELETE, 0, kSaved, kLateRename},
                         {false, FILE_SHARE_READ | FILE_SHARE_DELETE, 300, kSaved, kNoNewFile}};
  for (const char* name : {"rv99999.tmp", "rv12a.tmp", "rv99998.tmp"})
    (void)CloseHandle(CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 2, nullptr));
  HANDLE saving = CreateFileA("rv99998.tmp", DELETE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  for (const auto& [fromStart, share, ms, after, folder] : kHolds) {
    fake.folder = folder;
    WriteIni(kStored);
    (void)SetFileAttributesA("rv.ini", FILE_ATTRIBUTE_HIDDEN);
    auto hold = [share = share] {
      return CreateFileA("rv.ini", GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    HANDLE held = fromStart ? hold() : nullptr;
    HWND window = Open();
    Click(window, IDC_STARTMINIMIZED);
    if (!fromStart) held = hold();
    std::thread holder([&] { Sleep(ms), (void)CloseHandle(held); });
    const Strings boxes = BoxesDuring(window, [&] { (void)DestroyWindow(window); });
    holder.join();
    EXPECT_EQ(ReadIni() + (boxes.empty() ? "" : ", " + boxes[0]), after) << fromStart << " " << ms;
    EXPECT_TRUE(GetFileAttributesA("rv.ini") & FILE_ATTRIBUTE_HIDDEN);
  }
  EXPECT_EQ(GetFileAttributesA("rv99999.tmp"), INVALID_FILE_ATTRIBUTES) << "left behind";
  EXPECT_TRUE(CloseHandle(saving) && DeleteFileA("rv99998.tmp") && DeleteFileA("rv12a.tmp"));
}

// Scoop keeps rv.ini as a hard link to its own copy, which each new version's folder links
// again: a save reaches both names, or an update would bring back the settings of before.
TEST_F(CalendarDlgTest, ARvIniOfTwoNamesIsSavedUnderBoth) {
  WriteIni("TOOLTIPS=no\r\n");
  ASSERT_TRUE(CreateHardLinkA("persist.ini", "rv.ini", nullptr));
  HWND window = Open();
  Click(window, IDC_STARTMINIMIZED);
  (void)DestroyWindow(window);
  EXPECT_NE(ReadIni().find("\r\nMIN=yes\r\n"), std::string::npos);
  EXPECT_EQ(ReadIni("persist.ini"), ReadIni());
  EXPECT_TRUE(DeleteFileA("persist.ini"));
}

static Strings g_menuTops;  // each menu's top line, "(grey)" when it is, and its place
static void CALLBACK ReadMenuTopAndEscape(HWND, UINT, UINT_PTR timer, DWORD) {
  (void)KillTimer(nullptr, timer);
  HWND popup = FindWindowA("#32768", nullptr);
  HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
  char text[64] = {};
  (void)GetMenuStringA(menu, 0, text, sizeof text, MF_BYPOSITION);
  RECT place{};
  (void)GetWindowRect(popup, &place);
  g_menuTops.push_back(text + std::string(GetMenuState(menu, 0, MF_BYPOSITION) ? " (grey)" : "") +
                       " at " + std::to_string(place.left) + "," + std::to_string(place.top));
  (void)EndMenu();  // as Esc
}

// Each look at the clock, and a new task bar, show today's icon. The tray menu, which a
// keyboard opens too, reads today's date at each opening, and gives the focus back to the
// notification area when closed with Esc. It opens at the pointer when that is on the icon,
// else at the icon, whose right press Windows reports for Shift+F10 or the Menu key too. Open brings the hidden window back in front; Quit
// saves and ends it as the window's Quit does.
TEST_F(CalendarDlgTest, EachLookAtTheClockShowsTodayAndTheTrayMenuReadsItOpensAndQuits) {
  const std::pair<UINT, WPARAM> kLooks[] = {{WM_TIMER, 77}, {WM_TIMECHANGE, 0},
      {WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}, {WM_POWERBROADCAST, PBT_APMRESUMESUSPEND}};
  HWND window = Open();
  int month = 12, day = 15;
  for (const auto& [message, wParam] : kLooks) {
    fake.tray.clear();
    fake.now = LocalTime(2026, ++month, day, 23);  // the same day of another month: nothing
    (void)SendMessageA(window, message, wParam, 0);
    fake.now = LocalTime(2026, month, ++day, 0);
    (void)SendMessageA(window, message, wParam, 0);
    EXPECT_EQ(fake.tray, (Strings{"delete 129", "add " + std::to_string(131 + day)}));
  }
  // Windows announces a new time zone as it does a new clock; the clock stands still.
  fake.zoneHours = -1;  // 00:00 on the 19th is 23:00 on the 18th
  (void)SendMessageA(window, WM_TIMECHANGE, 0, 0);
  EXPECT_EQ(fake.tray.back(), "add 149");
  fake.zoneHours = 0, fake.now = LocalTime(2027, 1, 10);
  fake.shown = false;  // a new task bar starts empty
  (void)SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_EQ(fake.tray.back(), "add 138");
  (void)ShowWindow(window, SW_MINIMIZE), (void)ShowWindow(window, SW_HIDE);
  for (const LPARAM mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE})
    EXPECT_EQ(SendMessageA(window, kTrayCallbackMessage, kTrayIconId, mouse), 1);
  EXPECT_FALSE(IsWindowVisible(window));  // only a double click, or Open, brings it back
  for (const auto& [date, pointer] : {std::pair(LocalTime(2026, 12, 15), POINT{100, 100}),
                                      std::pair(LocalTime(2027, 1, 1), POINT{305, 302})}) {
    fake.now = date, fake.tray.clear();
    (void)SetCursorPos(pointer.x, pointer.y);
    (void)SetTimer(nullptr, 0, 200, ReadMenuTopAndEscape);
    (void)SendMessageA(window, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONDOWN);
    EXPECT_EQ(fake.tray, Strings{"focus"});
  }
  EXPECT_EQ(g_menuTops, (Strings{"Tuesday, December 15, 2026 at 258,308",  // the icon's middle
                                 "Friday, January 1, 2027 at 255,302"}));
  (void)SendMessageA(window, WM_COMMAND, ID_TRAY_OPEN, 0);
  EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window) && GetForegroundWindow() == window);
  Click(window, IDC_STARTMINIMIZED);
  (void)ShowWindow(window, SW_HIDE);
  (void)SendMessageA(window, WM_COMMAND, ID_TRAY_QUIT, 0);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_NE(ReadIni().find("\r\nMIN=yes\r\n"), std::string::npos);
}

// The tray gets the picture drawn for its size, which follows the display's scale; each
// one replaced goes. At log-on the task bar can be too busy to take the icon: a refused
// add, which may have shown it all the same, is made again, never showing it twice.
TEST_F(CalendarDlgTest, TheTrayGetsThePictureForItsSizeAgainWhenRefusedAndEachOneReplacedGoes) {
  fake.refuseAdds = 2, fake.keepRefused = true;
  HWND window = Open();
  (void)SendMessageA(window, WM_TIMER, 1, 0);
  // A second after the start, then every ten seconds; Windows may batch each look with other
  // programs' wake-ups, a tenth of its wait late.
  EXPECT_EQ(fake.timers, (Strings{"1000 ms, 100 late", "10000 ms, 1000 late"}));
  fake.trayDpi = 168;
  (void)SendMessageA(window, WM_TIMER, 1, 0);
  fake.trayDpi = 120;
  RECT place{};
  (void)GetWindowRect(window, &place);
  (void)SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&place));
  EXPECT_EQ(fake.tray, (Strings{"add 151 (refused)", "delete 129", "add 151 (refused)", "delete 129",
                                "add 151 at 28 px", "delete 129", "add 151 at 20 px"}));
  for (int day = 0; day < 100; ++day) {
    fake.now += 24 * 60 * 60;
    (void)SendMessageA(window, WM_TIMER, 1, 0);
  }
  fake.pictures.push_back(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)));
  auto kept = [&] { return std::count_if(fake.pictures.begin(), fake.pictures.end(),
                                         [](HICON icon) { return !Bits(icon).empty(); }); };
  EXPECT_EQ(kept(), 2);  // the tray's and the caption's
  (void)DestroyWindow(window);
  dlg.reset();
  EXPECT_EQ(kept(), 0);
}

TEST_F(CalendarDlgTest, ToolTipsTurnsTheHintsOffAndOnAndTheSwitchesAreSaved) {
  auto hasHints = [](HWND window) {  // a tooltip control of the window's
    HWND tip = nullptr;
    while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr &&
           GetWindow(tip, GW_OWNER) != window) {}
    return tip != nullptr;
  };
  for (const std::string value : {"", "no"}) {
    WriteIni("TOOLTIPS=" + value + "\r\n");
    HWND window = Open();
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) (void)DispatchMessageA(&msg);
    EXPECT_EQ(Ticked(window, IDC_TOOLTIPS) + hasHints(window), value.empty() ? 2 : 0) << value;
    Click(window, IDC_TOOLTIPS);
    Click(window, IDC_STARTMINIMIZED);
    for (MSG msg; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) (void)DispatchMessageA(&msg);
    EXPECT_EQ(hasHints(window), !value.empty());
    EXPECT_TRUE(IsWindowVisible(window) && !IsIconic(window));  // minimised at the next start
    (void)DestroyWindow(window);
    EXPECT_EQ(ReadIni(), "CREATOR=Ravelind 1.0\r\nTOOLTIPS=" + std::string(value.empty() ? "no" : "yes") +
                         "\r\nSTARTUP=\r\nSYSDATE=\r\nWEEKLABELS=\r\nMIN=yes\r\n\r\n");
  }
}

TEST_F(CalendarDlgTest, AHintArrivesWholeHelpOpensTheManualAndAboutIsModal) {
  const std::wstring manual = ModuleFolder() + L"\\help.htm";
  (void)CloseHandle(CreateFileW(manual.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, 0));
  HWND window = Open();
  for (const int id : {0xFFFF, IDC_STARTMINIMIZED}) {  // the footer has none
    NMTTDISPINFOA info{};
    info.hdr = {nullptr, reinterpret_cast<UINT_PTR>(GetDlgItem(window, id)), TTN_NEEDTEXTA};
    info.uFlags = TTF_IDISHWND;
    info.lpszText = info.szText;
    (void)SendMessageA(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(info.lpszText, id == 0xFFFF ? "" : "If you check this, when the program starts, "
                                                    "it will only appear on the system tray.");
  }
  Click(window, IDC_HELPBUTTON);
  EXPECT_TRUE(DeleteFileW(manual.c_str()));
  (void)SendMessageA(window, WM_COMMAND, ID_TRAY_HELP, 0);  // the tray menu's Help
  EXPECT_EQ(fake.opened,
            (std::vector<std::wstring>{L"open " + manual, L"open " RAVELIND_HELP_URL}));
  char item[32] = {};
  (void)GetMenuStringA(GetSystemMenu(window, FALSE), IDM_ABOUTBOX, item, sizeof item, 0);
  EXPECT_STREQ(item, "&About Ravelind...");
  EXPECT_EQ(BoxesDuring(window, [&] {
              Click(window, IDC_ABOUTBUTTON);  // the About box runs until it is sent IDOK
              (void)SendMessageA(window, WM_SYSCOMMAND, IDM_ABOUTBOX | 3, 0);  // window menu's
              (void)SendMessageA(window, WM_COMMAND, ID_TRAY_ABOUT, 0);        // tray menu's
            }),
            Strings(3, "About Ravelind"));
  EXPECT_TRUE(IsWindowEnabled(window));
}

// Start Menu against the real Run keys and Explorer's marks beside them (what
// Task Manager's Startup tab switches), for a program that is elevated and for
// one that is not, which Windows lets read the machine's keys but not write them.
// The machine key's 32-bit view (WOW6432Node) is started at log-on too.
TEST_F(CalendarDlgTest, StartMenuLeavesOneRunValueSwitchedOnOrSaysWhatRemains) {
  using ravelind::kAutostartSubKey, ravelind::kStartupApprovedSubKey;
  std::wstring command = ravelind::AutostartCommand(ModulePath(), CurrentDirectory());
  const wchar_t* kName = ravelind::kAutostartValueName;
  // The machine key's 32-bit view is WOW6432Node; Explorer marks its values in Run32.
  const wchar_t* kRun32 = L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Run";
  const std::tuple<std::string, HKEY, const wchar_t*, const wchar_t*> kPlaces[] = {
      {"HKLM", HKEY_LOCAL_MACHINE, kAutostartSubKey, kStartupApprovedSubKey},
      {"HKLM32", HKEY_LOCAL_MACHINE, kRun32, ravelind::kStartupApproved32SubKey},
      {"HKCU", HKEY_CURRENT_USER, kAutostartSubKey, kStartupApprovedSubKey}};
  // "HKLM": our value there, "HKLM?" another's; "HKLM-off": a mark that switches the
  // entry off (an odd first byte, then when), "HKLM-on" one that does not.
  auto set = [&](const std::string& state) {
    for (const auto& [name, root, run, marks] : kPlaces) {
      auto has = [&, name = name](const char* word) {
        return (" " + state + " ").find(" " + name + word + " ") != std::string::npos;
      };
      std::wstring value = has("?") ? L"x" : command;
      if (has("~")) (void)CharLowerW(value.data());  // ours, met again in other letters
      const BYTE mark[12] = {BYTE(has("-off") ? 3 : 2), 0x5c, 0x1f};
      (void)RegDeleteKeyValueW(root, run, kName), (void)RegDeleteKeyValueW(root, marks, kName);
      if (has("") || has("?") || has("~"))
        (void)RegSetKeyValueW(root, run, kName, REG_SZ, value.c_str(), DWORD(value.size() * 2 + 2));
      if (has("-off") || has("-on"))
        (void)RegSetKeyValueW(root, marks, kName, REG_BINARY, mark, sizeof mark);
    }
  };
  auto state = [&] {
    std::string keys;
    for (const auto& [name, root, run, marks] : kPlaces) {
      wchar_t data[2048] = {};
      BYTE mark[12] = {};
      DWORD size = sizeof data, markSize = sizeof mark;
      if (!RegGetValueW(root, run, kName, RRF_RT_REG_SZ, nullptr, data, &size))
        keys += " " + name + (data == command ? "" : lstrcmpiW(data, command.c_str()) ? "?" : "~");
      if (!RegGetValueW(root, marks, kName, RRF_RT_REG_BINARY, nullptr, mark, &markSize))
        keys += " " + name + (mark[0] % 2 ? "-off" : "-on");
    }
    return keys;
  };
  HWND window = Open();
  struct Row {
    std::vector<HKEY> readOnly;
    std::string before;
    bool tick;
    std::string after;
    USHORT native = 0;  // the system's machine, where IsWow64Process2 tells it
  };
  const std::vector<HKEY> kElevated, kStandard{HKEY_LOCAL_MACHINE};
  const std::string kCannotAdd = ", Error: Unable to add program to start menu.";
  const std::string kCannotRemove = ", Error: Unable to remove program from start menu.";
  const Row kRows[] = {
      {kElevated, "", true, "ticked HKLM"},
      {kElevated, "HKLM? HKLM-off HKLM32 HKLM32-off HKCU HKCU-off", true, "ticked HKLM"},
      {kElevated, "HKLM-on", true, "ticked HKLM HKLM-on"},
      {kElevated, "", false, "clear"},
      {kElevated, "HKLM HKLM-off HKLM32? HKLM32-on HKCU? HKCU-on", false, "clear"},
      // A 32-bit program on ARM64, which IsWow64Process takes for a 32-bit system's.
      {kElevated, "HKLM HKLM32", false, "clear", IMAGE_FILE_MACHINE_ARM64},
      // On 32-bit Windows the views are one key, just cleared: no second one to clear.
      {kElevated, "HKLM HKLM32", false, "clear HKLM32", IMAGE_FILE_MACHINE_I386},
      {kStandard, "", true, "ticked HKCU"},
      {kStandard, "HKCU? HKCU-off", true, "ticked HKCU"},
      {kStandard, "HKLM HKCU", true, "ticked HKLM"},  // an elevated run wrote ours
      {kStandard, "HKLM32 HKCU", true, "ticked HKLM32"},  // an earlier 32-bit build's
      {kStandard, "HKLM~ HKCU", true, "ticked HKLM~"},  // Windows' paths know no case
      {kStandard, "HKLM HKLM-off", true, "clear HKLM HKLM-off" + kCannotAdd},
      {kStandard, "HKLM? HKCU", true, "clear HKLM?" + kCannotAdd},  // another copy's
      {kStandard, "HKLM32? HKCU", true, "clear HKLM32?" + kCannotAdd},
      {kStandard, "HKLM HKLM32", true, "clear HKLM HKLM32" + kCannotAdd},  // it would start twice
      {kStandard, "", false, "clear"},
      {kStandard, "HKLM-off HKCU HKCU-off", false, "clear HKLM-off"},
      {kStandard, "HKLM? HKCU", false, "ticked HKLM?" + kCannotRemove},
      {kStandard, "HKLM32 HKCU", false, "ticked HKLM32" + kCannotRemove},
      {{HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}, "", true, "clear" + kCannotAdd},
  };
  for (const Row& row : kRows) {
    set(row.before);
    fake.readOnly = row.readOnly, fake.native = row.native;
    (void)CheckDlgButton(window, IDC_STARTMENU, row.tick ? BST_UNCHECKED : BST_CHECKED);
    const Strings boxes = BoxesDuring(window, [&] { Click(window, IDC_STARTMENU); });
    std::string after = (Ticked(window, IDC_STARTMENU) ? "ticked" : "clear") + state();
    for (const std::string& box : boxes) after += ", " + box;
    EXPECT_EQ(after, row.after) << row.readOnly.size() << " read-only, before: " << row.before
                                << (row.tick ? ", tick" : ", clear");
  }
  // Deep down only the short form of the paths fits in a Run entry's 260 characters.
  const auto deep = path / std::string(60, 'd') / std::string(60, 'e') / std::string(60, 'f');
  (void)std::filesystem::create_directories(deep), std::filesystem::current_path(deep);
  EXPECT_EQ(ravelind::AutostartCommand(ModulePath(), CurrentDirectory()), L"");
  command = ravelind::AutostartCommand(ShortPath(ModulePath()), ShortPath(CurrentDirectory()));
  fake.readOnly.clear();
  (void)CheckDlgButton(window, IDC_STARTMENU, BST_UNCHECKED);
  EXPECT_EQ(BoxesDuring(window, [&] { Click(window, IDC_STARTMENU); }), Strings{});
  EXPECT_EQ(state(), command.empty() ? "no short form" : " HKLM");
  std::filesystem::current_path(path);
  (void)std::filesystem::remove_all(path / std::string(60, 'd'));
  set("");
  (void)DestroyWindow(window);
  EXPECT_NE(ReadIni().find("\r\nSTARTUP=yes\r\n"), std::string::npos);  // what the box shows
}

TEST_F(CalendarDlgTest, AStartFolderThatIsGoneLeavesTheProgramInItsOwn) {
  EnterStartFolder(L"r.exe /workdir C:\\gone\\for\\good");
  EXPECT_EQ(CurrentDirectory(), ModuleFolder());
  EnterStartFolder((L"r.exe /workdir \"" + path.wstring() + L"\"").c_str());
  EXPECT_EQ(CurrentDirectory(), path.wstring());
}
