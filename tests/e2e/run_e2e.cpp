// A run of the real tallyfox.exe against practice-find.exe, driven from a third
// process as a user would: delays typed into the boxes, Start clicked, F11 and
// F10 pressed, the window closed. What the practice window received comes from
// its log; what was kept and saved from the lists and the progress files.
//   run_e2e.exe [gtest flags] path/to/tallyfox.exe path/to/practice-find.exe
#include "run_fixture.h"

namespace e2e {
namespace {

TEST_F(RunTest, EachNumberIsSearchedOpenedAndClosedInOrderAndTheFilesAreWrittenOnClose) {
  const std::vector<std::string> numbers = {"10001", "23456", "300007"};
  ASSERT_NO_FATAL_FAILURE(Start(numbers));
  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile 300007 wparam=1 lparam=1"));
  EXPECT_EQ(Kept(), std::vector<std::string>{});
  ASSERT_NO_FATAL_FAILURE(CloseProgram());
  // Tallyfox has ended: nothing more can arrive.
  EXPECT_EQ(find_->Lines(), RunLines(numbers));
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), Joined(numbers));
  EXPECT_EQ(folder_.ReadFile(kPendingFile), "");
  EXPECT_EQ(folder_.ReadFile(kKeptFile), std::nullopt)
      << "the kept file is written only once a number is kept";
}

TEST_F(RunTest, StartDuringARunAddsNothing) {
  const std::vector<std::string> numbers = {"10001", "23456"};
  ASSERT_NO_FATAL_FAILURE(Start(numbers));
  ClickStart();
  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("paste 10001"));
  CommandStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile 23456 wparam=1 lparam=1"));
  // A second worker would have clicked on after the first one's last pass.
  EXPECT_FALSE(LogGrowsBeyond(RunLines(numbers).size())) << testing::PrintToString(find_->Lines());
  EXPECT_EQ(find_->Lines(), RunLines(numbers));
}

TEST_F(RunTest, F11WhileANumbersProfileIsOpenKeepsThatNumber) {
  ASSERT_NO_FATAL_FAILURE(Start({"10001", "23456", "300007"}, kRoomToReact));
  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 23456"));
  PressKey(VK_F11);
  // Nothing else changes the list or the count until the next F11.
  EXPECT_TRUE(StatusBecomes(2, L"筛选1个QQ!")) << Status(2);
  // The entry is added before the count is shown.
  EXPECT_EQ(Kept(), std::vector<std::string>{"23456"});

  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 300007"));
  PressKey(VK_F11);
  EXPECT_TRUE(StatusBecomes(2, L"筛选2个QQ!")) << Status(2);
  ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile 300007 wparam=1 lparam=1"));
  EXPECT_EQ(Kept(), (std::vector<std::string>{"23456", "300007"}));
  // The last pass kept its number, and nothing comes after it to change the text.
  EXPECT_TRUE(StatusBecomes(1, L"保存QQ")) << Status(1);
  ASSERT_NO_FATAL_FAILURE(CloseProgram());
  EXPECT_EQ(folder_.ReadFile(kKeptFile), "23456\r\n300007");
}

TEST_F(RunTest, F10StopsTheRunSavesWhereItIsAndStartResumesThere) {
  ASSERT_NO_FATAL_FAILURE(Start({"10001", "23456", "300007", "44444"}, kRoomToReact));
  // The probe below must see a key held by another process's input.
  INPUT control{};
  control.type = INPUT_KEYBOARD;
  control.ki.wVk = VK_CONTROL;
  ::SendInput(1, &control, sizeof control);
  const bool probeSeesDown = PollUntil([] { return KeyDown(VK_CONTROL); }, kWindowTimeoutMs);
  control.ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(1, &control, sizeof control);
  ASSERT_TRUE(probeSeesDown) << "GetAsyncKeyState does not show a held Ctrl here";
  ASSERT_TRUE(PollUntil([] { return !KeyDown(VK_CONTROL); }, kWindowTimeoutMs));

  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 10001"));
  PressKey(VK_F11);
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 23456"));
  PressKey(VK_F10);
  ASSERT_TRUE(StatusBecomes(1, L"保存数据完成！")) << Status(1);
  EXPECT_EQ(Status(2), Utf8(L"筛选1个QQ!"));

  // The pause came during 23456's search wait: its pass goes no further.
  std::vector<std::string> paused = RunLines({"10001"});
  for (const std::string& line : PassLines("23456", "profile")) paused.push_back(line);
  EXPECT_FALSE(LogGrowsBeyond(paused.size())) << testing::PrintToString(find_->Lines());
  EXPECT_EQ(find_->Lines(), paused);
  for (int key : std::initializer_list<int>{VK_CONTROL, 'A', 'V', VK_BACK, VK_RETURN, VK_LBUTTON}) {
    EXPECT_FALSE(KeyDown(key)) << "key " << key << " left down";
  }
  // 23456 was pasted, so it counts as visited.
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), "10001\r\n23456");
  EXPECT_EQ(folder_.ReadFile(kPendingFile), "300007\r\n44444");
  EXPECT_EQ(folder_.ReadFile(kKeptFile), "10001");

  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile 44444 wparam=1 lparam=1"));
  std::vector<std::string> resumed = paused;
  for (const std::string& line : OpeningLines()) resumed.push_back(line);
  for (const char* number : {"300007", "44444"}) {
    for (const std::string& line : PassLines(number)) resumed.push_back(line);
  }
  ASSERT_NO_FATAL_FAILURE(CloseProgram());
  EXPECT_EQ(find_->Lines(), resumed);
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), "10001\r\n23456\r\n300007\r\n44444");
  EXPECT_EQ(folder_.ReadFile(kPendingFile), "");
  EXPECT_EQ(folder_.ReadFile(kKeptFile), "10001");
}

