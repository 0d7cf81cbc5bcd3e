#include "desktop/win32/ui-thread-win32.h"

#include <windows.h>

#include <atomic>

#include "desktop/desktop.h"
#include "desktop/win32/worker-win32.h"

namespace {

constexpr UINT kRunWork = WM_APP + 1;
constexpr wchar_t kRequestClass[] = L"TallyfoxUiRequests";

std::atomic<HWND> requestWindow{nullptr};
std::atomic<DWORD> uiThreadId{0};

LRESULT OnRunWork(WPARAM fromWorker, LPARAM work) {
  // Work the worker asked for before it was told to stop is dropped.
  if (fromWorker && ::WaitForSingleObject(WorkerStopEvent(), 0) == WAIT_OBJECT_0) return 0;
  (*reinterpret_cast<const std::function<void()>*>(work))();
  return 0;
}

LRESULT CALLBACK RequestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kRunWork: return OnRunWork(wParam, lParam);
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

bool PrepareUiThread() {
  if (requestWindow.load()) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = RequestWindowProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kRequestClass;
  if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  HWND window = ::CreateWindowExW(0, kRequestClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
  if (!window) return false;
  uiThreadId = ::GetCurrentThreadId();
  requestWindow = window;
  return true;
}

bool OnUiThread() {
  const DWORD id = uiThreadId.load();
  return id == 0 || id == ::GetCurrentThreadId();
}

// The one place where another thread waits for the UI thread. A stop of the
// worker serves this request while it waits, and the request is then dropped.
void RunOnUiThread(const std::function<void()>& work) {
  if (OnUiThread()) {
    work();
    return;
  }
  if (StopRequested()) return;
  ::SendMessageW(requestWindow.load(), kRunWork, OnWorkerThread(), reinterpret_cast<LPARAM>(&work));
}
