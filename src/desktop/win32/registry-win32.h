// The program's live windows and controls, found by the names of their
// descriptions, and the dispatch of their events. Used on the UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "desktop/toolkit.h"
#include "desktop/win32/handles-win32.h"

struct LiveControl {
  const ControlDescription* description = nullptr;  // a row of the window's own copy
  HWND handle = nullptr;
  UniqueGdiObject backBrush;  // when the description gives a back colour
  UniqueGdiObject picture;    // what a picture box shows
};

struct LiveWindow {
  WindowDescription description;  // a copy: the caller's table may go before the window
  HWND handle = nullptr;
  std::vector<LiveControl> controls;  // in table order
  std::vector<UniqueGdiObject> fonts;
};

/// Adds a window being created; the registry owns it until RemoveLiveWindow.
LiveWindow& AddLiveWindow(const WindowDescription& description);

void RemoveLiveWindow(const LiveWindow& window);

/// The live windows in the order they were created.
const std::vector<std::unique_ptr<LiveWindow>>& LiveWindows();

/// The first live window with this name, or null.
LiveWindow* WindowNamed(ControlName name);

/// The live window of this top-level handle, or null.
LiveWindow* WindowOfHandle(HWND handle);

/// The program's first top-level window still open: the main window.
HWND MainWindowHandle();

struct ControlLocation {
  LiveWindow* window = nullptr;
  LiveControl* control = nullptr;
};

/// The first live control with this name.
ControlLocation ControlNamed(ControlName name);

/// The live control of this handle.
ControlLocation ControlOfHandle(HWND handle);

/// The handle of the window or control with this name, or null.
HWND HandleNamed(ControlName name);

/// Runs the routine of the window's event row for (source, event), if any,
/// with as many of the arguments as the routine takes. The window may be gone
/// when this returns.
void RaiseEvent(const LiveWindow& window, ControlName source, Event event, std::int32_t a = 0,
                std::int32_t b = 0, std::int32_t c = 0);
