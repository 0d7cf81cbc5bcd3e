// Global hotkeys: the window procedure's side.
#pragma once

#include <windows.h>

/// A WM_HOTKEY arrived: raises the bound target's Feedback with (id, 0).
LRESULT OnHotkey(WPARAM id);
