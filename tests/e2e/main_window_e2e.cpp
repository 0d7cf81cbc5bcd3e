// The real tallyfox.exe, started in a folder of its own and driven from
// another process: its main window, its hotkeys, its list menu.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <map>
#include <optional>

#include "program_under_test.h"

namespace e2e {
namespace {

constexpr DWORD kWindowTimeoutMs = 10000;
constexpr const wchar_t* kStartupFile = L"未看过.txt";

struct ControlRow {
  const wchar_t* name;
  const wchar_t* className;
  const wchar_t* parent;  // another row's name; null for the main window
  RECT place;             // left, top, width, height
  const wchar_t* text;    // null: not a window text (the status bar's parts)
  LONG styleMask, style;
  LONG exStyleMask, exStyle;
};

// A list box shows WS_VSCROLL only while its entries overflow it, so the bit
// is checked on the pending list, which the test fills beyond its height.
constexpr LONG kListStyles = LBS_NOINTEGRALHEIGHT | LBS_SORT;
constexpr LONG kListStyle = LBS_NOINTEGRALHEIGHT;
constexpr LONG kFullListStyles = kListStyles | WS_VSCROLL;
constexpr LONG kFullListStyle = kListStyle | WS_VSCROLL;

// The main window's controls, in its parents' client coordinates, one row each.
// clang-format off
const ControlRow kControls[] = {
    {L"分组框1", L"Button", nullptr, {3, 3, 130, 245}, L"导入要筛选的QQ", BS_TYPEMASK, BS_GROUPBOX, 0, 0},
    {L"列表框前", L"ListBox", L"分组框1", {4, 14, 120, 220}, L"", kFullListStyles, kFullListStyle, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
    {L"分组框2", L"Button", nullptr, {138, 3, 130, 245}, L"筛选后的", BS_TYPEMASK, BS_GROUPBOX, 0, 0},
    {L"列表框1", L"ListBox", L"分组框2", {5, 14, 120, 220}, L"", kListStyles, kListStyle, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
    {L"标签1", L"Static", nullptr, {13, 260, 32, 20}, L"速度", 0, 0, 0, 0},
    {L"编辑框速度", L"Edit", nullptr, {48, 260, 24, 20}, L"0.4", ES_AUTOHSCROLL, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
    {L"标签2", L"Static", nullptr, {75, 258, 24, 24}, L"秒", 0, 0, 0, 0},
    {L"标签4", L"Static", nullptr, {139, 260, 48, 20}, L"查找等待", 0, 0, 0, 0},
    {L"编辑框等待", L"Edit", nullptr, {188, 260, 24, 20}, L"1.5", ES_AUTOHSCROLL, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, WS_EX_CLIENTEDGE},
    {L"标签3", L"Static", nullptr, {219, 257, 24, 24}, L"秒", 0, 0, 0, 0},
    {L"按钮另存为", L"Button", nullptr, {35, 286, 49, 24}, L"另存为", 0, 0, 0, 0},
    {L"按钮保存1", L"Button", nullptr, {97, 286, 49, 24}, L"打开", 0, 0, 0, 0},
    {L"按钮开始", L"Button", nullptr, {160, 286, 60, 24}, L"开始", 0, 0, 0, 0},
    {L"状态条1", L"msctls_statusbar32", nullptr, {1, 313, 277, 20}, nullptr, 0, 0, 0, 0},
    {L"标签热键", L"Static", nullptr, {384, 280, 40, 40}, L"标签", 0, 0, 0, 0},
    {L"标签热键1", L"Static", nullptr, {448, 280, 40, 56}, L"标签", 0, 0, 0, 0},
};
// clang-format on

bool SameClass(const std::wstring& a, const wchar_t* b) {
  return ::CompareStringOrdinal(a.c_str(), -1, b, -1, TRUE) == CSTR_EQUAL;
}

int Distance(const RECT& a, const RECT& b) {
  return std::abs(a.left - b.left) + std::abs(a.top - b.top) + std::abs(a.right - b.right) +
         std::abs(a.bottom - b.bottom);
}

RECT Rect(const RECT& leftTopWidthHeight) {
  const RECT& p = leftTopWidthHeight;
  return {p.left, p.top, p.left + p.right, p.top + p.bottom};
}

std::string Describe(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
         std::to_string(r.bottom - r.top);
}

/// Finds each row's window: a child of the row's parent with its class and
/// text; of several, the one nearest the row's place (two labels say "秒").
std::map<std::wstring, HWND> FindControls(HWND mainWindow) {
  std::map<std::wstring, HWND> found;
  std::vector<HWND> claimed;
  for (const ControlRow& row : kControls) {
    HWND parent = row.parent ? found[row.parent] : mainWindow;
    if (!parent) continue;
    HWND best = nullptr;
    int bestDistance = 0;
    for (HWND child : ChildrenOf(parent)) {
      if (std::find(claimed.begin(), claimed.end(), child) != claimed.end()) continue;
      if (!SameClass(ClassOf(child), row.className)) continue;
      if (row.text && TextOf(child) != row.text) continue;
      const int distance = Distance(PlaceInParent(child), Rect(row.place));
      if (!best || distance < bestDistance) best = child, bestDistance = distance;
    }
    if (best) claimed.push_back(best), found[row.name] = best;
  }
  return found;
}

/// What the status bar's first part says after an import.
std::wstring ImportedText(std::size_t count) { return L"导入" + std::to_wstring(count) + L"个QQ！"; }

/// A started program whose main window and controls were found.
class MainWindowTest : public testing::Test {
 protected:
  void Start(std::optional<std::string> startupBytes) {
    if (startupBytes) folder_.WriteFile(kStartupFile, *startupBytes);
    program_.emplace(folder_);
    main_ = program_->MainWindow();
    ASSERT_NE(main_, nullptr) << "no visible window \"Tallyfox\" of the started program";
    controls_ = FindControls(main_);
  }

  HWND Control(const wchar_t* name) {
    HWND control = controls_[name];
    EXPECT_NE(control, nullptr) << "control " << Utf8(name) << " not found";
    return control;
  }

  std::wstring StatusPart(int part) { return StatusPartText(program_->Process(), Control(L"状态条1"), part); }

  /// Pops up the list's menu and chooses the item `downs` arrow presses down.
  void ChooseListMenuItem(int downs) {
    const std::string failure = e2e::ChooseListMenuItem(*program_, Control(L"列表框前"), downs);
    ASSERT_TRUE(failure.empty()) << failure;
  }

  ProgramFolder folder_;
  std::optional<RunningProgram> program_;
  HWND main_ = nullptr;
  std::map<std::wstring, HWND> controls_;
};

/// Numbers from 10001 on, one a line, CR LF.
std::string NumberLines(int count) {
  std::string lines;
  for (int i = 0; i < count; ++i) lines += std::to_string(10001 + i) + "\r\n";
  return lines;
}

TEST_F(MainWindowTest, EveryControlHasItsClassParentPlaceTextAndStyles) {
  // More entries than the pending list shows, for its scroll bar.
  ASSERT_NO_FATAL_FAILURE(Start(NumberLines(40)));
  for (const ControlRow& row : kControls) {
    SCOPED_TRACE(Utf8(row.name));
    HWND control = controls_[row.name];
    if (!control) {
      ADD_FAILURE() << "no " << Utf8(row.className) << " with the text \"" << Utf8(row.text ? row.text : L"")
                    << "\" under " << Utf8(row.parent ? row.parent : L"the main window");
      continue;
    }
    const RECT place = PlaceInParent(control);
    EXPECT_EQ(Describe(place), Describe(Rect(row.place)));
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const LONG exStyle = ::GetWindowLongW(control, GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_EQ(style & row.styleMask, row.style) << std::hex << "style " << style;
    EXPECT_EQ(exStyle & row.exStyleMask, row.exStyle) << std::hex << "extended style " << exStyle;
  }
  // Nothing beyond the table: every child of the window and its groups is a row.
  std::size_t children = 0;
  for (HWND parent : {main_, controls_[L"分组框1"], controls_[L"分组框2"]}) {
    if (parent) children += ChildrenOf(parent).size();
  }
  EXPECT_EQ(children, std::size(kControls));
}

TEST_F(MainWindowTest, WindowIsCentredFixedAndHasOnlyACloseBox) {
  ASSERT_NO_FATAL_FAILURE(Start(std::nullopt));
  RECT outer{};
  ::GetWindowRect(main_, &outer);
  EXPECT_EQ(outer.right - outer.left, 278);
  EXPECT_EQ(outer.bottom - outer.top, 360);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_NEAR(outer.left, (screenWidth - 278) / 2, 1) << "screen " << screenWidth;
  EXPECT_NEAR(outer.top, (screenHeight - 360) / 2, 1) << "screen " << screenHeight;

  const LONG style = ::GetWindowLongW(main_, GWL_STYLE);
  EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(::GetWindowLongW(main_, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(::GetParent(main_), nullptr);
}

TEST_F(MainWindowTest, ListBackgroundsAndTextColourShowOnScreen) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n10002\r\n"));
  struct Expected {
    const wchar_t* list;
    COLORREF background;
  };
  for (const Expected& expected :
       {Expected{L"列表框前", RGB(128, 128, 255)}, Expected{L"列表框1", RGB(0, 224, 128)}}) {
    SCOPED_TRACE(Utf8(expected.list));
    HWND list = Control(expected.list);
    if (!list) continue;
    RECT client{};
    ::GetClientRect(list, &client);
    ::MapWindowPoints(list, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    // Below the entries: only background. The screen may lag the painting.
    const RECT below{client.left + 4, client.bottom - 24, client.right - 4, client.bottom - 4};
    COLORREF seen = CLR_INVALID;
    const bool painted = PollUntil(
        [&] {
          const ScreenCapture capture(below);
          for (int y = 0; y < capture.Height(); ++y) {
            for (int x = 0; x < capture.Width(); ++x) {
              seen = capture.At(x, y);
              if (seen != expected.background) return false;
            }
          }
          return true;
        },
        kWindowTimeoutMs);
    EXPECT_TRUE(painted) << std::hex << "background pixel 0x" << seen << " (0x00BBGGRR)";
  }

  // The first entry's ink is blue, in a font of 16 pixels, not the default one.
  HWND pending = Control(L"列表框前");
  if (!pending) return;
  const LRESULT itemHeight = ::SendMessageW(pending, LB_GETITEMHEIGHT, 0, 0);
  EXPECT_GE(itemHeight, 16);
  RECT firstRow{};
  ::GetClientRect(pending, &firstRow);
  firstRow.bottom = static_cast<LONG>(itemHeight);
  ::MapWindowPoints(pending, HWND_DESKTOP, reinterpret_cast<POINT*>(&firstRow), 2);
  const ScreenCapture capture(firstRow);
  int blueInk = 0, otherInk = 0;
  for (int y = 0; y < capture.Height(); ++y) {
    for (int x = 0; x < capture.Width(); ++x) {
      const COLORREF c = capture.At(x, y);
      if (GetRValue(c) <= 64 && GetGValue(c) <= 64 && GetBValue(c) >= 192) ++blueInk;
      if (GetBValue(c) < 128) ++otherInk;
    }
  }
  EXPECT_GE(blueInk, 20) << "blue pixels in the first entry";
  EXPECT_EQ(otherInk, 0) << "pixels neither background nor blue ink";
}

/// The instructions' seven lines, as the edit box holds them.
const wchar_t* const kInstructionLines =
    L"按F11保存需要的QQ，按F10暂停程序！\r\n"
    L"适应用于QQ7.5，打开查找窗口，点击开始！\r\n"
    L"软件关闭会自动保存相关信息，\r\n"
    L"也可点击另存为到相关位置！\r\n"
    L"欢迎加入“Tallyfox 用户交流群”！\r\n"
    L"＞＞＞＞＞＞＞右边扫码也可以哦！\r\n"
    L"群内第一时间更新！\r\n";

TEST_F(MainWindowTest, InstructionsOpenModallyCentredWithTheirTextAndPicture) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n"));
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE("opening " + std::to_string(opening));
    ASSERT_NO_FATAL_FAILURE(ChooseListMenuItem(3));
    HWND instructions = program_->WaitForOwnWindow(L"TallyfoxWindow", L"使用说明", kWindowTimeoutMs);
    ASSERT_NE(instructions, nullptr) << "no instructions window";

    RECT outer{};
    ::GetWindowRect(instructions, &outer);
    EXPECT_EQ(outer.right - outer.left, 449);
    EXPECT_EQ(outer.bottom - outer.top, 252);
    // Centred, to the pixel that an odd width leaves over.
    EXPECT_NEAR(outer.left + outer.right, ::GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(outer.top + outer.bottom, ::GetSystemMetrics(SM_CYSCREEN), 1);
    EXPECT_FALSE(::IsWindowEnabled(main_)) << "the main window takes input while the instructions are open";
    if (opening == 1) {
      // A real click on Start would show "请打开查找窗口！": no Find window is open here.
      RECT start{};
      ::GetWindowRect(Control(L"按钮开始"), &start);
      ::SetCursorPos((start.left + start.right) / 2, (start.top + start.bottom) / 2);
      INPUT click[2]{};
      click[0].type = click[1].type = INPUT_MOUSE;
      click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
      click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
      ::SendInput(2, click, sizeof(INPUT));
      EXPECT_EQ(program_->WaitForOwnWindow(L"#32770", L"信息：", 1000), nullptr)
          << "a click on the main window reached it while the instructions were open";
    }

    const std::vector<HWND> children = ChildrenOf(instructions);
    ASSERT_EQ(children.size(), 2U);
    HWND text = children[0], picture = children[1];
    EXPECT_EQ(TextOf(text), kInstructionLines);
    EXPECT_FALSE(::IsWindowEnabled(text));
    EXPECT_EQ(PlaceInParent(picture).right - PlaceInParent(picture).left, 200);
    EXPECT_EQ(PlaceInParent(picture).bottom - PlaceInParent(picture).top, 208);

    // The edit box's own colour behind its text, and the picture stretched
    // over its whole box: white to every corner, the orange title near the top.
    RECT textArea{}, pictureArea{};
    ::GetWindowRect(text, &textArea);
    ::GetWindowRect(picture, &pictureArea);
    const RECT textBottom{textArea.left + 6, textArea.bottom - 10, textArea.right - 6, textArea.bottom - 6};
    EXPECT_TRUE(PollUntil(
        [&] {
          const ScreenCapture capture(textBottom);
          return capture.At(0, 0) == RGB(0, 255, 255) && capture.At(capture.Width() - 1, 3) == RGB(0, 255, 255);
        },
        kWindowTimeoutMs))
        << "the edit box's background is not RGB(0, 255, 255)";
    const auto white = [](COLORREF c) { return GetRValue(c) > 240 && GetGValue(c) > 240 && GetBValue(c) > 240; };
    const auto stretched = [&] {
      const ScreenCapture shown(pictureArea);
      if (!white(shown.At(0, 0)) || !white(shown.At(199, 0)) || !white(shown.At(0, 207)) || !white(shown.At(199, 207))) {
        return false;
      }
      int orange = 0;
      for (int y = 10; y < 32; ++y) {
        for (int x = 60; x < 140; ++x) {
          const COLORREF c = shown.At(x, y);
          if (GetRValue(c) > 190 && GetGValue(c) > 70 && GetGValue(c) < 160 && GetBValue(c) < 110) ++orange;
        }
      }
      return orange > 20;
    };
    // The screen may show the painting a little later.
    EXPECT_TRUE(PollUntil(stretched, kWindowTimeoutMs)) << "the picture is not stretched over its whole box";

    // The hotkeys still reach the program while it waits for the window.
    if (opening == 1) {
      EXPECT_EQ(StatusPart(1), L"现在状态");
      PressKey(VK_F10);
      EXPECT_TRUE(PollUntil([&] { return StatusPart(1) == L"保存数据完成！"; }, kWindowTimeoutMs));
    }

    ::PostMessageW(instructions, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PollUntil([&] { return !::IsWindow(instructions) && ::IsWindowEnabled(main_); }, kWindowTimeoutMs))
        << "closing the instructions did not enable the main window again";
  }
}

TEST_F(MainWindowTest, HotkeysF10AndF11AreTakenWhileItRunsAndFreedAfter) {
  ASSERT_NO_FATAL_FAILURE(Start(std::nullopt));
  for (UINT key : {VK_F10, VK_F11}) {
    SCOPED_TRACE(key == VK_F10 ? "F10" : "F11");
    const bool registered = ::RegisterHotKey(nullptr, 1, 0, key);
    EXPECT_FALSE(registered) << "the key was free while Tallyfox ran";
    if (registered) {
      ::UnregisterHotKey(nullptr, 1);
    } else {
      EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    }
  }
  ASSERT_TRUE(program_->Close()) << "Tallyfox did not end on WM_CLOSE";
  for (UINT key : {VK_F10, VK_F11}) {
    SCOPED_TRACE(key == VK_F10 ? "F10" : "F11");
    EXPECT_TRUE(::RegisterHotKey(nullptr, 1, 0, key)) << "error " << ::GetLastError();
    ::UnregisterHotKey(nullptr, 1);
  }
}

struct StartupCase {
  const char* name;
  std::optional<std::string> fileBytes;
  std::vector<std::wstring> entries;
};

void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }

class StartupImportTest : public MainWindowTest, public testing::WithParamInterface<StartupCase> {};

TEST_P(StartupImportTest, ListsTheNumbersAndCountsThemInTheStatusBar) {
  ASSERT_NO_FATAL_FAILURE(Start(GetParam().fileBytes));
  const std::wstring expected = ImportedText(GetParam().entries.size());
  PollUntil([&] { return StatusPart(0) == expected; }, kWindowTimeoutMs);
  EXPECT_EQ(Utf8(StatusPart(0)), Utf8(expected));
  const std::wstring state = L"现在状态", filtered = L"筛选多少个QQ";
  EXPECT_EQ(Utf8(StatusPart(1)), Utf8(state));
  EXPECT_EQ(Utf8(StatusPart(2)), Utf8(filtered));
  HWND statusBar = Control(L"状态条1"), pending = Control(L"列表框前"), kept = Control(L"列表框1");
  EXPECT_EQ(StatusPartEdges(program_->Process(), statusBar), (std::vector<int>{70, 190, 280}));
  EXPECT_EQ(ListEntries(pending), GetParam().entries);
  EXPECT_EQ(ListCount(kept), 0);
}

INSTANTIATE_TEST_SUITE_P(
    , StartupImportTest,
    testing::Values(StartupCase{"NoFile", std::nullopt, {}},
                    StartupCase{"ThreeLines", "10001\r\n10002\r\n10003\r\n", {L"10001", L"10002", L"10003"}},
                    StartupCase{"BlankLinesNoFinalLineEnd", "\r\n20001\r\n\r\n20002", {L"20001", L"20002"}}),
    [](const testing::TestParamInfo<StartupCase>& info) { return std::string(info.param.name); });

TEST_F(MainWindowTest, RightPressOnThePendingListPopsUpItsMenuBesideThePointer) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n"));
  HWND pending = Control(L"列表框前");
  ASSERT_NE(pending, nullptr);
  const POINT pointer = RightPressAt(pending);
  HWND menu = program_->WaitForOwnWindow(L"#32768", nullptr, kWindowTimeoutMs);
  RightRelease();
  ASSERT_NE(menu, nullptr) << "no menu popped up";
  RECT r{};
  ::GetWindowRect(menu, &r);
  EXPECT_EQ(r.left, pointer.x + 3);
  EXPECT_EQ(r.top, pointer.y + 3);

  // Wine keeps menus in each process's own handle table, so another process
  // reads the items only on Windows; the keyboard test below holds on both.
  HMENU items = reinterpret_cast<HMENU>(::SendMessageW(menu, MN_GETHMENU, 0, 0));
  const int count = items ? ::GetMenuItemCount(items) : -1;
  if (count != -1) {
    ASSERT_EQ(count, 4);
    const wchar_t* const kTexts[] = {L"导入", L"清空", nullptr, L"使用说明"};
    for (int i = 0; i < count; ++i) {
      SCOPED_TRACE(i);
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      ASSERT_TRUE(::GetMenuItemInfoW(items, static_cast<UINT>(i), TRUE, &info));
      EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, kTexts[i] == nullptr);
      if (!kTexts[i]) continue;
      wchar_t text[64] = L"";
      ::GetMenuStringW(items, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      EXPECT_EQ(Utf8(text), Utf8(kTexts[i]));
    }
  } else {
    std::printf("note: the menu's items cannot be read from another process here\n");
  }
  PostKey(menu, VK_ESCAPE);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindowVisible(menu); }, kWindowTimeoutMs))
      << "Escape did not close the menu";
}

// The menu's items by the arrow presses down that select them, from none
// selected (kImportItem is 1); the separator is skipped, and the fourth press
// wraps to the first.
constexpr int kClearItem = 2;
constexpr int kImportAfterWrapping = 4;

TEST_F(MainWindowTest, MenuHasThreeChoosableItemsSoTheFourthDownWrapsToImport) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n"));
  ASSERT_NO_FATAL_FAILURE(ChooseListMenuItem(kImportAfterWrapping));
  HWND dialog = program_->WaitForOwnWindow(L"#32770", nullptr, kWindowTimeoutMs);
  ASSERT_NE(dialog, nullptr) << "no dialog opened";
  EXPECT_NE(FileNameBox(dialog), nullptr) << "not the open dialog: " << Utf8(TextOf(dialog));
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindow(dialog); }, kWindowTimeoutMs));
}

