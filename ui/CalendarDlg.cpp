#include "ui/CalendarDlg.h"

#include <objbase.h>
#include <pbt.h>

#include <utility>

#include "framework/Dpi.h"
#include "framework/Paths.h"
#include "framework/Scoped.h"
#include "prefs/Autostart.h"
#include "res/resource.h"
#include "tray/DayIcons.h"
#include "ui/AboutDlg.h"
#include "ui/HintTexts.h"

using ravelind::kMin;
using ravelind::kStartup;
using ravelind::kToolTips;

namespace {

// The shell announces a re-created notification area with this message.
UINT TaskbarCreatedMessage() { return RegisterWindowMessageA("TaskbarCreated"); }

// Posted by a minimise: hide the window once the message that minimised it is done.
constexpr UINT kHideIfMinimisedMessage = WM_APP + 1;

// The tray menu opens this far to the left of the pointer.
constexpr int kTrayMenuOffsetX = 50;

// The manual shipped beside the program; the web site has it too.
constexpr wchar_t kHelpFileName[] = L"help.htm";
constexpr wchar_t kHelpAddress[] = L"" RAVELIND_HELP_URL;

}  // namespace

CCalendarDlg::CCalendarDlg(CWnd* parent, const Platform& platform)
    : CDialog(IDD_CALENDAR, parent),
      m_tray(platform),
      m_prefs(platform),
      m_autostart(platform),
      m_iconDay(m_tray.Today()),
      m_hIcon(LoadDayIcon(m_iconDay)),
      m_platform(platform) {}

void CCalendarDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CALENDAR, m_calendar);
  for (std::size_t i = 0; i < ravelind::kSettingCount; ++i) {
    const int box = ravelind::kSettings[i].checkBox;
    if (box != 0) DDX_Check(pDX, box, m_prefs.Box(static_cast<ravelind::Setting>(i)));
  }
}

MessageTable CCalendarDlg::GetMessageTable() const {
  static constexpr MessageEntry kMessages[] = {
      OnMessage<WM_SYSCOMMAND, &CCalendarDlg::OnSysCommand>(),
      OnMessage<WM_PAINT, &CCalendarDlg::OnPaint>(),
      OnMessage<WM_QUERYDRAGICON, &CCalendarDlg::OnQueryDragIcon>(),
      OnMessage<WM_DESTROY, &CCalendarDlg::OnDestroy>(),
      OnCommand<BN_CLICKED, IDC_TOOLTIPS, &CCalendarDlg::OnToolTips>(),
      OnCommand<BN_CLICKED, IDC_STARTMENU, &CCalendarDlg::OnStartMenu>(),
      OnMessage<WM_TIMER, &CCalendarDlg::OnTimer>(),
      OnCommand<BN_CLICKED, IDC_STARTMINIMIZED, &CCalendarDlg::OnStartMinimized>(),
      OnCommand<BN_CLICKED, IDC_HELPBUTTON, &CCalendarDlg::OnHelpButton>(),
      OnMessage<kTrayCallbackMessage, &CCalendarDlg::OnTrayNotify>(),
      OnCommand<BN_CLICKED, IDC_ABOUTBUTTON, &CCalendarDlg::OnAboutButton>(),
      OnNotifyRange<TTN_NEEDTEXTA, 0, 0xFFFFFFFF, &CCalendarDlg::OnToolTipNeedText>(),
      // Beyond the classic set: the tray menu's items, a re-created
      // notification area, an immediate day check when the clock is set or the
      // machine wakes, hiding on minimise where no paint arrives, the end of
      // the session, and a new display scale.
      OnCommand<0, ID_TRAY_OPEN, &CCalendarDlg::OnTrayOpen>(),
      OnCommand<0, ID_TRAY_ABOUT, &CCalendarDlg::OnAboutButton>(),
      OnCommand<0, ID_TRAY_HELP, &CCalendarDlg::OnHelpButton>(),
      OnCommand<0, ID_TRAY_QUIT, &CCalendarDlg::OnTrayQuit>(),
      OnRegisteredMessage<TaskbarCreatedMessage, &CCalendarDlg::OnTaskbarCreated>(),
      OnMessage<WM_TIMECHANGE, &CCalendarDlg::OnTimeChange>(),
      OnMessage<WM_POWERBROADCAST, &CCalendarDlg::OnPowerBroadcast>(),
      OnMessage<WM_SIZE, &CCalendarDlg::OnSize>(),
      OnMessage<kHideIfMinimisedMessage, &CCalendarDlg::OnHideIfMinimised>(),
      OnMessage<WM_QUERYENDSESSION, &CCalendarDlg::OnQueryEndSession>(),
      OnMessage<WM_ENDSESSION, &CCalendarDlg::OnEndSession>(),
      OnMessage<WM_DPICHANGED, &CCalendarDlg::OnDpiChanged>(),
  };
  return kMessages;
}

