// Drives practice-find.exe from another process as Tallyfox does (SendInput,
// the clipboard, WM_CLOSE) and checks what its log says it received.
//   practice_find_selftest.exe PATH\practice-find.exe [--leave-open]
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr DWORD kTimeoutMs = 15000;
constexpr POINT kPeopleTab{235, 45};
constexpr POINT kField{100, 95};
constexpr POINT kTile{55, 285};

int failures = 0;

void Check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);
  if (!ok) ++failures;
}

std::string Utf8(const std::wstring& text) {
  std::string bytes(text.size() * 3 + 1, '\0');
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                         bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  bytes.resize(static_cast<std::size_t>(size > 0 ? size : 0));
  return bytes;
}

bool PollUntil(const std::function<bool()>& check) {
  const ULONGLONG deadline = ::GetTickCount64() + kTimeoutMs;
  for (;;) {
    if (check()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(20);
  }
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes;
  std::array<char, 4096> chunk;
  DWORD read = 0;
  while (::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
    bytes.append(chunk.data(), read);
  }
  ::CloseHandle(file);
  std::vector<std::string> lines;
  for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

/// The practice window under test, its log, and the lines already waited for.
struct Practice {
  PROCESS_INFORMATION process{};
  std::wstring logPath;
  HWND find = nullptr;
  std::size_t seen = 0;

  bool WaitForLine(const std::string& line) {
    const bool found = PollUntil([&] {
      const std::vector<std::string> lines = ReadLines(logPath);
      for (std::size_t i = seen; i < lines.size(); ++i) {
        if (lines[i] == line) {
          seen = i + 1;
          return true;
        }
      }
      return false;
    });
    Check(found, "log: " + line);
    return found;
  }
};

bool Start(Practice& practice, const std::wstring& exe, const std::wstring& extra) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  practice.logPath =
      std::wstring(temp) + L"practice-find-selftest-" + std::to_wstring(::GetCurrentProcessId()) + L".log";
  ::DeleteFileW(practice.logPath.c_str());
  std::wstring commandLine = L"\"" + exe + L"\" --at 120,110 --log \"" + practice.logPath + L"\"" + extra;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &practice.process)) {
    Check(false, "start " + Utf8(exe));
    return false;
  }
  const bool shown = PollUntil([&] {
    practice.find = ::FindWindowW(L"TXGuiFoundation", L"查找");
    DWORD owner = 0;
    ::GetWindowThreadProcessId(practice.find, &owner);
    return practice.find && owner == practice.process.dwProcessId;
  });
  Check(shown, "the Find window appears");
  RECT place{};
  ::GetWindowRect(practice.find, &place);
  Check(place.left == 120 && place.top == 110, "its top-left corner is where --at put it");
  return shown && practice.WaitForLine("ready");
}

/// Waits for the process to end; its exit code, or -1.
int Finish(Practice& practice) {
  int code = -1;
  if (::WaitForSingleObject(practice.process.hProcess, kTimeoutMs) == WAIT_OBJECT_0) {
    DWORD exitCode = 0;
    ::GetExitCodeProcess(practice.process.hProcess, &exitCode);
    code = static_cast<int>(exitCode);
  } else {
    ::TerminateProcess(practice.process.hProcess, 1);
  }
  ::CloseHandle(practice.process.hThread);
  ::CloseHandle(practice.process.hProcess);
  return code;
}

// Each event carries the place: under Wine a late X motion event from an earlier
// SetCursorPos can move the cursor back between the events of one batch.
INPUT Mouse(DWORD flags, POINT screen) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN);
  const int height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = (screen.x * 65535 + width - 2) / (width - 1);
  input.mi.dy = (screen.y * 65535 + height - 2) / (height - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  return input;
}

INPUT Key(WORD key, DWORD flags) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = flags;
  return input;
}

