// The Windows entry point: hands over to the start sequence.
#include "desktop/win32/process-win32.h"
#include "state/startup.h"
#include "ui/main_window.h"

int main() {
  RestrictDllSearchToSystemDirectory();
  return RunProgram(MainWindowDescription());
}
