#include "framework/Dialog.h"

#include <utility>

namespace {

// Asks a per-monitor window its size at another DPI (Windows 10 1703 and later).
constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;  // WM_GETDPISCALEDSIZE

// Messages whose result a dialog procedure returns directly instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: case WM_COMPAREITEM: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_QUERYDRAGICON: case WM_INITDIALOG:
      return true;
    default:
      return false;
  }
}

BOOL CALLBACK FindOwnedDialogOf(HWND window, LPARAM lParam) {
  auto* found = reinterpret_cast<std::pair<HWND, HWND>*>(lParam);  // owner, box
  char className[8] = {};
  if (GetWindow(window, GW_OWNER) != found->first || !IsWindowVisible(window) ||
      !IsWindowEnabled(window) || GetClassNameA(window, className, sizeof className) == 0 ||
      lstrcmpA(className, "#32770") != 0) {
    return TRUE;
  }
  found->second = window;
  return FALSE;
}

}  // namespace

HWND FindOwnedDialog(HWND owner) {
  std::pair<HWND, HWND> found{owner, nullptr};
  (void)EnumThreadWindows(GetCurrentThreadId(), FindOwnedDialogOf,
                          reinterpret_cast<LPARAM>(&found));
  return found.second;
}

const MessageEntry* MessageTable::Find(UINT message, WPARAM wParam, LPARAM lParam) const {
  UINT code = 0;
  UINT id = 0;
  if (message == WM_COMMAND) {
    code = HIWORD(wParam);
    id = LOWORD(wParam);
  } else if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    code = header->code;
    id = static_cast<UINT>(header->idFrom);
  }
  const bool registered = message >= 0xC000 && message <= 0xFFFF;
  for (std::size_t i = 0; i < count; ++i) {
    const MessageEntry& e = entries[i];
    if (e.resolve != nullptr) {
      if (registered && e.resolve() == message) return &e;
      continue;
    }
    if (e.message != message) continue;
    if (message != WM_COMMAND && message != WM_NOTIFY) return &e;
    if (e.code == code && id >= e.firstId && id <= e.lastId) return &e;
  }
  return nullptr;
}

void DDX_Check(CDataExchange* pDX, int controlId, int& value) {
  HWND dialog = pDX->m_pDlgWnd->m_hWnd;
  if (pDX->m_bSaveAndValidate) {
    value = IsDlgButtonChecked(dialog, controlId) == BST_CHECKED ? 1 : 0;
  } else {
    (void)CheckDlgButton(dialog, controlId, value ? BST_CHECKED : BST_UNCHECKED);
  }
}

void DDX_Control(CDataExchange* pDX, int controlId, CWnd& control) {
  if (control.m_hWnd == nullptr) control.m_hWnd = GetDlgItem(pDX->m_pDlgWnd->m_hWnd, controlId);
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_templateId(templateId), m_layout(templateId), m_pParentWnd(parent) {}

// A window that outlives its object goes without its handlers: they belong to
// a class that is already gone.
CDialog::~CDialog() {
  if (m_hWnd != nullptr) (void)SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
}

BOOL CDialog::Create() {
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent,
                            DialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

// The dialog runs in a message loop of our own rather than the dialog
// manager's: that one shows the window, restored, the first time its queue
// goes empty, even when the dialog minimised and hid itself while opening.
// Here, as in the classic frameworks, a dialog is shown on idle only if it
// has not been shown yet.
INT_PTR CDialog::DoModal() {
  m_inModalLoop = true;
  m_modalResult = -1;
  if (!Create()) {
    m_inModalLoop = false;
    return -1;
  }
  HWND parent = m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
  const bool parentWasEnabled = parent != nullptr && EnableWindow(parent, FALSE) == 0;
  bool showOnIdle = m_inModalLoop && !IsWindowVisible(m_hWnd);
  MSG msg;
  while (m_inModalLoop && m_hWnd != nullptr) {
    if (showOnIdle && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      (void)ShowWindow(m_hWnd, SW_SHOWNORMAL);
      showOnIdle = false;
    }
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the outer loop
      break;
    }
    if (!IsDialogMessageA(m_hWnd, &msg)) {
      (void)TranslateMessage(&msg);
      (void)DispatchMessageA(&msg);
    }
  }
  // Give the activation back to the owner before the window goes.
  if (parentWasEnabled) (void)EnableWindow(parent, TRUE);
  if (m_hWnd != nullptr) {
    (void)SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyWindow();
  }
  m_inModalLoop = false;
  return m_modalResult;
}

// A modeless dialog has no loop to end: it goes at once.
void CDialog::EndDialog(int result) {
  m_modalResult = result;
  if (!m_inModalLoop) {
    DestroyWindow();
    return;
  }
  m_inModalLoop = false;
  (void)PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop up
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

MessageTable CDialog::GetMessageTable() const { return {}; }

// The dialog manager hands every message to the dialog procedure before it
// does anything itself: told so, that procedure lets this one message through
// to the default processing. Messages sent meanwhile are handled as usual.
LRESULT CDialog::Default() {
  m_toDefault = true;
  const LRESULT result =
      DefDlgProcA(m_current.hwnd, m_current.message, m_current.wParam, m_current.lParam);
  m_toDefault = false;
  return result;
}

bool CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kBuildToolTipsMessage) {
    BuildToolTips();
    return true;
  }
  if (message == kGetDpiScaledSizeMessage &&
      m_layout.WindowSize(m_hWnd, static_cast<UINT>(wParam), *reinterpret_cast<SIZE*>(lParam))) {
    result = TRUE;
    return true;
  }
  const MessageEntry* entry = GetMessageTable().Find(message, wParam, lParam);
  if (entry != nullptr) {
    const MSG outer = std::exchange(m_current, MSG{m_hWnd, message, wParam, lParam, 0, {}});
    result = entry->invoke(*this, wParam, lParam);
    m_current = outer;
  }
  // Laid out for the new DPI after the handler, whatever its default
  // processing made of the window.
  if (message == WM_DPICHANGED &&
      m_layout.Rescale(m_hWnd, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam))) {
    return true;
  }
  if (entry != nullptr) return true;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    // Enter reaches the default button as IDOK; Esc, the close box and Close
    // on the window menu arrive as IDCANCEL.
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      return true;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      return true;
    }
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->m_hWnd = window;
    self->m_layout.Attach(window);
    return self->OnInitDialog();
  }
  auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (self == nullptr) return FALSE;  // messages before WM_INITDIALOG
  if (std::exchange(self->m_toDefault, false)) return FALSE;  // Default() asks for it

  LRESULT result = 0;
  const bool handled = self->Dispatch(message, wParam, lParam, result);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->m_hWnd = nullptr;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return static_cast<INT_PTR>(result);
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}
