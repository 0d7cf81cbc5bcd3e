// Global hotkeys: the ids count every binding, a key another program holds is
// refused, and a press raises the target's Feedback on the UI thread.
#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"
#include "desktop/win32/registry-win32.h"
#include "test_support.h"

namespace {

struct Feedback {
  std::int32_t id, extra;
  DWORD thread;
};
std::vector<Feedback> feedbacks;

void OnTargetFeedback(std::int32_t id, std::int32_t extra) {
  feedbacks.push_back({id, extra, ::GetCurrentThreadId()});
}

const WindowDescription& Description() {
  static const WindowDescription window{
      .name = "热键窗口",
      .caption = "热键窗口",
      .outerWidth = 200,
      .outerHeight = 150,
      .controls = {{"热键标签", ControlKind::Label, "", {384, 280, 40, 40}, "标签"}},
      .statusBar = "",
      .statusParts = {},
      .menu = {},
      .events = {{"热键标签", Event::Feedback, OnTargetFeedback}},
  };
  return window;
}

TEST(BindGlobalHotkey, CountsEveryBindingRefusesAHeldKeyAndReportsPressesOnTheUiThread) {
  ASSERT_TRUE(CreateWindowFromDescription(Description()));
  EXPECT_EQ(BindGlobalHotkey("热键窗口", "热键标签", 0, VK_F10), 33001);
  EXPECT_EQ(BindGlobalHotkey("热键窗口", "热键标签", 1, VK_F11), 33002);

  HelperProcess holder(L"hotkey " + std::to_wstring(MOD_ALT | MOD_SHIFT) + L" " + std::to_wstring(VK_F7));
  ASSERT_TRUE(holder.WaitReady());
  EXPECT_EQ(BindGlobalHotkey("热键窗口", "热键标签", 4 | 2, VK_F7), 0);
  EXPECT_EQ(BindGlobalHotkey("热键窗口", "热键标签", 0, VK_F8), 33004);
  EXPECT_EQ(BindGlobalHotkey("没有的窗口", "热键标签", 0, VK_F6), 0);

  PressKeys(VK_CONTROL, VK_F11);
  ASSERT_TRUE(PumpUntil([] { return !feedbacks.empty(); }));
  PressKeys(VK_F10);
  ASSERT_TRUE(PumpUntil([] { return feedbacks.size() >= 2; }));
  ASSERT_EQ(feedbacks.size(), 2u);
  EXPECT_EQ(feedbacks[0].id, 33002);
  EXPECT_EQ(feedbacks[1].id, 33001);
  for (const Feedback& feedback : feedbacks) {
    EXPECT_EQ(feedback.extra, 0);
    EXPECT_EQ(feedback.thread, ::GetCurrentThreadId());
  }
  EXPECT_TRUE(holder.Finish());
  ::DestroyWindow(HandleNamed("热键窗口"));
}

}  // namespace
