// The controls of a window built from its description: creation, fonts,
// colours, and the messages they report to their window.
#pragma once

#include <windows.h>

#include "desktop/win32/registry-win32.h"

/// Creates the window's controls in table order; false when one cannot be made.
bool CreateControls(LiveWindow& window);

/// A right press on a control, reported to its window: raises RightPressed.
LRESULT OnParentNotify(HWND window, WPARAM event, LPARAM position);

/// The answer to WM_CTLCOLORLISTBOX, EDIT and STATIC: the control's brush
/// after setting its colours, or the system's when it has none.
LRESULT OnControlColour(HWND window, UINT message, WPARAM dc, LPARAM control);
