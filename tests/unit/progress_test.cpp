#include "progress/progress_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "progress/entries.h"
#include "progress/save_as.h"
#include "state/import.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "state/startup.h"
#include "tests/fakes/fake_desktop.h"
#include "ui/main_window.h"

namespace {

using Entries = std::vector<std::string>;

const std::string kVisited = "C:\\Tallyfox\\已看过.txt";
const std::string kPending = "C:\\Tallyfox\\未看过.txt";
const std::string kKept = "C:\\Tallyfox\\已筛选.txt";

class ProgressTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }

  /// Starts the program as a user would, on the files the desktop holds now.
  void Start() {
    const auto files = desktop.files;
    const auto unreadable = desktop.unreadableFiles;
    fake::Reset();
    desktop.files = files;
    desktop.unreadableFiles = unreadable;
    RunProgram(MainWindowDescription());
    desktop.calls.clear();
  }
  Entries& Pending() { return desktop.lists[std::string(PendingList)]; }
  Entries& Kept() { return desktop.lists[std::string(FilteredList)]; }
  bool Wrote(const std::string& path) const {
    return std::find(desktop.calls.begin(), desktop.calls.end(), "ReplaceFileBytes " + path) != desktop.calls.end();
  }

  fake::Desktop& desktop = fake::TheDesktop();
};

struct SaveCase {
  const char* what;
  std::int32_t runCursor;
  Entries kept;
  std::string visited, pending, keptFile;
};

class SaveCases : public ProgressTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveCases, WritesTheThreeFilesByteExact) {
  desktop.files[kPending] = "1001\r\n1002\r\n1003";
  Start();
  programState.runCursor = GetParam().runCursor;
  Kept() = GetParam().kept;

  SaveProgress();

  EXPECT_EQ(desktop.files[kVisited], GetParam().visited) << GetParam().what;
  EXPECT_EQ(desktop.files[kPending], GetParam().pending) << GetParam().what;
  EXPECT_EQ(desktop.files[kKept], GetParam().keptFile) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveCases,
    ::testing::Values(SaveCase{"part way", 2, {"1001"}, "1001\r\n1002", "1003", "1001"},
                      SaveCase{"nothing visited", 0, {"1002"}, "", "1001\r\n1002\r\n1003", "1002"},
                      SaveCase{"all visited", 3, {"1001", "1003"}, "1001\r\n1002\r\n1003", "", "1001\r\n1003"},
                      SaveCase{"past the end", 5, {"1001"}, "1001\r\n1002\r\n1003\r\n\r\n", "", "1001"}));

TEST_F(ProgressTest, ASessionWithNothingToRecordWritesNothing) {
  desktop.files[kPending] = "1001\r\n1002";
  Start();
  ImportNumbersFromText("1003");
  SaveProgress();
  EXPECT_FALSE(Wrote(kVisited) || Wrote(kPending) || Wrote(kKept));
  EXPECT_EQ(desktop.files.count(kVisited), 0U);
}

TEST_F(ProgressTest, TheKeptFileStaysWhileNothingIsKept) {
  desktop.files[kPending] = "1001\r\n1002";
  desktop.files[kKept] = "999";
  Start();
  programState.runCursor = 1;

  SaveProgress();

  EXPECT_EQ(desktop.files[kVisited], "1001");
  EXPECT_EQ(desktop.files[kPending], "1002");
  EXPECT_FALSE(Wrote(kKept));
}

TEST_F(ProgressTest, TwoSessionsAccumulateTheVisitedAndKeptRecords) {
  desktop.files[kPending] = "1\r\n2\r\n3\r\n4";
  Start();
  programState.runCursor = 2;
  Kept() = {"2"};
  OnMainWindowClosing();

  Start();
  EXPECT_EQ(Pending(), (Entries{"3", "4"}));
  programState.runCursor = 1;
  Kept() = {"3"};
  OnMainWindowClosing();

  EXPECT_EQ(desktop.files[kVisited], "1\r\n2\r\n3");
  EXPECT_EQ(desktop.files[kPending], "4");
  EXPECT_EQ(desktop.files[kKept], "2\r\n3");
}

