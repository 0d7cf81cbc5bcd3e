#include "desktop/win32/registry-win32.h"

#include <algorithm>
#include <type_traits>

namespace {

std::vector<std::unique_ptr<LiveWindow>> liveWindows;

using NoArguments = void (*)();
using TwoArguments = void (*)(std::int32_t, std::int32_t);

}  // namespace

LiveWindow& AddLiveWindow(const WindowDescription& description) {
  auto window = std::make_unique<LiveWindow>();
  window->description = description;
  window->controls.reserve(window->description.controls.size());
  return *liveWindows.emplace_back(std::move(window));
}

void RemoveLiveWindow(const LiveWindow& window) {
  std::erase_if(liveWindows, [&](const auto& live) { return live.get() == &window; });
}

const std::vector<std::unique_ptr<LiveWindow>>& LiveWindows() { return liveWindows; }

LiveWindow* WindowNamed(ControlName name) {
  for (const auto& window : liveWindows) {
    if (window->description.name == name && window->handle) return window.get();
  }
  return nullptr;
}

LiveWindow* WindowOfHandle(HWND handle) {
  for (const auto& window : liveWindows) {
    if (window->handle == handle) return window.get();
  }
  return nullptr;
}

HWND MainWindowHandle() {
  for (const auto& window : liveWindows) {
    if (window->handle) return window->handle;
  }
  return nullptr;
}

ControlLocation ControlNamed(ControlName name) {
  for (const auto& window : liveWindows) {
    for (LiveControl& control : window->controls) {
      if (control.description->name == name) return {window.get(), &control};
    }
  }
  return {};
}

ControlLocation ControlOfHandle(HWND handle) {
  for (const auto& window : liveWindows) {
    for (LiveControl& control : window->controls) {
      if (control.handle == handle) return {window.get(), &control};
    }
  }
  return {};
}

HWND HandleNamed(ControlName name) {
  if (const LiveWindow* window = WindowNamed(name)) return window->handle;
  const ControlLocation location = ControlNamed(name);
  return location.control ? location.control->handle : nullptr;
}

void RaiseEvent(const LiveWindow& window, ControlName source, Event event, std::int32_t a, std::int32_t b,
                std::int32_t c) {
  const auto& events = window.description.events;
  const auto row = std::find_if(events.begin(), events.end(),
                                [&](const EventRow& row) { return row.source == source && row.event == event; });
  if (row == events.end()) return;
  // A copy: the routine may close the window and free its table.
  const Routine routine = row->routine;
  std::visit(
      [&](auto function) {
        if (!function) return;
        if constexpr (std::is_same_v<decltype(function), NoArguments>) {
          function();
        } else if constexpr (std::is_same_v<decltype(function), TwoArguments>) {
          function(a, b);
        } else {
          function(a, b, c);
        }
      },
      routine);
}
