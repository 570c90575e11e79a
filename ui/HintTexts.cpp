#include "ui/HintTexts.h"

#include "res/resource.h"

namespace ravelind {
namespace {

struct Hint {
  int controlId;
  const char* text;
};

// The texts are the program's own, spelling included.
constexpr Hint kHints[] = {
    {IDOK_QUIT, "This button will save your preferences and then quit the program."},
    {IDC_CALENDAR, "Display of this months calander. Use the arrows to change month."},
    {IDC_TOOLTIPS, "Allows the user to toggle tooltips on or off."},
    {IDC_STARTMENU, "If you check this, it will load the program every time you start your pc."},
    {IDC_STARTMINIMIZED,
     "If you check this, when the program starts, it will only appear on the system tray."},
    {IDC_HELPBUTTON, "Will launch the manual in your browser."},
    {IDC_ABOUTBUTTON, "Will take you to the Ravelind website."},
};

}  // namespace

const char* HintText(int controlId) {
  for (const Hint& hint : kHints) {
    if (hint.controlId == controlId) return hint.text;
  }
  return nullptr;
}

}  // namespace ravelind
