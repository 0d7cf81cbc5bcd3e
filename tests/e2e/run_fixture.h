// A run of the real tallyfox.exe against practice-find.exe, driven from a third
// process as a user would: the practice window and its log, the delays typed
// into the boxes, Start, the keys, and a main for such tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "program_under_test.h"

namespace e2e {

/// The practice-find.exe the fixture starts, set by main.
inline std::wstring practicePath;

constexpr DWORD kLineTimeoutMs = 15000;
constexpr DWORD kWindowTimeoutMs = 10000;
constexpr const wchar_t* kVisitedFile = L"已看过.txt";
constexpr const wchar_t* kPendingFile = L"未看过.txt";
constexpr const wchar_t* kKeptFile = L"已筛选.txt";

/// What the two delay boxes are set to, in seconds, as typed.
struct Delays {
  const wchar_t* step;
  const wchar_t* search;
  /// One pass: six steps and two search waits, as the run loop makes them.
  DWORD PassMs() const {
    return static_cast<DWORD>(6 * 1000 * std::wcstod(step, nullptr) +
                              2 * 1000 * std::wcstod(search, nullptr));
  }
};
constexpr Delays kQuick{L"0.05", L"0.25"};
// A key pressed when the profile opens must arrive within the search wait.
constexpr Delays kRoomToReact{L"0.05", L"1.0"};

inline std::string Joined(const std::vector<std::string>& numbers) {
  std::string bytes;
  for (const std::string& number : numbers) bytes += (bytes.empty() ? "" : "\r\n") + number;
  return bytes;
}

inline std::vector<std::string> OpeningLines() { return {"click 235 45", "dblclick 235 45"}; }

/// What the practice window logs for one number's pass; `upTo` cuts it after
/// the first line that starts so.
inline std::vector<std::string> PassLines(const std::string& number, const std::string& upTo = "") {
  const std::vector<std::string> all = {
      "click 100 95",    "dblclick 100 95",   "key ctrl+a",
      "key backspace",   "key ctrl+v",        "paste " + number,
      "key enter",       "search " + number,  "click 55 285",
      "dblclick 55 285", "profile " + number, "close-profile " + number + " wparam=1 lparam=1",
  };
  std::vector<std::string> lines;
  for (const std::string& line : all) {
    lines.push_back(line);
    if (!upTo.empty() && line.rfind(upTo, 0) == 0) break;
  }
  return lines;
}

/// "ready", the opening double click and a full pass for each number.
inline std::vector<std::string> RunLines(const std::vector<std::string>& numbers) {
  std::vector<std::string> lines = {"ready"};
  for (const std::string& line : OpeningLines()) lines.push_back(line);
  for (const std::string& number : numbers) {
    for (const std::string& line : PassLines(number)) lines.push_back(line);
  }
  return lines;
}

inline bool KeyDown(int key) { return (::GetAsyncKeyState(key) & 0x8000) != 0; }

/// practice-find.exe with its log in the folder; destruction closes it and
/// waits for it to end, or ends it.
class PracticeFind {
 public:
  /// `options`: further command-line options, each after a space.
  PracticeFind(const std::wstring& logPath, POINT at, const std::wstring& options = L"") : logPath_(logPath) {
    std::wstring commandLine = L"\"" + practicePath + L"\" --at " + std::to_wstring(at.x) + L"," +
                               std::to_wstring(at.y) + L" --log \"" + logPath + L"\"" + options;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(practicePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &started)) {
      return;
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    WaitForLine("ready", kLineTimeoutMs);
  }
  ~PracticeFind() {
    if (!process_) return;
    if (HWND find = ::FindWindowW(L"TXGuiFoundation", L"查找")) ::PostMessageW(find, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_, kWindowTimeoutMs) != WAIT_OBJECT_0) ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
  }
  PracticeFind(const PracticeFind&) = delete;
  PracticeFind& operator=(const PracticeFind&) = delete;