struct ImportCase {
  const char* name;
  std::vector<bool> confirmations;  // one open dialog each: confirmed or cancelled
  std::vector<std::wstring> entries;
};

void PrintTo(const ImportCase& c, std::ostream* os) { *os << c.name; }

class ImportMenuTest : public MainWindowTest, public testing::WithParamInterface<ImportCase> {
 protected:
  /// Chooses "导入" and answers the open dialog with the file, or cancels it.
  void ImportThroughTheDialog(const std::wstring& path, bool confirm) {
    const std::string failure = e2e::ImportThroughTheDialog(*program_, Control(L"列表框前"), path, confirm);
    ASSERT_TRUE(failure.empty()) << failure;
    ASSERT_TRUE(program_->Settle());
  }
};

TEST_P(ImportMenuTest, ImportAppendsTheChosenFilesNumbersAndCountsAll) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n10002\r\n"));
  // A Chinese file name: the chosen path must survive the program's GBK texts.
  const std::wstring chosen = folder_.FilePath(L"补充号码.txt");
  folder_.WriteFile(L"补充号码.txt", "20001\r\n\r\n20002\r\n20003");
  HWND pending = Control(L"列表框前");
  std::size_t expected = 2;
  for (bool confirm : GetParam().confirmations) {
    ASSERT_NO_FATAL_FAILURE(ImportThroughTheDialog(chosen, confirm));
    if (confirm) expected += 3;
    PollUntil([&] { return ListCount(pending) == static_cast<int>(expected); }, kWindowTimeoutMs);
  }
  EXPECT_EQ(ListEntries(pending), GetParam().entries);
  EXPECT_EQ(Utf8(StatusPart(0)), Utf8(ImportedText(GetParam().entries.size())));
}

