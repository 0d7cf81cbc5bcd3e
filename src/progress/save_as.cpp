#include "progress/save_as.h"

#include <cstdint>

#include "progress/entries.h"
#include "progress/store.h"
#include "state/chooser.h"
#include "state/files.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"

namespace {

constexpr std::int32_t kNoticeError = 16;

}  // namespace

void SaveVisitedAs() {
  if (EntryCount(FilteredList) == 0) {
    ShowNotice("预保存的内容为空，请筛选后再试！", kNoticeError);
    return;
  }
  PrepareTextFileChooser(1);
  // A cancel must not write into the file last confirmed in the chooser.
  if (!ChooseFile(通用对话框1)) return;
  StoreFileBytes(通用对话框1.fileName, JoinEntries(PendingList, 0, programState.runCursor));
}

void OpenProgramFolder() { ExploreFolder(ProgramDirectory()); }
