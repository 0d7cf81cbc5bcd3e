#pragma once

/// Writes the visited numbers to a file the user picks.
void SaveVisitedAs();

/// Opens the program's directory in the system's file browser.
void OpenProgramFolder();
