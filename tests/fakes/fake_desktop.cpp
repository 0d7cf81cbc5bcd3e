#include "tests/fakes/fake_desktop.h"

#include <algorithm>
#include <atomic>
#include <thread>
#include <variant>

#include "state/program_state.h"

namespace fake {

namespace {

Desktop desktop;
std::mutex desktopMutex;
std::thread worker;
std::thread::id workerId;
std::atomic<bool> workerEnded{true};

bool OnWorker() { return std::this_thread::get_id() == workerId; }

/// Whether an operation may still act: never on a worker told to stop.
bool Acts() { return !(OnWorker() && desktop.stopRequested); }

/// Records an operation that acts; false when it must not act at all.
bool Record(std::string call) {
  if (!Acts()) return false;
  desktop.calls.push_back(std::move(call));
  return true;
}

std::vector<std::string>& List(ControlName list) {
  auto found = desktop.lists.find(list);
  if (found == desktop.lists.end()) found = desktop.lists.emplace(std::string(list), std::vector<std::string>{}).first;
  return found->second;
}

}  // namespace

Desktop& TheDesktop() { return desktop; }
std::mutex& DesktopMutex() { return desktopMutex; }

void (*beforeEachOperation)() = nullptr;

void Reset() {
  StopWorker();
  JoinWorker();
  beforeEachOperation = nullptr;
  desktop = Desktop{};
  programState.stepDelayMs = 0;
  programState.searchWaitMs = 0;
  programState.pauseHotkeyId = 0;
  programState.markHotkeyId = 0;
  programState.markRequested = 0;
  programState.runCursor = 0;
  programState.foregroundTitle.clear();
  通用对话框1 = FileChooser{};
}

bool RaiseEvent(ControlName source, Event event, std::int32_t a, std::int32_t b, std::int32_t c) {
  if (desktop.mainWindow == nullptr) return false;
  const auto& events = desktop.mainWindow->events;
  const auto row = std::find_if(events.begin(), events.end(), [&](const EventRow& candidate) {
    return candidate.source == source && candidate.event == event;
  });
  if (row == events.end()) return false;
  std::visit(
      [&](auto routine) {
        using Routine = decltype(routine);
        if constexpr (std::is_same_v<Routine, void (*)()>) routine();
        if constexpr (std::is_same_v<Routine, void (*)(std::int32_t, std::int32_t)>) routine(a, b);
        if constexpr (std::is_same_v<Routine, void (*)(std::int32_t, std::int32_t, std::int32_t)>)
          routine(a, b, c);
      },
      row->routine);
  return true;
}

}  // namespace fake

using fake::desktop;
using fake::desktopMutex;
using fake::Record;

namespace {

/// Every operation starts here: a test may act between two operations.
std::unique_lock<std::mutex> BeginOperation() {
  if (fake::beforeEachOperation != nullptr) fake::beforeEachOperation();
  return std::unique_lock(desktopMutex);
}

}  // namespace

// Toolkit.

bool CreateWindowFromDescription(const WindowDescription& window) {
  {
    auto lock = BeginOperation();
    Record("CreateWindowFromDescription " + std::string(window.name));
    desktop.mainWindow = &window;
    for (const ControlDescription& control : window.controls) {
      if (control.kind == ControlKind::EditBox) desktop.editTexts[std::string(control.name)] = control.text;
    }
    for (std::size_t part = 0; part < window.statusParts.size() && part < desktop.statusParts.size(); ++part) {
      desktop.statusParts[part] = window.statusParts[part].text;
    }
  }
  fake::RaiseEvent(window.name, Event::Created);
  return true;
}

void RunMessageLoop() {
  auto lock = BeginOperation();
  Record("RunMessageLoop");
}

bool OpenModal(const WindowDescription& window) {
  auto lock = BeginOperation();
  return Record("OpenModal " + std::string(window.name));
}

std::int32_t EntryCount(ControlName list) {
  auto lock = BeginOperation();
  if (!fake::Acts()) return 0;
  return static_cast<std::int32_t>(fake::List(list).size());
}

std::string EntryAt(ControlName list, std::int32_t i) {
  auto lock = BeginOperation();
  const auto& entries = fake::List(list);
  if (!fake::Acts() || i < 0 || i >= static_cast<std::int32_t>(entries.size())) return {};
  return entries[static_cast<std::size_t>(i)];
}

