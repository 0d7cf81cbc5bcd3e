// The desktop and the toolkit as plain data, for the native tests: every call
// is recorded, answers are scripted, and WaitMs advances a virtual clock.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"

namespace fake {

struct Desktop {
  std::vector<std::string> calls;  // "Operation argument argument", in call order

  // Toolkit.
  const WindowDescription* mainWindow = nullptr;
  std::map<std::string, std::vector<std::string>, std::less<>> lists;
  std::map<std::string, std::int32_t, std::less<>> selections;
  std::array<std::string, 3> statusParts;
  std::map<std::string, std::string, std::less<>> editTexts;
  std::deque<std::int32_t> noticeAnswers;                // next answers; OK (0) when none
  std::deque<std::optional<std::string>> chooserAnswers;  // a confirmed path, or nullopt: cancel
  std::optional<std::string> menuChoice;                  // the item chosen from the next pop-up

  // Desktop.
  std::map<std::pair<std::string, std::string>, WindowId> topLevelWindows;  // (class, title) -> window
  std::map<WindowId, ScreenRect> windowRects;
  std::map<WindowId, std::string> windowTitles;
  WindowId foregroundWindow = 0;
  std::map<WindowId, std::uint32_t> windowProcesses;
  std::uint32_t ownProcess = 4242;
  std::set<WindowId> closesWhenAsked;  // windows that a close request closes
  std::set<std::int32_t> keysHeldElsewhere;  // hotkeys another program has bound
  std::int32_t hotkeyCalls = 0;
  std::int32_t clipboardRefusals = 0;  // next PutClipboardText calls that fail
  std::string clipboard;
  std::int64_t nowMs = 0;
  bool stopRequested = false;  // the worker was told to stop
  std::string executablePath = "C:\\Tallyfox\\tallyfox.exe";
  std::string currentDirectory;
  std::map<std::string, std::string> files;  // path -> bytes
  std::set<std::string> unreadableFiles;     // exist, but opening them fails
  std::set<std::string> unwritableFiles;     // replacing them fails; they keep their bytes
};

/// The desktop the fakes act on; its mutex guards it against the worker thread.
Desktop& TheDesktop();
std::mutex& DesktopMutex();

/// A fresh desktop and fresh program state, as at process start; a worker
/// still running is stopped and joined first.
void Reset();

/// Runs before every operation, on the thread that calls it: a test's hook into a run.
extern void (*beforeEachOperation)();

/// Runs the routine that the main window's event table assigns to (source,
/// event), as the toolkit does; false when the table has no such row.
bool RaiseEvent(ControlName source, Event event, std::int32_t a = 0, std::int32_t b = 0,
                std::int32_t c = 0);

}  // namespace fake
