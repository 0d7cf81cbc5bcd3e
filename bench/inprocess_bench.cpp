// The program's own import and save routines on the real main window (its
// description without the event table, so nothing runs at creation), timed in
// one process. The import is compared with a plain list box in the same
// process that gets the same numbers one LB_ADDSTRING at a time, up to
// kBaselineMost numbers: under Wine that list takes 7 s for 10,000.
//   bench_inprocess import RUNS N...   ImportNumbersFromText of a file of N numbers
//   bench_inprocess stages RUNS N...   the import's stages, each timed on its own
//   bench_inprocess variants RUNS N... other ways of filling a list, to find the cost
//   bench_inprocess save RUNS N...     SaveProgress with N pending entries
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "bench_common.h"
#include "desktop/toolkit.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/registry-win32.h"
#include "progress/progress_files.h"
#include "state/files.h"
#include "state/import.h"
#include "state/main_window_controls.h"
#include "state/program_state.h"
#include "state/texts.h"
#include "ui/main_window.h"

namespace {

constexpr std::int32_t kBaselineMost = 10000;

/// A visible top-level window holding a plain list box, as any program makes one.
HWND MakePlainListBox() {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ::DefWindowProcW;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"BenchPlainWindow";
  ::RegisterClassW(&windowClass);
  HWND window = ::CreateWindowExW(0, windowClass.lpszClassName, L"plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 0,
                                  300, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
  return ::CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 4, 4, 120, 220,
                           window, nullptr, windowClass.hInstance, nullptr);
}

/// The file read, cut at CR LF and each line added on its own.
void AddOneByOne(HWND list, const std::string& path) {
  const std::string bytes = bench::ReadWholeFile(path);
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    if (end > start) {
      wchar_t wide[64];
      const int length = ::MultiByteToWideChar(936, 0, bytes.data() + start, static_cast<int>(end - start), wide, 63);
      wide[length] = L'\0';
      ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide));
    }
    start = end + 2;
  }
}

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
}

void BenchImport(int runs, std::int32_t count) {
  const std::string path = ProgramDirectory() + "\\bench-import-" + std::to_string(count) + ".txt";
  bench::WriteWholeFile(path, bench::NumberLines(count));
  HWND plain = MakePlainListBox();
  std::vector<double> product, baseline;
  for (int run = 0; run < runs; ++run) {
    RemoveAllEntries(PendingList);
    Pump();
    double start = bench::Now();
    ImportNumbersFromText(BytesToText(LoadFileBytes(path)));
    product.push_back(bench::Now() - start);
    if (EntryCount(PendingList) != count) std::fprintf(stderr, "import: %d entries\n", EntryCount(PendingList));
    Pump();
    if (count > kBaselineMost) continue;

    ::SendMessageW(plain, LB_RESETCONTENT, 0, 0);
    Pump();
    start = bench::Now();
    AddOneByOne(plain, path);
    baseline.push_back(bench::Now() - start);
    Pump();
  }
  ::DestroyWindow(::GetParent(plain));
  ::DeleteFileA(path.c_str());
  bench::Report("inprocess_import_" + std::to_string(count), product);
  if (!baseline.empty()) bench::Report("inprocess_baseline_" + std::to_string(count), baseline);
}

