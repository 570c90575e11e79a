// The resources as built into ravelind.exe and, from the same object, into this test. The
// build hands over host paths (under Wine the host's root is drive Z:) and the version.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "framework/Dialog.h"
#include "res/resource.h"
#include "tray/DayIconTable.h"

static bool Classes() {  // the calendar's
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
  return InitCommonControlsEx(&classes);
}
static INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
static std::unique_ptr<HWND__, decltype(&DestroyWindow)> Dialog(int id) {  // one of ours, inert
  (void)Classes();
  return {CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                             PlainDialog, 0), &DestroyWindow};
}

TEST(ResourcesTest, VersionRecordAndAboutBoxCarryTheProjectVersion) {
  const char* exe = "Z:" RAVELIND_EXE_FILE;
  std::string record(GetFileVersionInfoSizeA(exe, nullptr), '\0');
  ASSERT_TRUE(GetFileVersionInfoA(exe, 0, static_cast<DWORD>(record.size()), record.data()));
  auto text = [&](const std::string& name) {
    char* found = nullptr;
    UINT size = 0;
    return VerQueryValueA(record.data(), ("\\StringFileInfo\\040904B0\\" + name).c_str(),
                          reinterpret_cast<void**>(&found), &size) ? std::string(found) : "<none>";
  };
  const std::string version = RAVELIND_PROJECT_VERSION;
  EXPECT_EQ(text("ProductName") + " " + text("FileVersion") + " " + text("ProductVersion") + " " +
                text("OriginalFilename"),
            "Ravelind " + version + " " + version + " ravelind.exe");
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
  const DWORD ms = RAVELIND_VERSION_MS, ls = RAVELIND_VERSION_LS;
  EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
            (std::vector<DWORD>{ms, ls, ms, ls}));
  const auto about = Dialog(IDD_ABOUTBOX);
  for (const std::string& line : {"Ravelind Version " + version, text("LegalCopyright")})
    EXPECT_NE(FindWindowExA(about.get(), nullptr, "Static", line.c_str()), nullptr) << line;
}

// Each text of the two windows whole in its control, a check box's box and the gap after it
// counted as Wine draws them, and 8 points high: at the DPI the program opens at (the tray
// suite runs this at 120 to 288 DPI too), after a move to a monitor of another scale (192
// DPI, or 96 from there), sized as asked beforehand, and back, laid out as at first.
TEST(ResourcesTest, TextsFitTheirControlsAndGrowWithTheScale) {
  const char* asked = std::getenv("RAVELIND_TEST_DPI");  // set when run at another DPI
  const int dpi = asked ? std::atoi(asked) : 96, dpis[] = {dpi, dpi == 192 ? 96 : 192, dpi};
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
  (void)ReleaseDC(nullptr, screen);
  for (UINT id : {UINT{IDD_CALENDAR}, UINT{IDD_ABOUTBOX}}) {
    CDialog dialog(id);
    ASSERT_TRUE(Classes() && dialog.Create());
    HWND window = dialog.m_hWnd;
    std::string layouts[3];
    for (int pass = 0; pass < 3; ++pass) {
      const int at = dpis[pass];
      RECT place{};
      SIZE size{};  // what the window answers when asked for its size at `at`
      (void)GetWindowRect(window, &place);
      (void)SendMessageA(window, 0x02E4, WPARAM(at), reinterpret_cast<LPARAM>(&size));
      if (pass > 0) {
        (void)SendMessageA(window, WM_DPICHANGED, MAKEWPARAM(at, at), LPARAM(&place));
        (void)GetWindowRect(window, &place);
      }
      if (pass == 1) {
        EXPECT_EQ(std::make_pair(size.cx, size.cy),
                  std::make_pair(place.right - place.left, place.bottom - place.top));
      }
      for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char text[256] = {}, kind[16] = {};
        RECT room{};
        SIZE needed{};
        TEXTMETRICA font{};
        int zero = 0;
        const LONG style = GetWindowLongA(c, GWL_STYLE);
        (void)GetWindowTextA(c, text, sizeof text), (void)GetClassNameA(c, kind, sizeof kind);
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageA(c, WM_GETFONT, 0, 0)));
        (void)GetTextExtentPoint32A(dc, text, lstrlenA(text), &needed);
        (void)GetTextMetricsA(dc, &font), (void)GetCharWidth32A(dc, '0', '0', &zero);
        (void)SelectObject(dc, old), (void)ReleaseDC(c, dc);
        (void)GetWindowRect(c, &room), (void)MapWindowPoints(nullptr, window, LPPOINT(&room), 2);
        for (LONG edge : {room.left, room.top, room.right, room.bottom})
          layouts[pass] += std::to_string(edge) + " ";
        const LONG type = lstrcmpA(kind, "Button") == 0 ? style & BS_TYPEMASK : -1;
        if (!*text || (type < 0 && (style & SS_TYPEMASK) == SS_ICON)) continue;  // calendar, icon
        // Wine leaves 1 px before a text; a push button's frame and the gap inside, 3 px a side.
        needed.cx += type == BS_AUTOCHECKBOX ? 12 * at / 96 + 1 + zero / 2 + 1 : type >= 0 ? 8 : 0;
        EXPECT_TRUE(needed.cx <= room.right - room.left && needed.cy <= room.bottom - room.top &&
                    std::abs(font.tmHeight - font.tmInternalLeading - MulDiv(8, at, 72)) <= 1)
            << "'" << text << "' at " << at << " DPI needs " << needed.cx << "x" << needed.cy
            << " px of " << room.right - room.left << "x" << room.bottom - room.top << ", "
            << font.tmHeight - font.tmInternalLeading << " px high";
      }
    }
    EXPECT_EQ(layouts[2], layouts[0]) << id;
    (void)dialog.DestroyWindow();
  }
}