TEST_F(RunTest, ClosingTheWindowDuringARunStopsItSavesAndEndsTheProcess) {
  ASSERT_NO_FATAL_FAILURE(Start({"10001", "23456", "300007", "44444"}, kRoomToReact));
  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 23456"));
  LARGE_INTEGER frequency{}, posted{}, ended{};
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&posted);
  ::PostMessageW(program_->MainWindow(), WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(program_->Process(), 15000), WAIT_OBJECT_0) << "Tallyfox did not end";
  ::QueryPerformanceCounter(&ended);
  const double seconds = static_cast<double>(ended.QuadPart - posted.QuadPart) / frequency.QuadPart;
  std::printf("from WM_CLOSE to the end of the process: %.3f s\n", seconds);
  RecordProperty("close_ms", static_cast<int>(seconds * 1000));
  // Generous: a loaded machine is slow, a worker that is not stopped is never done.
  EXPECT_LT(seconds, 3.0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(program_->Process(), &exitCode);
  EXPECT_EQ(exitCode, 0u);

  std::vector<std::string> stopped = RunLines({"10001"});
  for (const std::string& line : PassLines("23456", "profile")) stopped.push_back(line);
  EXPECT_EQ(find_->Lines(), stopped);
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), "10001\r\n23456");
  EXPECT_EQ(folder_.ReadFile(kPendingFile), "300007\r\n44444");
  EXPECT_EQ(folder_.ReadFile(kKeptFile), std::nullopt);
}

// Which window the test brings to the front while 23456's profile is open.
enum class Front { AnotherProgram, Tallyfox, FindWindow };

struct ForegroundCase {
  const char* name;
  Front front;
};

void PrintTo(const ForegroundCase& c, std::ostream* os) { *os << c.name; }

class ForegroundTest : public RunTest, public testing::WithParamInterface<ForegroundCase> {};

// Only a window of the Find window's process other than the Find window is
// closed. The test takes the foreground when the profile has opened, a search
// wait before the run looks at it, so the run sees the window taken.
TEST_P(ForegroundTest, AWindowThatIsNotTheMessengersProfileIsNeverClosed) {
  ASSERT_NO_FATAL_FAILURE(Start({"10001", "23456", "300007"}, kRoomToReact));
  OwnWindow other;
  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 23456"));
  HWND front = nullptr;
  switch (GetParam().front) {
    case Front::AnotherProgram:
      front = other.Handle();
      break;
    case Front::Tallyfox:
      front = program_->MainWindow();
      break;
    case Front::FindWindow:
      front = ::FindWindowW(L"TXGuiFoundation", L"查找");
      break;
  }
  ::SetForegroundWindow(front);
  ASSERT_TRUE(PollUntil([&] { return ::GetForegroundWindow() == front; }, kWindowTimeoutMs))
      << "the test could not bring its window to the front";
  ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile 300007 wparam=1 lparam=1"));

  EXPECT_EQ(::WaitForSingleObject(program_->Process(), 0), static_cast<DWORD>(WAIT_TIMEOUT))
      << "Tallyfox ended";
  EXPECT_TRUE(::IsWindow(front));
  EXPECT_EQ(other.CloseRequests(), 0);
  ASSERT_NO_FATAL_FAILURE(CloseProgram());
  // 23456's pass ended without a close, and the run went on to the next number.
  // Under Wine the next pass's Ctrl+A and Backspace may reach the window that
  // was in front: the double click activates the Find window only after them.
  std::vector<std::string> expected = RunLines({"10001"});
  for (const std::string& line : PassLines("23456", "profile")) expected.push_back(line);
  expected.push_back("click 100 95");
  std::vector<std::string> lines = find_->Lines();
  ASSERT_GE(lines.size(), expected.size()) << testing::PrintToString(lines);
  EXPECT_EQ(
      std::vector<std::string>(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(expected.size())),
      expected);
  for (const std::string& line : lines) EXPECT_EQ(line.rfind("close-find", 0), std::string::npos) << line;
  EXPECT_EQ(lines.back(), "close-profile 300007 wparam=1 lparam=1");
}

