// Files, window titles and waits.
#include <gtest/gtest.h>

#include "desktop/desktop.h"
#include "desktop/win32/encoding-win32.h"
#include "test_support.h"

namespace {

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH]{};
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"读文件测试";
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
}

TEST(ReadFileBytes, TellsWholeMissingAndFailedApart) {
  const std::wstring folder = TempFolder();
  const std::string content("12345\r\n\0\xB2\xE9", 10);
  const std::wstring whole = folder + L"\\未看过.txt";
  WriteBytes(whole, content);
  const std::wstring written = folder + L"\\写着.txt";
  WriteBytes(written, "x");
  // Another program writing the file: we refuse to share with writers.
  UniqueFileHandle writer(::CreateFileW(written.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                        OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(writer);

  struct Case {
    std::wstring path;
    ReadOutcome outcome;
    std::string bytes;
  };
  const Case cases[] = {
      {whole, ReadOutcome::Whole, content},
      {folder + L"\\没有.txt", ReadOutcome::Missing, ""},
      {folder + L"\\没有的目录\\没有.txt", ReadOutcome::Missing, ""},
      {written, ReadOutcome::Failed, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(GbkFromWide(c.path));
    const FileRead read = ReadFileBytes(GbkFromWide(c.path));
    EXPECT_EQ(read.outcome, c.outcome);
    EXPECT_EQ(read.bytes, c.bytes);
  }
}

TEST(ReplaceFileBytes, CreatesOrReplacesAndLeavesNoTemporaryFile) {
  const std::wstring folder = TempFolder();
  const std::string target = GbkFromWide(folder + L"\\看过.txt");
  ::DeleteFileW((folder + L"\\看过.txt").c_str());
  ASSERT_TRUE(ReplaceFileBytes(target, "first"));
  EXPECT_EQ(ReadFileBytes(target).bytes, "first");
  ASSERT_TRUE(ReplaceFileBytes(target, std::string("二\0", 3)));
  EXPECT_EQ(ReadFileBytes(target).bytes, std::string("二\0", 3));

  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((folder + L"\\看过.txt?*").c_str(), &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "left behind";
  if (search != INVALID_HANDLE_VALUE) ::FindClose(search);

  EXPECT_FALSE(ReplaceFileBytes(GbkFromWide(folder + L"\\没有的目录\\x.txt"), "x"));
}

/// A Windows path for a Unix one, through Wine's drive Z:.
std::wstring WinePath(const char* unixPath) {
  std::wstring path = L"Z:" + WideFromGbk(unixPath);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

TEST(ReplaceFileBytes, ATargetThatCannotBeReplacedKeepsItsOldContentWhole) {
  // scripts/test.sh mounts a small file system for the case of a full disk.
  const char* smallDisk = std::getenv("TALLYFOX_SMALL_DISK");
  const std::string old = "1001\r\n1002";
  using Undo = std::function<void()>;
  struct Case {
    const char* what;
    bool onSmallDisk;
    std::function<Undo(const std::wstring& path)> hold;  // makes the target unreplaceable
  };
  const Case cases[] = {
      {"read-only", false,
       [](const std::wstring& path) {
         ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
         return Undo([path] { ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL); });
       }},
      {"open elsewhere without sharing", false,
       [](const std::wstring& path) {
         HANDLE held = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         EXPECT_NE(held, INVALID_HANDLE_VALUE);
         return Undo([held] { ::CloseHandle(held); });
       }},
      // The new content does not fit: the write fails midway.
      {"on a full disk", true, [](const std::wstring&) { return Undo([] {}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.onSmallDisk && !smallDisk) {
      ADD_FAILURE() << "TALLYFOX_SMALL_DISK names no small file system; run scripts/test.sh";
      continue;
    }
    const std::wstring path = (c.onSmallDisk ? WinePath(smallDisk) : TempFolder()) + L"\\已看过.txt";
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(ReplaceFileBytes(GbkFromWide(path), old));
    const Undo release = c.hold(path);
    EXPECT_FALSE(ReplaceFileBytes(GbkFromWide(path), std::string(1 << 20, '7')));
    release();
    EXPECT_EQ(ReadFileBytes(GbkFromWide(path)).bytes, old);
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((path + L"?*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left behind";
    if (search != INVALID_HANDLE_VALUE) ::FindClose(search);
    ::DeleteFileW(path.c_str());
  }
}

TEST(WindowTitle, GivesAtMost254BytesWithoutCuttingACharacter) {
  struct Case {
    std::wstring title;
    std::size_t bytes;
  };
  const Case cases[] = {
      {std::wstring(200, L'查'), 254},
      {L"a" + std::wstring(200, L'查'), 253},
      {L"查找 - 好友", 11},
  };
  for (const Case& c : cases) {
    HWND window = ::CreateWindowExW(0, L"STATIC", c.title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const std::string title = WindowTitle(reinterpret_cast<WindowId>(window));
    EXPECT_EQ(title.size(), c.bytes);
    const std::wstring back = WideFromGbk(title);
    EXPECT_EQ(back, c.title.substr(0, back.size()));
    ::DestroyWindow(window);
  }
  EXPECT_EQ(WindowTitle(0), "");
}

TEST(Desktop, FindsWindowsAndReadsTheirRectangles) {
  HWND window = ::CreateWindowExW(0, L"STATIC", L"找我", WS_POPUP | WS_VISIBLE, 40, 50, 100, 60, nullptr, nullptr,
                                  nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(FindTopLevelWindow("Static", "找我"), reinterpret_cast<WindowId>(window));
  EXPECT_EQ(FindTopLevelWindow("Static", "找不到"), WindowId{0});
  const ScreenRect rect = ReadWindowRect(reinterpret_cast<WindowId>(window));
  EXPECT_EQ(rect.left, 40);
  EXPECT_EQ(rect.top, 50);
  EXPECT_EQ(rect.right, 140);
  EXPECT_EQ(rect.bottom, 110);
  ::DestroyWindow(window);
  const ScreenRect gone = ReadWindowRect(reinterpret_cast<WindowId>(window));
  EXPECT_EQ(gone.right - gone.left, 0);
  EXPECT_EQ(gone.bottom - gone.top, 0);
}

TEST(Desktop, ExecutablePathNamesThisProgram) {
  const std::string path = ExecutablePath();
  EXPECT_TRUE(path.ends_with("\\win32_layer_test.exe")) << path;
}

TEST(WaitMs, WaitsAtLeastTheTime) {
  LARGE_INTEGER frequency{}, start{}, end{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&start);
  WaitMs(30);
  ::QueryPerformanceCounter(&end);
  EXPECT_GE((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart, 30);
}

TEST(PumpMessages, DispatchesWhatIsQueuedAndLeavesAQuitQueued) {
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_APP + 7, 0, 0);
  ::PostQuitMessage(3);
  PumpMessages();
  MSG message{};
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, UINT{WM_QUIT});
  EXPECT_FALSE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
}

}  // namespace
