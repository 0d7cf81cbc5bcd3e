// The desktop services the logic calls: other programs' windows, synthetic
// input, global hotkeys, the clipboard, waiting and files. Texts and paths are
// GBK bytes. Implemented by src/desktop/win32 for the product and by
// tests/fakes for the native tests.
#pragma once

#include <cstdint>
#include <string>

#include "desktop/toolkit.h"

/// A top-level window of any process; 0 is none.
using WindowId = std::uintptr_t;

struct ScreenRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

/// The top-level window with this class name and title, or 0.
WindowId FindTopLevelWindow(const std::string& className, const std::string& title);

/// The window's rectangle in screen pixels; all 0 when it cannot be read.
ScreenRect ReadWindowRect(WindowId window);

/// The window in the foreground, possibly 0.
WindowId ForegroundWindow();

/// At most 254 bytes of the window's title; empty when it cannot be read.
std::string WindowTitle(WindowId window);

/// The process the window belongs to; 0 when there is no such window.
std::uint32_t WindowProcessId(WindowId window);

/// This program's process.
std::uint32_t OwnProcessId();

/// Sends WM_CLOSE with the two parameters and waits for the window to handle
/// it, a few seconds at most and not at all when its program has stopped answering.
void RequestClose(WindowId window, std::int32_t wParam, std::int32_t lParam);

/// Moves the pointer to (x, y) and clicks there in one input batch. Button 1:
/// left double click; 2: right click; 3: right double click; otherwise left click.
void ClickAt(std::int32_t x, std::int32_t y, std::int32_t button = 0);

/// Presses k1, k2, k3 (0 skipped) down, then up in the same order, in one batch.
void PressKeys(std::int32_t k1, std::int32_t k2 = 0, std::int32_t k3 = 0);

/// Binds a system-wide hotkey on the window whose presses raise the target's
/// Feedback event with (id, 0). Ids are 33000 + the number of calls so far,
/// counting refused ones; a refused binding returns 0. Modifiers: 1 Ctrl,
/// 2 Shift, 4 Alt, or their sum.
std::int32_t BindGlobalHotkey(ControlName window, ControlName target, std::int32_t modifiers,
                              std::int32_t key);

/// Replaces the clipboard's content with the text, retrying a clipboard that
/// another program holds for up to a second; true on success.
bool PutClipboardText(const std::string& text);

/// Waits for ms milliseconds, precisely; a negative count is no wait. On the
/// worker it ends early, with false, once the worker is told to stop.
bool WaitMs(std::int32_t ms);

/// Dispatches the messages already queued for the calling thread.
void PumpMessages();

/// Starts the routine on a new worker thread; false when a worker is still
/// running or no thread could be made.
bool LaunchWorker(void (*routine)());

/// Whether the worker has not ended yet.
bool WorkerRunning();

/// Whether the worker has been told to stop.
bool StopRequested();

/// Tells the worker to stop. Once this returns the worker performs no further
/// operation of this seam; it returns promptly, whatever the worker waits for.
void StopWorker();

/// Waits until a stopped worker has ended and joins it.
void JoinWorker();

/// The full path of the program's executable.
std::string ExecutablePath();

/// Makes the path the process's current directory.
void SetCurrentDirectoryTo(const std::string& path);

enum class ReadOutcome { Whole, Missing, Failed };

struct FileRead {
  ReadOutcome outcome;
  std::string bytes;  // all of them, or what could be read before a failure
};

/// The content of a file opened for reading with other writers refused.
/// Failed: it exists but could not be opened or read whole.
FileRead ReadFileBytes(const std::string& path);

/// Writes the data to a temporary file beside the target and puts it in its
/// place in one step, so that the target holds its old or its new content,
/// never a part; false when the target was left as it was.
bool ReplaceFileBytes(const std::string& path, const std::string& data);
