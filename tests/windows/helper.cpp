// Plays another program for the tests:
//   tallyfox_test_helper hotkey <modifiers> <key> <ready> <release>
//     holds a global hotkey until the release event is set;
//   tallyfox_test_helper clipboard <ms> <ready> <release>
//     holds the clipboard open for ms milliseconds.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "desktop/win32/handles-win32.h"

namespace {

int HoldHotkey(UINT modifiers, UINT key, HANDLE ready, HANDLE release) {
  if (!::RegisterHotKey(nullptr, 1, modifiers, key)) return 2;
  ::SetEvent(ready);
  ::WaitForSingleObject(release, 60000);
  ::UnregisterHotKey(nullptr, 1);
  return 0;
}

int HoldClipboard(DWORD ms, HANDLE ready) {
  // Opened for a window: Wine lets a second opener without one in otherwise.
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  if (!window || !::OpenClipboard(window)) return 2;
  ::SetEvent(ready);
  ::Sleep(ms);
  ::CloseClipboard();
  ::DestroyWindow(window);
  return 0;
}

}  // namespace

int main() {
  int count = 0;
  LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!arguments || count < 5) return 1;
  const std::wstring role = arguments[1];
  UniqueKernelHandle ready(::OpenEventW(EVENT_MODIFY_STATE, FALSE, arguments[count - 2]));
  UniqueKernelHandle release(::OpenEventW(SYNCHRONIZE, FALSE, arguments[count - 1]));
  if (!ready || !release) return 1;
  int result = 1;
  if (role == L"hotkey" && count == 6) {
    result = HoldHotkey(std::stoul(arguments[2]), std::stoul(arguments[3]), ready.get(), release.get());
  } else if (role == L"clipboard") {
    result = HoldClipboard(std::stoul(arguments[2]), ready.get());
  }
  ::LocalFree(arguments);
  return result;
}