std::vector<std::string> EntriesAt(ControlName list, std::int32_t first, std::int32_t count) {
  auto lock = BeginOperation();
  const auto& entries = fake::List(list);
  std::vector<std::string> copies;
  if (!fake::Acts()) return copies;
  for (std::int64_t i = first; i < std::int64_t{first} + count; ++i) {
    const bool inside = i >= 0 && i < static_cast<std::int64_t>(entries.size());
    copies.push_back(inside ? entries[static_cast<std::size_t>(i)] : std::string());
  }
  return copies;
}

std::int32_t AppendEntry(ControlName list, const std::string& text) {
  auto lock = BeginOperation();
  if (!Record("AppendEntry " + std::string(list) + " " + text)) return -1;
  auto& entries = fake::List(list);
  entries.push_back(text);
  return static_cast<std::int32_t>(entries.size()) - 1;
}

void AppendEntries(ControlName list, const std::vector<std::string>& texts) {
  auto lock = BeginOperation();
  if (!Record("AppendEntries " + std::string(list) + " " + std::to_string(texts.size()))) return;
  auto& entries = fake::List(list);
  entries.insert(entries.end(), texts.begin(), texts.end());
}

void RemoveAllEntries(ControlName list) {
  auto lock = BeginOperation();
  if (!Record("RemoveAllEntries " + std::string(list))) return;
  fake::List(list).clear();
}

void HighlightEntry(ControlName list, std::int32_t i) {
  auto lock = BeginOperation();
  if (!Record("HighlightEntry " + std::string(list) + " " + std::to_string(i))) return;
  const auto count = static_cast<std::int32_t>(fake::List(list).size());
  desktop.selections[std::string(list)] = i >= -1 ? std::min(i, count - 1) : -1;
}

void SetStatusPart(std::int32_t i, const std::string& text) {
  auto lock = BeginOperation();
  if (!Record("SetStatusPart " + std::to_string(i) + " " + text)) return;
  if (i < 0 || i >= static_cast<std::int32_t>(desktop.statusParts.size())) return;
  desktop.statusParts[static_cast<std::size_t>(i)] = text;
}

std::string EditText(ControlName editBox) {
  auto lock = BeginOperation();
  if (!Record("EditText " + std::string(editBox))) return {};
  return desktop.editTexts[std::string(editBox)];
}

std::int32_t ShowNotice(const std::string& text, std::int32_t style) {
  auto lock = BeginOperation();
  if (!Record("ShowNotice " + text + " " + std::to_string(style))) return 0;
  if (desktop.noticeAnswers.empty()) return 0;
  const std::int32_t answer = desktop.noticeAnswers.front();
  desktop.noticeAnswers.pop_front();
  return answer;
}

bool ChooseFile(FileChooser& chooser) {
  auto lock = BeginOperation();
  Record("ChooseFile " + std::to_string(chooser.mode) + " " + chooser.filter + " " + chooser.defaultExtension + " " +
         chooser.fileName);
  if (desktop.chooserAnswers.empty()) return false;
  const std::optional<std::string> answer = desktop.chooserAnswers.front();
  desktop.chooserAnswers.pop_front();
  if (!answer) return false;
  chooser.fileName = *answer;
  return true;
}

void ShowContextMenu(ControlName window, ControlName menu) {
  std::optional<std::string> choice;
  {
    auto lock = BeginOperation();
    Record("ShowContextMenu " + std::string(window) + " " + std::string(menu));
    choice.swap(desktop.menuChoice);
  }
  if (choice) fake::RaiseEvent(*choice, Event::Chosen);
}

void ExploreFolder(const std::string& path) {
  auto lock = BeginOperation();
  Record("ExploreFolder " + path);
}

// Desktop.

WindowId FindTopLevelWindow(const std::string& className, const std::string& title) {
  auto lock = BeginOperation();
  if (!Record("FindTopLevelWindow " + className + " " + title)) return 0;
  const auto found = desktop.topLevelWindows.find({className, title});
  return found == desktop.topLevelWindows.end() ? 0 : found->second;
}

ScreenRect ReadWindowRect(WindowId window) {
  auto lock = BeginOperation();
  if (!Record("ReadWindowRect " + std::to_string(window))) return {};
  const auto found = desktop.windowRects.find(window);
  return found == desktop.windowRects.end() ? ScreenRect{} : found->second;
}

WindowId ForegroundWindow() {
  auto lock = BeginOperation();
  if (!Record("ForegroundWindow")) return 0;
  return desktop.foregroundWindow;
}

std::string WindowTitle(WindowId window) {
  auto lock = BeginOperation();
  if (!Record("WindowTitle " + std::to_string(window))) return {};
  const auto found = desktop.windowTitles.find(window);
  return found == desktop.windowTitles.end() ? std::string() : found->second;
}

