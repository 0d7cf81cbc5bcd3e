// Notices, file choosers and modal windows, answered by a thread that plays the user.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/registry-win32.h"
#include "test_support.h"

namespace {

const WindowDescription& MainDescription() {
  static const WindowDescription window{.name = "主",
                                        .caption = "主",
                                        .outerWidth = 200,
                                        .outerHeight = 150,
                                        .controls = {},
                                        .statusBar = "",
                                        .statusParts = {},
                                        .menu = {},
                                        .events = {}};
  return window;
}

int modalCreated = 0;
void OnModalCreated() { ++modalCreated; }

const WindowDescription& ModalDescription() {
  static const WindowDescription window{.name = "模态",
                                        .caption = "模态",
                                        .outerWidth = 180,
                                        .outerHeight = 120,
                                        .controls = {{"模态标签", ControlKind::Label, "", {5, 5, 80, 20}, "标签"}},
                                        .statusBar = "",
                                        .statusParts = {},
                                        .menu = {},
                                        .events = {{"模态", Event::Created, OnModalCreated}}};
  return window;
}

/// A dialog of the thread: the first visible one of class #32770.
HWND DialogOfThread(DWORD thread) {
  HWND found = nullptr;
  ::EnumThreadWindows(
      thread,
      [](HWND window, LPARAM result) {
        wchar_t className[16]{};
        ::GetClassNameW(window, className, 16);
        if (std::wstring(className) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateWindowFromDescription(MainDescription()));
    main_ = HandleNamed("主");
  }
  void TearDown() override {
    if (user_.joinable()) user_.join();
    ::DestroyWindow(main_);
    PumpMessages();
  }
  /// Plays the user on another thread: waits for the window `find` finds, then acts.
  void Answer(std::function<HWND()> find, std::function<void(HWND)> act) {
    user_ = std::thread([find, act] {
      HWND window = nullptr;
      if (PollUntil([&] { return (window = find()) != nullptr; }, 15000)) act(window);
    });
  }

  HWND main_ = nullptr;
  std::thread user_;
};

TEST_F(DialogTest, ShowNoticeAnswersWithTheButtonPressed) {
  struct Case {
    std::int32_t style;
    int button;
    std::int32_t answer;
  };
  const Case cases[] = {
      {MB_OKCANCEL | MB_ICONINFORMATION, IDOK, 0}, {MB_OKCANCEL | MB_ICONINFORMATION, IDCANCEL, 1},
      {MB_ABORTRETRYIGNORE, IDABORT, 2},           {MB_ABORTRETRYIGNORE, IDRETRY, 3},
      {MB_ABORTRETRYIGNORE, IDIGNORE, 4},          {MB_YESNOCANCEL, IDYES, 5},
      {MB_YESNOCANCEL, IDNO, 6},                   {MB_OK | MB_ICONERROR, IDOK, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << ", button " << c.button);
    std::wstring text;
    bool mainEnabled = true;
    Answer([] { return ::FindWindowW(L"#32770", L"信息："); },
           [&, button = c.button, main = main_](HWND box) {
             wchar_t shown[64]{};
             ::GetDlgItemTextW(box, 0xFFFF, shown, 64);
             text = shown;
             mainEnabled = ::IsWindowEnabled(main);
             ::PostMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
           });
    EXPECT_EQ(ShowNotice("确定清空？", c.style), c.answer);
    user_.join();
    EXPECT_EQ(text, L"确定清空？");
    EXPECT_FALSE(mainEnabled) << "a task-modal notice disables the program's windows";
  }
}

class ChooseFileTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    wchar_t temp[MAX_PATH]{};
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"选择测试";
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    existing_ = folder_ + L"\\已有.txt";
    ::CloseHandle(::CreateFileW(existing_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ::DeleteFileW((folder_ + L"\\新的.txt").c_str());
  }
  /// Presses a button of the chooser that the UI thread shows.
  void Press(int button) {
    Answer([thread = ::GetCurrentThreadId()] { return DialogOfThread(thread); },
           [button](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0); });
  }
  std::wstring folder_, existing_;
};

TEST_F(ChooseFileTest, OpenConfirmedGivesTheFullPath) {
  FileChooser chooser{0, GbkFromWide(existing_), "(文本文件)*.txt|*.txt", "txt"};
  Press(IDOK);
  EXPECT_TRUE(ChooseFile(chooser));
  EXPECT_EQ(chooser.fileName, GbkFromWide(existing_));
}

TEST_F(ChooseFileTest, CancelledGivesFalseAndKeepsTheName) {
  FileChooser chooser{0, GbkFromWide(existing_), "(文本文件)*.txt|*.txt", "txt"};
  Press(IDCANCEL);
  EXPECT_FALSE(ChooseFile(chooser));
  EXPECT_EQ(chooser.fileName, GbkFromWide(existing_));
}

TEST_F(ChooseFileTest, SaveAddsTheDefaultExtensionToANameTypedWithout) {
  FileChooser chooser{1, GbkFromWide(folder_ + L"\\新的"), "(文本文件)*.txt|*.txt", "txt"};
  Press(IDOK);
  EXPECT_TRUE(ChooseFile(chooser));
  EXPECT_EQ(chooser.fileName, GbkFromWide(folder_ + L"\\新的.txt"));
}

TEST_F(DialogTest, OpenModalDisablesTheOtherWindowsUntilClosedEachTimeAfresh) {
  modalCreated = 0;
  for (int opening = 1; opening <= 2; ++opening) {
    SCOPED_TRACE(testing::Message() << "opening " << opening);
    std::atomic<int> mainEnabledWhileOpen{-1};
    Answer([] { return ::FindWindowW(L"TallyfoxWindow", L"模态"); },
           [&, main = main_](HWND modal) {
             mainEnabledWhileOpen = ::IsWindowEnabled(main) ? 1 : 0;
             ::PostMessageW(modal, WM_CLOSE, 0, 0);
           });
    EXPECT_TRUE(OpenModal(ModalDescription()));
    user_.join();
    EXPECT_EQ(mainEnabledWhileOpen, 0);
    EXPECT_TRUE(::IsWindowEnabled(main_));
    EXPECT_EQ(modalCreated, opening);
    EXPECT_EQ(HandleNamed("模态"), nullptr);
  }
}

}  // namespace