/// The import's steps one by one, as ImportNumbersFromText and AppendEntries
/// take them, so that the slowest shows.
void BenchImportStages(int runs, std::int32_t count) {
  const std::string path = ProgramDirectory() + "\\bench-import-" + std::to_string(count) + ".txt";
  bench::WriteWholeFile(path, bench::NumberLines(count));
  HWND list = HandleNamed(PendingList);
  std::map<std::string, std::vector<double>> stages;
  for (int run = 0; run < runs; ++run) {
    RemoveAllEntries(PendingList);
    Pump();
    double start = bench::Now();
    const auto lap = [&](const char* stage) {
      const double now = bench::Now();
      stages[stage].push_back(now - start);
      start = now;
    };
    const std::string bytes = LoadFileBytes(path);
    lap("1_read_file");
    const std::string text = BytesToText(bytes);
    lap("2_bytes_to_text");
    std::vector<std::string> pieces = SplitByDelimiter(text, "\r\n");
    std::erase_if(pieces, [](const std::string& piece) { return piece.empty(); });
    lap("3_split");
    std::vector<std::wstring> wides;
    wides.reserve(pieces.size());
    std::size_t size = 0;
    for (const std::string& piece : pieces) size += (wides.emplace_back(WideFromGbk(piece)).size() + 1) * 2;
    lap("4_convert_to_wide");
    ::SendMessageW(list, LB_INITSTORAGE, wides.size(), static_cast<LPARAM>(size));
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    lap("5_initstorage");
    // In tenths, to show whether an entry costs more as the list grows.
    for (std::size_t tenth = 0; tenth < 10; ++tenth) {
      const double tenthStart = bench::Now();
      for (std::size_t i = wides.size() * tenth / 10; i < wides.size() * (tenth + 1) / 10; ++i) {
        ::SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wides[i].c_str()));
      }
      stages["6_lb_addstring_tenth_" + std::to_string(tenth + 1)].push_back(bench::Now() - tenthStart);
    }
    lap("6_lb_addstring_each");
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    SetStatusPart(0, "导入" + DecimalText(EntryCount(PendingList)) + "个QQ！");
    lap("7_redraw_and_status");
    wides = {};
    pieces = {};
    lap("8_free_temporaries");
    Pump();
  }
  ::DeleteFileA(path.c_str());
  for (const auto& [stage, times] : stages) bench::Report("stage_" + std::to_string(count) + "_" + stage, times);
}

/// Ways of filling a list other than the program's, on the same entries: where
/// the time of a fill goes, and what would shorten it.
void BenchFillVariants(int runs, std::int32_t count) {
  std::vector<std::wstring> wides;
  for (std::int32_t i = 0; i < count; ++i) wides.push_back(std::to_wstring(100000000 + i));
  HWND list = HandleNamed(PendingList);
  std::map<std::string, std::vector<double>> variants;
  const auto fill = [&](const char* name, UINT message, bool hidden) {
    RemoveAllEntries(PendingList);
    Pump();
    const double start = bench::Now();
    if (hidden) ::ShowWindow(list, SW_HIDE);
    ::SendMessageW(list, LB_INITSTORAGE, wides.size(), static_cast<LPARAM>(wides.size() * 20));
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    for (std::size_t i = 0; i < wides.size(); ++i) {
      ::SendMessageW(list, message, message == LB_INSERTSTRING ? i : 0, reinterpret_cast<LPARAM>(wides[i].c_str()));
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    if (hidden) ::ShowWindow(list, SW_SHOW);
    variants[name].push_back(bench::Now() - start);
  };
  // A list that keeps no entries of its own: its owner draws them from its own copy.
  HWND window = ::GetParent(MakePlainListBox());
  HWND virtualList = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"ListBox", L"",
                                       WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NODATA | LBS_OWNERDRAWFIXED |
                                           LBS_NOINTEGRALHEIGHT,
                                       130, 4, 120, 220, window, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  for (int run = 0; run < runs; ++run) {
    fill("lb_addstring_redraw_off", LB_ADDSTRING, false);
    fill("lb_insertstring_at_end_redraw_off", LB_INSERTSTRING, false);
    fill("lb_addstring_list_hidden", LB_ADDSTRING, true);
    ::SendMessageW(virtualList, LB_RESETCONTENT, 0, 0);
    const double start = bench::Now();
    ::SendMessageW(virtualList, LB_SETCOUNT, wides.size(), 0);
    variants["lbs_nodata_lb_setcount"].push_back(bench::Now() - start);
  }
  // What the list does for each string it keeps: a block of the process heap.
  for (int run = 0; run < runs; ++run) {
    std::vector<void*> blocks(wides.size());
    double start = bench::Now();
    for (std::size_t tenth = 0; tenth < 10; ++tenth) {
      for (std::size_t i = blocks.size() * tenth / 10; i < blocks.size() * (tenth + 1) / 10; ++i) {
        blocks[i] = ::HeapAlloc(::GetProcessHeap(), 0, 20);
      }
      const double now = bench::Now();
      if (tenth == 0 || tenth == 9) variants["process_heap_alloc_20_bytes_tenth_" + std::to_string(tenth + 1)].push_back(now - start);
      start = now;
    }
    for (void* block : blocks) ::HeapFree(::GetProcessHeap(), 0, block);
  }
  if (::SendMessageW(virtualList, LB_GETCOUNT, 0, 0) != count) std::fprintf(stderr, "nodata list: wrong count\n");
  ::DestroyWindow(window);
  RemoveAllEntries(PendingList);
  for (const auto& [name, times] : variants) bench::Report("fill_" + std::to_string(count) + "_" + name, times);
}

/// A path of the program's GBK texts, for the wide file functions.
std::wstring WidePath(const std::string& gbk) {
  std::wstring wide(gbk.size(), L'\0');
  wide.resize(static_cast<std::size_t>(
      ::MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data(), static_cast<int>(wide.size()))));
  return wide;
}