std::uint32_t WindowProcessId(WindowId window) {
  auto lock = BeginOperation();
  const auto found = desktop.windowProcesses.find(window);
  return !fake::Acts() || found == desktop.windowProcesses.end() ? 0 : found->second;
}

std::uint32_t OwnProcessId() { return desktop.ownProcess; }

void RequestClose(WindowId window, std::int32_t wParam, std::int32_t lParam) {
  auto lock = BeginOperation();
  if (!Record("RequestClose " + std::to_string(window) + " " + std::to_string(wParam) + " " +
              std::to_string(lParam))) {
    return;
  }
  if (!desktop.closesWhenAsked.contains(window)) return;
  desktop.windowTitles.erase(window);
  desktop.windowProcesses.erase(window);
  if (desktop.foregroundWindow == window) desktop.foregroundWindow = 0;
}

void ClickAt(std::int32_t x, std::int32_t y, std::int32_t button) {
  auto lock = BeginOperation();
  Record("ClickAt " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(button));
}

void PressKeys(std::int32_t k1, std::int32_t k2, std::int32_t k3) {
  auto lock = BeginOperation();
  Record("PressKeys " + std::to_string(k1) + " " + std::to_string(k2) + " " + std::to_string(k3));
}

std::int32_t BindGlobalHotkey(ControlName window, ControlName target, std::int32_t modifiers, std::int32_t key) {
  auto lock = BeginOperation();
  Record("BindGlobalHotkey " + std::string(window) + " " + std::string(target) + " " + std::to_string(modifiers) +
         " " + std::to_string(key));
  const std::int32_t id = 33000 + ++desktop.hotkeyCalls;
  return desktop.keysHeldElsewhere.contains(key) ? 0 : id;
}

bool PutClipboardText(const std::string& text) {
  auto lock = BeginOperation();
  if (!Record("PutClipboardText " + text)) return false;
  if (desktop.clipboardRefusals > 0) {
    --desktop.clipboardRefusals;
    return false;
  }
  desktop.clipboard = text;
  return true;
}

bool WaitMs(std::int32_t ms) {
  {
    auto lock = BeginOperation();
    if (!Record("WaitMs " + std::to_string(ms))) return false;
    desktop.nowMs += std::max(ms, 0);
  }
  // Gives a test's other thread its chance between two steps of the worker.
  std::this_thread::yield();
  std::lock_guard lock(desktopMutex);
  return fake::Acts();
}

void PumpMessages() {
  auto lock = BeginOperation();
  Record("PumpMessages");
}

bool LaunchWorker(void (*routine)()) {
  if (WorkerRunning()) return false;
  JoinWorker();
  std::lock_guard lock(desktopMutex);
  Record("LaunchWorker");
  desktop.stopRequested = false;
  fake::workerEnded = false;
  fake::worker = std::thread([routine] {
    routine();
    fake::workerEnded = true;
  });
  fake::workerId = fake::worker.get_id();
  return true;
}

bool WorkerRunning() { return !fake::workerEnded; }

bool StopRequested() {
  std::lock_guard lock(desktopMutex);
  return !fake::Acts();
}

void StopWorker() {
  {
    std::lock_guard lock(desktopMutex);
    desktop.stopRequested = true;
  }
  JoinWorker();
}

void JoinWorker() {
  if (fake::worker.joinable() && std::this_thread::get_id() != fake::workerId) fake::worker.join();
}

std::string ExecutablePath() {
  std::lock_guard lock(desktopMutex);
  return desktop.executablePath;
}

void SetCurrentDirectoryTo(const std::string& path) {
  auto lock = BeginOperation();
  Record("SetCurrentDirectoryTo " + path);
  desktop.currentDirectory = path;
}

FileRead ReadFileBytes(const std::string& path) {
  auto lock = BeginOperation();
  Record("ReadFileBytes " + path);
  if (desktop.unreadableFiles.contains(path)) return {ReadOutcome::Failed, {}};
  const auto found = desktop.files.find(path);
  if (found == desktop.files.end()) return {ReadOutcome::Missing, {}};
  return {ReadOutcome::Whole, found->second};
}

bool ReplaceFileBytes(const std::string& path, const std::string& data) {
  auto lock = BeginOperation();
  if (!Record("ReplaceFileBytes " + path)) return false;
  if (desktop.unwritableFiles.contains(path)) return false;
  desktop.files[path] = data;
  return true;
}
