// Times what a user of tallyfox.exe sees, from another process, as the
// end-to-end tests drive it: imports, start-up, the pacing of a run against
// practice-find.exe, and F10. Baselines run as programs of their own in the
// same session, alternately with the program, so each ratio compares runs
// made side by side. Prints "RESULT key median-ms runs: ..." lines (and
// "RESULT key value" for sizes) for scripts/bench.sh.
//   bench_driver TALLYFOX PRACTICE BENCH_DIR import RUNS N...
//   bench_driver TALLYFOX PRACTICE BENCH_DIR startup RUNS N IDLE_SECONDS
//   bench_driver TALLYFOX PRACTICE BENCH_DIR pacing RUNS PASSES STEP SEARCH
//   bench_driver TALLYFOX PRACTICE BENCH_DIR f10 RUNS
#include <windows.h>
// after windows.h, which they need
#include <commctrl.h>
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "bench_common.h"
#include "program_under_test.h"

namespace {

using bench::Now;

std::wstring practicePath;
std::wstring benchDir;

constexpr double kTimeoutS = 60;
constexpr const wchar_t* kPendingFile = L"未看过.txt";
constexpr const wchar_t* kVisitedFile = L"已看过.txt";
constexpr const wchar_t* kKeptFile = L"已筛选.txt";

std::wstring WindowsForm(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return L"Z:" + path;
}

/// A file's bytes, read while others may write it; nothing when it cannot be opened.
std::optional<std::string> ReadShared(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char chunk[65536];
  DWORD read = 0;
  while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
  ::CloseHandle(file);
  return bytes;
}

/// Starts a program and waits for it to end; its exit code, or -1.
int RunChild(const std::wstring& exe, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started)) {
    return -1;
  }
  ::CloseHandle(started.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (::WaitForSingleObject(started.hProcess, 600000) == WAIT_OBJECT_0) {
    ::GetExitCodeProcess(started.hProcess, &code);
  } else {
    ::TerminateProcess(started.hProcess, 1);
  }
  ::CloseHandle(started.hProcess);
  return static_cast<int>(code);
}

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM searchAddress) {
  auto& search = *reinterpret_cast<Search*>(searchAddress);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  // The class name is read without a message: the UI thread may be busy.
  if (owner != search.processId || !::IsWindowVisible(window) || e2e::ClassOf(window) != L"TallyfoxWindow") {
    return TRUE;
  }
  search.found = window;
  return FALSE;
}

BOOL CALLBACK MatchOwnWindow(HWND window, LPARAM searchAddress) {
  auto& search = *reinterpret_cast<std::pair<DWORD, std::pair<const wchar_t*, HWND>>*>(searchAddress);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.first || !::IsWindowVisible(window) || e2e::ClassOf(window) != search.second.first) {
    return TRUE;
  }
  search.second.second = window;
  return FALSE;
}

/// A visible top-level window of the process with the class, or null.
HWND OwnWindowOfClass(DWORD processId, const wchar_t* className) {
  std::pair<DWORD, std::pair<const wchar_t*, HWND>> search{processId, {className, nullptr}};
  ::EnumWindows(MatchOwnWindow, reinterpret_cast<LPARAM>(&search));
  return search.second.second;
}

HWND ChildOfClass(HWND parent, const wchar_t* className) {
  for (HWND child : e2e::ChildrenOf(parent)) {
    if (::CompareStringOrdinal(e2e::ClassOf(child).c_str(), -1, className, -1, TRUE) == CSTR_EQUAL) return child;
  }
  return nullptr;
}

