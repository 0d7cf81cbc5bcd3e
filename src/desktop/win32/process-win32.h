// Process-wide settings made before the program's first window.
#pragma once

/// Loads DLLs from the system directory only, never from the program's folder
/// (often a Downloads folder, where anyone may have left a DLL).
void RestrictDllSearchToSystemDirectory();
