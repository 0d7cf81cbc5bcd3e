#include "state/chooser.h"

#include "state/program_state.h"

void PrepareTextFileChooser(std::int32_t mode) {
  通用对话框1.mode = mode;
  通用对话框1.filter = "(文本文件)*.txt|*.txt";
  // The system dialog appends what it is given to a name typed without an
  // extension, so it gets the bare extension.
  通用对话框1.defaultExtension = "txt";
}
