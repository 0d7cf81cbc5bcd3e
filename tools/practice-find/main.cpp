// practice-find: a stand-in for the messenger's Find window, for the demo, for
// trying Tallyfox without the messenger, and for the end-to-end tests.
//
//   practice-find.exe [--at X,Y] [--log FILE] [--hang-profile]
//
// --log FILE writes one UTF-8 line (LF) per thing received, flushed at once.
// Coordinates are client coordinates of the Find window, which are offsets
// from its top-left corner; texts from outside are escaped (\\ \r \n \t \xNN).
//   ready                          the Find window is shown and takes input
//   click X Y / dblclick X Y       left button down / double click
//   rclick X Y                     right button down
//   key NAME                       a key down in the Find window or its field;
//                                  NAME is [ctrl+][alt+][shift+] then backspace,
//                                  enter, a..z, or vk=NN (decimal); lone
//                                  modifier keys are not logged
//   paste TEXT                     the field pasted TEXT (CF_UNICODETEXT)
//   search TEXT                    a search on the "找人" tab: one result tile
//   search-group TEXT              a search on the "找群" tab: no result
//   profile NUMBER                 a profile window opened
//   close-profile NUMBER wparam=W lparam=L
//                                  a profile window received WM_CLOSE
//   close-find wparam=W lparam=L   the Find window received WM_CLOSE
//   exit                           the Find window is gone; the program ends
#include <windows.h>
// shellapi.h needs the types of windows.h.
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "event_log.h"
#include "find_window.h"

namespace {

struct Options {
  POINT at{100, 100};
  std::wstring logPath;
  bool hangProfile = false;
};

constexpr wchar_t kUsage[] =
    L"practice-find.exe [--at X,Y] [--log FILE] [--hang-profile]\n\n"
    L"--at X,Y        top-left corner of the Find window (default 100,100)\n"
    L"--log FILE      write one line per event received to FILE (UTF-8)\n"
    L"--hang-profile  profile windows stop answering once opened";

std::vector<std::wstring> Arguments() {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!words) return {};
  std::vector<std::wstring> arguments(words + 1, words + count);
  ::LocalFree(words);
  return arguments;
}

bool ParsePlace(const std::wstring& text, POINT& place) {
  wchar_t comma = 0;
  int consumed = 0;
  long x = 0, y = 0;
  if (std::swscanf(text.c_str(), L"%ld%lc%ld%n", &x, &comma, &y, &consumed) != 3) return false;
  if (comma != L',' || consumed != static_cast<int>(text.size())) return false;
  place = {x, y};
  return true;
}

bool ParseOptions(const std::vector<std::wstring>& arguments, Options& options) {
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& word = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (word == L"--at" && hasValue) {
      if (!ParsePlace(arguments[++i], options.at)) return false;
    } else if (word == L"--log" && hasValue) {
      options.logPath = arguments[++i];
    } else if (word == L"--hang-profile") {
      options.hangProfile = true;
    } else {
      return false;
    }
  }
  return true;
}

int Fail(const std::wstring& message) {
  ::MessageBoxW(nullptr, message.c_str(), L"practice-find", MB_OK | MB_ICONERROR);
  return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Options options;
  if (!ParseOptions(Arguments(), options)) return Fail(kUsage);
  if (!options.logPath.empty() && !practice::OpenEventLog(options.logPath)) {
    return Fail(L"Cannot create the log file " + options.logPath);
  }
  if (!practice::CreateFindWindow(options.at, options.hangProfile))
    return Fail(L"Cannot create the Find window");
  practice::Log(L"ready");
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return 0;
}
