// Baseline for the import: a plain program that reads the number file and adds
// each line to a plain, visible list box with its own LB_ADDSTRING, as a list
// is filled without LB_INITSTORAGE or WM_SETREDRAW. Writes the seconds taken,
// from the start of the read to the last line added, to OUT.
//   bench_listbox_baseline FILE OUT
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_common.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_listbox_baseline FILE OUT\n");
    return 2;
  }
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BenchBaselineWindow";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"baseline", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                                  0, 300, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
  HWND list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"",
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 4, 4, 120,
                                220, window, nullptr, windowClass.hInstance, nullptr);
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);

  const double start = bench::Now();
  const std::string bytes = bench::ReadWholeFile(argv[1]);
  for (std::size_t from = 0; from < bytes.size();) {
    std::size_t end = bytes.find("\r\n", from);
    if (end == std::string::npos) end = bytes.size();
    if (end > from) {
      wchar_t wide[64];
      const int length = ::MultiByteToWideChar(936, 0, bytes.data() + from, static_cast<int>(end - from), wide, 63);
      wide[length] = L'\0';
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide));
    }
    from = end + 2;
  }
  const double seconds = bench::Now() - start;
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  ::DestroyWindow(window);
  return bench::WriteWholeFile(argv[2], std::to_string(seconds) + " " + std::to_string(count)) ? 0 : 1;
}
