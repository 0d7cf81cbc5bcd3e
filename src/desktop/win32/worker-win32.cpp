// The worker is never terminated: a terminated thread can hold the heap lock
// or leave a key down. It is told to stop and ends by returning.
#include "desktop/win32/worker-win32.h"

#include <atomic>

#include "desktop/desktop.h"
#include "desktop/win32/handles-win32.h"

namespace {

UniqueKernelHandle workerThread;
std::atomic<DWORD> workerThreadId{0};
UniqueKernelHandle stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
std::atomic<bool> stopRequested{false};
void (*workerRoutine)() = nullptr;

// How often a stop that is waiting for the worker looks for a notice to dismiss.
constexpr DWORD kNoticeSweepMs = 20;

DWORD WINAPI WorkerEntry(LPVOID) {
  workerRoutine();
  return 0;
}

BOOL CALLBACK DismissWindow(HWND window, LPARAM) {
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

bool OnWorkerThread() { return workerThreadId != 0 && ::GetCurrentThreadId() == workerThreadId; }

HANDLE WorkerStopEvent() { return stopEvent.get(); }

bool LaunchWorker(void (*routine)()) {
  if (WorkerRunning() || !stopEvent) return false;
  JoinWorker();
  ::ResetEvent(stopEvent.get());
  stopRequested = false;
  workerRoutine = routine;
  DWORD id = 0;
  workerThread.reset(::CreateThread(nullptr, 0, WorkerEntry, nullptr, CREATE_SUSPENDED, &id));
  if (!workerThread) return false;
  workerThreadId = id;
  ::ResumeThread(workerThread.get());
  return true;
}

bool WorkerRunning() { return workerThread && ::WaitForSingleObject(workerThread.get(), 0) == WAIT_TIMEOUT; }

bool StopRequested() { return OnWorkerThread() && stopRequested; }

void StopWorker() {
  if (!WorkerRunning()) return;
  stopRequested = true;
  ::SetEvent(stopEvent.get());
  JoinWorker();
}

void JoinWorker() {
  if (!workerThread) return;
  HANDLE thread = workerThread.get();
  for (;;) {
    // A notice the worker shows must not make the stop wait for the user.
    if (stopRequested) ::EnumThreadWindows(workerThreadId, DismissWindow, 0);
    const DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, kNoticeSweepMs, QS_SENDMESSAGE);
    if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
    // Serves what the worker sends this thread while it finishes, e.g. the
    // clipboard telling its previous owner that it was emptied.
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  workerThread.reset();
  workerThreadId = 0;
}