/// tallyfox.exe started in its folder, the times at which it was started and
/// its main window was first seen shown. Destruction closes it, or ends it.
class Tallyfox {
 public:
  explicit Tallyfox(const e2e::ProgramFolder& folder) {
    const std::wstring exe = folder.FilePath(L"tallyfox.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    launched_ = Now();
    if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.Path().c_str(), &startup, &started)) {
      return;
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    processId_ = started.dwProcessId;
    while (Now() - launched_ < kTimeoutS && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      Search search{processId_, nullptr};
      ::EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
      if (search.found) {
        shown_ = Now();
        main_ = search.found;
        statusBar_ = ChildOfClass(main_, STATUSCLASSNAMEW);
        return;
      }
      ::Sleep(1);
    }
  }
  ~Tallyfox() {
    if (!process_) return;
    if (::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
      for (HWND modal; (modal = OwnWindowOfClass(processId_, L"#32770")) != nullptr;) {
        ::PostMessageW(modal, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (!e2e::PollUntil([&] { return !::IsWindowVisible(modal); }, 5000)) break;
      }
      if (main_) ::PostMessageW(main_, WM_CLOSE, 0, 0);
      if (::WaitForSingleObject(process_, 30000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 1);
    }
    ::CloseHandle(process_);
  }
  Tallyfox(const Tallyfox&) = delete;
  Tallyfox& operator=(const Tallyfox&) = delete;

  HWND Main() const { return main_; }
  HANDLE Process() const { return process_; }
  DWORD ProcessId() const { return processId_; }
  double Launched() const { return launched_; }
  double Shown() const { return shown_; }

  std::wstring Status(int part) const {
    return statusBar_ ? e2e::StatusPartText(process_, statusBar_, part) : std::wstring();
  }

  /// Polls status part 0 until it reads the text; the time it was seen, or 0.
  double AwaitStatus(int part, const std::wstring& text) const {
    const double start = Now();
    while (Now() - start < kTimeoutS) {
      if (Status(part) == text) return Now();
      ::Sleep(1);
    }
    return 0;
  }

  /// The child control: a list inside the group box with this caption, or a
  /// top-level child by class and text.
  HWND ListInGroup(const wchar_t* caption) const {
    for (HWND child : e2e::ChildrenOf(main_)) {
      if (e2e::ClassOf(child) == L"Button" && e2e::TextOf(child) == caption) return ChildOfClass(child, L"ListBox");
    }
    return nullptr;
  }
  HWND Child(const wchar_t* className, const wchar_t* text) const {
    for (HWND child : e2e::ChildrenOf(main_)) {
      if (::CompareStringOrdinal(e2e::ClassOf(child).c_str(), -1, className, -1, TRUE) == CSTR_EQUAL &&
          (!text || e2e::TextOf(child) == text)) {
        return child;
      }
    }
    return nullptr;
  }
  /// The two delay boxes, left to right.
  std::pair<HWND, HWND> DelayBoxes() const {
    std::vector<HWND> edits;
    for (HWND child : e2e::ChildrenOf(main_)) {
      if (::CompareStringOrdinal(e2e::ClassOf(child).c_str(), -1, L"Edit", -1, TRUE) == CSTR_EQUAL) {
        edits.push_back(child);
      }
    }
    if (edits.size() != 2) return {nullptr, nullptr};
    if (e2e::PlaceInParent(edits[0]).left > e2e::PlaceInParent(edits[1]).left) std::swap(edits[0], edits[1]);
    return {edits[0], edits[1]};
  }

  PROCESS_MEMORY_COUNTERS Memory() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process_, &counters, sizeof counters)) counters = {};
    return counters;
  }

  /// Kernel plus user time so far, in seconds.
  double CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process_, &created, &exited, &kernel, &user)) return -1;
    const auto seconds = [](FILETIME t) {
      return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
  }

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
  HWND statusBar_ = nullptr;
  double launched_ = 0, shown_ = 0;
};

std::wstring ImportedText(std::int32_t count) { return L"导入" + std::to_wstring(count) + L"个QQ！"; }

double Megabytes(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

/// The open dialog's file name box: a combo box in the Explorer-style dialog,
/// an edit box in the old one.
HWND FileNameBox(HWND dialog) {
  for (int id : {0x47C, 0x480}) {
    if (HWND box = ::GetDlgItem(dialog, id)) return box;
  }
  return nullptr;
}

void PostKey(HWND window, WPARAM key) {
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void SendMouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}

void PressKey(WORD key) {
  INPUT presses[2]{};
  presses[0].type = presses[1].type = INPUT_KEYBOARD;
  presses[0].ki.wVk = presses[1].ki.wVk = key;
  presses[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, presses, sizeof(INPUT));
}

/// Opens the open dialog through the pending list's menu ("导入"); the dialog, or null.
HWND OpenImportDialog(const Tallyfox& program) {
  static int serial = 0;
  HWND pending = program.ListInGroup(L"导入要筛选的QQ");
  if (!pending) return nullptr;
  e2e::PollUntil([&] { return ::IsWindowEnabled(program.Main()); }, 10000);
  RECT r{};
  ::GetWindowRect(pending, &r);
  // Each press a little lower than the last, so two are never a double click.
  ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2 + 10 * (serial++ % 5) - 20);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  HWND menu = nullptr;
  e2e::PollUntil([&] { return (menu = OwnWindowOfClass(program.ProcessId(), L"#32768")) != nullptr; }, 10000);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  if (!menu) return nullptr;
  PostKey(menu, VK_DOWN);
  PostKey(menu, VK_RETURN);
  HWND dialog = nullptr;
  e2e::PollUntil([&] { return (dialog = OwnWindowOfClass(program.ProcessId(), L"#32770")) != nullptr; }, 10000);
  return dialog;
}