  bool Started() const { return process_ && !Lines().empty(); }
  HANDLE Process() const { return process_; }

  std::vector<std::string> Lines() const {
    const std::string bytes = ReadBytes(logPath_).value_or("");
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
      lines.push_back(bytes.substr(start, end - start));
    }
    return lines;
  }

  /// Waits for the line among those after the last one waited for.
  bool WaitForLine(const std::string& line, DWORD timeoutMs = kLineTimeoutMs) {
    return PollUntil(
        [&] {
          const std::vector<std::string> lines = Lines();
          for (std::size_t i = seen_; i < lines.size(); ++i) {
            if (lines[i] == line) {
              seen_ = i + 1;
              return true;
            }
          }
          return false;
        },
        timeoutMs);
  }

 private:
  std::wstring logPath_;
  HANDLE process_ = nullptr;
  std::size_t seen_ = 0;
};

/// A visible top-level window of the test process, served by a thread of its
/// own so that it answers while the test waits; it counts WM_CLOSE and the keys
/// it receives, and stays.
class OwnWindow {
 public:
  OwnWindow() {
    std::atomic<bool> created{false};
    thread_ = std::thread([&] {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = Procedure;
      windowClass.hInstance = ::GetModuleHandleW(nullptr);
      windowClass.lpszClassName = L"RunE2eOwnWindow";
      ::RegisterClassW(&windowClass);
      window_ = ::CreateWindowExW(0, windowClass.lpszClassName, L"Another program", WS_POPUP | WS_VISIBLE,
                                  ::GetSystemMetrics(SM_CXSCREEN) - 220, 20, 200, 100, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
      ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      threadId_ = ::GetCurrentThreadId();
      created = true;
      MSG message;
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
      ::DestroyWindow(window_);
    });
    while (!created) ::Sleep(1);
  }
  ~OwnWindow() {
    ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    thread_.join();
  }
  OwnWindow(const OwnWindow&) = delete;
  OwnWindow& operator=(const OwnWindow&) = delete;

  HWND Handle() const { return window_; }
  int CloseRequests() const { return closeRequests_; }
  int KeyPresses() const { return keyPresses_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<OwnWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && message == WM_KEYDOWN) ++self->keyPresses_;
    if (self && message == WM_CLOSE) {
      ++self->closeRequests_;
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

  std::thread thread_;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
  std::atomic<int> closeRequests_{0};
  std::atomic<int> keyPresses_{0};
};

/// The Find window's top-left: its left part, where the run clicks, clear of
/// Tallyfox's window, which is centred; below it when the screen has room.
inline POINT FindWindowPlace() {
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const int mainBottom = (screenHeight + 360) / 2;
  constexpr int kLowestClick = 285 + 15;
  return {0, mainBottom + 8 + kLowestClick <= screenHeight ? mainBottom + 8 : 0};
}

/// Tallyfox in a folder of its own with a number list, and practice-find.
class RunTest : public testing::Test {
 protected:
  /// Starts the practice window (unless told not to) and Tallyfox with these
  /// numbers in its pending file, and types the delays into the boxes.
  void Start(const std::vector<std::string>& numbers, Delays delays = kQuick, bool withFindWindow = true) {
    delays_ = delays;
    if (!numbers.empty()) folder_.WriteFile(kPendingFile, Joined(numbers) + "\r\n");
    if (withFindWindow) {
      find_.emplace(folder_.FilePath(L"practice.log"), FindWindowPlace(), findOptions_);
      ASSERT_TRUE(find_->Started()) << "practice-find did not start: " << Utf8(practicePath);
    }
    if (programFolder_.empty()) {
      program_.emplace(folder_);
    } else {
      program_.emplace(programFolder_);
    }
    ASSERT_NE(program_->MainWindow(), nullptr) << "no visible window \"Tallyfox\" of the started program";
    controls_ = FindRunControls(program_->MainWindow());
    ASSERT_NE(controls_.speed, nullptr);
    ASSERT_NE(controls_.wait, nullptr);
    ASSERT_NE(controls_.start, nullptr);
    ASSERT_NE(controls_.kept, nullptr);
    ASSERT_NE(controls_.statusBar, nullptr);
    Send(controls_.speed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(delays.step));
    Send(controls_.wait, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(delays.search));
  }

  void ClickStart() { Send(controls_.start, BM_CLICK, 0, 0); }
  /// The command a click on Start gives, without the click: a click activates
  /// Tallyfox, and the run's next keys would go to it instead of the Find window.
  void CommandStart() {
    Send(program_->MainWindow(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(controls_.start), BN_CLICKED),
         reinterpret_cast<LPARAM>(controls_.start));
  }
  static void Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    EXPECT_TRUE(
        ::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kWindowTimeoutMs, &ignored))
        << "Tallyfox did not answer";
  }

