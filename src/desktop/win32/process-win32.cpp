#include "desktop/win32/process-win32.h"

#include <windows.h>

void RestrictDllSearchToSystemDirectory() {
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Also for programs that load a DLL by a plain name with the older calls.
  ::SetDllDirectoryW(L"");
}
