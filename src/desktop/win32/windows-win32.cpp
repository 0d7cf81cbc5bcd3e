// Other programs' top-level windows.
#include <windows.h>

#include <memory>

#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/win32/handles-win32.h"
#include "desktop/win32/worker-win32.h"
#include "desktop/win32/encoding-win32.h"

namespace {

constexpr std::size_t kTitleLimit = 254;
constexpr UINT kGbk = 936;

HWND HandleOf(WindowId window) { return reinterpret_cast<HWND>(window); }

/// At most `limit` bytes, never ending on the lead byte of a character.
std::string CutAtCharacter(const std::string& text, std::size_t limit) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = ::IsDBCSLeadByteEx(kGbk, static_cast<BYTE>(text[end])) ? 2 : 1;
    if (end + length > limit) break;
    end += length;
  }
  return text.substr(0, end);
}

}  // namespace

WindowId FindTopLevelWindow(const std::string& className, const std::string& title) {
  // An empty name matches any window.
  const std::wstring wideClass = WideFromGbk(className);
  const std::wstring wideTitle = WideFromGbk(title);
  HWND found = ::FindWindowW(className.empty() ? nullptr : wideClass.c_str(), title.empty() ? nullptr : wideTitle.c_str());
  return reinterpret_cast<WindowId>(found);
}

ScreenRect ReadWindowRect(WindowId window) {
  RECT rect{};
  if (!window || !::GetWindowRect(HandleOf(window), &rect)) return {};
  return {rect.left, rect.top, rect.right, rect.bottom};
}

WindowId ForegroundWindow() { return reinterpret_cast<WindowId>(::GetForegroundWindow()); }

std::string WindowTitle(WindowId window) {
  if (!window) return {};
  // Each GBK character takes at most two bytes, so this many wide characters suffice.
  std::vector<wchar_t> title(kTitleLimit + 1, L'\0');
  const int length = ::GetWindowTextW(HandleOf(window), title.data(), static_cast<int>(title.size()));
  if (length <= 0) return {};
  return CutAtCharacter(GbkFromWide(std::wstring_view(title.data(), static_cast<std::size_t>(length))), kTitleLimit);
}

std::uint32_t WindowProcessId(WindowId window) {
  DWORD process = 0;
  if (!window || !::GetWindowThreadProcessId(HandleOf(window), &process)) return 0;
  return process;
}

std::uint32_t OwnProcessId() { return ::GetCurrentProcessId(); }

namespace {

struct CloseRequest {
  HWND window;
  WPARAM wParam;
  LPARAM lParam;
};

DWORD WINAPI SendCloseRequest(LPVOID parameter) {
  const std::unique_ptr<CloseRequest> request(static_cast<CloseRequest*>(parameter));
  // A program that stopped answering must not hold up the run for long.
  constexpr UINT kCloseTimeoutMs = 3000;
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(request->window, WM_CLOSE, request->wParam, request->lParam, SMTO_ABORTIFHUNG,
                        kCloseTimeoutMs, &result);
  return 0;
}

}  // namespace

void RequestClose(WindowId window, std::int32_t wParam, std::int32_t lParam) {
  if (StopRequested()) return;
  auto request = std::make_unique<CloseRequest>(
      CloseRequest{HandleOf(window), static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)});
  // Sent from a thread of its own, so that a stop need not wait for the answer.
  UniqueKernelHandle sender(::CreateThread(nullptr, 0, SendCloseRequest, request.get(), 0, nullptr));
  if (!sender) return;
  request.release();
  const HANDLE waits[] = {sender.get(), WorkerStopEvent()};
  ::WaitForMultipleObjects(OnWorkerThread() ? 2 : 1, waits, FALSE, INFINITE);
}
