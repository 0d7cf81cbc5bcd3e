#include "desktop/win32/hotkeys-win32.h"

#include <atomic>
#include <string>

#include "desktop/desktop.h"
#include "desktop/win32/registry-win32.h"
#include "desktop/win32/ui-thread-win32.h"

namespace {

constexpr std::int32_t kFirstHotkeyId = 33001;

std::atomic<std::int32_t> hotkeysRequested{0};
// The latest binding's target receives every press; used on the UI thread.
std::string hotkeyTarget;

UINT ModifierFlags(std::int32_t modifiers) {
  return ((modifiers & 1) ? MOD_CONTROL : 0) | ((modifiers & 2) ? MOD_SHIFT : 0) | ((modifiers & 4) ? MOD_ALT : 0);
}

}  // namespace

std::int32_t BindGlobalHotkey(ControlName window, ControlName target, std::int32_t modifiers, std::int32_t key) {
  const std::int32_t id = kFirstHotkeyId - 1 + ++hotkeysRequested;
  bool bound = false;
  RunOnUiThread([&] {
    hotkeyTarget = target;
    const LiveWindow* owner = WindowNamed(window);
    bound = owner && ::RegisterHotKey(owner->handle, id, ModifierFlags(modifiers), static_cast<UINT>(key));
  });
  return bound ? id : 0;
}

LRESULT OnHotkey(WPARAM id) {
  const auto hotkey = static_cast<std::int32_t>(id);
  if (hotkey < kFirstHotkeyId || hotkey > kFirstHotkeyId - 1 + hotkeysRequested.load()) return 0;
  const ControlLocation location = ControlNamed(hotkeyTarget);
  if (location.window) RaiseEvent(*location.window, hotkeyTarget, Event::Feedback, hotkey, 0);
  return 0;
}