std::size_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes)) return 0;
  return attributes.nFileSizeLow;
}

std::vector<std::string> Numbers(std::int32_t count, std::int32_t from) {
  std::vector<std::string> numbers;
  numbers.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) numbers.push_back(std::to_string(from + i));
  return numbers;
}

/// Half the list visited, one in a hundred kept.
void BenchSave(int runs, std::int32_t count) {
  const char* const names[] = {"\\已看过.txt", "\\未看过.txt", "\\已筛选.txt"};
  for (const char* name : names) ::DeleteFileW(WidePath(ProgramDirectory() + name).c_str());
  RememberEarlierRecords();
  RemoveAllEntries(PendingList);
  RemoveAllEntries(FilteredList);
  AppendEntries(PendingList, Numbers(count, 100000000));
  AppendEntries(FilteredList, Numbers(count / 100, 100000000));
  programState.runCursor = count / 2;
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    Pump();
    const double start = bench::Now();
    SaveProgress();
    times.push_back(bench::Now() - start);
  }
  // The list's own part of a save: every entry's text read once, nothing else.
  std::vector<double> reads;
  HWND list = HandleNamed(PendingList);
  for (int run = 0; run < runs; ++run) {
    const double start = bench::Now();
    wchar_t text[64];
    for (std::int32_t i = 0; i < count; ++i) {
      if (::SendMessageW(list, LB_GETTEXTLEN, i, 0) < 64) ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    }
    reads.push_back(bench::Now() - start);
  }
  std::size_t bytes = 0;
  for (const char* name : names) bytes += FileSize(WidePath(ProgramDirectory() + name));
  // 9 digits and CR LF per entry, less one CR LF per file.
  const std::size_t expected = static_cast<std::size_t>(count + count / 100) * 11 - 6;
  if (bytes != expected) std::fprintf(stderr, "save: %zu bytes written, %zu expected\n", bytes, expected);
  for (const char* name : names) ::DeleteFileW(WidePath(ProgramDirectory() + name).c_str());
  programState.runCursor = 0;
  bench::Report("save_" + std::to_string(count), times);
  bench::Report("save_" + std::to_string(count) + "_lb_gettext_only", reads);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: bench_inprocess import|save RUNS N...\n");
    return 2;
  }
  const std::string mode = argv[1];
  const int runs = std::atoi(argv[2]);
  FixProgramDirectory();
  WindowDescription window = MainWindowDescription();
  window.events.clear();
  if (!CreateWindowFromDescription(window)) return 1;
  for (int i = 3; i < argc; ++i) {
    const std::int32_t count = std::atoi(argv[i]);
    if (mode == "import") BenchImport(runs, count);
    if (mode == "save") BenchSave(runs, count);
    if (mode == "stages") BenchImportStages(runs, count);
    if (mode == "variants") BenchFillVariants(runs, count);
  }
  RemoveAllEntries(PendingList);
  RemoveAllEntries(FilteredList);
  return 0;
}