BOOL CCalendarDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_tray.Attach(m_hWnd);
  // An elevated program hears of a new task bar only when it asks to.
  (void)ChangeWindowMessageFilterEx(m_hWnd, TaskbarCreatedMessage(), MSGFLT_ALLOW, nullptr);
  AddAboutMenuItem();
  (void)SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SetSmallIcon();
  LoadSettings();
  ApplyTooltipRule();
  AddTrayIcon();
  m_tray.StartWatch();
  if (m_prefs.IsTicked(kMin)) (void)ShowWindow(m_hWnd, SW_MINIMIZE);
  return TRUE;  // focus on the first control
}

// Appends a separator and "&About Ravelind..." to the window menu.
void CCalendarDlg::AddAboutMenuItem() {
  HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  char text[64] = {};
  if (systemMenu == nullptr || LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text,
                                           sizeof text) == 0) {
    return;
  }
  (void)AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  (void)AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void CCalendarDlg::OnSysCommand(UINT id, LPARAM) {
  if ((id & 0xFFF0) == IDM_ABOUTBOX) {
    OnAboutButton();
  } else {
    (void)Default();  // move, minimise, close and the rest
  }
}

// Painting while minimised draws the icon and then hides the window, so that
// minimising leaves only the tray icon.
void CCalendarDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) {
    (void)Default();
    return;
  }
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  (void)SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  (void)GetClientRect(m_hWnd, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  (void)DrawIcon(dc, x, y, m_hIcon);
  (void)EndPaint(m_hWnd, &ps);
  (void)ShowWindow(m_hWnd, SW_HIDE);
}

// Current systems send no paint to a minimised window: hide it here as well.
// Not at once: a window minimised while it opens (start minimised) and hidden
// then would be shown again, restored, by the dialog manager right after
// WM_INITDIALOG; a minimised window still visible then is left alone.
void CCalendarDlg::OnSize(UINT type, int, int) {
  if (type == SIZE_MINIMIZED) (void)PostMessageA(m_hWnd, kHideIfMinimisedMessage, 0, 0);
}

LRESULT CCalendarDlg::OnHideIfMinimised(WPARAM, LPARAM) {
  if (IsIconic(m_hWnd)) (void)ShowWindow(m_hWnd, SW_HIDE);  // unless restored meanwhile
  return 0;
}

// The caption shows the day of the start drawn for its size, not the 32-px
// picture shrunk.
void CCalendarDlg::SetSmallIcon() {
  ScopedIcon icon = LoadDayIcon(m_iconDay, SmallIconSize(WindowDpi(m_hWnd)));
  (void)SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(icon ? icon.get() : m_hIcon));
  m_smallIcon = std::move(icon);  // the one it replaces is shown no more
}

// The display's scale changed, or the window moved to a monitor of another
// scale: the caption and, when the task bar's scale changed, the tray get
// pictures for their new size.
LRESULT CCalendarDlg::OnDpiChanged(WPARAM, LPARAM) {
  const LRESULT result = Default();
  SetSmallIcon();
  CheckDay();
  return result;
}

