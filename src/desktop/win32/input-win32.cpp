// Synthetic mouse and keyboard input, each gesture one SendInput batch so that
// nothing can come between its events.
#include <windows.h>

#include <array>

#include "desktop/desktop.h"

namespace {

INPUT MouseButton(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  return input;
}

INPUT Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

}  // namespace

void ClickAt(std::int32_t x, std::int32_t y, std::int32_t button) {
  if (StopRequested()) return;
  if (!::SetCursorPos(x, y)) return;
  std::array<INPUT, 4> events{};
  UINT count = 0;
  const auto add = [&](DWORD flags) { events[count++] = MouseButton(flags); };
  switch (button) {
    case 1: add(MOUSEEVENTF_LEFTDOWN), add(MOUSEEVENTF_LEFTUP), add(MOUSEEVENTF_LEFTDOWN), add(MOUSEEVENTF_LEFTUP); break;
    case 2: add(MOUSEEVENTF_RIGHTDOWN), add(MOUSEEVENTF_RIGHTUP); break;
    case 3: add(MOUSEEVENTF_RIGHTDOWN), add(MOUSEEVENTF_RIGHTUP), add(MOUSEEVENTF_RIGHTDOWN), add(MOUSEEVENTF_RIGHTUP); break;
    default: add(MOUSEEVENTF_LEFTDOWN), add(MOUSEEVENTF_LEFTUP); break;
  }
  ::SendInput(count, events.data(), sizeof(INPUT));
}

void PressKeys(std::int32_t k1, std::int32_t k2, std::int32_t k3) {
  if (StopRequested()) return;
  std::array<INPUT, 6> events{};
  UINT count = 0;
  for (const DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
    for (const std::int32_t key : {k1, k2, k3}) {
      const auto virtualKey = static_cast<WORD>(key & 0xFF);
      if (virtualKey != 0) events[count++] = Key(virtualKey, flags);
    }
  }
  if (count > 0) ::SendInput(count, events.data(), sizeof(INPUT));
}