INSTANTIATE_TEST_SUITE_P(
    , ImportMenuTest,
    testing::Values(ImportCase{"Confirmed", {true}, {L"10001", L"10002", L"20001", L"20002", L"20003"}},
                    // A cancel must not import the last confirmed file again.
                    ImportCase{"CancelledAfterConfirmed",
                               {true, false},
                               {L"10001", L"10002", L"20001", L"20002", L"20003"}},
                    ImportCase{"Cancelled", {false}, {L"10001", L"10002"}}),
    [](const testing::TestParamInfo<ImportCase>& info) { return std::string(info.param.name); });

struct ClearCase {
  const char* name;
  int answer;
  std::vector<std::wstring> entries;
};

void PrintTo(const ClearCase& c, std::ostream* os) { *os << c.name; }

class ClearMenuTest : public MainWindowTest, public testing::WithParamInterface<ClearCase> {};

TEST_P(ClearMenuTest, ClearAsksFirstAndEmptiesThePendingListOnlyOnOk) {
  ASSERT_NO_FATAL_FAILURE(Start("10001\r\n10002\r\n"));
  ASSERT_NO_FATAL_FAILURE(ChooseListMenuItem(kClearItem));
  const std::wstring caption = L"信息：", question = L"确定清空？";
  HWND box = program_->WaitForOwnWindow(L"#32770", caption.c_str(), kWindowTimeoutMs);
  ASSERT_NE(box, nullptr) << "no message box captioned " << Utf8(caption);
  HWND text = ::GetDlgItem(box, 0xFFFF);  // the message box's text
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(Utf8(TextOf(text)), Utf8(question));
  EXPECT_NE(::GetDlgItem(box, IDOK), nullptr);
  EXPECT_NE(::GetDlgItem(box, IDCANCEL), nullptr);

  const int answer = GetParam().answer;
  ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(box, answer)));
  ASSERT_TRUE(PollUntil([&] { return !::IsWindow(box); }, kWindowTimeoutMs)) << "the message box stayed open";
  ASSERT_TRUE(program_->Settle());
  HWND pending = Control(L"列表框前");
  EXPECT_EQ(ListEntries(pending), GetParam().entries);
}

