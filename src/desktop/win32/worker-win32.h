// The worker thread and its cooperative stop, for the other Windows files:
// every operation asks StopRequested() first, and every wait also ends on the
// stop event, so a stopped worker performs nothing more and ends promptly.
#pragma once

#include <windows.h>

/// True on the worker thread.
bool OnWorkerThread();

/// Set while the worker is told to stop; never set on any other thread.
HANDLE WorkerStopEvent();
