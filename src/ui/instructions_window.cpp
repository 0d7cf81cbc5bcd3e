#include "ui/instructions_window.h"

#include "assets/resources.h"

namespace {

using enum ControlKind;

constexpr std::string_view kInstructions =
    "按F11保存需要的QQ，按F10暂停程序！\r\n"
    "适应用于QQ7.5，打开查找窗口，点击开始！\r\n"
    "软件关闭会自动保存相关信息，\r\n"
    "也可点击另存为到相关位置！\r\n"
    "欢迎加入“Tallyfox 用户交流群”！\r\n"
    "＞＞＞＞＞＞＞右边扫码也可以哦！\r\n"
    "群内第一时间更新！\r\n";

const WindowDescription kInstructionsWindow{
    .name = "使用说明窗口",
    .caption = "使用说明",
    .outerWidth = 449,
    .outerHeight = 252,
    .controls =
        {
            {.name = "编辑框1",
             .kind = EditBox,
             .parent = "",
             .place = {8, 8, 200, 200},
             .text = kInstructions,
             .textColour = Rgb{128, 0, 0},
             .backColour = Rgb{0, 255, 255},
             .font = {14, true},
             .multiLine = true,
             .enabled = false,
             .raisedFrame = true},
            {.name = "图片框1",
             .kind = PictureBox,
             .parent = "",
             .place = {224, 8, 200, 208},
             .text = "",
             .pictureResource = IDR_INSTRUCTIONS_PICTURE},
        },
    .statusBar = "",
    .statusParts = {},
    .menu = {},
    .events = {},
};

}  // namespace

const WindowDescription& InstructionsWindowDescription() { return kInstructionsWindow; }

void ShowInstructions() { OpenModal(kInstructionsWindow); }
