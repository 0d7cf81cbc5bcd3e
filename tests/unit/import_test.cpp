#include "state/import.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "tests/fakes/fake_desktop.h"

namespace {

using Entries = std::vector<std::string>;

constexpr std::int32_t kAnswerOk = 0;
constexpr std::int32_t kAnswerCancel = 1;

class ImportTest : public ::testing::Test {
 protected:
  void SetUp() override { fake::Reset(); }
  Entries& Pending() { return desktop.lists[std::string(PendingList)]; }
  bool Called(const std::string& prefix) const {
    return std::any_of(desktop.calls.begin(), desktop.calls.end(),
                       [&](const std::string& call) { return call.starts_with(prefix); });
  }
  fake::Desktop& desktop = fake::TheDesktop();
};

struct ImportCase {
  const char* what;
  std::string text;
  Entries expected;
};

class ImportCases : public ImportTest, public ::testing::WithParamInterface<ImportCase> {};

TEST_P(ImportCases, AppendsTheNonEmptyLines) {
  ImportNumbersFromText(GetParam().text);
  EXPECT_EQ(Pending(), GetParam().expected) << GetParam().what;
  EXPECT_EQ(desktop.statusParts[0], "导入" + std::to_string(GetParam().expected.size()) + "个QQ！");
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ImportCases,
    ::testing::Values(ImportCase{"empty lines are skipped", "111\r\n\r\n222\r\n", {"111", "222"}},
                      ImportCase{"a last line without a break is taken", "111\r\n222", {"111", "222"}},
                      ImportCase{"LF alone does not end a line", "111\n222\r\n333", {"111\n222", "333"}},
                      ImportCase{"spaces stay part of the entry", "   \r\n 12 \r\n", {"   ", " 12 "}},
                      ImportCase{"double-byte characters stay whole", "号码乗\r\n丶\r\n", {"号码乗", "丶"}},
                      ImportCase{"a lead byte at the end stays", "12\r\n34\x81", {"12", "34\x81"}},
                      ImportCase{"nothing", "", {}}, ImportCase{"only breaks", "\r\n\r\n", {}}));

TEST_F(ImportTest, ReadsOnlyTheBytesBeforeAZeroByte) {
  desktop.files["C:\\list.txt"] = std::string("111\r\n2\0" "22\r\n333", 13);
  desktop.chooserAnswers = {"C:\\list.txt"};
  ImportFromChosenFile();
  EXPECT_EQ(Pending(), (Entries{"111", "2"}));
}

TEST_F(ImportTest, CountsTheWholeListAndAppendsRepeats) {
  Pending() = {"1", "2", "3", "4", "5"};
  ImportNumbersFromText("1\r\n2\r\n3");
  EXPECT_EQ(desktop.statusParts[0], "导入8个QQ！");
  EXPECT_EQ(Pending(), (Entries{"1", "2", "3", "4", "5", "1", "2", "3"}));
}

TEST_F(ImportTest, ChoosesATextFileToOpen) {
  desktop.files["C:\\list.txt"] = "7\r\n8";
  desktop.chooserAnswers = {"C:\\list.txt"};

  ImportFromChosenFile();

  EXPECT_EQ(desktop.calls.front(), "ChooseFile 0 (文本文件)*.txt|*.txt txt ");
  EXPECT_EQ(Pending(), (Entries{"7", "8"}));
  EXPECT_EQ(通用对话框1.fileName, "C:\\list.txt");
}

TEST_F(ImportTest, ACancelledChoiceImportsNothingButShowsTheCount) {
  desktop.files["C:\\list.txt"] = "7\r\n8";
  desktop.chooserAnswers = {"C:\\list.txt", std::nullopt};
  ImportFromChosenFile();
  desktop.calls.clear();

  ImportFromChosenFile();

  EXPECT_EQ(Pending(), (Entries{"7", "8"}));
  EXPECT_FALSE(Called("ReadFileBytes"));
  EXPECT_EQ(desktop.statusParts[0], "导入2个QQ！");
  // The chooser still offers the file last confirmed.
  EXPECT_EQ(desktop.calls.front(), "ChooseFile 0 (文本文件)*.txt|*.txt txt C:\\list.txt");
}

TEST_F(ImportTest, ACancelBeforeAnyChoiceReadsNoFile) {
  desktop.chooserAnswers = {std::nullopt};
  ImportFromChosenFile();
  EXPECT_FALSE(Called("ReadFileBytes"));
  EXPECT_EQ(desktop.statusParts[0], "导入0个QQ！");
}

TEST_F(ImportTest, ClearingWithOkEmptiesTheListAndRestartsTheCursor) {
  Pending() = {"1", "2", "3"};
  programState.runCursor = 2;
  desktop.noticeAnswers = {kAnswerOk};

  ClearPendingList();

  EXPECT_EQ(desktop.calls.front(), "ShowNotice 确定清空？ 65");
  EXPECT_TRUE(Pending().empty());
  EXPECT_EQ(programState.runCursor, 0);
  EXPECT_FALSE(Called("SetStatusPart"));
}

TEST_F(ImportTest, ClearingWithCancelChangesNothing) {
  Pending() = {"1", "2", "3"};
  programState.runCursor = 2;
  desktop.noticeAnswers = {kAnswerCancel};

  ClearPendingList();

  EXPECT_EQ(Pending(), (Entries{"1", "2", "3"}));
  EXPECT_EQ(programState.runCursor, 2);
}

}  // namespace
