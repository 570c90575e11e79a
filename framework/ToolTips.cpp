// Window-level control hints: one tooltip control per window, with a tool for
// each child control whose text is asked of the window when it is needed.
#include "framework/Wnd.h"

#include <commctrl.h>

namespace {

BOOL CALLBACK AddControlTool(HWND control, LPARAM lParam) {
  auto* toolTip = reinterpret_cast<HWND>(lParam);
  TTTOOLINFOA tool{};
  // The version-2 size, which every comctl32 accepts, manifest or not.
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  (void)SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  return TRUE;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL enable) {
  m_toolTipsOn = enable != FALSE;
  if (!m_toolTipsOn) {
    // Gone rather than deactivated: a deactivated tooltip may still show a
    // tip whose delay had already started.
    if (m_toolTip != nullptr) (void)::DestroyWindow(m_toolTip);
    m_toolTip = nullptr;
    return TRUE;
  }
  if (m_toolTip == nullptr) return PostMessageA(m_hWnd, kBuildToolTipsMessage, 0, 0);
  (void)SendMessageA(m_toolTip, TTM_ACTIVATE, TRUE, 0);
  return TRUE;
}

void CWnd::BuildToolTips() {
  if (!m_toolTipsOn || m_toolTip != nullptr) return;  // switched off meanwhile, or built
  // Owned by this window, so it goes when the window goes.
  m_toolTip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
  if (m_toolTip == nullptr) return;
  (void)EnumChildWindows(m_hWnd, AddControlTool, reinterpret_cast<LPARAM>(m_toolTip));
  (void)SendMessageA(m_toolTip, TTM_ACTIVATE, TRUE, 0);
}
