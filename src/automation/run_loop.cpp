#include "automation/run_loop.h"

#include <cstdint>

#include "desktop/toolkit.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "state/startup.h"
#include "state/texts.h"

namespace {

constexpr std::int32_t kNoticeError = 16;
constexpr std::int32_t kDoubleClick = 1;
constexpr std::int32_t kKeyCtrl = 17, kKeyA = 65, kKeyBackspace = 8, kKeyV = 86, kKeyEnter = 13;
constexpr std::int32_t kCloseParameter = 1;
constexpr std::int32_t kClipboardRetryMs = 100;

struct Offset {
  std::int32_t x, y;
};
constexpr Offset kOpeningPoint{235, 45};
constexpr Offset kSearchFieldPoint{100, 95};
constexpr Offset kResultPoint{55, 285};

WindowId FindTheFindWindow() { return FindTopLevelWindow("TXGuiFoundation", "查找"); }

void DoubleClick(const ScreenRect& findWindow, Offset point) {
  ClickAt(findWindow.left + point.x, findWindow.top + point.y, kDoubleClick);
}

/// The step delay; false once the worker is told to stop.
bool WaitStep() { return WaitMs(programState.stepDelayMs); }
bool WaitSearch() { return WaitMs(programState.searchWaitMs); }

/// Once the Find window is gone, clicks and keys would land in whatever window
/// is in front, and Ctrl+A, Backspace would delete the user's text there.
bool FindWindowOpen(WindowId findWindow) { return WindowProcessId(findWindow) != 0; }

/// The foreground window is closed only when it is one of the messenger's own
/// windows other than its Find window: never another program's, never ours.
bool IsMessengerWindowToClose(WindowId foreground, WindowId findWindow) {
  if (programState.foregroundTitle == "查找") return false;
  const std::uint32_t process = WindowProcessId(foreground);
  return process != 0 && process == WindowProcessId(findWindow) && process != OwnProcessId();
}

/// One pass over the entry at `runCursor`; false when the run is to end.
bool RunPass(const ScreenRect& rect, WindowId findWindow) {
  SetStatusPart(1, "开始程序！");
  if (!WaitStep()) return false;
  std::int32_t i = programState.runCursor;
  // The list was cleared under the run: its entry is gone.
  if (i >= EntryCount(PendingList)) return false;
  if (!FindWindowOpen(findWindow)) return false;
  DoubleClick(rect, kSearchFieldPoint);
  PressKeys(kKeyCtrl, kKeyA);
  PressKeys(kKeyBackspace);
  if (!WaitStep()) return false;
  // While another program keeps the clipboard, the paste would be the previous
  // number, and another account would be shown and kept: the pass waits.
  while (!PutClipboardText(EntryAt(PendingList, i))) {
    if (!WaitMs(kClipboardRetryMs)) return false;
  }
  HighlightEntry(PendingList, i);
  // From here on the number counts as visited, unless the run was paused before
  // it got here; a clear since the cursor was read has reset it for the next
  // list, and this pass must not move it.
  if (StopRequested() || !programState.runCursor.compare_exchange_strong(i, i + 1)) return false;
  if (!WaitStep() || !FindWindowOpen(findWindow)) return false;
  PressKeys(kKeyCtrl, kKeyV);
  if (!WaitStep() || !FindWindowOpen(findWindow)) return false;
  PressKeys(kKeyEnter);
  if (!WaitSearch() || !FindWindowOpen(findWindow)) return false;
  DoubleClick(rect, kResultPoint);
  // The time the user has to look at the account and press F11.
  if (!WaitSearch()) return false;
  PumpMessages();
  std::int32_t marked = 1;
  if (programState.markRequested.compare_exchange_strong(marked, 0)) {
    AppendEntry(FilteredList, EntryAt(PendingList, i));
    SetStatusPart(2, KeptCountText());
    SetStatusPart(1, "保存QQ");
  }
  if (!WaitStep()) return false;
  // One look at the foreground window: the title read is the window closed.
  const WindowId foreground = ForegroundWindow();
  ReadForegroundTitle(foreground);
  if (IsMessengerWindowToClose(foreground, findWindow)) {
    RequestClose(foreground, kCloseParameter, kCloseParameter);
    if (!WaitStep()) return false;
  }
  return true;
}

}  // namespace

void StartRun() {
  // One run at a time: two workers would click the same window and share the cursor.
  if (WorkerRunning()) return;
  // Read here, so that what the boxes show is what the run uses.
  ReadDelayBoxes();
  LaunchWorker(RunSearchLoop);
}

void RunSearchLoop() {
  if (FindTheFindWindow() == 0) {
    ShowNotice("请打开查找窗口！", kNoticeError);
    return;
  }
  if (EntryCount(PendingList) <= programState.runCursor) {
    ShowNotice("请导入QQ！", kNoticeError);
    return;
  }
  // The only time the Find window is measured: it must not move during the run.
  const WindowId findWindow = FindTheFindWindow();
  const ScreenRect rect = ReadWindowRect(findWindow);
  if (!WaitStep()) return;
  DoubleClick(rect, kOpeningPoint);
  if (!WaitStep()) return;
  // One pass for each entry not yet visited, as the list stands now.
  const std::int32_t passes = EntryCount(PendingList) - programState.runCursor;
  for (std::int32_t pass = 0; pass < passes; ++pass) {
    if (!RunPass(rect, findWindow)) return;
  }
  programState.markRequested = 0;
}

std::string ReadForegroundTitle(WindowId foreground) {
  programState.foregroundTitle = WindowTitle(foreground);
  return programState.foregroundTitle;
}

std::string KeptCountText() { return "筛选" + DecimalText(EntryCount(FilteredList)) + "个QQ!"; }