// ---- import and start-up ----

struct ImportFigures {
  std::vector<double> startupTotal, startupShown, startupAfterShown, menu, baseline, emptyStatus;
  std::vector<double> peakWorkingSetMb, peakPagefileMb, menuPeakWorkingSetMb, menuPeakPagefileMb;
};

void BenchImport(int runs, std::int32_t count) {
  const std::string lines = bench::NumberLines(count);
  ImportFigures f;
  for (int run = 0; run < runs; ++run) {
    {  // An empty start-up file: start-up alone.
      e2e::ProgramFolder folder;
      folder.WriteFile(kPendingFile, "");
      Tallyfox program(folder);
      const double status = program.AwaitStatus(0, ImportedText(0));
      f.emptyStatus.push_back(status - program.Launched());
    }
    {  // The start-up file.
      e2e::ProgramFolder folder;
      folder.WriteFile(kPendingFile, lines);
      Tallyfox program(folder);
      const double status = program.AwaitStatus(0, ImportedText(count));
      if (status == 0) std::fprintf(stderr, "start-up import of %d: no status\n", count);
      f.startupTotal.push_back(status - program.Launched());
      f.startupShown.push_back(program.Shown() - program.Launched());
      f.startupAfterShown.push_back(status - program.Shown());
      const PROCESS_MEMORY_COUNTERS memory = program.Memory();
      f.peakWorkingSetMb.push_back(Megabytes(memory.PeakWorkingSetSize));
      f.peakPagefileMb.push_back(Megabytes(memory.PeakPagefileUsage));
    }
    e2e::ProgramFolder folder;
    folder.WriteFile(L"numbers.txt", lines);
    {  // The chosen file, from the dialog's OK to the count in the status bar.
      Tallyfox program(folder);
      program.AwaitStatus(0, ImportedText(0));
      HWND dialog = OpenImportDialog(program);
      HWND nameBox = dialog ? FileNameBox(dialog) : nullptr;
      if (!nameBox) {
        std::fprintf(stderr, "menu import of %d: no open dialog\n", count);
      } else {
        const std::wstring path = folder.FilePath(L"numbers.txt");
        ::SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        const double confirmed = Now();
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
        const double status = program.AwaitStatus(0, ImportedText(count));
        if (status == 0) std::fprintf(stderr, "menu import of %d: no status\n", count);
        f.menu.push_back(status - confirmed);
        const PROCESS_MEMORY_COUNTERS memory = program.Memory();
        f.menuPeakWorkingSetMb.push_back(Megabytes(memory.PeakWorkingSetSize));
        f.menuPeakPagefileMb.push_back(Megabytes(memory.PeakPagefileUsage));
      }
    }
    // The baseline takes 85 s for 100,000 under Wine: three runs there, none above.
    const int baselineRuns = count <= 10000 ? runs : count <= 100000 ? 3 : 0;
    if (run < baselineRuns) {  // The baseline program on the same file.
      const std::wstring out = folder.FilePath(L"baseline.txt");
      RunChild(benchDir + L"\\bench_listbox_baseline.exe",
               L"\"" + folder.FilePath(L"numbers.txt") + L"\" \"" + out + L"\"");
      const std::string result = ReadShared(out).value_or("");
      const double seconds = std::atof(result.c_str());
      const long added = result.find(' ') == std::string::npos ? 0 : std::atol(result.c_str() + result.find(' '));
      if (added != count) std::fprintf(stderr, "baseline of %d: %ld entries\n", count, added);
      f.baseline.push_back(seconds);
    }
  }
  const std::string n = std::to_string(count);
  bench::Report("import_startup_total_" + n, f.startupTotal);
  bench::Report("import_startup_shown_" + n, f.startupShown);
  bench::Report("import_startup_after_shown_" + n, f.startupAfterShown);
  bench::Report("import_startup_empty_" + n, f.emptyStatus);
  bench::Report("import_menu_" + n, f.menu);
  if (!f.baseline.empty()) bench::Report("import_baseline_" + n, f.baseline);
  bench::ReportValue("import_startup_peak_working_set_mb_" + n, bench::Median(f.peakWorkingSetMb));
  bench::ReportValue("import_startup_peak_pagefile_mb_" + n, bench::Median(f.peakPagefileMb));
  bench::ReportValue("import_menu_peak_working_set_mb_" + n, bench::Median(f.menuPeakWorkingSetMb));
  bench::ReportValue("import_menu_peak_pagefile_mb_" + n, bench::Median(f.menuPeakPagefileMb));
}

