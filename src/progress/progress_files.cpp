#include "progress/progress_files.h"

#include <array>
#include <cstdint>

#include "desktop/desktop.h"
#include "progress/entries.h"
#include "progress/store.h"
#include "state/files.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"

namespace {

struct ProgressFileState {
  const char* name;
  bool unreadableAtStartup = false;
};

std::array<ProgressFileState, 3> progressFiles = {{
    {"\\已看过.txt"},
    {"\\未看过.txt"},
    {"\\已筛选.txt"},
}};

std::string earlierVisited;
std::string earlierKept;
bool visitedRecordGrew = false;

ProgressFileState& StateOf(ProgressFile file) { return progressFiles[static_cast<std::size_t>(file)]; }

std::string PathOf(ProgressFile file) { return ProgramDirectory() + StateOf(file).name; }

/// Two records in the line format: CR LF between them when both hold entries.
std::string JoinRecords(const std::string& earlier, const std::string& later) {
  if (earlier.empty()) return later;
  if (later.empty()) return earlier;
  return earlier + "\r\n" + later;
}

void StoreProgressFile(ProgressFile file, const std::string& text) {
  if (StateOf(file).unreadableAtStartup) return;
  StoreFileBytes(PathOf(file), text);
}

}  // namespace

std::string LoadProgressFile(ProgressFile file) {
  const FileRead read = ReadFileBytes(PathOf(file));
  StateOf(file).unreadableAtStartup = read.outcome == ReadOutcome::Failed;
  return read.bytes;
}

void RememberEarlierRecords() {
  earlierVisited = LoadProgressFile(ProgressFile::Visited);
  earlierKept = LoadProgressFile(ProgressFile::Kept);
  visitedRecordGrew = false;
}

void AddToVisitedRecord(const std::string& entries) {
  earlierVisited = JoinRecords(earlierVisited, entries);
  visitedRecordGrew = true;
}

void SaveProgress() {
  // One reading: the visited and pending files divide the list at one point.
  const std::int32_t cursor = programState.runCursor;
  const std::int32_t keptCount = EntryCount(FilteredList);
  if (cursor == 0 && keptCount == 0 && !visitedRecordGrew) return;

  StoreProgressFile(ProgressFile::Visited, JoinRecords(earlierVisited, JoinEntries(PendingList, 0, cursor)));
  StoreProgressFile(ProgressFile::Pending, JoinEntries(PendingList, cursor, EntryCount(PendingList) - cursor));
  if (keptCount > 0) {
    StoreProgressFile(ProgressFile::Kept, JoinRecords(earlierKept, JoinEntries(FilteredList, 0, keptCount)));
  }
}

void OnMainWindowClosing() {
  // Stopped first, so that what is saved is all the run did.
  StopWorker();
  SaveProgress();
}
