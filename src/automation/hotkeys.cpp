#include "automation/hotkeys.h"

#include "automation/run_loop.h"
#include "desktop/desktop.h"
#include "progress/progress_files.h"
#include "state/program_state.h"

void OnHotkeyFeedback(std::int32_t id, std::int32_t) {
  if (id == programState.pauseHotkeyId) {
    SetStatusPart(1, "程序暂停！");
    SaveProgress();
    SetStatusPart(1, "保存数据完成！");
    SetStatusPart(2, KeptCountText());
    StopWorker();
  } else if (id == programState.markHotkeyId) {
    programState.markRequested = 1;
  }
}
