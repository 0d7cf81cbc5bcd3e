#include "automation/run_loop.h"

#include "automation/hotkeys.h"
#include "state/import.h"
#include "tests/unit/run_fixture.h"

namespace {

using Calls = std::vector<std::string>;

TEST_F(RunTest, APassFollowsItsStepsInOrderAndTakesItsTime) {
  Pending() = {"1001"};

  RunSearchLoop();

  const Calls expected = {
      "FindTopLevelWindow TXGuiFoundation 查找",
      "FindTopLevelWindow TXGuiFoundation 查找",
      "ReadWindowRect 7",
      "WaitMs 400",
      "ClickAt 335 245 1",  // the opening point
      "WaitMs 400",
      "SetStatusPart 1 开始程序！",
      "WaitMs 400",
      "ClickAt 200 295 1",  // the search field
      "PressKeys 17 65 0",
      "PressKeys 8 0 0",
      "WaitMs 400",
      "PutClipboardText 1001",
      "HighlightEntry 列表框前 0",
      "WaitMs 400",
      "PressKeys 17 86 0",
      "WaitMs 400",
      "PressKeys 13 0 0",
      "WaitMs 1500",
      "ClickAt 155 485 1",  // the result
      "WaitMs 1500",
      "PumpMessages",
      "WaitMs 400",
      "ForegroundWindow",
      "WindowTitle 8",
      "RequestClose 8 1 1",
      "WaitMs 400",
  };
  EXPECT_EQ(desktop.calls, expected);
  // Two steps before the first pass; 5 steps and 2 search waits a pass, one step more for the close.
  EXPECT_EQ(desktop.nowMs, 2 * 400 + 5 * 400 + 2 * 1500 + 400);
  EXPECT_EQ(programState.runCursor, 1);
  EXPECT_EQ(programState.foregroundTitle, "某某的资料");
}

TEST_F(RunTest, SearchesEveryEntryInOrderAndHighlightsIt) {
  Pending() = {"1", "2", "3"};
  RunSearchLoop();
  Calls pasted, highlighted;
  for (const std::string& call : desktop.calls) {
    if (call.starts_with("PutClipboardText ")) pasted.push_back(call.substr(17));
    if (call.starts_with("HighlightEntry ")) highlighted.push_back(call);
  }
  EXPECT_EQ(pasted, (Calls{"1", "2", "3"}));
  EXPECT_EQ(highlighted, (Calls{"HighlightEntry 列表框前 0", "HighlightEntry 列表框前 1", "HighlightEntry 列表框前 2"}));
  EXPECT_EQ(programState.runCursor, 3);
  EXPECT_EQ(CountCalls("RequestClose 8 1 1"), 3U);
}

TEST_F(RunTest, TheNumberCountsAsVisitedOnceItIsHighlighted) {
  Pending() = {"1001"};
  std::vector<std::pair<std::string, std::int32_t>> cursorAfter;
  onOperation = [&](const std::string& last) { cursorAfter.emplace_back(last, programState.runCursor.load()); };
  RunSearchLoop();
  const auto at = [&](const std::string& call) {
    return std::find_if(cursorAfter.begin(), cursorAfter.end(), [&](const auto& seen) { return seen.first == call; })
        ->second;
  };
  EXPECT_EQ(at("PutClipboardText 1001"), 0);
  EXPECT_EQ(at("HighlightEntry 列表框前 0"), 1);
}

TEST_F(RunTest, ContinuesFromTheCursorAndMakesNoEmptyPasses) {
  Pending() = {"1", "2", "3"};
  programState.runCursor = 1;
  RunSearchLoop();
  EXPECT_EQ(CountCalls("PutClipboardText 2") + CountCalls("PutClipboardText 3"), 2U);
  EXPECT_EQ(CountCalls("SetStatusPart 1 开始程序！"), 2U);
  EXPECT_EQ(programState.runCursor, 3);
}

struct NoticeCase {
  const char* what;
  bool findWindowOpen;
  std::vector<std::string> pending;
  std::int32_t runCursor;
  const char* notice;
};

class RunNotices : public RunTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(RunNotices, AreShownBeforeAnything) {
  if (!GetParam().findWindowOpen) desktop.topLevelWindows.clear();
  Pending() = GetParam().pending;
  programState.runCursor = GetParam().runCursor;

  RunSearchLoop();

