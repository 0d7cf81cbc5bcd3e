#include "state/startup.h"

#include <gtest/gtest.h>

#include "state/files.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "tests/fakes/fake_desktop.h"
#include "ui/main_window.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  fake::Desktop& desktop = fake::TheDesktop();
};

TEST_F(StartupTest, RunsTheStartSequenceInOrder) {
  desktop.files["C:\\Tallyfox\\未看过.txt"] = "111\r\n222";

  EXPECT_EQ(RunProgram(MainWindowDescription()), 0);

  const std::vector<std::string> expected = {
      "SetCurrentDirectoryTo C:\\Tallyfox",
      "CreateWindowFromDescription 主窗口",
      "EditText 编辑框速度",
      "EditText 编辑框等待",
      "BindGlobalHotkey 主窗口 标签热键 0 121",
      "BindGlobalHotkey 主窗口 标签热键 0 122",
      "ReadFileBytes C:\\Tallyfox\\未看过.txt",
      "AppendEntries 列表框前 2",
      "SetStatusPart 0 导入2个QQ！",
      "ReadFileBytes C:\\Tallyfox\\已看过.txt",
      "ReadFileBytes C:\\Tallyfox\\已筛选.txt",
      "RunMessageLoop",
  };
  EXPECT_EQ(desktop.calls, expected);
  EXPECT_EQ(programState.stepDelayMs, 400);
  EXPECT_EQ(programState.searchWaitMs, 1500);
  EXPECT_EQ(programState.pauseHotkeyId, 33001);
  EXPECT_EQ(programState.markHotkeyId, 33002);
  EXPECT_EQ(desktop.lists[std::string(PendingList)], (std::vector<std::string>{"111", "222"}));
}

TEST_F(StartupTest, AMissingPendingFileShowsACountOfZero) {
  RunProgram(MainWindowDescription());
  EXPECT_EQ(desktop.statusParts[0], "导入0个QQ！");
  EXPECT_EQ(desktop.statusParts[0], "\xB5\xBC\xC8\xEB" "0\xB8\xF6QQ\xA3\xA1");
  EXPECT_TRUE(desktop.lists[std::string(PendingList)].empty());
}

TEST_F(StartupTest, StoresARefusedHotkeyAsZeroAndBindsTheNext) {
  desktop.keysHeldElsewhere = {121};
  RunProgram(MainWindowDescription());
  EXPECT_EQ(programState.pauseHotkeyId, 0);
  EXPECT_EQ(programState.markHotkeyId, 33002);
}

TEST_F(StartupTest, ResetsTheRunStateAndReadsTheDelayBoxes) {
  programState.markRequested = 1;
  programState.runCursor = 7;
  desktop.editTexts[std::string(编辑框速度)] = "０．５";
  desktop.editTexts[std::string(编辑框等待)] = "2 秒";

  OnMainWindowCreated();

  EXPECT_EQ(programState.markRequested, 0);
  EXPECT_EQ(programState.runCursor, 0);
  EXPECT_EQ(programState.stepDelayMs, 500);
  EXPECT_EQ(programState.searchWaitMs, 2000);
}

TEST_F(StartupTest, ProgramDirectoryIgnoresBackslashTrailBytes) {
  // "乗" is 0x81 0x5C: a byte-wise search would cut the file name in two.
  desktop.executablePath = "D:\\工具\\数据乗.exe";
  FixProgramDirectory();
  EXPECT_EQ(ProgramDirectory(), "D:\\工具");
  EXPECT_EQ(desktop.currentDirectory, "D:\\工具");
}

TEST_F(StartupTest, ExitReleasesTheForegroundTitle) {
  programState.foregroundTitle = "资料卡";
  OnProgramExit();
  EXPECT_TRUE(programState.foregroundTitle.empty());
}

}  // namespace
