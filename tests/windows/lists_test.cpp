// List boxes and the status bar, from the UI thread and from another thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <climits>

#include <atomic>
#include <thread>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"
#include "desktop/win32/registry-win32.h"
#include "desktop/win32/ui-thread-win32.h"
#include "test_support.h"

namespace {

constexpr ControlName kList = "待查列表";

const WindowDescription& Description() {
  using enum ControlKind;
  static const WindowDescription window{
      .name = "列表窗口",
      .caption = "列表窗口",
      .outerWidth = 300,
      .outerHeight = 300,
      .controls =
          {
              {"框", GroupBox, "", {3, 3, 130, 200}, "框"},
              {kList, ListBox, "框", {4, 14, 120, 180}, ""},
              {"状态条", StatusBar, "", {1, 240, 280, 20}, ""},
          },
      .statusBar = "状态条",
      .statusParts = {{70, "导入QQ个数"}, {190, "现在状态"}, {280, "筛选多少个QQ"}},
      .menu = {},
      .events = {},
  };
  return window;
}

std::wstring StatusText(int part) {
  wchar_t text[64]{};
  ::SendMessageW(HandleNamed("状态条"), SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text));
  return text;
}

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(CreateWindowFromDescription(Description())); }
  void TearDown() override {
    ::DestroyWindow(HandleNamed("列表窗口"));
    PumpMessages();
  }
  static void Fill(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(AppendEntry(kList, "号" + std::to_string(i)), i);
  }
};

TEST_F(ListTest, EntryAtGivesTheTextInsideAndTheEmptyTextOutside) {
  Fill(3);
  EXPECT_EQ(EntryCount(kList), 3);
  EXPECT_EQ(EntryAt(kList, 0), "号0");
  EXPECT_EQ(EntryAt(kList, 2), "号2");
  for (const std::int32_t outside : {-1, 3, 4, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(EntryAt(kList, outside), "") << outside;
  }
  RemoveAllEntries(kList);
  EXPECT_EQ(EntryCount(kList), 0);
  EXPECT_EQ(EntryAt(kList, 0), "");
}

TEST_F(ListTest, EntriesAtCopiesARangeWithEmptyTextsOutside) {
  Fill(3);
  using Texts = std::vector<std::string>;
  EXPECT_EQ(EntriesAt(kList, 0, 3), (Texts{"号0", "号1", "号2"}));
  EXPECT_EQ(EntriesAt(kList, 2, 3), (Texts{"号2", "", ""}));
  EXPECT_EQ(EntriesAt(kList, -1, 2), (Texts{"", "号0"}));
  EXPECT_EQ(EntriesAt(kList, INT_MAX, 2), (Texts{"", ""}));
  EXPECT_TRUE(EntriesAt(kList, 1, 0).empty());
  EXPECT_TRUE(EntriesAt(kList, 1, -5).empty());
}

TEST_F(ListTest, HighlightEntryClampsToTheLastEntryAndClearsBelowZero) {
  struct Case {
    int count;
    std::int32_t asked;
    LRESULT selected;
  };
  const Case cases[] = {
      {3, 0, 0}, {3, 2, 2}, {3, 3, 2}, {3, 99, 2}, {3, -1, -1}, {3, -2, -1}, {3, INT_MIN, -1}, {0, 5, -1}, {0, 0, -1},
  };
  HWND list = HandleNamed(kList);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "count " << c.count << ", asked " << c.asked);
    RemoveAllEntries(kList);
    Fill(c.count);
    ::SendMessageW(list, LB_SETCURSEL, 1, 0);
    HighlightEntry(kList, c.asked);
    EXPECT_EQ(::SendMessageW(list, LB_GETCURSEL, 0, 0), c.selected);
  }
}

TEST_F(ListTest, AppendEntriesKeepsOrderAndAddsAfterWhatIsThere) {
  AppendEntry(kList, "先");
  std::vector<std::string> texts;
  for (int i = 0; i < 2000; ++i) texts.push_back("查找" + std::to_string(i));
  AppendEntries(kList, texts);
  AppendEntries(kList, {});
  ASSERT_EQ(EntryCount(kList), 2001);
  EXPECT_EQ(EntryAt(kList, 0), "先");
  for (int i = 0; i < 2000; ++i) ASSERT_EQ(EntryAt(kList, i + 1), texts[static_cast<std::size_t>(i)]) << i;
  EXPECT_EQ(::IsWindowVisible(HandleNamed(kList)), TRUE);
}

TEST_F(ListTest, SetStatusPartSetsPartsInRangeKeepingTheirBorderAndIgnoresOthers) {
  EXPECT_EQ(StatusText(0), L"导入QQ个数");
  HWND statusBar = HandleNamed("状态条");
  ::SendMessageW(statusBar, SB_SETTEXTW, 1 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(L"现在状态"));

  for (int part = 0; part < 3; ++part) SetStatusPart(part, "部分" + std::to_string(part));
  SetStatusPart(-1, "不该出现");
  SetStatusPart(3, "不该出现");

  EXPECT_EQ(StatusText(0), L"部分0");
  EXPECT_EQ(StatusText(1), L"部分1");
  EXPECT_EQ(StatusText(2), L"部分2");
  EXPECT_EQ(::SendMessageW(statusBar, SB_GETPARTS, 0, 0), 3);
  EXPECT_EQ(HIWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHW, 0, 0)), 0);
  EXPECT_EQ(HIWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHW, 1, 0)), SBT_NOBORDERS);
}

TEST_F(ListTest, OperationsFromAnotherThreadAreCarriedOutOnTheUiThread) {
  const DWORD uiThread = ::GetCurrentThreadId();
  std::atomic<bool> done{false};
  DWORD ranOn = 0;
  std::int32_t index = -2, count = -1;
  std::string text;
  std::thread worker([&] {
    RunOnUiThread([&] { ranOn = ::GetCurrentThreadId(); });
    AppendEntries(kList, {"甲", "乙"});
    index = AppendEntry(kList, "丙");
    count = EntryCount(kList);
    text = EntryAt(kList, 1);
    HighlightEntry(kList, 7);
    SetStatusPart(1, "工作中");
    done = true;
  });
  const bool finished = PumpUntil([&] { return done.load(); });
  worker.join();
  ASSERT_TRUE(finished);
  EXPECT_EQ(ranOn, uiThread);
  EXPECT_EQ(index, 2);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(text, "乙");
  EXPECT_EQ(::SendMessageW(HandleNamed(kList), LB_GETCURSEL, 0, 0), 2);
  EXPECT_EQ(StatusText(1), L"工作中");
}

}  // namespace
