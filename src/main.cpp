// The Windows entry point: hands over to the start sequence.
#include "state/startup.h"
#include "ui/main_window.h"

int main() { return RunProgram(MainWindowDescription()); }
