// A small helper for scripts that drive Tallyfox under Wine (scripts/demo.sh):
//   window_tool wait TITLE SECONDS     waits until a visible top-level window
//                                      with this title is shown and painted
//   window_tool close TITLE SECONDS    asks it to close and waits until it is gone
//   window_tool move TITLE X Y         moves it, as a user drags it
//   window_tool delays STEP SEARCH     types the delays into Tallyfox's boxes
//   window_tool start                  clicks Tallyfox's Start button
//   window_tool key F10|F11            presses the key, as the keyboard does
//   window_tool wait-status PART TEXT SECONDS
//                                      waits until Tallyfox's status bar part
//                                      (0, 1 or 2) shows the text
//   window_tool paint                  has every visible window painted now
//   window_tool instructions SECONDS   opens the instructions from the pending
//                                      list's menu and waits until they show
// Exit status 0 on success, 1 on timeout or a missing window, 2 on bad use.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "program_under_test.h"

namespace {

constexpr wchar_t kUsage[] =
    L"usage: window_tool wait|close TITLE SECONDS | move TITLE X Y | delays STEP SEARCH | start\n"
    L"       | key F10|F11 | wait-status PART TEXT SECONDS | paint | instructions SECONDS\n";

HWND FindShown(const std::wstring& title) {
  HWND window = ::FindWindowW(nullptr, title.c_str());
  return window && ::IsWindowVisible(window) ? window : nullptr;
}

HWND FindShownClass(const wchar_t* className) {
  HWND window = ::FindWindowW(className, nullptr);
  return window && ::IsWindowVisible(window) ? window : nullptr;
}

template <typename Check>
bool PollUntil(Check check, ULONGLONG timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!check()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(50);
  }
  return true;
}

ULONGLONG Milliseconds(const std::wstring& seconds) {
  return std::wcstoull(seconds.c_str(), nullptr, 10) * 1000;
}

/// Paints the window and its children now; the reply to a sent message comes after that.
bool Paint(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  DWORD_PTR ignored = 0;
  return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

BOOL CALLBACK PaintShown(HWND window, LPARAM) {
  if (::IsWindowVisible(window)) Paint(window);
  return TRUE;
}

int Wait(const std::wstring& title, ULONGLONG timeoutMs) {
  HWND window = nullptr;
  if (!PollUntil([&] { return (window = FindShown(title)) != nullptr; }, timeoutMs)) return 1;
  return Paint(window) ? 0 : 1;
}

int Close(const std::wstring& title, ULONGLONG timeoutMs) {
  HWND window = FindShown(title);
  if (!window) return 0;
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return PollUntil([&] { return !::IsWindow(window); }, timeoutMs) ? 0 : 1;
}

int Move(const std::wstring& title, int x, int y) {
  HWND window = FindShown(title);
  if (!window) return 1;
  return ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
}

/// Tallyfox's controls, or all null when its window is not shown.
e2e::RunControls Tallyfox() {
  HWND main = FindShown(L"Tallyfox");
  return main ? e2e::FindRunControls(main) : e2e::RunControls{};
}

int Delays(const std::wstring& step, const std::wstring& search) {
  const e2e::RunControls controls = Tallyfox();
  if (!controls.speed || !controls.wait) return 1;
  ::SendMessageW(controls.speed, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(step.c_str()));
  ::SendMessageW(controls.wait, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(search.c_str()));
  return 0;
}

int Start() {
  const e2e::RunControls controls = Tallyfox();
  if (!controls.start) return 1;
  ::SendMessageW(controls.start, BM_CLICK, 0, 0);
  return 0;
}

int Key(const std::wstring& name) {
  WORD key = 0;
  if (name == L"F10") key = VK_F10;
  if (name == L"F11") key = VK_F11;
  if (!key) return 2;
  return e2e::PressKey(key) ? 0 : 1;
}

int WaitStatus(int part, const std::wstring& text, ULONGLONG timeoutMs) {
  HWND main = FindShown(L"Tallyfox");
  const e2e::RunControls controls = main ? e2e::FindRunControls(main) : e2e::RunControls{};
  if (!controls.statusBar) return 1;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(main, &processId);
  HANDLE process = ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return 1;
  const bool shown =
      PollUntil([&] { return e2e::StatusPartText(process, controls.statusBar, part) == text; }, timeoutMs);
  ::CloseHandle(process);
  return shown ? 0 : 1;
}

/// A right press on the pending list pops its menu up; three steps down is
/// "使用说明" (the separator is skipped).
int Instructions(ULONGLONG timeoutMs) {
  const e2e::RunControls controls = Tallyfox();
  if (!controls.pending) return 1;
  e2e::RightPressAt(controls.pending);
  e2e::RightRelease();
  HWND menu = nullptr;
  if (!PollUntil([&] { return (menu = FindShownClass(L"#32768")) != nullptr; }, timeoutMs)) return 1;
  for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}) e2e::PostKey(menu, key);
  return Wait(L"使用说明", timeoutMs);
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  const std::vector<std::wstring> args(argv + 1, argv + argc);
  ::LocalFree(argv);
  const std::wstring action = args.empty() ? L"" : args[0];
  const std::size_t count = args.size();

  if (action == L"wait" && count == 3) return Wait(args[1], Milliseconds(args[2]));
  if (action == L"close" && count == 3) return Close(args[1], Milliseconds(args[2]));
  if (action == L"move" && count == 4) return Move(args[1], std::stoi(args[2]), std::stoi(args[3]));
  if (action == L"delays" && count == 3) return Delays(args[1], args[2]);
  if (action == L"start" && count == 1) return Start();
  if (action == L"key" && count == 2) return Key(args[1]);
  if (action == L"wait-status" && count == 4)
    return WaitStatus(std::stoi(args[1]), args[2], Milliseconds(args[3]));
  if (action == L"paint" && count == 1) return ::EnumWindows(PaintShown, 0) ? 0 : 1;
  if (action == L"instructions" && count == 2) return Instructions(Milliseconds(args[1]));
  std::fwprintf(stderr, kUsage);
  return 2;
}
