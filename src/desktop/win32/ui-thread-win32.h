// Carrying out work on the UI thread, the thread that created the windows.
#pragma once

#include <functional>

/// Makes the calling thread the UI thread; called before its first window.
/// False when the hidden window that receives requests cannot be made.
bool PrepareUiThread();

/// Runs the work on the UI thread and returns when it is done. On the UI
/// thread itself, or before there is one, it runs at once.
void RunOnUiThread(const std::function<void()>& work);

/// True on the UI thread, and before there is one.
bool OnUiThread();
