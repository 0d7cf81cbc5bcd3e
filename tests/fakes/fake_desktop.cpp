#include "tests/fakes/fake_desktop.h"

#include <algorithm>
#include <variant>

#include "state/program_state.h"

namespace fake {

namespace {

Desktop desktop;
std::mutex desktopMutex;

void Record(std::string call) { desktop.calls.push_back(std::move(call)); }

std::vector<std::string>& List(ControlName list) {
  auto found = desktop.lists.find(list);
  if (found == desktop.lists.end()) found = desktop.lists.emplace(std::string(list), std::vector<std::string>{}).first;
  return found->second;
}

}  // namespace

Desktop& TheDesktop() { return desktop; }
std::mutex& DesktopMutex() { return desktopMutex; }

void Reset() {
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

// Toolkit.

bool CreateWindowFromDescription(const WindowDescription& window) {
  {
    std::lock_guard lock(desktopMutex);
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
  std::lock_guard lock(desktopMutex);
  Record("RunMessageLoop");
}

bool OpenModal(const WindowDescription& window) {
  std::lock_guard lock(desktopMutex);
  Record("OpenModal " + std::string(window.name));
  return true;
}

std::int32_t EntryCount(ControlName list) {
  std::lock_guard lock(desktopMutex);
  return static_cast<std::int32_t>(fake::List(list).size());
}

std::string EntryAt(ControlName list, std::int32_t i) {
  std::lock_guard lock(desktopMutex);
  const auto& entries = fake::List(list);
  if (i < 0 || i >= static_cast<std::int32_t>(entries.size())) return {};
  return entries[static_cast<std::size_t>(i)];
}

std::int32_t AppendEntry(ControlName list, const std::string& text) {
  std::lock_guard lock(desktopMutex);
  Record("AppendEntry " + std::string(list) + " " + text);
  auto& entries = fake::List(list);
  entries.push_back(text);
  return static_cast<std::int32_t>(entries.size()) - 1;
}

void AppendEntries(ControlName list, const std::vector<std::string>& texts) {
  std::lock_guard lock(desktopMutex);
  Record("AppendEntries " + std::string(list) + " " + std::to_string(texts.size()));
  auto& entries = fake::List(list);
  entries.insert(entries.end(), texts.begin(), texts.end());
}

void RemoveAllEntries(ControlName list) {
  std::lock_guard lock(desktopMutex);
  Record("RemoveAllEntries " + std::string(list));
  fake::List(list).clear();
}

void HighlightEntry(ControlName list, std::int32_t i) {
  std::lock_guard lock(desktopMutex);
  Record("HighlightEntry " + std::string(list) + " " + std::to_string(i));
  const auto count = static_cast<std::int32_t>(fake::List(list).size());
  desktop.selections[std::string(list)] = i >= -1 ? std::min(i, count - 1) : -1;
}

void SetStatusPart(std::int32_t i, const std::string& text) {
  std::lock_guard lock(desktopMutex);
  Record("SetStatusPart " + std::to_string(i) + " " + text);
  if (i < 0 || i >= static_cast<std::int32_t>(desktop.statusParts.size())) return;
  desktop.statusParts[static_cast<std::size_t>(i)] = text;
}

std::string EditText(ControlName editBox) {
  std::lock_guard lock(desktopMutex);
  Record("EditText " + std::string(editBox));
  return desktop.editTexts[std::string(editBox)];
}

std::int32_t ShowNotice(const std::string& text, std::int32_t style) {
  std::lock_guard lock(desktopMutex);
  Record("ShowNotice " + text + " " + std::to_string(style));
  if (desktop.noticeAnswers.empty()) return 0;
  const std::int32_t answer = desktop.noticeAnswers.front();
  desktop.noticeAnswers.pop_front();
  return answer;
}

bool ChooseFile(FileChooser& chooser) {
  std::lock_guard lock(desktopMutex);
  Record("ChooseFile " + std::to_string(chooser.mode) + " " + chooser.filter + " " + chooser.defaultExtension +
         " " + chooser.fileName);
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
    std::lock_guard lock(desktopMutex);
    Record("ShowContextMenu " + std::string(window) + " " + std::string(menu));
    choice.swap(desktop.menuChoice);
  }
  if (choice) fake::RaiseEvent(*choice, Event::Chosen);
}

void ExploreFolder(const std::string& path) {
  std::lock_guard lock(desktopMutex);
  Record("ExploreFolder " + path);
}

// Desktop.

WindowId FindTopLevelWindow(const std::string& className, const std::string& title) {
  std::lock_guard lock(desktopMutex);
  Record("FindTopLevelWindow " + className + " " + title);
  const auto found = desktop.topLevelWindows.find({className, title});
  return found == desktop.topLevelWindows.end() ? 0 : found->second;
}

ScreenRect ReadWindowRect(WindowId window) {
  std::lock_guard lock(desktopMutex);
  Record("ReadWindowRect " + std::to_string(window));
  const auto found = desktop.windowRects.find(window);
  return found == desktop.windowRects.end() ? ScreenRect{} : found->second;
}

WindowId ForegroundWindow() {
  std::lock_guard lock(desktopMutex);
  Record("ForegroundWindow");
  return desktop.foregroundWindow;
}

std::string WindowTitle(WindowId window) {
  std::lock_guard lock(desktopMutex);
  Record("WindowTitle " + std::to_string(window));
  const auto found = desktop.windowTitles.find(window);
  return found == desktop.windowTitles.end() ? std::string() : found->second;
}

void ClickAt(std::int32_t x, std::int32_t y, std::int32_t button) {
  std::lock_guard lock(desktopMutex);
  Record("ClickAt " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(button));
}

void PressKeys(std::int32_t k1, std::int32_t k2, std::int32_t k3) {
  std::lock_guard lock(desktopMutex);
  Record("PressKeys " + std::to_string(k1) + " " + std::to_string(k2) + " " + std::to_string(k3));
}

std::int32_t BindGlobalHotkey(ControlName window, ControlName target, std::int32_t modifiers, std::int32_t key) {
  std::lock_guard lock(desktopMutex);
  Record("BindGlobalHotkey " + std::string(window) + " " + std::string(target) + " " + std::to_string(modifiers) +
         " " + std::to_string(key));
  const std::int32_t id = 33000 + ++desktop.hotkeyCalls;
  return desktop.keysHeldElsewhere.contains(key) ? 0 : id;
}

bool PutClipboardText(const std::string& text) {
  std::lock_guard lock(desktopMutex);
  Record("PutClipboardText " + text);
  if (desktop.clipboardRefusals > 0) {
    --desktop.clipboardRefusals;
    return false;
  }
  desktop.clipboard = text;
  return true;
}

void WaitMs(std::int32_t ms) {
  std::lock_guard lock(desktopMutex);
  Record("WaitMs " + std::to_string(ms));
  desktop.nowMs += std::max(ms, 0);
}

void PumpMessages() {
  std::lock_guard lock(desktopMutex);
  Record("PumpMessages");
}

std::string ExecutablePath() {
  std::lock_guard lock(desktopMutex);
  return desktop.executablePath;
}

void SetCurrentDirectoryTo(const std::string& path) {
  std::lock_guard lock(desktopMutex);
  Record("SetCurrentDirectoryTo " + path);
  desktop.currentDirectory = path;
}

FileRead ReadFileBytes(const std::string& path) {
  std::lock_guard lock(desktopMutex);
  Record("ReadFileBytes " + path);
  if (desktop.unreadableFiles.contains(path)) return {ReadOutcome::Failed, {}};
  const auto found = desktop.files.find(path);
  if (found == desktop.files.end()) return {ReadOutcome::Missing, {}};
  return {ReadOutcome::Whole, found->second};
}

bool ReplaceFileBytes(const std::string& path, const std::string& data) {
  std::lock_guard lock(desktopMutex);
  Record("ReplaceFileBytes " + path);
  if (desktop.unwritableFiles.contains(path)) return false;
  desktop.files[path] = data;
  return true;
}
