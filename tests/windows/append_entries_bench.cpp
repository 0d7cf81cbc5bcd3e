// Times filling a list with 100,000 short entries: AppendEntries against one
// LB_ADDSTRING per entry. Prints the median of three runs of each.
//   append_entries_bench [entries [batched-only]]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "desktop/toolkit.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/registry-win32.h"

namespace {

int kEntries = 100000;
constexpr int kRuns = 3;

const WindowDescription& Description() {
  static const WindowDescription window{.name = "计时",
                                        .caption = "计时",
                                        .outerWidth = 300,
                                        .outerHeight = 300,
                                        .controls = {{"列表", ControlKind::ListBox, "", {4, 4, 120, 220}, ""}},
                                        .statusBar = "",
                                        .statusParts = {},
                                        .menu = {},
                                        .events = {}};
  return window;
}

double Seconds(LONGLONG ticks) {
  LARGE_INTEGER frequency{};
  ::QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

template <typename Fill>
double MedianSeconds(Fill fill) {
  std::vector<double> runs;
  for (int run = 0; run < kRuns; ++run) {
    RemoveAllEntries("列表");
    LARGE_INTEGER start{}, end{};
    ::QueryPerformanceCounter(&start);
    fill();
    ::QueryPerformanceCounter(&end);
    if (EntryCount("列表") != kEntries) std::fprintf(stderr, "wrong count %d\n", EntryCount("列表"));
    runs.push_back(Seconds(end.QuadPart - start.QuadPart));
    std::fprintf(stderr, "  run %d: %.3f s\n", run + 1, runs.back());
  }
  std::sort(runs.begin(), runs.end());
  return runs[kRuns / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) kEntries = std::atoi(argv[1]);
  const bool batchedOnly = argc > 2;
  if (!CreateWindowFromDescription(Description())) return 1;
  std::vector<std::string> texts;
  for (int i = 0; i < kEntries; ++i) texts.push_back(std::to_string(100000000 + i));
  HWND list = HandleNamed("列表");

  const double batched = MedianSeconds([&] { AppendEntries("列表", texts); });
  std::fprintf(stderr, "AppendEntries, %d entries: %.3f s (median of %d)\n", kEntries, batched, kRuns);
  if (batchedOnly) return 0;
  const double plain = MedianSeconds([&] {
    for (const std::string& text : texts) {
      const std::wstring wide = WideFromGbk(text);
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
  });
  std::fprintf(stderr, "one LB_ADDSTRING each:    %.3f s (median of %d)\n", plain, kRuns);
  ::DestroyWindow(HandleNamed("计时"));
  return 0;
}
