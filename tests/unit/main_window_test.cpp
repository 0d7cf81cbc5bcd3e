#include "ui/main_window.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "state/main_window_controls.h"
#include "tests/fakes/fake_desktop.h"
#include "ui/instructions_window.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake::Reset();
    desktop.mainWindow = &MainWindowDescription();
  }
  fake::Desktop& desktop = fake::TheDesktop();
};

TEST_F(MainWindowTest, EveryNameIsUniqueAndEveryEventHasASource) {
  const WindowDescription& window = MainWindowDescription();
  std::set<ControlName> names = {window.name};
  for (const ControlDescription& control : window.controls) {
    EXPECT_TRUE(control.parent.empty() || names.contains(control.parent)) << control.name;
    EXPECT_TRUE(names.insert(control.name).second) << control.name;
  }
  for (const MenuItemDescription& item : window.menu.items) {
    if (item.text == "-") continue;
    EXPECT_TRUE(names.insert(item.name).second) << item.name;
  }
  EXPECT_TRUE(names.contains(window.statusBar));
  for (const EventRow& row : window.events) EXPECT_TRUE(names.contains(row.source)) << row.source;
}

TEST_F(MainWindowTest, ARightPressOnThePendingListPopsUpTheImportMenu) {
  EXPECT_TRUE(fake::RaiseEvent(列表框前, Event::RightPressed, 10, 20, 0));
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"ShowContextMenu 主窗口 导入数据"});
  EXPECT_FALSE(fake::RaiseEvent(列表框1, Event::RightPressed));
}

TEST_F(MainWindowTest, TheMenuItemsRunImportAndClear) {
  desktop.menuChoice = "清空";
  desktop.noticeAnswers = {0};
  desktop.lists[std::string(PendingList)] = {"1"};
  fake::RaiseEvent(列表框前, Event::RightPressed);
  EXPECT_TRUE(desktop.lists[std::string(PendingList)].empty());

  desktop.chooserAnswers = {std::nullopt};
  EXPECT_TRUE(fake::RaiseEvent("导入", Event::Chosen));
  EXPECT_EQ(desktop.statusParts[0], "导入0个QQ！");
}

TEST_F(MainWindowTest, TheInstructionsOpenModallyFromTheMenu) {
  EXPECT_TRUE(fake::RaiseEvent("使用说明", Event::Chosen));
  EXPECT_EQ(desktop.calls, std::vector<std::string>{"OpenModal 使用说明窗口"});
}

TEST(InstructionsWindow, HoldsSevenLinesEachEndedByCrLf) {
  const std::string_view text = InstructionsWindowDescription().controls.at(0).text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
  EXPECT_TRUE(text.ends_with("群内第一时间更新！\r\n"));
  EXPECT_EQ(text.find("\n\r"), std::string_view::npos);
}

}  // namespace
