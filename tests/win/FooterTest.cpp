// The calendar window's footer fits its control on one line, in the font and at
// the DPI the window gets (win.FooterTest runs it at 96 DPI, win.FooterTest144 at 144).
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(FooterTest, FitsItsControlOnOneLine) {
  INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&classes));
  HWND window = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(102), nullptr,
                                   PlainDialog, 0);
  ASSERT_NE(window, nullptr);
  HWND footer = GetWindow(GetWindow(window, GW_CHILD), GW_HWNDLAST);  // the last control
  char text[256] = {};
  (void)GetWindowTextA(footer, text, sizeof text);
  RECT client{};
  (void)GetClientRect(footer, &client);
  RECT needed{0, 0, client.right, 0};
  HDC dc = GetDC(footer);
  HGDIOBJ font =
      SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(footer, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  (void)GetTextMetricsA(dc, &metrics);
  (void)DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK);
  if (const char* dpi = std::getenv("RAVELIND_TEST_DPI")) {
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), std::atoi(dpi)) << "not run at the DPI asked for";
  }
  (void)SelectObject(dc, font);
  (void)ReleaseDC(footer, dc);
  (void)DestroyWindow(window);
  EXPECT_EQ(needed.bottom, metrics.tmHeight) << "'" << text << "' takes more than one line";
  EXPECT_LE(needed.bottom, client.bottom) << "'" << text << "' is taller than its control";
}

}  // namespace
