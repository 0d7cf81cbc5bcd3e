// A small helper for scripts that drive Tallyfox under Wine:
//   window_tool wait TITLE SECONDS   waits until a visible top-level window
//                                    with this title is shown and painted
//   window_tool close TITLE SECONDS  asks it to close and waits until it is gone
// Exit status 0 on success, 1 on timeout, 2 on bad use.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

HWND FindShown(const std::wstring& title) {
  HWND window = ::FindWindowW(nullptr, title.c_str());
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

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argc != 4) {
    std::fwprintf(stderr, L"usage: window_tool wait|close TITLE SECONDS\n");
    return 2;
  }
  const std::wstring action = argv[1];
  const std::wstring title = argv[2];
  const ULONGLONG timeoutMs = std::wcstoull(argv[3], nullptr, 10) * 1000;
  ::LocalFree(argv);

  if (action == L"wait") {
    HWND window = nullptr;
    if (!PollUntil([&] { return (window = FindShown(title)) != nullptr; }, timeoutMs)) return 1;
    // Paint everything now; the reply to a sent message comes after that.
    ::RedrawWindow(window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    DWORD_PTR ignored = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) ? 0 : 1;
  }
  if (action == L"close") {
    HWND window = FindShown(title);
    if (!window) return 0;
    ::PostMessageW(window, WM_CLOSE, 0, 0);
    return PollUntil([&] { return !::IsWindow(window); }, timeoutMs) ? 0 : 1;
  }
  std::fwprintf(stderr, L"unknown action\n");
  return 2;
}
