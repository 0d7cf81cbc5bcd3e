// Top-level windows built from descriptions, their window procedure and the
// message loops.
#include <windows.h>

#include <string>
#include <vector>

#include "assets/resources.h"
#include "desktop/toolkit.h"
#include "desktop/win32/controls-win32.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/hotkeys-win32.h"
#include "desktop/win32/registry-win32.h"
#include "desktop/win32/ui-thread-win32.h"

namespace {

constexpr wchar_t kWindowClass[] = L"TallyfoxWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

bool messageLoopRunning = false;

LiveWindow* AttachedWindow(HWND handle) {
  return reinterpret_cast<LiveWindow*>(::GetWindowLongPtrW(handle, GWLP_USERDATA));
}

/// The window learns its handle at its first message, so that every later
/// message can find it.
LiveWindow* AttachWindow(HWND handle, LPARAM createStruct) {
  auto* window = static_cast<LiveWindow*>(reinterpret_cast<CREATESTRUCTW*>(createStruct)->lpCreateParams);
  window->handle = handle;
  ::SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
  return window;
}

LRESULT OnCommand(HWND handle, WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) != BN_CLICKED || !lParam) return 0;
  const ControlLocation location = ControlOfHandle(reinterpret_cast<HWND>(lParam));
  if (location.window && location.window->handle == handle && location.control->description->kind == ControlKind::Button) {
    RaiseEvent(*location.window, location.control->description->name, Event::Clicked);
  }
  return 0;
}

LRESULT OnDestroy(const LiveWindow& window) {
  RaiseEvent(window, window.description.name, Event::Destroying);
  return 0;
}

LRESULT OnNcDestroy(HWND handle, LiveWindow& window) {
  ::SetWindowLongPtrW(handle, GWLP_USERDATA, 0);
  // The controls are gone by now, so their fonts and brushes can go too.
  RemoveLiveWindow(window);
  // Wakes a modal loop waiting for this window, however it was destroyed.
  ::PostMessageW(nullptr, WM_NULL, 0, 0);
  if (messageLoopRunning && LiveWindows().empty()) ::PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
  LiveWindow* window = message == WM_NCCREATE ? AttachWindow(handle, lParam) : AttachedWindow(handle);
  if (!window) return ::DefWindowProcW(handle, message, wParam, lParam);
  switch (message) {
    case WM_COMMAND: return OnCommand(handle, wParam, lParam);
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: return OnControlColour(handle, message, wParam, lParam);
    case WM_HOTKEY: return OnHotkey(wParam);
    case WM_PARENTNOTIFY: return OnParentNotify(handle, wParam, lParam);
    case WM_DESTROY: return OnDestroy(*window);
    case WM_NCDESTROY: return OnNcDestroy(handle, *window);
  }
  return ::DefWindowProcW(handle, message, wParam, lParam);
}

/// The program's icon at this size; the system's application icon in a
/// program without one, such as a test.
HICON ProgramIcon(int size) {
  auto icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TALLYFOX),
                                              IMAGE_ICON, size, size, LR_SHARED));
  return icon ? icon : ::LoadIconW(nullptr, IDI_APPLICATION);
}

bool RegisterWindowClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hIcon = ProgramIcon(::GetSystemMetrics(SM_CXICON));
    windowClass.hIconSm = ProgramIcon(::GetSystemMetrics(SM_CXSMICON));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = kWindowClass;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered;
}

/// Creates the window and its controls, shown; null when that failed.
HWND CreateTopLevelWindow(const WindowDescription& description) {
  if (!PrepareUiThread() || !RegisterWindowClass()) return nullptr;
  LiveWindow& window = AddLiveWindow(description);
  const std::wstring caption = WideFromGbk(description.caption);
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - description.outerWidth) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - description.outerHeight) / 2;
  HWND handle = ::CreateWindowExW(0, kWindowClass, caption.c_str(), kWindowStyle, left, top, description.outerWidth,
                                  description.outerHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), &window);
  if (!handle) {
    RemoveLiveWindow(window);
    return nullptr;
  }
  if (!CreateControls(window)) {
    ::DestroyWindow(handle);
    return nullptr;
  }
  ::ShowWindow(handle, SW_SHOWNORMAL);
  ::UpdateWindow(handle);
  return handle;
}

/// Runs the Created event of the window just made; false when it is gone.
bool RaiseCreated(HWND handle) {
  const LiveWindow* window = WindowOfHandle(handle);
  if (!window) return false;
  RaiseEvent(*window, window->description.name, Event::Created);
  return true;
}

}  // namespace

bool CreateWindowFromDescription(const WindowDescription& window) {
  HWND handle = CreateTopLevelWindow(window);
  return handle && RaiseCreated(handle);
}

void RunMessageLoop() {
  if (LiveWindows().empty()) return;
  messageLoopRunning = true;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  messageLoopRunning = false;
}

bool OpenModal(const WindowDescription& window) {
  HWND modal = CreateTopLevelWindow(window);
  if (!modal) return false;
  std::vector<HWND> disabled;
  for (const auto& other : LiveWindows()) {
    if (other->handle == modal || !other->handle || !::IsWindowEnabled(other->handle)) continue;
    ::EnableWindow(other->handle, FALSE);
    disabled.push_back(other->handle);
  }
  RaiseCreated(modal);
  MSG message;
  while (::IsWindow(modal)) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is ending: the outer loop must see the quit too.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  for (HWND other : disabled) {
    if (::IsWindow(other)) ::EnableWindow(other, TRUE);
  }
  return true;
}