INSTANTIATE_TEST_SUITE_P(, ClearMenuTest,
                         testing::Values(ClearCase{"Cancel", IDCANCEL, {L"10001", L"10002"}},
                                         ClearCase{"Ok", IDOK, {}}),
                         [](const testing::TestParamInfo<ClearCase>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace e2e

/// The last argument that is not a GoogleTest flag is tallyfox.exe's path;
/// ctest hands over a Unix path, which Wine serves on drive Z:.
int main() {
  int argc = 0;
  wchar_t** wideArgs = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::string> narrow;
  for (int i = 0; i < argc; ++i) {
    const std::wstring arg = wideArgs[i];
    narrow.push_back(e2e::Utf8(arg));
    if (i > 0 && arg.rfind(L"--", 0) != 0) e2e::programPath = arg;
  }
  ::LocalFree(wideArgs);
  if (!e2e::programPath.empty() && e2e::programPath[0] == L'/') {
    for (wchar_t& c : e2e::programPath) c = c == L'/' ? L'\\' : c;
    e2e::programPath = L"Z:" + e2e::programPath;
  }
  std::vector<char*> argv;
  for (std::string& arg : narrow) argv.push_back(arg.data());
  argc = static_cast<int>(argv.size());
  testing::InitGoogleTest(&argc, argv.data());
  if (e2e::programPath.empty()) {
    std::fprintf(stderr, "usage: main_window_e2e [gtest flags] path\\to\\tallyfox.exe\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
