#include "framework/DialogLayout.h"

#include <utility>

#include "framework/Dpi.h"
#include "framework/ProcAddress.h"

namespace {

// What a layout needs of a template in the DIALOG form (DIALOGEX is left to
// the dialog manager): its size, its font and where its controls begin.
struct Template {
  const DLGTEMPLATE* head = nullptr;
  WORD points = 0;
  const wchar_t* face = nullptr;
  const WORD* items = nullptr;
};

// Past a name, or past an ordinal (0xFFFF and its number).
const WORD* SkipName(const WORD* at) {
  if (*at == 0xFFFF) return at + 2;
  while (*at++ != 0) {}
  return at;
}

// The template's parts, and each of its controls, start on a DWORD boundary.
const WORD* AlignToDword(const WORD* at) {
  return reinterpret_cast<const WORD*>((reinterpret_cast<UINT_PTR>(at) + 3) & ~UINT_PTR{3});
}

// False for a template with no font of its own, or the message box's font.
bool ReadTemplate(UINT id, Template& t) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), RT_DIALOG);
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  t.head = static_cast<const DLGTEMPLATE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  // DIALOGEX begins with its version, 1, and 0xFFFF where DIALOG has its style.
  if (t.head == nullptr || HIWORD(t.head->style) == 0xFFFF || !(t.head->style & DS_SETFONT)) {
    return false;
  }
  const WORD* at = reinterpret_cast<const WORD*>(t.head + 1);
  at = SkipName(SkipName(SkipName(at)));  // menu, class, caption
  t.points = *at++;
  t.face = reinterpret_cast<const wchar_t*>(at);
  t.items = AlignToDword(SkipName(at));
  return t.points != 0x7FFF;
}

// The two lengths of a font that lay out a dialog: the letters' width and the
// height, and its height without its leading.
struct Metrics {
  int letters, height, em;
};
Metrics MetricsOf(HFONT font) {
  HDC screen = GetDC(nullptr);
  const HGDIOBJ old = SelectObject(screen, font);
  TEXTMETRICW text{};
  SIZE letters{};
  (void)GetTextMetricsW(screen, &text);
  (void)GetTextExtentPoint32W(screen, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz",
                              52, &letters);
  (void)SelectObject(screen, old);
  (void)ReleaseDC(nullptr, screen);
  return {letters.cx, text.tmHeight, text.tmHeight - text.tmInternalLeading};
}

// MS Sans Serif is drawn as bitmaps for 96 and 120 DPI, and a system has
// those for the DPI it started at: at another DPI, and where its size is
// missing, its TrueType form takes its place, drawn to its measures and
// shipped with every Windows since 2000.
bool NeedsScalableFace(const Template& t, HFONT font, UINT dpi) {
  if (lstrcmpiW(t.face, L"MS Sans Serif") != 0) return false;
  const int em = MulDiv(t.points, static_cast<int>(dpi), 72);
  return (dpi != 96 && dpi != 120) || MetricsOf(font).em != em;
}

// The template's font at `dpi` and its dialog units: a unit across is
// `across / perUnit` px, one down `down / 8` px.
struct Scale {
  ScopedFont font;
  int across = 0, perUnit = 4, down = 0;
  int X(int units) const { return MulDiv(units, across, perUnit); }
  int Y(int units) const { return MulDiv(units, down, 8); }
};

// The dialog manager rounds its units to whole pixels, as the template's face
// was drawn for them. The scalable face in its place gets them exact, so that
// each control keeps its share of the window: rounded, a switch 60 units wide
// can lose 6 px of the room its label had at 96 DPI.
Scale ScaleAt(const Template& t, UINT dpi) {
  auto make = [&t, dpi](const wchar_t* face) {
    return ScopedFont(CreateFontW(-MulDiv(t.points, static_cast<int>(dpi), 72), 0, 0, 0,
                                  FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                                  PROOF_QUALITY, FF_DONTCARE, face));
  };
  Scale scale{make(t.face)};
  const bool stands = scale.font && NeedsScalableFace(t, scale.font.get(), dpi);
  if (stands) scale.font = make(L"Microsoft Sans Serif");
  if (!scale.font) return scale;
  const Metrics metrics = MetricsOf(scale.font.get());
  scale.across = stands ? metrics.letters : (metrics.letters / 26 + 1) / 2;
  scale.perUnit = stands ? 4 * 52 : 4;
  scale.down = metrics.height;
  return scale;
}

