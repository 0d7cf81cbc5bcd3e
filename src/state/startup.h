// The start sequence of the program and the start-up of its main window.
#pragma once

#include "desktop/toolkit.h"

/// Creates the main window from its description and serves it until it is
/// gone; returns the process's exit code, 0.
int RunProgram(const WindowDescription& mainWindow);

/// The clean-up at the orderly end of the program.
void OnProgramExit();

/// Converts the two delay boxes' texts into `stepDelayMs` and `searchWaitMs`.
void ReadDelayBoxes();

/// The main window exists: reads the delays, binds F10 and F11 and reloads the
/// numbers left unvisited.
void OnMainWindowCreated();
