#include "state/import.h"

#include <algorithm>
#include <vector>

#include "desktop/toolkit.h"
#include "progress/entries.h"
#include "progress/progress_files.h"
#include "state/chooser.h"
#include "state/files.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "state/texts.h"

namespace {

constexpr std::int32_t kNoticeOkCancelInformation = 65;
constexpr std::int32_t kAnswerOk = 0;

}  // namespace

void ImportNumbersFromText(const std::string& text) {
  std::vector<std::string> pieces = SplitByDelimiter(text, "\r\n");
  std::erase_if(pieces, [](const std::string& piece) { return piece.empty(); });
  AppendEntries(PendingList, pieces);
  SetStatusPart(0, "导入" + DecimalText(EntryCount(PendingList)) + "个QQ！");
}

void ImportFromChosenFile() {
  PrepareTextFileChooser(0);
  const bool confirmed = ChooseFile(通用对话框1);
  // A cancel imports nothing; the count is shown all the same.
  ImportNumbersFromText(confirmed ? BytesToText(LoadFileBytes(通用对话框1.fileName)) : "");
}

void ClearPendingList() {
  const std::int32_t answer = ShowNotice("确定清空？", kNoticeOkCancelInformation);
  if (answer != kAnswerOk) return;
  // The visited entries stay in the visited file; the next list starts unvisited.
  const std::int32_t cursor = programState.runCursor;
  if (cursor > 0) AddToVisitedRecord(JoinEntries(PendingList, 0, cursor));
  RemoveAllEntries(PendingList);
  programState.runCursor = 0;
}
