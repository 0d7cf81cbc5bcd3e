#include "ui/main_window.h"

#include "automation/hotkeys.h"
#include "automation/run_loop.h"
#include "progress/progress_files.h"
#include "progress/save_as.h"
#include "state/import.h"
#include "state/main_window_controls.h"
#include "state/startup.h"
#include "ui/instructions_window.h"

namespace {

constexpr ControlName 导入数据 = "导入数据";

constexpr Rgb kBlue{0, 0, 255};
constexpr FontDescription kListFont{16, true};

using enum ControlKind;

// The hotkey labels lie beyond the right edge: they only receive the hotkeys.
const WindowDescription kMainWindow{
    .name = 主窗口,
    .caption = "Tallyfox",
    .outerWidth = 278,
    .outerHeight = 360,
    .controls =
        {
            {"分组框1", GroupBox, "", {3, 3, 130, 245}, "导入要筛选的QQ"},
            {列表框前, ListBox, "分组框1", {4, 14, 120, 220}, "", kBlue, Rgb{128, 128, 255}, kListFont},
            {"分组框2", GroupBox, "", {138, 3, 130, 245}, "筛选后的"},
            {列表框1, ListBox, "分组框2", {5, 14, 120, 220}, "", kBlue, Rgb{0, 224, 128}, kListFont},
            {"标签1", Label, "", {13, 260, 32, 20}, "速度"},
            {编辑框速度, EditBox, "", {48, 260, 24, 20}, "0.4"},
            {"标签2", Label, "", {75, 258, 24, 24}, "秒"},
            {"标签4", Label, "", {139, 260, 48, 20}, "查找等待"},
            {编辑框等待, EditBox, "", {188, 260, 24, 20}, "1.5"},
            {"标签3", Label, "", {219, 257, 24, 24}, "秒"},
            {"按钮另存为", Button, "", {35, 286, 49, 24}, "另存为"},
            {"按钮保存1", Button, "", {97, 286, 49, 24}, "打开"},
            {"按钮开始", Button, "", {160, 286, 60, 24}, "开始"},
            {状态条1, StatusBar, "", {1, 313, 277, 20}, ""},
            {标签热键, Label, "", {384, 280, 40, 40}, "标签"},
            {"标签热键1", Label, "", {448, 280, 40, 56}, "标签"},
        },
    .statusBar = 状态条1,
    .statusParts = {{70, "导入QQ个数"}, {190, "现在状态"}, {280, "筛选多少个QQ"}},
    .menu = {导入数据, {{"导入", "导入"}, {"清空", "清空"}, {"-", "-"}, {"使用说明", "使用说明"}}},
    .events =
        {
            {主窗口, Event::Created, OnMainWindowCreated},
            {主窗口, Event::Destroying, OnMainWindowClosing},
            {"按钮另存为", Event::Clicked, SaveVisitedAs},
            {"按钮保存1", Event::Clicked, OpenProgramFolder},
            {"按钮开始", Event::Clicked, StartRun},
            {列表框前, Event::RightPressed, ShowImportMenu},
            {"导入", Event::Chosen, ImportFromChosenFile},
            {"清空", Event::Chosen, ClearPendingList},
            {"使用说明", Event::Chosen, ShowInstructions},
            {标签热键, Event::Feedback, OnHotkeyFeedback},
        },
};

}  // namespace

void ShowImportMenu(std::int32_t, std::int32_t, std::int32_t) { ShowContextMenu(主窗口, 导入数据); }

const WindowDescription& MainWindowDescription() { return kMainWindow; }
