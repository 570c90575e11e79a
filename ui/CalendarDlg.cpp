#include "ui/CalendarDlg.h"

#include "res/resource.h"
#include "tray/DayIcons.h"
#include "tray/Tray.h"
#include "ui/AboutDlg.h"
#include "ui/HintTexts.h"

namespace {

// The shell announces a re-created notification area with this message.
UINT TaskbarCreatedMessage() { return RegisterWindowMessageA("TaskbarCreated"); }

// Posted by a minimise: hide the window once the message that minimised it is done.
constexpr UINT kHideIfMinimisedMessage = WM_APP + 1;

}  // namespace

CCalendarDlg::CCalendarDlg(CWnd* parent, const Platform& platform)
    : CDialog(IDD_CALENDAR, parent),
      m_hIcon(LoadDayIcon(ravelind::DayStringAt(platform.now()))),
      m_platform(platform) {}

void CCalendarDlg::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, IDC_CALENDAR, m_calendar);
  DDX_Check(pDX, IDC_TOOLTIPS, m_tooltipsFlag);
  DDX_Check(pDX, IDC_STARTMENU, m_startupFlag);
  DDX_Check(pDX, IDC_STARTMINIMIZED, m_minimizedFlag);
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
      // machine wakes, and hiding on minimise where no paint arrives.
      OnCommand<0, ID_TRAY_ABOUT, &CCalendarDlg::OnAboutButton>(),
      OnCommand<0, ID_TRAY_HELP, &CCalendarDlg::OnHelpButton>(),
      OnRegisteredMessage<TaskbarCreatedMessage, &CCalendarDlg::OnTaskbarCreated>(),
      OnMessage<WM_TIMECHANGE, &CCalendarDlg::OnTimeChange>(),
      OnMessage<WM_POWERBROADCAST, &CCalendarDlg::OnPowerBroadcast>(),
      OnMessage<WM_SIZE, &CCalendarDlg::OnSize>(),
      OnMessage<kHideIfMinimisedMessage, &CCalendarDlg::OnHideIfMinimised>(),
  };
  return kMessages;
}

BOOL CCalendarDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutMenuItem();
  (void)SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  (void)SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  LoadSettings();
  ApplyTooltipRule();
  AddTrayIcon();
  (void)SetTimer(m_hWnd, kDayWatchTimer, kFirstTickMs, nullptr);
  if (m_settings.min == "yes") (void)ShowWindow(m_hWnd, SW_MINIMIZE);
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
    Default();  // move, minimise, close and the rest
  }
}

// Painting while minimised draws the icon and then hides the window, so that
// minimising leaves only the tray icon.
void CCalendarDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) {
    Default();
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

HCURSOR CCalendarDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

void CCalendarDlg::OnDestroy() {
  Default();
  SaveSettings();
  RemoveTrayIcon();
}

void CCalendarDlg::OnAboutButton() {
  CAboutDlg about(this);
  (void)about.DoModal();
}

void CCalendarDlg::OnHelpButton() {
  // A page that cannot be opened is not worth a message.
  (void)m_platform.shellExecute(nullptr, "open", RAVELIND_HELP_URL, nullptr, nullptr,
                                SW_SHOWNORMAL);
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
