// Synthetic clicks and chords, as the system's low-level hooks see them.
#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "test_support.h"

namespace {

bool IsButton(WPARAM message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: return true;
  }
  return false;
}

TEST(ClickAt, SendsTheButtonsEventsAtThePointAndLeavesThePointerThere) {
  struct Case {
    std::int32_t button;
    std::vector<WPARAM> expected;
  };
  const Case cases[] = {
      {1, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {2, {WM_RBUTTONDOWN, WM_RBUTTONUP}},
      {3, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP}},
      {0, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
      {7, {WM_LBUTTONDOWN, WM_LBUTTONUP}},
  };
  InputRecorder recorder;
  ASSERT_TRUE(recorder.Ready());
  // A corner of the screen where no test window lies.
  const POINT point{1200, 950};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "button " << c.button);
    ::SetCursorPos(10, 10);
    recorder.EventsUntilMarker();

    ClickAt(point.x, point.y, c.button);
    const std::vector<InputEvent> events = recorder.EventsUntilMarker();

    std::vector<WPARAM> buttons;
    bool movedAmongButtons = false;
    for (const InputEvent& event : events) {
      if (IsButton(event.message)) {
        buttons.push_back(event.message);
        EXPECT_EQ(event.at.x, point.x);
        EXPECT_EQ(event.at.y, point.y);
      } else if (event.message == WM_MOUSEMOVE && !buttons.empty()) {
        movedAmongButtons = true;
      }
    }
    EXPECT_EQ(buttons, c.expected);
    EXPECT_FALSE(movedAmongButtons);
    POINT pointer{};
    ::GetCursorPos(&pointer);
    EXPECT_EQ(pointer.x, point.x);
    EXPECT_EQ(pointer.y, point.y);
  }
}

TEST(PressKeys, PressesTheKeysDownThenUpInTheSameOrder) {
  struct Case {
    std::int32_t k1, k2, k3;
    std::vector<std::pair<WPARAM, DWORD>> expected;
  };
  const Case cases[] = {
      {VK_CONTROL, 'A', 0, {{WM_KEYDOWN, VK_CONTROL}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, VK_CONTROL}, {WM_KEYUP, 'A'}}},
      // Only the low byte counts, and a zero low byte is no key.
      {0x100 | VK_SHIFT, 0x200, 0x100 | 'B', {{WM_KEYDOWN, VK_SHIFT}, {WM_KEYDOWN, 'B'}, {WM_KEYUP, VK_SHIFT}, {WM_KEYUP, 'B'}}},
      {0, 0, VK_F9, {{WM_KEYDOWN, VK_F9}, {WM_KEYUP, VK_F9}}},
  };
  InputRecorder recorder;
  ASSERT_TRUE(recorder.Ready());
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.k1 << " " << c.k2 << " " << c.k3);
    recorder.EventsUntilMarker();
    PressKeys(c.k1, c.k2, c.k3);
    std::vector<std::pair<WPARAM, DWORD>> keys;
    for (const InputEvent& event : recorder.EventsUntilMarker()) {
      if (event.message == WM_KEYDOWN || event.message == WM_KEYUP) keys.emplace_back(event.message, event.key);
    }
    EXPECT_EQ(keys, c.expected);
    EXPECT_GE(::GetAsyncKeyState(VK_CONTROL), 0) << "Ctrl left down";
  }
}

}  // namespace
