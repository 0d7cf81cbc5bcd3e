// What the Windows layer's tests share: waiting with a timeout while serving
// messages, the helper process, and a recorder of the system's input events.
#pragma once

#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "desktop/win32/handles-win32.h"

/// Serves this thread's messages until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

/// Polls done() from a thread that has no windows, until it holds or the time is up.
bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

/// The next of the test's helper processes (tallyfox_test_helper.exe), started
/// with the arguments; it signals a ready event once it plays its role.
class HelperProcess {
 public:
  explicit HelperProcess(const std::wstring& arguments);
  HelperProcess(const HelperProcess&) = delete;
  HelperProcess& operator=(const HelperProcess&) = delete;
  ~HelperProcess();

  /// Waits until the helper plays its role; false when it did not start.
  bool WaitReady(DWORD timeoutMs = 15000);
  /// Asks the helper to end and waits for it.
  bool Finish(DWORD timeoutMs = 15000);

 private:
  UniqueKernelHandle ready_, release_, process_;
};

struct InputEvent {
  WPARAM message;  // WM_LBUTTONDOWN, WM_KEYUP, ...
  POINT at{};      // mouse events
  DWORD key = 0;   // keyboard events; left and right Ctrl, Shift and Alt as the plain keys
};

/// Records the mouse and keyboard events the system delivers, by low-level hooks
/// on a thread of its own.
class InputRecorder {
 public:
  InputRecorder();
  InputRecorder(const InputRecorder&) = delete;
  InputRecorder& operator=(const InputRecorder&) = delete;
  ~InputRecorder();

  bool Ready() const { return ready_; }
  /// Sends a marker key and returns what was recorded before it arrived.
  std::vector<InputEvent> EventsUntilMarker();

 private:
  void Run(HANDLE started);
  static LRESULT CALLBACK OnMouse(int code, WPARAM message, LPARAM data);
  static LRESULT CALLBACK OnKey(int code, WPARAM message, LPARAM data);

  std::thread thread_;
  DWORD threadId_ = 0;
  bool ready_ = false;
};
