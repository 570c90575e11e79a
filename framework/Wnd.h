#pragma once
// CWnd: a window handle with the few operations the program needs.
#include <windows.h>

// Posted by EnableToolTips; the last number of the application range is the
// framework's.
constexpr UINT kBuildToolTipsMessage = WM_APP + 0x3FFF;

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  // Creates a window; a null `className` takes the framework's plain class.
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                int width, int height, HWND parent, HMENU menu);
  BOOL DestroyWindow();

  // A message box owned by this window.
  int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

  // Window-level control hints: while enabled, resting the mouse on a child
  // control asks this window for its text (WM_NOTIFY, TTN_NEEDTEXTA, the
  // control identified by its handle). The tooltip control is made once the
  // window's queue gets to kBuildToolTipsMessage, so that it does not hold up
  // the opening of the window; a dialog hands that message to BuildToolTips.
  BOOL EnableToolTips(BOOL enable = TRUE);

  HWND m_hWnd = nullptr;

 protected:
  void BuildToolTips();

 private:
  bool m_toolTipsOn = false;
  HWND m_toolTip = nullptr;
};

// Registers (once) and names a plain window class: class style 0, no cursor,
// brush or icon, default window procedure.
LPCSTR AfxRegisterWndClass();
