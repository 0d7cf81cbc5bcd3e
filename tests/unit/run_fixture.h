// A desktop with the messenger's Find window open, for tests of the run.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "state/files.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "tests/fakes/fake_desktop.h"

class RunTest : public ::testing::Test {
 protected:
  static constexpr WindowId kFindWindow = 7;
  static constexpr WindowId kProfileWindow = 8;
  static constexpr std::uint32_t kMessenger = 900;
  static constexpr std::int32_t kPause = 33001;
  static constexpr std::int32_t kMark = 33002;

  void SetUp() override {
    fake::Reset();
    FixProgramDirectory();
    desktop.calls.clear();
    onOperation = nullptr;
    desktop.topLevelWindows[{"TXGuiFoundation", "查找"}] = kFindWindow;
    desktop.windowRects[kFindWindow] = {100, 200, 700, 620};
    desktop.windowProcesses[kFindWindow] = kMessenger;
    desktop.windowTitles[kFindWindow] = "查找";
    desktop.foregroundWindow = kFindWindow;
    desktop.closesWhenAsked = {kProfileWindow};
    programState.stepDelayMs = 400;
    programState.searchWaitMs = 1500;
    programState.pauseHotkeyId = kPause;
    programState.markHotkeyId = kMark;
    fake::beforeEachOperation = [] {
      {
        std::lock_guard lock(fake::DesktopMutex());
        // Every double click on the result opens the account's profile in front.
        fake::Desktop& d = fake::TheDesktop();
        if (!d.calls.empty() && d.calls.back() == "ClickAt 155 485 1") {
          d.foregroundWindow = kProfileWindow;
          d.windowTitles[kProfileWindow] = "某某的资料";
          d.windowProcesses[kProfileWindow] = kMessenger;
        }
      }
      // What the hook does calls operations too; they must not re-enter it.
      static thread_local bool inHook = false;
      if (!onOperation || inHook) return;
      inHook = true;
      onOperation(LastCall());
      inHook = false;
    };
  }
  void TearDown() override { fake::Reset(); }

  static std::string LastCall() {
    std::lock_guard lock(fake::DesktopMutex());
    const auto& calls = fake::TheDesktop().calls;
    return calls.empty() ? std::string() : calls.back();
  }
  std::vector<std::string>& Pending() { return desktop.lists[std::string(PendingList)]; }
  std::vector<std::string>& Kept() { return desktop.lists[std::string(FilteredList)]; }
  std::size_t CountCalls(const std::string& call) const {
    return static_cast<std::size_t>(std::count(desktop.calls.begin(), desktop.calls.end(), call));
  }
  bool Called(const std::string& prefix) const {
    return std::any_of(desktop.calls.begin(), desktop.calls.end(),
                       [&](const std::string& call) { return call.starts_with(prefix); });
  }

 public:
  /// Runs on the worker (or the test thread) before each operation, with the last call made.
  static inline std::function<void(const std::string&)> onOperation;

 protected:
  fake::Desktop& desktop = fake::TheDesktop();
};