TEST_F(ProgressTest, AFileUnreadableAtStartupIsNeverWritten) {
  desktop.files[kPending] = "1\r\n2";
  desktop.files[kVisited] = "old";
  desktop.unreadableFiles = {kVisited};
  Start();
  desktop.unreadableFiles.clear();  // readable again later: still left alone
  programState.runCursor = 1;
  Kept() = {"1"};

  SaveProgress();

  EXPECT_FALSE(Wrote(kVisited));
  EXPECT_EQ(desktop.files[kVisited], "old");
  EXPECT_EQ(desktop.files[kPending], "2");
  EXPECT_EQ(desktop.files[kKept], "1");
}

TEST_F(ProgressTest, AFileThatCannotBeReplacedDoesNotStopTheOthers) {
  desktop.files[kPending] = "1\r\n2";
  Start();
  desktop.unwritableFiles = {kVisited};
  programState.runCursor = 1;
  Kept() = {"1"};

  SaveProgress();

  EXPECT_EQ(desktop.files.count(kVisited), 0U);
  EXPECT_EQ(desktop.files[kPending], "2");
  EXPECT_EQ(desktop.files[kKept], "1");
}

TEST_F(ProgressTest, ClearingKeepsTheVisitedEntriesInTheVisitedFile) {
  desktop.files[kVisited] = "100";
  desktop.files[kPending] = "1\r\n2\r\n3";
  Start();
  programState.runCursor = 2;
  desktop.noticeAnswers = {0};
  ClearPendingList();
  ImportNumbersFromText("7\r\n8");

  SaveProgress();

  EXPECT_EQ(desktop.files[kVisited], "100\r\n1\r\n2");
  EXPECT_EQ(desktop.files[kPending], "7\r\n8");
  EXPECT_FALSE(Wrote(kKept));
}

TEST_F(ProgressTest, SaveAsWritesTheVisitedPart) {
  Pending() = {"1001", "1002", "1003"};
  programState.runCursor = 2;
  Kept() = {"1002"};
  desktop.chooserAnswers = {"D:\\out.txt"};

  SaveVisitedAs();

  EXPECT_EQ(desktop.calls.front(), "ChooseFile 1 (文本文件)*.txt|*.txt txt ");
  EXPECT_EQ(desktop.files["D:\\out.txt"], "1001\r\n1002");
}

TEST_F(ProgressTest, SaveAsWithNothingKeptOnlyShowsTheNotice) {
  Pending() = {"1001"};
  programState.runCursor = 1;
  SaveVisitedAs();
  EXPECT_EQ(desktop.calls, Entries{"ShowNotice 预保存的内容为空，请筛选后再试！ 16"});
}

TEST_F(ProgressTest, ACancelledSaveAsWritesNothing) {
  Pending() = {"1001"};
  programState.runCursor = 1;
  Kept() = {"1001"};
  通用对话框1.fileName = "D:\\numbers.txt";  // confirmed earlier by an import
  desktop.files["D:\\numbers.txt"] = "1001";
  desktop.chooserAnswers = {std::nullopt};

  SaveVisitedAs();

  EXPECT_FALSE(Wrote("D:\\numbers.txt"));
  EXPECT_EQ(desktop.files["D:\\numbers.txt"], "1001");
}

TEST_F(ProgressTest, SaveAsBeforeAnyVisitWritesAnEmptyFile) {
  Pending() = {"1001"};
  Kept() = {"1001"};
  desktop.chooserAnswers = {"D:\\out.txt"};
  SaveVisitedAs();
  EXPECT_EQ(desktop.files.at("D:\\out.txt"), "");
}

TEST_F(ProgressTest, OpenShowsTheProgramFolder) {
  Start();
  OpenProgramFolder();
  EXPECT_EQ(desktop.calls, Entries{"ExploreFolder C:\\Tallyfox"});
}

TEST_F(ProgressTest, JoinEntriesSeparatesWithCrLf) {
  Pending() = {"a", "", "c"};
  EXPECT_EQ(JoinEntries(PendingList, 0, 3), "a\r\n\r\nc");
  EXPECT_EQ(JoinEntries(PendingList, 2, 1), "c");
  EXPECT_EQ(JoinEntries(PendingList, 1, 0), "");
  EXPECT_EQ(JoinEntries(PendingList, 1, -4), "");
}

}  // namespace