// Like Tallyfox: the cursor is put in place, then the four button events go as one batch.
void DoubleClick(HWND window, POINT offset) {
  RECT place;
  ::GetWindowRect(window, &place);
  const POINT screen{place.left + offset.x, place.top + offset.y};
  ::SetCursorPos(screen.x, screen.y);
  std::array<INPUT, 4> events = {Mouse(MOUSEEVENTF_LEFTDOWN, screen), Mouse(MOUSEEVENTF_LEFTUP, screen),
                                 Mouse(MOUSEEVENTF_LEFTDOWN, screen), Mouse(MOUSEEVENTF_LEFTUP, screen)};
  ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

// All keys down in order, then all up in the same order, as one batch.
void Press(std::initializer_list<WORD> keys) {
  std::vector<INPUT> events;
  for (const WORD key : keys) events.push_back(Key(key, 0));
  for (const WORD key : keys) events.push_back(Key(key, KEYEVENTF_KEYUP));
  ::SendInput(static_cast<UINT>(events.size()), events.data(), sizeof(INPUT));
}

bool PutOnClipboard(const std::wstring& text) {
  if (!PollUntil([] { return ::OpenClipboard(nullptr) != FALSE; })) return false;
  bool ok = false;
  if (HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
    std::memcpy(::GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ok = ::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, block);
    if (!ok) ::GlobalFree(block);
  }
  ::CloseClipboard();
  return ok;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[256] = L"";
  ::GetWindowTextW(window, title, 256);
  return title;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

/// The visible profile window owned by the Find window, waited for.
HWND WaitForProfile(HWND find) {
  HWND profile = nullptr;
  PollUntil([&] {
    HWND front = ::GetForegroundWindow();
    if (front && front != find && ::GetWindow(front, GW_OWNER) == find) profile = front;
    return profile != nullptr;
  });
  return profile;
}

// One pass of Tallyfox's loop; leaves the profile window in front and returns it.
HWND SearchAndOpen(Practice& practice, const std::wstring& number) {
  const std::string text = Utf8(number);
  DoubleClick(practice.find, kPeopleTab);
  practice.WaitForLine("dblclick 235 45");
  DoubleClick(practice.find, kField);
  practice.WaitForLine("dblclick 100 95");
  Press({VK_CONTROL, 'A'});
  practice.WaitForLine("key ctrl+a");
  Press({VK_BACK});
  practice.WaitForLine("key backspace");
  Check(PutOnClipboard(number), "clipboard holds " + text);
  Press({VK_CONTROL, 'V'});
  practice.WaitForLine("paste " + text);
  Press({VK_RETURN});
  practice.WaitForLine("search " + text);
  DoubleClick(practice.find, kTile);
  practice.WaitForLine("profile " + text);
  HWND profile = WaitForProfile(practice.find);
  Check(profile != nullptr, "the profile window is in front, owned by the Find window");
  Check(EndsWith(TitleOf(profile), L"的资料"),
        "its title is the nickname's profile: " + Utf8(TitleOf(profile)));
  return profile;
}

void PrintLog(const Practice& practice) {
  std::printf("---- log\n");
  for (const std::string& line : ReadLines(practice.logPath)) std::printf("%s\n", line.c_str());
  std::printf("----\n");
}

void TestSearchesAndProfiles(const std::wstring& exe) {
  std::printf("== two passes, profile closed with WM_CLOSE(1, 1)\n");
  Practice practice;
  if (!Start(practice, exe, L"")) return;
  for (const std::wstring number : {L"12345", L"67890"}) {
    HWND profile = SearchAndOpen(practice, number);
    DWORD_PTR result = 0;
    ::SendMessageTimeoutW(::GetForegroundWindow(), WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, 5000, &result);
    practice.WaitForLine("close-profile " + Utf8(number) + " wparam=1 lparam=1");
    Check(PollUntil([&] { return !::IsWindow(profile); }), "the profile window is gone");
    Check(PollUntil([&] { return ::GetForegroundWindow() == practice.find; }),
          "the Find window is in front again");
  }
  ::PostMessageW(practice.find, WM_CLOSE, 0, 0);
  Check(Finish(practice) == 0, "WM_CLOSE ends the program with exit code 0");
  const std::vector<std::string> expected = {
      "ready",
      "click 235 45",
      "dblclick 235 45",
      "click 100 95",
      "dblclick 100 95",
      "key ctrl+a",
      "key backspace",
      "key ctrl+v",
      "paste 12345",
      "key enter",
      "search 12345",
      "click 55 285",
      "dblclick 55 285",
      "profile 12345",
      "close-profile 12345 wparam=1 lparam=1",
      "click 235 45",
      "dblclick 235 45",
      "click 100 95",
      "dblclick 100 95",
      "key ctrl+a",
      "key backspace",
      "key ctrl+v",
      "paste 67890",
      "key enter",
      "search 67890",
      "click 55 285",
      "dblclick 55 285",
      "profile 67890",
      "close-profile 67890 wparam=1 lparam=1",
      "close-find wparam=0 lparam=0",
      "exit",
  };
  Check(ReadLines(practice.logPath) == expected, "the whole log, in order, nothing else");
  PrintLog(practice);
  ::DeleteFileW(practice.logPath.c_str());
}

void TestHungProfile(const std::wstring& exe) {
  std::printf("== --hang-profile\n");
  Practice practice;
  if (!Start(practice, exe, L" --hang-profile")) return;
  // Before "找人" is selected, a search finds no person and opens nothing.
  DoubleClick(practice.find, kField);
  practice.WaitForLine("dblclick 100 95");
  Check(PutOnClipboard(L"111"), "clipboard holds 111");
  Press({VK_CONTROL, 'V'});
  Press({VK_RETURN});
  practice.WaitForLine("search-group 111");
  HWND profile = SearchAndOpen(practice, L"24680");
  DWORD_PTR result = 0;
  const bool answered = ::SendMessageTimeoutW(profile, WM_CLOSE, 1, 1, SMTO_ABORTIFHUNG, 1000, &result) != 0;
  Check(!answered && ::IsWindow(profile), "the profile window does not answer WM_CLOSE");
  const bool findAnswers =
      ::SendMessageTimeoutW(practice.find, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result) != 0;
  Check(findAnswers, "the Find window still answers");
  ::PostMessageW(practice.find, WM_CLOSE, 0, 0);
  Check(Finish(practice) == 0, "WM_CLOSE still ends the program with exit code 0");
  bool closeSeen = false;
  for (const std::string& line : ReadLines(practice.logPath))
    closeSeen |= line.rfind("close-profile", 0) == 0;
  Check(!closeSeen, "the hung profile window never handled WM_CLOSE");
  PrintLog(practice);
  ::DeleteFileW(practice.logPath.c_str());
}

}  // namespace

// For screenshots: one search with its profile open, left running.
int LeaveOpen(const std::wstring& exe) {
  Practice practice;
  if (!Start(practice, exe, L"")) return 1;
  SearchAndOpen(practice, L"12345");
  ::CloseHandle(practice.process.hThread);
  ::CloseHandle(practice.process.hProcess);
  return failures == 0 ? 0 : 1;
}

int main() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments || count < 2 || count > 3 || (count == 3 && std::wstring(arguments[2]) != L"--leave-open")) {
    std::printf("usage: practice_find_selftest PATH\\practice-find.exe [--leave-open]\n");
    return 2;
  }
  const std::wstring exe = arguments[1];
  const bool leaveOpen = count == 3;
  ::LocalFree(arguments);
  if (leaveOpen) return LeaveOpen(exe);
  TestSearchesAndProfiles(exe);
  TestHungProfile(exe);
  std::printf(failures == 0 ? "PASS\n" : "FAILED: %d\n", failures);
  return failures == 0 ? 0 : 1;
}
