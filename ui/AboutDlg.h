#pragma once
// The About box: dialog 100, closed by its OK button.
#include "framework/Dialog.h"
#include "res/resource.h"

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(CWnd* parent = nullptr) : CDialog(IDD_ABOUTBOX, parent) {}
};
