#include "state/import.h"

#include <algorithm>
#include <vector>

#include "desktop/toolkit.h"
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
  通用对话框1.mode = 0;
  通用对话框1.filter = "(文本文件)*.txt|*.txt";
  // The system dialog appends what it is given to a name typed without an
  // extension, so it gets the bare extension.
  通用对话框1.defaultExtension = "txt";
  const bool confirmed = ChooseFile(通用对话框1);
  // A cancel imports nothing; the count is shown all the same.
  ImportNumbersFromText(confirmed ? BytesToText(LoadFileBytes(通用对话框1.fileName)) : "");
}

void ClearPendingList() {
  const std::int32_t answer = ShowNotice("确定清空？", kNoticeOkCancelInformation);
  if (answer != kAnswerOk) return;
  RemoveAllEntries(PendingList);
  // The next list starts unvisited.
  programState.runCursor = 0;
}