  EXPECT_EQ(desktop.calls.back(), std::string("ShowNotice ") + GetParam().notice + " 16") << GetParam().what;
  EXPECT_FALSE(Called("ClickAt")) << GetParam().what;
  EXPECT_EQ(programState.runCursor, GetParam().runCursor);
}

INSTANTIATE_TEST_SUITE_P(
    Start, RunNotices,
    ::testing::Values(NoticeCase{"no Find window", false, {"1"}, 0, "请打开查找窗口！"},
                      NoticeCase{"no Find window, empty list", false, {}, 0, "请打开查找窗口！"},
                      NoticeCase{"empty list", true, {}, 0, "请导入QQ！"},
                      NoticeCase{"every number visited", true, {"1", "2"}, 2, "请导入QQ！"}));

struct ForegroundCase {
  const char* what;
  WindowId window;
  const char* title;
  std::uint32_t process;
  bool closed;
};

class ForegroundWindows : public RunTest, public ::testing::WithParamInterface<ForegroundCase> {};

TEST_P(ForegroundWindows, AreClosedOnlyWhenTheyAreTheMessengersProfiles) {
  Pending() = {"1001"};
  onOperation = [&](const std::string& last) {
    if (last != "WaitMs 1500") return;
    std::lock_guard lock(fake::DesktopMutex());
    desktop.foregroundWindow = GetParam().window;
    desktop.windowTitles[GetParam().window] = GetParam().title;
    desktop.windowProcesses[GetParam().window] = GetParam().process;
  };

  RunSearchLoop();

  EXPECT_EQ(Called("RequestClose"), GetParam().closed) << GetParam().what;
  // A close is followed by its step delay; otherwise the pass ends with the title read.
  const std::string last = GetParam().closed ? "WaitMs 400" : "WindowTitle " + std::to_string(GetParam().window);
  EXPECT_EQ(desktop.calls.back(), last) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Close, ForegroundWindows,
    ::testing::Values(ForegroundCase{"a profile", 8, "资料", 900, true},
                      ForegroundCase{"a title that starts with 查找", 8, "查找结果", 900, true},
                      ForegroundCase{"the Find window", 7, "查找", 900, false},
                      ForegroundCase{"another window titled 查找", 9, "查找", 900, false},
                      ForegroundCase{"another program's window", 9, "记事本", 555, false},
                      ForegroundCase{"Tallyfox's own window", 9, "Tallyfox", 4242, false},
                      ForegroundCase{"no foreground window", 0, "", 0, false}));

TEST_F(RunTest, AClosedFindWindowEndsTheRunBeforeAnotherClickOrKey) {
  for (const char* closedAfter : {"PutClipboardText 1", "PressKeys 17 86 0", "PressKeys 13 0 0", "PumpMessages"}) {
    SCOPED_TRACE(closedAfter);
    SetUp();
    Pending() = {"1", "2"};
    std::size_t inputsBefore = 0;
    onOperation = [&](const std::string& last) {
      if (last != closedAfter || inputsBefore != 0) return;
      std::lock_guard lock(fake::DesktopMutex());
      desktop.windowProcesses.erase(kFindWindow);
      for (const std::string& call : desktop.calls) inputsBefore += call.starts_with("ClickAt") || call.starts_with("PressKeys");
    };
    RunSearchLoop();
    std::size_t inputs = 0;
    for (const std::string& call : desktop.calls) inputs += call.starts_with("ClickAt") || call.starts_with("PressKeys");
    EXPECT_EQ(inputs, inputsBefore);
    EXPECT_FALSE(Called("RequestClose"));
  }
}

TEST_F(RunTest, AHeldClipboardMakesThePassWaitForIt) {
  Pending() = {"1", "2"};
  desktop.clipboardRefusals = 2;  // another program holds it for the first two tries
  RunSearchLoop();
  // Tried until it took; only then the number is highlighted, counted and pasted.
  const std::vector<std::string> tries(std::find(desktop.calls.begin(), desktop.calls.end(), "PutClipboardText 1"),
                                       std::find(desktop.calls.begin(), desktop.calls.end(), "HighlightEntry 列表框前 0"));
  EXPECT_EQ(tries, (std::vector<std::string>{"PutClipboardText 1", "WaitMs 100", "PutClipboardText 1", "WaitMs 100",
                                             "PutClipboardText 1"}));
  EXPECT_EQ(desktop.clipboard, "2");
  EXPECT_EQ(programState.runCursor, 2);
}

TEST_F(RunTest, ClearingTheListUnderTheRunEndsIt) {
  Pending() = {"1", "2", "3"};
  desktop.noticeAnswers = {0};
  onOperation = [&](const std::string& last) {
    if (last == "PutClipboardText 2") ClearPendingList();
  };

  RunSearchLoop();

  // The number being searched when the list was cleared stays unvisited, and the
  // cursor stays where the clear put it, at the start of the next list.
  EXPECT_EQ(programState.runCursor, 0);
  EXPECT_EQ(CountCalls("PressKeys 17 86 0"), 1U);
  EXPECT_EQ(CountCalls("SetStatusPart 1 开始程序！"), 2U);
}

TEST_F(RunTest, AnEntryGoneBeforeItsPassEndsTheRun) {
  Pending() = {"1", "2", "3"};
  desktop.noticeAnswers = {0};
  onOperation = [&](const std::string& last) {
    if (last == "ForegroundWindow") ClearPendingList();
  };
  RunSearchLoop();
  EXPECT_EQ(CountCalls("PutClipboardText 1"), 1U);
  EXPECT_FALSE(Called("PutClipboardText 2"));
  EXPECT_EQ(programState.runCursor, 0);
}

}  // namespace
