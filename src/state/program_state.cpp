#include "state/program_state.h"

ProgramState programState;
FileChooser 通用对话框1;
