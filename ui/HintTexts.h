#pragma once
// The one-line hints shown for the calendar window's controls.

namespace ravelind {

// Hint for a control identifier, or nullptr for a control without one.
const char* HintText(int controlId);

}  // namespace ravelind