INSTANTIATE_TEST_SUITE_P(, ForegroundTest,
                         testing::Values(ForegroundCase{"AnotherProgram", Front::AnotherProgram},
                                         ForegroundCase{"Tallyfox", Front::Tallyfox},
                                         ForegroundCase{"FindWindow", Front::FindWindow}),
                         [](const testing::TestParamInfo<ForegroundCase>& info) {
                           return std::string(info.param.name);
                         });

struct NoticeCase {
  const char* name;
  bool findWindow;
  std::vector<std::string> numbers;
  bool visitAllFirst;
  const wchar_t* text;
};

void PrintTo(const NoticeCase& c, std::ostream* os) { *os << c.name; }

class NoticeTest : public RunTest, public testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeTest, StartWithNothingToDoShowsANoticeAndDoesNothing) {
  const NoticeCase& c = GetParam();
  ASSERT_NO_FATAL_FAILURE(Start(c.numbers, kQuick, c.findWindow));
  if (c.visitAllFirst) {
    ClickStart();
    ASSERT_NO_FATAL_FAILURE(AwaitLine("close-profile " + c.numbers.back() + " wparam=1 lparam=1"));
  }
  const std::size_t linesBefore = find_ ? find_->Lines().size() : 0;
  // A Start during the run's last step is refused; the notice comes once it is over.
  HWND notice = nullptr;
  PollUntil(
      [&] {
        ClickStart();
        notice = program_->WaitForOwnWindow(L"#32770", L"信息：", 300);
        return notice != nullptr;
      },
      kWindowTimeoutMs);
  ASSERT_NE(notice, nullptr) << "no notice of the program";
  EXPECT_EQ(Utf8(TextOf(::GetDlgItem(notice, 0xFFFF))), Utf8(c.text));
  HWND ok = ::GetDlgItem(notice, IDOK);
  ASSERT_NE(ok, nullptr);
  ::PostMessageW(ok, BM_CLICK, 0, 0);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindow(notice); }, kWindowTimeoutMs)) << "the notice stayed";
  if (find_) {
    EXPECT_FALSE(LogGrowsBeyond(linesBefore)) << testing::PrintToString(find_->Lines());
  }
}

INSTANTIATE_TEST_SUITE_P(
    , NoticeTest,
    testing::Values(NoticeCase{"NoFindWindow", false, {"10001"}, false, L"请打开查找窗口！"},
                    NoticeCase{"EmptyList", true, {}, false, L"请导入QQ！"},
                    NoticeCase{"EveryNumberVisited", true, {"10001"}, true, L"请导入QQ！"}),
    [](const testing::TestParamInfo<NoticeCase>& info) { return std::string(info.param.name); });

/// A handle on a file opened with no sharing, as an editor or a backup tool may hold it.
class LockedFile {
 public:
  explicit LockedFile(const std::wstring& path)
      : handle_(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr)) {}
  ~LockedFile() { Release(); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }
  void Release() {
    if (Held()) ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

struct LockedCase {
  const char* name;
  bool lockedBeforeStart;         // unreadable at start-up: never written that session
  const char* visitedAfterClose;  // once the lock is gone
};

void PrintTo(const LockedCase& c, std::ostream* os) { *os << c.name; }

class LockedFileTest : public RunTest, public testing::WithParamInterface<LockedCase> {};

TEST_P(LockedFileTest, AVisitedFileHeldOpenKeepsItsContentAndTheOthersAreWritten) {
  const std::string earlier = "90001\r\n90002";
  folder_.WriteFile(kVisitedFile, earlier);
  std::optional<LockedFile> lock;
  if (GetParam().lockedBeforeStart) lock.emplace(folder_.FilePath(kVisitedFile));
  ASSERT_NO_FATAL_FAILURE(Start({"10001", "23456", "300007"}, kRoomToReact));
  if (!lock) lock.emplace(folder_.FilePath(kVisitedFile));
  ASSERT_TRUE(lock->Held()) << "error " << ::GetLastError();

  ClickStart();
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 10001"));
  PressKey(VK_F11);
  ASSERT_NO_FATAL_FAILURE(AwaitLine("profile 23456"));
  PressKey(VK_F10);
  ASSERT_TRUE(StatusBecomes(1, L"保存数据完成！")) << Status(1);
  lock->Release();
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), earlier);
  EXPECT_EQ(folder_.ReadFile(kPendingFile), "300007");
  EXPECT_EQ(folder_.ReadFile(kKeptFile), "10001");

  ASSERT_NO_FATAL_FAILURE(CloseProgram());
  EXPECT_EQ(folder_.ReadFile(kVisitedFile), GetParam().visitedAfterClose);
}

INSTANTIATE_TEST_SUITE_P(
    , LockedFileTest,
    testing::Values(LockedCase{"AfterStartup", false, "90001\r\n90002\r\n10001\r\n23456"},
                    LockedCase{"BeforeStartup", true, "90001\r\n90002"}),
    [](const testing::TestParamInfo<LockedCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e

int main() { return e2e::RunFixtureMain("run_e2e"); }