HCURSOR CCalendarDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CCalendarDlg::OnDestroy() {
  (void)Default();
  if (m_sessionEnded) return;
  SaveSettings();
  RemoveTrayIcon();
}

// At log-off, restart and shutdown Windows may end the process as soon as
// this returns, without destroying any window: save as closing does, but
// with no box to hold the log-off up. An installer's Restart Manager asks
// this one program to close (ENDSESSION_CLOSEAPP) while the session goes on:
// it then ends as Quit does, rather than living on out of the tray.
// Restart Manager, about to close this program for an installer, starts it
// again afterwards if asked to, in its folder, so that it finds rv.ini. Not
// at a log-off or shutdown: since Windows 10 1709 the programs registered
// then start again at the next log-on, where the Run entry starts one too.
bool CCalendarDlg::OnQueryEndSession(UINT reasons) {
  if ((reasons & ENDSESSION_CLOSEAPP) == 0 || m_restartAsked) return true;
  const std::wstring arguments = ravelind::WorkDirArguments(CurrentDirectory());
  m_restartAsked = SUCCEEDED(m_platform.registerRestart(
      arguments.c_str(), RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT));
  return true;
}

void CCalendarDlg::OnEndSession(bool ending, UINT reasons) {
  if (!ending && m_restartAsked) m_restartAsked = FAILED(m_platform.unregisterRestart());
  if (!ending || m_sessionEnded) return;  // another program cancelled it
  m_sessionEnded = true;
  (void)m_prefs.Save();
  m_tray.Retire();  // neither the watch nor a new task bar puts it back
  if ((reasons & ENDSESSION_CLOSEAPP) != 0) EndDialog(IDOK);
}

// The tray menu's About and Help arrive while a box of ours may be up; that
// box comes to the front then, and no second one stacks on it.
void CCalendarDlg::OnAboutButton() {
  if (FrontOpenBox()) return;
  CAboutDlg about(this);
  (void)about.DoModal();
}

// The manual shipped beside the program, else the web site's copy. A page
// that cannot be opened is not worth a message.
void CCalendarDlg::OnHelpButton() {
  if (FrontOpenBox()) return;
  std::wstring page = FileBesideProgram(kHelpFileName);
  if (page.empty()) page = kHelpAddress;
  // The shell may hand the launch to extensions that need COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  (void)m_platform.shellExecute(nullptr, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

// While the About box or a message box of ours is up, this window is
// disabled and that box comes to the front.
bool CCalendarDlg::FrontOpenBox() {
  HWND box = IsWindowEnabled(m_hWnd) ? nullptr : FindOwnedDialog(m_hWnd);
  if (box != nullptr) (void)SetForegroundWindow(box);
  return box != nullptr;
}

// Hands the tooltip the control's hint. Pointing at the stored text instead of
// copying it into the record's 80-byte buffer keeps long hints whole.
BOOL CCalendarDlg::OnToolTipNeedText(UINT, NMHDR* header, LRESULT* result) {
  auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
  const int controlId = GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
  if (const char* text = ravelind::HintText(controlId)) info->lpszText = const_cast<char*>(text);
  *result = 0;
  return TRUE;
}

// --- Tray icon ---

LRESULT CCalendarDlg::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
  if (wParam != kTrayIconId) return 1;
  switch (lParam) {
    case WM_LBUTTONDBLCLK:
      OnTrayOpen();
      break;
    case WM_RBUTTONDOWN:
      ShowTrayMenu(m_tray.MenuPoint());
      break;
    default:
      break;  // single clicks, releases and movement change nothing
  }
  return 1;
}

// Shows a hidden or minimised window in its normal place, on top, in front.
void CCalendarDlg::BringBack() {
  (void)ShowWindow(m_hWnd, SW_RESTORE);
  (void)SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
  (void)SetForegroundWindow(m_hWnd);
}

