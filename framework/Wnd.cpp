#include "framework/Wnd.h"

CWnd::~CWnd() { DestroyWindow(); }

LPCSTR AfxRegisterWndClass() {
  constexpr LPCSTR kName = "RavelindWnd";
  WNDCLASSA wc{};
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (GetClassInfoA(instance, kName, &wc)) return kName;  // registered by an earlier window
  wc.style = 0;
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = kName;
  return RegisterClassA(&wc) ? kName : nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                    int y, int width, int height, HWND parent, HMENU menu) {
  if (className == nullptr) className = AfxRegisterWndClass();
  if (className == nullptr) return FALSE;
  m_hWnd = CreateWindowExA(exStyle, className, windowName, style, x, y, width, height, parent,
                           menu, GetModuleHandleA(nullptr), nullptr);
  return m_hWnd != nullptr;
}

BOOL CWnd::DestroyWindow() {
  // The handle stays valid for the window's own WM_DESTROY handling.
  const BOOL destroyed = m_hWnd != nullptr && IsWindow(m_hWnd) && ::DestroyWindow(m_hWnd);
  m_hWnd = nullptr;
  return destroyed;
}

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type) {
  return ::MessageBoxA(m_hWnd, text, caption, type);
}