// The window around the template's client area, with the frame for `dpi`
// where the system can tell it (Windows 10 1607 and later).
SIZE WindowSizeAt(HWND dialog, const Template& t, const Scale& scale, UINT dpi) {
  RECT frame{0, 0, scale.X(t.head->cx), scale.Y(t.head->cy)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE));
  const BOOL menu = GetMenu(dialog) != nullptr;
  const auto adjustForDpi = SystemCall<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>(
      "user32.dll", "AdjustWindowRectExForDpi");
  if (adjustForDpi != nullptr) {
    (void)adjustForDpi(&frame, style, menu, exStyle, dpi);
  } else {
    (void)AdjustWindowRectEx(&frame, style, menu, exStyle);
  }
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// Sizes the window and places and sizes each control as the dialog manager
// does from the template, in the font for `dpi`, which `kept` then holds;
// false when no font could be made.
bool Apply(HWND dialog, const Template& t, UINT dpi, POINT topLeft, ScopedFont& kept) {
  Scale scale = ScaleAt(t, dpi);
  if (!scale.font) return false;
  const SIZE window = WindowSizeAt(dialog, t, scale, dpi);
  constexpr UINT kJustPlace = SWP_NOZORDER | SWP_NOACTIVATE;
  (void)SetWindowPos(dialog, nullptr, topLeft.x, topLeft.y, window.cx, window.cy, kJustPlace);
  // The controls stand in the template's order, which is their order among
  // the dialog's children.
  const WORD* at = t.items;
  HWND control = GetWindow(dialog, GW_CHILD);
  for (WORD i = 0; i < t.head->cdit && control != nullptr; ++i) {
    const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
    const WORD* kind = reinterpret_cast<const WORD*>(item + 1);
    at = SkipName(SkipName(kind));  // class, text
    at = AlignToDword(at + 1 + *at / sizeof(WORD));  // past the creation data
    // A static icon keeps its icon's size, as the dialog manager leaves it.
    const bool icon = kind[0] == 0xFFFF && kind[1] == 0x0082 &&
                      (item->style & SS_TYPEMASK) == SS_ICON;
    (void)SetWindowPos(control, nullptr, scale.X(item->x), scale.Y(item->y), scale.X(item->cx),
                       scale.Y(item->cy), kJustPlace | (icon ? SWP_NOSIZE : 0));
    (void)SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(scale.font.get()), FALSE);
    control = GetWindow(control, GW_HWNDNEXT);
  }
  kept = std::move(scale.font);  // the one it replaces is in use no more
  (void)RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  return true;
}

}  // namespace

void DialogLayout::Attach(HWND dialog) {
  Template t;
  if (!ReadTemplate(m_templateId, t)) return;  // the dialog manager scales it
  using SetBehavior =
      BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
  const auto setBehavior = SystemCall<SetBehavior>("user32.dll", "SetDialogDpiChangeBehavior");
  if (setBehavior != nullptr) (void)setBehavior(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
  const UINT dpi = WindowDpi(dialog);
  const auto made = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  if (!NeedsScalableFace(t, made, dpi)) return;  // as the dialog manager made it
  RECT place{};
  (void)GetWindowRect(dialog, &place);
  (void)MapWindowPoints(HWND_DESKTOP, GetAncestor(dialog, GA_PARENT),
                        reinterpret_cast<POINT*>(&place), 1);  // a child's place in its parent
  (void)Apply(dialog, t, dpi, {place.left, place.top}, m_font);
}

bool DialogLayout::Rescale(HWND dialog, UINT dpi, const RECT& suggested) {
  Template t;
  return ReadTemplate(m_templateId, t) &&
         Apply(dialog, t, dpi, {suggested.left, suggested.top}, m_font);
}

bool DialogLayout::WindowSize(HWND dialog, UINT dpi, SIZE& size) const {
  Template t;
  if (!ReadTemplate(m_templateId, t)) return false;
  const Scale scale = ScaleAt(t, dpi);
  if (!scale.font) return false;
  size = WindowSizeAt(dialog, t, scale, dpi);
  return true;
}
