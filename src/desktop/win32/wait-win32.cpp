// Waiting and serving the thread's messages.
#include <windows.h>

#include "desktop/desktop.h"
#include "desktop/win32/handles-win32.h"
#include "desktop/win32/worker-win32.h"

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

LONGLONG TicksNow() {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG TicksPerSecond() {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

/// A high-resolution timer where the system has them, an ordinary one otherwise.
UniqueKernelHandle MakeTimer() {
  UniqueKernelHandle timer(
      ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS));
  if (!timer) timer.reset(::CreateWaitableTimerW(nullptr, TRUE, nullptr));
  return timer;
}

}  // namespace

bool WaitMs(std::int32_t ms) {
  if (ms <= 0) return !StopRequested();
  const LONGLONG frequency = TicksPerSecond();
  const LONGLONG deadline = TicksNow() + ms * frequency / 1000;
  UniqueKernelHandle timer = MakeTimer();
  // The counter, not the timer, decides when the wait is over: timers may wake early.
  for (LONGLONG left = deadline - TicksNow(); left > 0; left = deadline - TicksNow()) {
    // Relative due times are negative, in 100 ns units.
    LARGE_INTEGER due{};
    due.QuadPart = -(left * 10'000'000 / frequency);
    if (due.QuadPart == 0) due.QuadPart = -1;
    if (!timer || !::SetWaitableTimer(timer.get(), &due, 0, nullptr, nullptr, FALSE)) {
      if (::WaitForSingleObject(WorkerStopEvent(), static_cast<DWORD>(left * 1000 / frequency) + 1) ==
          WAIT_OBJECT_0) {
        return false;
      }
      continue;
    }
    // The worker's waits also end when it is told to stop.
    const HANDLE waits[] = {timer.get(), WorkerStopEvent()};
    if (::WaitForMultipleObjects(OnWorkerThread() ? 2 : 1, waits, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
      return false;
    }
  }
  return !StopRequested();
}

void PumpMessages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT) {
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) break;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}
