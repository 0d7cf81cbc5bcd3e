#include "test_support.h"

#include <atomic>

namespace {

constexpr DWORD kMarkerKey = VK_F24;

std::mutex recordedMutex;
std::vector<InputEvent> recorded;
std::atomic<bool> markerSeen{false};

std::wstring HelperPath() {
  std::vector<wchar_t> path(32768, L'\0');
  const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  std::wstring directory(path.data(), length);
  return directory.substr(0, directory.find_last_of(L'\\') + 1) + L"tallyfox_test_helper.exe";
}

std::wstring UniqueEventName(const wchar_t* role) {
  static std::atomic<int> made{0};
  return std::wstring(L"TallyfoxTest-") + role + L"-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
         std::to_wstring(++made);
}

DWORD PlainKey(DWORD key) {
  switch (key) {
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
  }
  return key;
}

}  // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() >= deadline) return false;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
  return true;
}

bool PollUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (!done()) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(10);
  }
  return true;
}

HelperProcess::HelperProcess(const std::wstring& arguments) {
  const std::wstring readyName = UniqueEventName(L"ready");
  const std::wstring releaseName = UniqueEventName(L"release");
  ready_.reset(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
  release_.reset(::CreateEventW(nullptr, TRUE, FALSE, releaseName.c_str()));
  std::wstring commandLine = L"\"" + HelperPath() + L"\" " + arguments + L" " + readyName + L" " + releaseName;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!ready_ || !release_ ||
      !::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return;
  }
  ::CloseHandle(process.hThread);
  process_.reset(process.hProcess);
}

HelperProcess::~HelperProcess() { Finish(); }

bool HelperProcess::WaitReady(DWORD timeoutMs) {
  if (!process_) return false;
  const HANDLE either[] = {ready_.get(), process_.get()};
  return ::WaitForMultipleObjects(2, either, FALSE, timeoutMs) == WAIT_OBJECT_0;
}

bool HelperProcess::Finish(DWORD timeoutMs) {
  if (!process_) return true;
  ::SetEvent(release_.get());
  const bool ended = ::WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
  if (!ended) ::TerminateProcess(process_.get(), 1);
  process_.reset();
  return ended;
}

InputRecorder::InputRecorder() {
  UniqueKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!started) return;
  thread_ = std::thread([this, event = started.get()] { Run(event); });
  ::WaitForSingleObject(started.get(), 10000);
}

InputRecorder::~InputRecorder() {
  if (!thread_.joinable()) return;
  if (threadId_) ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

void InputRecorder::Run(HANDLE started) {
  MSG message;
  // Gives the thread its queue before anyone posts to it.
  ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
  threadId_ = ::GetCurrentThreadId();
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  HHOOK mouse = ::SetWindowsHookExW(WH_MOUSE_LL, OnMouse, instance, 0);
  HHOOK keys = ::SetWindowsHookExW(WH_KEYBOARD_LL, OnKey, instance, 0);
  ready_ = mouse && keys;
  ::SetEvent(started);
  while (ready_ && ::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  if (mouse) ::UnhookWindowsHookEx(mouse);
  if (keys) ::UnhookWindowsHookEx(keys);
}

LRESULT CALLBACK InputRecorder::OnMouse(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    std::lock_guard lock(recordedMutex);
    recorded.push_back({message, event->pt, 0});
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK InputRecorder::OnKey(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    if (event->vkCode == kMarkerKey) {
      if (message == WM_KEYUP) markerSeen = true;
    } else {
      std::lock_guard lock(recordedMutex);
      recorded.push_back({message, {}, PlainKey(event->vkCode)});
    }
  }
  return ::CallNextHookEx(nullptr, code, message, data);
}

std::vector<InputEvent> InputRecorder::EventsUntilMarker() {
  markerSeen = false;
  INPUT marker[2]{};
  for (INPUT& input : marker) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(kMarkerKey);
  }
  marker[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, marker, sizeof(INPUT));
  PumpUntil([] { return markerSeen.load(); });
  std::lock_guard lock(recordedMutex);
  return std::exchange(recorded, {});
}