// The tray menu's Open, and the double click on the icon.
void CCalendarDlg::OnTrayOpen() {
  BringBack();
  (void)FrontOpenBox();  // the box stays on top of the window it belongs to
}

// Ends the program as the window's Quit does, also while it is hidden.
void CCalendarDlg::OnTrayQuit() {
  if (!FrontOpenBox()) OnOK();
}

// The menu, for the mouse and the keyboard alike, opens with today's date on
// top: the icon shows it only as a picture, and a screen reader reads it here.
void CCalendarDlg::ShowTrayMenu(POINT place) {
  ScopedMenu menu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.get(), 0);
  std::wstring date = m_tray.LongDate();
  for (std::size_t at = 0; (at = date.find(L'&', at)) != std::wstring::npos; at += 2) {
    date.insert(at, 1, L'&');  // shown as it is, not as an access key
  }
  (void)ModifyMenuW(popup, ID_TRAY_DATE, MF_BYCOMMAND | MF_STRING, ID_TRAY_DATE, date.c_str());
  // Our window must be in the foreground while the menu is up, or a click
  // elsewhere does not close it; the message posted afterwards lets it go for
  // good.
  (void)SetForegroundWindow(m_hWnd);
  const auto chosen = static_cast<UINT>(TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD,
      place.x - kTrayMenuOffsetX, place.y, 0, m_hWnd, nullptr));
  (void)PostMessageA(m_hWnd, chosen != 0 ? WM_COMMAND : WM_NULL, chosen, 0);
  // Closed with Esc, our window still in front: a keyboard user goes on from
  // the icon. A click on another window has taken the focus there instead.
  if (chosen == 0 && GetForegroundWindow() == m_hWnd) m_tray.ReturnFocus();
}

// A new task bar (Explorer restarted) has no icons: put ours back.
LRESULT CCalendarDlg::OnTaskbarCreated(WPARAM, LPARAM) {
  AddTrayIcon();
  return 0;
}

// --- Day-change watch ---

void CCalendarDlg::OnTimer(UINT_PTR) {
  m_tray.OnTick();
  (void)Default();
}

// Back from sleep, the day may have changed long ago.
BOOL CCalendarDlg::OnPowerBroadcast(UINT event, LPARAM) {
  if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) CheckDay();
  return TRUE;
}

// --- Settings file and option switches ---

void CCalendarDlg::LoadSettings() {
  m_prefs.Load();
  UpdateData(FALSE);
}

void CCalendarDlg::SaveSettings() {
  if (!m_prefs.Save()) MessageBox("Save to File", "Error Writing File", MB_OK);
}

// Hints are on at start for a stored "yes" or no value at all: loading has
// ticked the box by that rule.
void CCalendarDlg::ApplyTooltipRule() {
  (void)EnableToolTips(m_prefs.IsTicked(kToolTips) ? TRUE : FALSE);
}

void CCalendarDlg::OnToolTips() {
  UpdateData(TRUE);
  (void)EnableToolTips(m_prefs.Store(kToolTips) ? TRUE : FALSE);
  UpdateData(FALSE);
}

void CCalendarDlg::OnStartMenu() {
  UpdateData(TRUE);
  if (m_prefs.Store(kStartup)) {
    if (!m_autostart.Write()) {
      MessageBox("Unable to add program to start menu.", "Error", 0);
      m_prefs.Set(kStartup, false);
    }
  } else if (!m_autostart.Delete()) {
    // The entry is still there: say so, and show it.
    MessageBox("Unable to remove program from start menu.", "Error", 0);
    m_prefs.Set(kStartup, true);
  }
  UpdateData(FALSE);
}

void CCalendarDlg::OnStartMinimized() {
  UpdateData(TRUE);
  (void)m_prefs.Store(kMin);
  UpdateData(FALSE);
}
