#pragma once
// A dialog laid out from its template for the DPI it is shown at. The dialog
// manager measures a dialog in units of its font. MS Sans Serif, the face of
// classic templates, is drawn as bitmaps for 96 and 120 DPI only: at any other
// scale the system picks the nearest bitmap, so the text and the units it sets
// stop growing while the check boxes and the caption go on, and labels are
// cut. There the dialog gets the face's scalable form at the same points and
// is laid out anew from its template in that font. A per-monitor dialog is
// laid out so after a move to a monitor of another scale too: the dialog
// manager of Windows 10 1703 and later would scale it in the template's face.
#include <windows.h>

#include "framework/Scoped.h"

class DialogLayout {
 public:
  explicit DialogLayout(UINT templateId) : m_templateId(templateId) {}

  // At WM_INITDIALOG: takes the dialog's scaling over from the dialog manager,
  // and lays it out anew when its template's face is not the one for its DPI.
  void Attach(HWND dialog);
  // At WM_DPICHANGED: lays it out for `dpi`, its top left corner where the
  // system suggests. This, and the next, are false for a template that this
  // leaves to the dialog manager (DIALOGEX, or one in the message box's font).
  bool Rescale(HWND dialog, UINT dpi, const RECT& suggested);
  // The window's size at `dpi`, for WM_GETDPISCALEDSIZE.
  bool WindowSize(HWND dialog, UINT dpi, SIZE& size) const;

 private:
  UINT m_templateId;
  ScopedFont m_font;  // the controls' font since the first layout of ours
};
