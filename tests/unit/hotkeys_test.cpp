#include "automation/hotkeys.h"

#include <atomic>
#include <random>
// <thread> brings the clocks; <chrono> itself holds a "µs" that GBK cannot encode.
#include <thread>

#include "automation/run_loop.h"
#include "tests/unit/run_fixture.h"

namespace {

using Entries = std::vector<std::string>;

struct MarkCase {
  const char* what;
  std::vector<std::pair<std::string, int>> pressAfter;  // (call, its n-th occurrence, from 1)
  bool pressBeforeTheRun;
  Entries kept;
};

class MarkRules : public RunTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(MarkRules, KeepTheNumberOfThePassThatChecksNext) {
  Pending() = {"1", "2", "3"};
  // A press between two operations, after the n-th time a call was made; the
  // check of a pass follows its PumpMessages directly.
  onOperation = [&](const std::string& last) {
    const auto occurrence = std::count(desktop.calls.begin(), desktop.calls.end(), last);
    for (const auto& [call, n] : GetParam().pressAfter) {
      if (call == last && n == occurrence) OnHotkeyFeedback(kMark, 0);
    }
  };
  if (GetParam().pressBeforeTheRun) OnHotkeyFeedback(kMark, 0);

  RunSearchLoop();

  EXPECT_EQ(Kept(), GetParam().kept) << GetParam().what;
  EXPECT_EQ(programState.markRequested, 0);
}

INSTANTIATE_TEST_SUITE_P(
    F11, MarkRules,
    ::testing::Values(
        MarkCase{"during the second search", {{"ClickAt 155 485 1", 2}}, false, {"2"}},
        MarkCase{"three times in one pass", {{"PressKeys 13 0 0", 1}, {"ClickAt 155 485 1", 1}, {"WaitMs 1500", 2}},
                 false, {"1"}},
        MarkCase{"after the check of the first pass", {{"ForegroundWindow", 1}}, false, {"2"}},
        MarkCase{"after the check of the last pass", {{"ForegroundWindow", 3}}, false, {}},
        MarkCase{"before the run", {}, true, {"1"}},
        MarkCase{"in every pass", {{"WaitMs 1500", 2}, {"WaitMs 1500", 4}, {"WaitMs 1500", 6}}, false,
                 {"1", "2", "3"}}));

TEST_F(RunTest, KeepingShowsTheCountAndTheState) {
  Pending() = {"1"};
  OnHotkeyFeedback(kMark, 0);
  RunSearchLoop();
  const auto kept = std::find(desktop.calls.begin(), desktop.calls.end(), "AppendEntry 列表框1 1");
  ASSERT_NE(kept, desktop.calls.end());
  EXPECT_EQ(*(kept + 1), "SetStatusPart 2 筛选1个QQ!");
  EXPECT_EQ(*(kept + 2), "SetStatusPart 1 保存QQ");
}

TEST_F(RunTest, PauseWithoutARunSavesNothingAndShowsItsTexts) {
  OnHotkeyFeedback(kPause, 0);
  const Entries expected = {"SetStatusPart 1 程序暂停！", "SetStatusPart 1 保存数据完成！", "SetStatusPart 2 筛选0个QQ!"};
  EXPECT_EQ(desktop.calls, expected);
}

TEST_F(RunTest, AnUnknownIdDoesNothing) {
  programState.pauseHotkeyId = 0;  // F10 was refused: no press carries its id
  OnHotkeyFeedback(33005, 0);
  EXPECT_TRUE(desktop.calls.empty());
  EXPECT_EQ(programState.markRequested, 0);
}

/// Parks the worker before its first operation after `call` until it is told to stop.
void ParkAfter(std::string call, std::atomic<bool>& parked) {
  RunTest::onOperation = [call = std::move(call), &parked](const std::string& last) {
    if (last != call || parked) return;
    parked = true;
    for (;;) {
      {
        std::lock_guard lock(fake::DesktopMutex());
        if (fake::TheDesktop().stopRequested) return;
      }
      std::this_thread::yield();
    }
  };
}

void WaitFor(const std::atomic<bool>& flag) {
  while (!flag) std::this_thread::yield();
}

TEST_F(RunTest, PauseMidRunSavesStopsTheWorkerAndAStartResumes) {
  Pending() = {"1001", "1002", "1003"};
  std::atomic<bool> parked = false;
  ParkAfter("PutClipboardText 1002", parked);
  OnHotkeyFeedback(kMark, 0);
  StartRun();
  WaitFor(parked);

  OnHotkeyFeedback(kPause, 0);
  const std::size_t handlerReturned = desktop.calls.size();
  JoinWorker();

  EXPECT_EQ(desktop.calls.size(), handlerReturned) << desktop.calls.back();
  EXPECT_FALSE(WorkerRunning());
  EXPECT_EQ(desktop.files["C:\\Tallyfox\\已看过.txt"], "1001");
  EXPECT_EQ(desktop.files["C:\\Tallyfox\\未看过.txt"], "1002\r\n1003");
  EXPECT_EQ(desktop.files["C:\\Tallyfox\\已筛选.txt"], "1001");
  EXPECT_EQ(desktop.statusParts[1], "保存数据完成！");
  EXPECT_EQ(desktop.statusParts[2], "筛选1个QQ!");

  onOperation = nullptr;
  desktop.calls.clear();
  StartRun();
  JoinWorker();
  EXPECT_EQ(CountCalls("PutClipboardText 1002"), 1U) << ::testing::PrintToString(desktop.calls);
  EXPECT_EQ(programState.runCursor, 3);
}

TEST_F(RunTest, StartDuringARunDoesNothing) {
  Pending() = {"1", "2"};
  std::atomic<bool> parked = false;
  ParkAfter("PressKeys 13 0 0", parked);
  StartRun();
  WaitFor(parked);

  StartRun();

  EXPECT_EQ(CountCalls("LaunchWorker"), 1U);
  OnHotkeyFeedback(kPause, 0);
}

TEST_F(RunTest, StartReadsTheDelayBoxesAsTheyAreNow) {
  Pending() = {"1"};
  desktop.editTexts[std::string(编辑框速度)] = "0.1";
  desktop.editTexts[std::string(编辑框等待)] = "０．３";
  StartRun();
  JoinWorker();
  EXPECT_EQ(programState.stepDelayMs, 100);
  EXPECT_EQ(programState.searchWaitMs, 300);
  EXPECT_EQ(CountCalls("WaitMs 300"), 2U);
  EXPECT_EQ(CountCalls("WaitMs 400"), 0U);
}

TEST_F(RunTest, PausingAtAnyMomentStopsEveryStepPromptly) {
  std::mt19937 random(20261211);
  std::uniform_int_distribution<int> delayUs(0, 400);
  std::chrono::nanoseconds slowest{0};
  for (int round = 0; round < 1000; ++round) {
    fake::Reset();
    SetUp();
    fake::beforeEachOperation = nullptr;
    Pending() = {"1", "2", "3", "4", "5", "6", "7", "8"};
    desktop.foregroundWindow = kProfileWindow;
    desktop.windowTitles[kProfileWindow] = "资料";
    desktop.windowProcesses[kProfileWindow] = kMessenger;
    desktop.closesWhenAsked.clear();
    OnHotkeyFeedback(kMark, 0);

    StartRun();
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
    const auto pressed = std::chrono::steady_clock::now();
    OnHotkeyFeedback(kPause, 0);
    slowest = std::max(slowest, std::chrono::steady_clock::now() - pressed);
    std::size_t handlerReturned = 0;
    {
      std::lock_guard lock(fake::DesktopMutex());
      handlerReturned = desktop.calls.size();
    }
    JoinWorker();

    ASSERT_EQ(desktop.calls.size(), handlerReturned) << "round " << round << ": " << desktop.calls.back();
    ASSERT_FALSE(WorkerRunning());
    // The visited and pending files divide the list at one point.
    if (desktop.files.contains("C:\\Tallyfox\\未看过.txt")) {
      const std::string visited = desktop.files["C:\\Tallyfox\\已看过.txt"];
      const std::string pending = desktop.files["C:\\Tallyfox\\未看过.txt"];
      ASSERT_EQ(visited + (visited.empty() || pending.empty() ? "" : "\r\n") + pending,
                "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8")
          << "round " << round << ::testing::PrintToString(desktop.calls);
    }
  }
  EXPECT_LT(slowest, std::chrono::milliseconds(100));
}

}  // namespace
