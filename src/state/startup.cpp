#include "state/startup.h"

#include <cstdlib>

#include "desktop/desktop.h"
#include "progress/progress_files.h"
#include "state/delay.h"
#include "state/files.h"
#include "state/import.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "state/texts.h"

namespace {

constexpr std::int32_t kNoModifiers = 0;
constexpr std::int32_t kKeyF10 = 121;
constexpr std::int32_t kKeyF11 = 122;

}  // namespace

int RunProgram(const WindowDescription& mainWindow) {
  FixProgramDirectory();
  std::atexit(OnProgramExit);
  CreateWindowFromDescription(mainWindow);
  RunMessageLoop();
  // The worker was stopped on closing; it owns foregroundTitle until it has ended.
  JoinWorker();
  return 0;
}

void OnProgramExit() { programState.foregroundTitle = std::string(); }

void ReadDelayBoxes() {
  programState.stepDelayMs = DelayMsFromText(EditText(编辑框速度));
  programState.searchWaitMs = DelayMsFromText(EditText(编辑框等待));
}

void OnMainWindowCreated() {
  ReadDelayBoxes();
  programState.pauseHotkeyId = BindGlobalHotkey(主窗口, 标签热键, kNoModifiers, kKeyF10);
  programState.markHotkeyId = BindGlobalHotkey(主窗口, 标签热键, kNoModifiers, kKeyF11);
  programState.markRequested = 0;
  programState.runCursor = 0;
  ImportNumbersFromText(BytesToText(LoadProgressFile(ProgressFile::Pending)));
  RememberEarlierRecords();
}
