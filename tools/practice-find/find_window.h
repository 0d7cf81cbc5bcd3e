// The stand-in Find window: class "TXGuiFoundation", title "查找", frameless, so
// that offsets from its top-left corner are client coordinates.
#pragma once

#include <windows.h>

namespace practice {

/// Creates and shows the Find window with its top-left corner at the place; null on failure.
/// Its destruction posts WM_QUIT.
HWND CreateFindWindow(POINT topLeft, bool hangProfiles);

}  // namespace practice
