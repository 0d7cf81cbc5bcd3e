// The run: a worker that drives the messenger's Find window once for every
// pending number.
#pragma once

#include <string>

#include "desktop/desktop.h"

/// Start: reads the delay boxes and starts the worker, unless a run is active.
void StartRun();

/// The worker's loop, from the Find-window check to the last pass.
void RunSearchLoop();

/// Makes the foreground window's title the program's `foregroundTitle`.
std::string ReadForegroundTitle(WindowId foreground);

/// "筛选" + the number of kept entries + "个QQ!".
std::string KeptCountText();