  /// Waits for the log line; a fatal failure when it does not come.
  void AwaitLine(const std::string& line) {
    ASSERT_TRUE(find_->WaitForLine(line)) << "the practice log never showed \"" << line << "\"; it holds:\n"
                                          << testing::PrintToString(find_->Lines());
  }

  /// A status bar part as UTF-8, to compare with Utf8(L"...") (narrow literals are GBK here).
  std::string Status(int part) {
    return Utf8(StatusPartText(program_->Process(), controls_.statusBar, part));
  }
  bool StatusBecomes(int part, const wchar_t* text) {
    return PollUntil([&] { return Status(part) == Utf8(text); }, kWindowTimeoutMs);
  }

  std::vector<std::string> Kept() {
    std::vector<std::string> kept;
    for (const std::wstring& entry : ListEntries(controls_.kept)) kept.push_back(Utf8(entry));
    return kept;
  }

  /// Watches the log for three pass-lengths; whether it grew beyond `lines`.
  bool LogGrowsBeyond(std::size_t lines) {
    return PollUntil([&] { return find_->Lines().size() > lines; }, 3 * delays_.PassMs());
  }

  /// Closes Tallyfox and waits for it to end, so that the files are final.
  void CloseProgram() { ASSERT_TRUE(program_->Close()) << "Tallyfox did not end on WM_CLOSE"; }

  // Destroyed in reverse: Tallyfox ends before the window it drives.
  ProgramFolder folder_;
  // Set before Start: practice-find's further options; a folder of Tallyfox's
  // other than folder_ (Windows form).
  std::wstring findOptions_;
  std::wstring programFolder_;
  std::optional<PracticeFind> find_;
  std::optional<RunningProgram> program_;
  RunControls controls_;
  Delays delays_ = kQuick;
};

/// Runs the tests; the last two arguments that are not GoogleTest flags are
/// tallyfox.exe, then practice-find.exe.
inline int RunFixtureMain(const char* name) {
  int argc = 0;
  wchar_t** wideArgs = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::string> narrow;
  std::vector<std::wstring> paths;
  for (int i = 0; i < argc; ++i) {
    const std::wstring arg = wideArgs[i];
    narrow.push_back(Utf8(arg));
    if (i > 0 && arg.rfind(L"--", 0) != 0) paths.push_back(WindowsPath(arg));
  }
  ::LocalFree(wideArgs);
  std::vector<char*> argv;
  for (std::string& arg : narrow) argv.push_back(arg.data());
  argc = static_cast<int>(argv.size());
  testing::InitGoogleTest(&argc, argv.data());
  if (paths.size() < 2) {
    std::fprintf(stderr, "usage: %s [gtest flags] path\\to\\tallyfox.exe path\\to\\practice-find.exe\n", name);
    return 2;
  }
  programPath = paths[paths.size() - 2];
  practicePath = paths.back();
  return RUN_ALL_TESTS();
}

}  // namespace e2e