// Not its DPI awareness: Wine 8 runs every program per-monitor (v1) aware, whatever the
// manifest asks for, and knows no per-monitor v2.
TEST(ResourcesTest, ManifestBringsInCommonControls6) {
  char path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(GetModuleHandleA("comctl32.dll"), path, MAX_PATH), 0u);
  EXPECT_PRED_FORMAT2(testing::IsSubstring, "microsoft.windows.common-controls_6595b64144ccf1df_6.",
                      CharLowerA(path));
}

// The tray menu, as a keyboard meets it too: the date line (written in when the menu opens,
// readable, not grey), Open, the default, as the double click, then About, Help and Quit.
TEST(ResourcesTest, TrayMenuHasTheDateLineAndOpenAsItsDefault) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
  HMENU popup = GetSubMenu(menu, 0);
  std::string items;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[64] = {};
    (void)GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
    const bool grey = GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED;
    items += std::to_string(GetMenuItemID(popup, i)) + " " + text + (grey ? " grey;" : ";");
  }
  EXPECT_EQ(items, "32776 Today;0 ;32774 &Open;32771 &About;32773 &Help;0 ;32775 &Quit;");
  EXPECT_EQ(GetMenuDefaultItem(popup, FALSE, 0), UINT(ID_TRAY_OPEN));
  (void)DestroyMenu(menu);
}

// Each icon, image for image as generated; the day icons under the ids the program's own
// table picks.
TEST(ResourcesTest, EachIconIsTheGeneratedFileImageForImage) {
  HMODULE exe = LoadLibraryExA("Z:" RAVELIND_EXE_FILE, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(exe, nullptr) << RAVELIND_EXE_FILE;
  auto resource = [exe](LPCSTR type, UINT id) {  // empty when missing
    HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(id), type);
    return std::string(static_cast<const char*>(LockResource(LoadResource(exe, found))),
                       SizeofResource(exe, found));
  };
  auto number = [](const std::string& bytes, std::size_t at, std::size_t size) {
    UINT value = 0;  // little-endian, as is this machine; throws past the end
    (void)bytes.copy(reinterpret_cast<char*>(&value), size, at);
    return value;
  };
  for (int day = 0; day <= 31; ++day) {
    const std::string dd{char('0' + day / 10), char('0' + day % 10)};
    const std::string name = day ? "day" + dd + ".ico" : "main.ico";
    std::ostringstream file;  // empty when missing
    file << std::ifstream("Z:" RAVELIND_ICON_DIR "/" + name, std::ios::binary).rdbuf();
    const std::string ico = file.str();
    const std::string group =
        resource(RT_GROUP_ICON, day ? static_cast<UINT>(ravelind::DayIconId(dd)) : IDR_MAINFRAME);
    ASSERT_EQ(group.size(), 6 + 14 * number(ico, 4, 2)) << name << ": not as many images";
    for (UINT i = 0; i < number(ico, 4, 2); ++i)  // entries of 16 bytes; 14 in the group
      EXPECT_EQ(resource(RT_ICON, number(group, 6 + 14 * i + 12, 2)),
                ico.substr(number(ico, 6 + 16 * i + 12, 4), number(ico, 6 + 16 * i + 8, 4)))
          << name << ", image " << i;
  }
}
