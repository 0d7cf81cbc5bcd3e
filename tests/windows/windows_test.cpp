// Windows made from descriptions: geometry, styles, fonts, colours, events.
#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"
#include "desktop/win32/registry-win32.h"
#include "test_support.h"

namespace {

struct Seen {
  int created = 0, clicked = 0, destroying = 0, rightPressed = 0;
  std::string editAtCreation, editAtDestroying;
  std::int32_t x = -1, y = -1, keys = -1;
} seen;

void OnCreated() {
  ++seen.created;
  seen.editAtCreation = EditText("编辑");
}
void OnClicked() { ++seen.clicked; }
void OnDestroying() {
  ++seen.destroying;
  seen.editAtDestroying = EditText("编辑");
}
void OnRightPressed(std::int32_t x, std::int32_t y, std::int32_t keys) {
  ++seen.rightPressed;
  seen.x = x, seen.y = y, seen.keys = keys;
}

constexpr Rgb kTextColour{0, 0, 255};
constexpr Rgb kBackColour{128, 128, 255};

const WindowDescription& Description() {
  using enum ControlKind;
  static const WindowDescription window{
      .name = "测试窗口",
      .caption = "测试窗口",
      .outerWidth = 278,
      .outerHeight = 360,
      .controls =
          {
              {"分组", GroupBox, "", {3, 3, 130, 245}, "导入要筛选的QQ"},
              {"列表", ListBox, "分组", {4, 14, 120, 220}, "", kTextColour, kBackColour, {16, true}},
              {"编辑", EditBox, "", {48, 260, 24, 20}, "0.4"},
              {"按钮", Button, "", {160, 286, 60, 24}, "开始"},
              {"状态", StatusBar, "", {1, 313, 277, 20}, ""},
              {"隐藏标签", Label, "", {384, 280, 40, 40}, "标签"},
          },
      .statusBar = "状态",
      .statusParts = {{70, "一"}, {190, "二"}, {280, "三"}},
      .menu = {},
      .events =
          {
              {"测试窗口", Event::Created, OnCreated},
              {"测试窗口", Event::Destroying, OnDestroying},
              {"按钮", Event::Clicked, OnClicked},
              {"列表", Event::RightPressed, OnRightPressed},
          },
  };
  return window;
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    seen = {};
    ASSERT_TRUE(CreateWindowFromDescription(Description()));
    window_ = HandleNamed("测试窗口");
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
    PumpMessages();
  }

  /// The control's outer rectangle relative to the window's client area.
  RECT PlaceOf(ControlName name) const {
    RECT rect{};
    ::GetWindowRect(HandleNamed(name), &rect);
    ::MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }

  HWND window_ = nullptr;
};

TEST_F(WindowTest, HasTheOuterSizeCentredWithAFixedBorderAndNoBoxes) {
  RECT outer{};
  ASSERT_TRUE(::GetWindowRect(window_, &outer));
  EXPECT_EQ(outer.right - outer.left, 278);
  EXPECT_EQ(outer.bottom - outer.top, 360);
  EXPECT_EQ(outer.left, (::GetSystemMetrics(SM_CXSCREEN) - 278) / 2);
  EXPECT_EQ(outer.top, (::GetSystemMetrics(SM_CYSCREEN) - 360) / 2);

  const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, DWORD{WS_CAPTION});
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));

  wchar_t caption[32]{};
  ::GetWindowTextW(window_, caption, 32);
  EXPECT_STREQ(caption, L"测试窗口");
}

TEST_F(WindowTest, PlacesControlsRelativeToTheirParentsClientArea) {
  struct Case {
    ControlName name;
    RECT expected;  // in the window's client area
  };
  const Case cases[] = {
      {"分组", {3, 3, 133, 248}},
      {"列表", {3 + 4, 3 + 14, 3 + 4 + 120, 3 + 14 + 220}},  // inside the group box
      {"状态", {1, 313, 278, 333}},
      {"隐藏标签", {384, 280, 424, 320}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name));
    const RECT place = PlaceOf(c.name);
    EXPECT_EQ(place.left, c.expected.left);
    EXPECT_EQ(place.top, c.expected.top);
    EXPECT_EQ(place.right, c.expected.right);
    EXPECT_EQ(place.bottom, c.expected.bottom);
  }
  EXPECT_EQ(::GetParent(HandleNamed("列表")), HandleNamed("分组"));
}

TEST_F(WindowTest, ListHasItsFontItsRowHeightAndItsColoursThroughTheGroupBox) {
  HWND list = HandleNamed("列表");
  const auto font = reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0));
  LOGFONTW face{};
  ASSERT_TRUE(::GetObjectW(font, sizeof face, &face));
  EXPECT_EQ(face.lfHeight, -16);
  EXPECT_EQ(face.lfWeight, FW_BOLD);

  HDC dc = ::GetDC(list);
  const HGDIOBJ previous = ::SelectObject(dc, font);
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, previous);
  EXPECT_EQ(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight + 1);

  // The list asks its parent, the group box, which must pass the question on.
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(HandleNamed("分组"), WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(list)));
  LOGBRUSH colour{};
  ASSERT_TRUE(::GetObjectW(brush, sizeof colour, &colour));
  EXPECT_EQ(colour.lbColor, RGB(128, 128, 255));
  EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255));
  ::ReleaseDC(list, dc);

  EXPECT_EQ(::SendMessageW(HandleNamed("编辑"), WM_GETFONT, 0, 0),
            reinterpret_cast<LRESULT>(::GetStockObject(DEFAULT_GUI_FONT)));
}

TEST_F(WindowTest, RaisesCreatedClickedRightPressedAndDestroyingWhileControlsExist) {
  EXPECT_EQ(seen.created, 1);
  EXPECT_EQ(seen.editAtCreation, "0.4");

  ::SendMessageW(HandleNamed("按钮"), BM_CLICK, 0, 0);
  EXPECT_EQ(seen.clicked, 1);

  // A real right click at a point of the list, with Shift held.
  RECT list{};
  ::GetWindowRect(HandleNamed("列表"), &list);
  INPUT shift{};
  shift.type = INPUT_KEYBOARD;
  shift.ki.wVk = VK_SHIFT;
  ::SendInput(1, &shift, sizeof shift);
  ClickAt(list.left + 30, list.top + 40, 2);
  shift.ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(1, &shift, sizeof shift);
  ASSERT_TRUE(PumpUntil([] { return seen.rightPressed > 0; }));
  POINT client{list.left + 30, list.top + 40};
  ::ScreenToClient(HandleNamed("列表"), &client);
  EXPECT_EQ(seen.x, client.x);
  EXPECT_EQ(seen.y, client.y);
  EXPECT_EQ(seen.keys, 2);

  ::DestroyWindow(window_);
  EXPECT_EQ(seen.destroying, 1);
  EXPECT_EQ(seen.editAtDestroying, "0.4");
  EXPECT_EQ(HandleNamed("测试窗口"), nullptr);
}

}  // namespace