/// The Linux process that Wine runs the program in, found by the program's
/// folder in its command line; 0 when there is none.
unsigned long UnixProcessOf(const std::wstring& folder) {
  const std::string name = e2e::Utf8(folder.substr(folder.find_last_of(L'\\') + 1));
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW(L"Z:\\proc\\*", &entry);
  if (find == INVALID_HANDLE_VALUE) return 0;
  unsigned long found = 0;
  do {
    const std::wstring pid = entry.cFileName;
    if (pid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    const std::string commandLine = ReadShared(L"Z:\\proc\\" + pid + L"\\cmdline").value_or("");
    if (commandLine.find(name) != std::string::npos && commandLine.find("tallyfox.exe") != std::string::npos) {
      found = std::stoul(pid);
    }
  } while (!found && ::FindNextFileW(find, &entry));
  ::FindClose(find);
  return found;
}

/// The CPU time of all the Linux process's threads, from their schedstat (ns).
double UnixCpuSeconds(unsigned long pid) {
  const std::wstring tasks = L"Z:\\proc\\" + std::to_wstring(pid) + L"\\task\\";
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW((tasks + L"*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return -1;
  double seconds = 0;
  do {
    const std::wstring tid = entry.cFileName;
    if (tid.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    seconds += std::atof(ReadShared(tasks + tid + L"\\schedstat").value_or("0").c_str()) / 1e9;
  } while (::FindNextFileW(find, &entry));
  ::FindClose(find);
  return seconds;
}

void BenchStartup(int runs, std::int32_t count, int idleSeconds) {
  const std::string lines = bench::NumberLines(count);
  std::vector<double> shown, status, idle;
  for (int run = 0; run < runs; ++run) {
    e2e::ProgramFolder folder;
    folder.WriteFile(kPendingFile, lines);
    Tallyfox program(folder);
    const double seen = program.AwaitStatus(0, ImportedText(count));
    shown.push_back(program.Shown() - program.Launched());
    status.push_back(seen - program.Launched());
    // Settled: painted, nothing queued; then it should sleep.
    ::Sleep(1000);
    // GetProcessTimes of another process reads 0 under Wine 8; Linux counts
    // the threads of the process that Wine runs it in.
    const unsigned long unixPid = UnixProcessOf(folder.Path());
    const double cpuBefore = UnixCpuSeconds(unixPid), windowsBefore = program.CpuSeconds(), before = Now();
    ::Sleep(static_cast<DWORD>(idleSeconds * 1000));
    const double cpuAfter = UnixCpuSeconds(unixPid), windowsAfter = program.CpuSeconds(), after = Now();
    if (unixPid == 0 || cpuBefore < 0) std::fprintf(stderr, "idle: the Linux process was not found\n");
    idle.push_back((cpuAfter - cpuBefore) * 1000 / (after - before));
    if (run == 0) {
      bench::ReportValue("startup_cpu_s_until_idle_linux", cpuBefore);
      bench::ReportValue("startup_cpu_s_until_idle_getprocesstimes", windowsBefore);
      bench::ReportValue("idle_cpu_ms_per_s_getprocesstimes", (windowsAfter - windowsBefore) * 1000 / (after - before));
    }
    if (run == 0) {
      WIN32_FILE_ATTRIBUTE_DATA attributes{};
      if (::GetFileAttributesExW(folder.FilePath(L"tallyfox.exe").c_str(), GetFileExInfoStandard, &attributes)) {
        bench::ReportValue("executable_bytes", static_cast<double>(attributes.nFileSizeLow));
      }
    }
  }
  const std::string n = std::to_string(count);
  bench::Report("startup_shown_" + n, shown);
  bench::Report("startup_status_" + n, status);
  // Milliseconds of CPU per second, reported through the same line format.
  std::vector<double> idleAsSeconds;
  for (double v : idle) idleAsSeconds.push_back(v / 1000);
  bench::Report("idle_cpu_ms_per_s", idleAsSeconds);
}

// ---- runs against practice-find ----

/// practice-find.exe with its log in the folder; the log's lines with the time
/// each was first seen. Destruction closes it, or ends it.
class Practice {
 public:
  Practice(const std::wstring& logPath, POINT at) {
    std::wstring commandLine = L"\"" + practicePath + L"\" --at " + std::to_wstring(at.x) + L"," +
                               std::to_wstring(at.y) + L" --log \"" + logPath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!::CreateProcessW(practicePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &started)) {
      return;
    }
    ::CloseHandle(started.hThread);
    process_ = started.hProcess;
    e2e::PollUntil(
        [&] {
          log_ = ::CreateFileW(logPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
          return log_ != INVALID_HANDLE_VALUE;
        },
        15000);
    AwaitLine("ready", 15);
  }
  ~Practice() {
    if (log_ != INVALID_HANDLE_VALUE) ::CloseHandle(log_);
    if (!process_) return;
    if (HWND find = ::FindWindowW(L"TXGuiFoundation", L"查找")) ::PostMessageW(find, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process_, 10000) != WAIT_OBJECT_0) ::TerminateProcess(process_, 1);
    ::CloseHandle(process_);
  }
  Practice(const Practice&) = delete;
  Practice& operator=(const Practice&) = delete;

  struct Line {
    std::string text;
    double seen;
  };

  /// Reads what was added to the log since the last call.
  void Poll() {
    char chunk[4096];
    DWORD read = 0;
    while (log_ != INVALID_HANDLE_VALUE && ::ReadFile(log_, chunk, sizeof chunk, &read, nullptr) && read > 0) {
      const double now = Now();
      partial_.append(chunk, read);
      for (std::size_t end; (end = partial_.find('\n')) != std::string::npos;) {
        lines_.push_back({partial_.substr(0, end), now});
        partial_.erase(0, end + 1);
      }
    }
  }

  /// Polls the log until the line arrives; the time it was seen, or 0.
  double AwaitLine(const std::string& text, double timeoutS) {
    const double start = Now();
    for (;;) {
      Poll();
      for (; checked_ < lines_.size(); ++checked_) {
        if (lines_[checked_].text == text) return lines_[checked_++].seen;
      }
      if (Now() - start > timeoutS) return 0;
      ::Sleep(1);
    }
  }

  const std::vector<Line>& Lines() const { return lines_; }
  bool Started() const { return process_ && log_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE process_ = nullptr;
  HANDLE log_ = INVALID_HANDLE_VALUE;
  std::string partial_;
  std::vector<Line> lines_;
  std::size_t checked_ = 0;
};

/// The Find window below Tallyfox's centred window when the screen has room.
POINT FindWindowPlace() {
  const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
  const int mainBottom = (screenHeight + 360) / 2;
  return {0, mainBottom + 8 + 300 <= screenHeight ? mainBottom + 8 : 0};
}

std::vector<std::string> Numbers(int count) {
  std::vector<std::string> numbers;
  for (int i = 0; i < count; ++i) numbers.push_back(std::to_string(100000000 + i));
  return numbers;
}

std::string Joined(const std::vector<std::string>& numbers, std::size_t from, std::size_t to) {
  std::string bytes;
  for (std::size_t i = from; i < to; ++i) bytes += (i > from ? "\r\n" : "") + numbers[i];
  return bytes;
}

/// A log line without its number: "search 100000003" is "search".
std::string Kind(const std::string& line) {
  for (const char* numbered : {"paste ", "search ", "profile ", "close-profile "}) {
    const std::string prefix = numbered;
    if (line.rfind(prefix, 0) == 0) return prefix.substr(0, prefix.size() - 1);
  }
  return line;
}

/// Sets the delay boxes and clicks Start.
bool StartRun(const Tallyfox& program, const std::wstring& step, const std::wstring& search) {
  const auto [speed, wait] = program.DelayBoxes();
  HWND start = program.Child(L"Button", L"开始");
  if (!speed || !wait || !start) return false;
  ::SendMessageW(speed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.c_str()));
  ::SendMessageW(wait, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(search.c_str()));
  ::SendMessageW(start, BM_CLICK, 0, 0);
  return true;
}

void BenchPacing(int runs, int passes, const std::wstring& step, const std::wstring& search) {
  const double stepS = std::wcstod(step.c_str(), nullptr), searchS = std::wcstod(search.c_str(), nullptr);
  const double nominal = 6 * stepS + 2 * searchS;
  const std::vector<std::string> numbers = Numbers(passes);
  std::vector<double> passTimes, runMeans, sleepTimes, waitMsTimes;
  // Median gap between consecutive log lines of a pass, by the pair of kinds.
  std::map<std::string, std::vector<double>> gaps;
  for (int run = 0; run < runs; ++run) {
    {
      e2e::ProgramFolder folder;
      folder.WriteFile(kPendingFile, Joined(numbers, 0, numbers.size()) + "\r\n");
      Practice practice(folder.FilePath(L"practice.log"), FindWindowPlace());
      if (!practice.Started()) {
        std::fprintf(stderr, "practice-find did not start\n");
        return;
      }
      Tallyfox program(folder);
      program.AwaitStatus(0, ImportedText(passes));
      if (!StartRun(program, step, search)) std::fprintf(stderr, "pacing: controls not found\n");
      const std::string last = "close-profile " + numbers.back() + " wparam=1 lparam=1";
      if (practice.AwaitLine(last, passes * nominal * 3 + 10) == 0) {
        std::fprintf(stderr, "pacing: the run did not end\n");
      }
      std::vector<double> searches;
      const auto& lines = practice.Lines();
      for (std::size_t i = 0; i < lines.size(); ++i) {
        if (Kind(lines[i].text) == "search") searches.push_back(lines[i].seen);
        if (i > 0 && lines[i - 1].text != "ready") {
          gaps[Kind(lines[i - 1].text) + " > " + Kind(lines[i].text)].push_back(lines[i].seen - lines[i - 1].seen);
        }
      }
      for (std::size_t i = 1; i < searches.size(); ++i) passTimes.push_back(searches[i] - searches[i - 1]);
      if (searches.size() > 1) runMeans.push_back((searches.back() - searches.front()) / (searches.size() - 1));
    }
    // The baseline, right after, in a program of its own.
    e2e::ProgramFolder folder;
    const std::wstring out = folder.FilePath(L"waits.txt");
    RunChild(benchDir + L"\\bench_wait_baseline.exe",
             std::to_wstring(static_cast<int>(stepS * 1000 + 0.5)) + L" " +
                 std::to_wstring(static_cast<int>(searchS * 1000 + 0.5)) + L" " + std::to_wstring(passes) + L" \"" +
                 out + L"\"");
    const std::string text = ReadShared(out).value_or("");
    const std::size_t split = text.find('\n');
    for (auto [from, into] : {std::pair{0, &sleepTimes}, std::pair{1, &waitMsTimes}}) {
      const std::string line = from == 0 ? text.substr(0, split) : text.substr(split + 1);
      const char* p = line.c_str() + std::min(line.find(' '), line.size());
      char* end = nullptr;
      for (double value = std::strtod(p, &end); end != p; value = std::strtod(p, &end)) {
        into->push_back(value);
        p = end;
      }
    }
  }
  bench::ReportValue("pass_nominal_ms", nominal * 1000);
  bench::Report("pass_tallyfox", passTimes);
  bench::Report("pass_tallyfox_run_mean", runMeans);
  bench::Report("pass_sleep", sleepTimes);
  bench::Report("pass_waitms", waitMsTimes);
  for (const auto& [pair, values] : gaps) {
    std::printf("GAP %-28s %8.2f ms (median of %zu)\n", pair.c_str(), bench::Median(values) * 1000, values.size());
  }
}

/// The threads of a process.
std::set<DWORD> ThreadsOf(DWORD processId) {
  std::set<DWORD> threads;
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return threads;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == processId) threads.insert(entry.th32ThreadID);
  }
  ::CloseHandle(snapshot);
  return threads;
}

void BenchF10(int runs) {
  const std::vector<std::string> numbers = Numbers(6);
  std::vector<double> files, worker, both, status;
  for (int run = 0; run < runs; ++run) {
    e2e::ProgramFolder folder;
    folder.WriteFile(kPendingFile, Joined(numbers, 0, numbers.size()) + "\r\n");
    Practice practice(folder.FilePath(L"practice.log"), FindWindowPlace());
    Tallyfox program(folder);
    program.AwaitStatus(0, ImportedText(static_cast<std::int32_t>(numbers.size())));
    const std::set<DWORD> before = ThreadsOf(program.ProcessId());
    StartRun(program, L"0.05", L"1.0");
    if (practice.AwaitLine("profile " + numbers[0], 15) == 0) continue;
    PressKey(VK_F11);
    if (practice.AwaitLine("profile " + numbers[1], 15) == 0) continue;
    // The worker is among the threads that came with Start.
    std::vector<HANDLE> started;
    for (DWORD id : ThreadsOf(program.ProcessId())) {
      if (before.count(id)) continue;
      if (HANDLE thread = ::OpenThread(SYNCHRONIZE, FALSE, id)) started.push_back(thread);
    }
    const std::string visited = Joined(numbers, 0, 2), pending = Joined(numbers, 2, numbers.size()),
                      kept = numbers[0];
    const double pressed = Now();
    PressKey(VK_F10);
    double filesAt = 0, workerAt = 0;
    while (Now() - pressed < 10 && (filesAt == 0 || workerAt == 0)) {
      if (filesAt == 0 && ReadShared(folder.FilePath(kVisitedFile)) == visited &&
          ReadShared(folder.FilePath(kPendingFile)) == pending && ReadShared(folder.FilePath(kKeptFile)) == kept) {
        filesAt = Now();
      }
      for (HANDLE thread : started) {
        if (workerAt == 0 && ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0) workerAt = Now();
      }
      ::Sleep(0);
    }
    for (HANDLE thread : started) ::CloseHandle(thread);
    if (filesAt == 0 || workerAt == 0) {
      std::fprintf(stderr, "f10: files %s, worker %s (of %zu new threads)\n", filesAt ? "written" : "not written",
                   workerAt ? "ended" : "not ended", started.size());
      continue;
    }
    files.push_back(filesAt - pressed);
    worker.push_back(workerAt - pressed);
    both.push_back(std::max(filesAt, workerAt) - pressed);
    const double shown = program.AwaitStatus(1, L"保存数据完成！");
    status.push_back(shown - pressed);
  }
  bench::Report("f10_files_written", files);
  bench::Report("f10_worker_ended", worker);
  bench::Report("f10_both", both);
  bench::Report("f10_status_seen", status);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  std::vector<std::wstring> args(wide, wide + argc);
  ::LocalFree(wide);
  if (argc < 6) {
    std::fprintf(stderr, "usage: bench_driver TALLYFOX PRACTICE BENCH_DIR import|startup|pacing|f10 RUNS ...\n");
    return 2;
  }
  e2e::programPath = WindowsForm(args[1]);
  practicePath = WindowsForm(args[2]);
  benchDir = WindowsForm(args[3]);
  const std::wstring command = args[4];
  const int runs = std::stoi(args[5]);
  if (command == L"import") {
    for (int i = 6; i < argc; ++i) BenchImport(runs, std::stoi(args[i]));
  } else if (command == L"startup" && argc == 8) {
    BenchStartup(runs, std::stoi(args[6]), std::stoi(args[7]));
  } else if (command == L"pacing" && argc == 9) {
    BenchPacing(runs, std::stoi(args[6]), args[7], args[8]);
  } else if (command == L"f10") {
    BenchF10(runs);
  } else {
    std::fprintf(stderr, "unknown command or arguments\n");
    return 2;
  }
  return 0;
}
