#pragma once
// CDialog: a dialog from a dialog resource, modal or modeless, with a message
// table and check-box data exchange, laid out for the DPI it is shown at.
#include "framework/DialogLayout.h"
#include "framework/MessageTable.h"
#include "framework/Wnd.h"

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CWnd* m_pDlgWnd;
};

// A check box's state and an int flag, 0 or 1.
void DDX_Check(CDataExchange* pDX, int controlId, int& value);
// Binds a control wrapper to the dialog's control.
void DDX_Control(CDataExchange* pDX, int controlId, CWnd& control);

class CDialog : public CWnd {
 public:
  explicit CDialog(UINT templateId, CWnd* parent = nullptr);
  ~CDialog() override;

  // Creates the dialog window without running it; false when it could not be
  // created. The window lives until DestroyWindow, or the object's end.
  BOOL Create();
  // Creates the dialog and runs it until EndDialog; returns its result, or -1
  // when the dialog could not be created.
  virtual INT_PTR DoModal();
  void EndDialog(int result);

  // TRUE: copy the controls into the members; FALSE: the members into the controls.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

 protected:
  virtual BOOL OnInitDialog();  // the default sets the controls from the members
  virtual void OnOK();          // IDOK: update the members, then end with IDOK
  virtual void OnCancel();      // IDCANCEL: end with IDCANCEL at once
  virtual void DoDataExchange(CDataExchange* pDX);
  virtual MessageTable GetMessageTable() const;

  // Called from a message handler: the dialog manager's default processing
  // of the message being handled, done now; returns its result.
  LRESULT Default();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Runs a message through the table and the built-in commands; false when
  // the dialog manager's default processing should have it.
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  UINT m_templateId;
  DialogLayout m_layout;
  CWnd* m_pParentWnd;
  bool m_inModalLoop = false;
  INT_PTR m_modalResult = -1;
  MSG m_current{};           // the message being handled
  bool m_toDefault = false;  // Default() has handed m_current to the dialog manager
};

// The visible, enabled dialog box that `owner` owns on this thread (the About
// box or a message box it shows), or null when there is none.
HWND FindOwnedDialog(HWND owner);

// A wrapper for the month-calendar control.
class CMonthCalCtrl : public CWnd {
 public:
  ~CMonthCalCtrl() override { m_hWnd = nullptr; }  // the dialog owns the control
};
