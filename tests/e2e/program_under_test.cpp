#include "program_under_test.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <stdexcept>

namespace e2e {

std::wstring programPath;

namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 15000;
constexpr UINT kMessageTimeoutMs = 5000;

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + " (error " + std::to_string(::GetLastError()) + ")");
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) {
    return -1;
  }
  return static_cast<LRESULT>(result);
}

struct WindowSearch {
  DWORD processId;
  const wchar_t* className;
  const wchar_t* caption;
  HWND except;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM searchAddress) {
  auto& search = *reinterpret_cast<WindowSearch*>(searchAddress);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || window == search.except || !::IsWindowVisible(window)) {
    return TRUE;
  }
  if (search.className &&
      ::CompareStringOrdinal(ClassOf(window).c_str(), -1, search.className, -1, TRUE) != CSTR_EQUAL) {
    return TRUE;
  }
  if (search.caption && TextOf(window) != search.caption) return TRUE;
  search.found = window;
  return FALSE;
}

HWND FindOwnWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, HWND except) {
  WindowSearch search{processId, className, caption, except, nullptr};
  ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void RemoveFolder(const std::wstring& path) {
  WIN32_FIND_DATAW entry;
  HANDLE find = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring full = path + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveFolder(full);
      } else {
        ::DeleteFileW(full.c_str());
      }
    } while (::FindNextFileW(find, &entry));
    ::FindClose(find);
  }
  ::RemoveDirectoryW(path.c_str());
}

/// Memory inside another process, for messages that answer through a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HANDLE process, SIZE_T size) : process_(process), size_(size) {
    address_ = ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) Fail("VirtualAllocEx");
  }
  ~RemoteBuffer() { ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE); }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  LPARAM Address() const { return reinterpret_cast<LPARAM>(address_); }
  std::vector<char> Read() const {
    std::vector<char> bytes(size_);
    SIZE_T read = 0;
    if (!::ReadProcessMemory(process_, address_, bytes.data(), size_, &read) || read != size_) {
      Fail("ReadProcessMemory");
    }
    return bytes;
  }

 private:
  HANDLE process_;
  SIZE_T size_;
  void* address_;
};

}  // namespace

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
  return bytes;
}

bool PollUntil(const std::function<bool()>& check, DWORD timeoutMs) {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (check()) return true;
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(20);
  }
}

std::wstring WindowsPath(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
  HANDLE file =
      ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  std::array<char, 4096> chunk;
  DWORD read = 0;
  while (::ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) && read > 0) {
    bytes.append(chunk.data(), read);
  }
  ::CloseHandle(file);
  return bytes;
}

ProgramFolder::ProgramFolder() {
  static std::atomic<int> serial{0};
  wchar_t temp[MAX_PATH];
  if (!::GetTempPathW(MAX_PATH, temp)) Fail("GetTempPathW");
  path_ = std::wstring(temp) + L"tallyfox-e2e-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(++serial);
  RemoveFolder(path_);  // left over from an interrupted run
  if (!::CreateDirectoryW(path_.c_str(), nullptr)) Fail("CreateDirectoryW " + Utf8(path_));
  if (!::CopyFileW(programPath.c_str(), FilePath(L"tallyfox.exe").c_str(), FALSE)) {
    Fail("CopyFileW " + Utf8(programPath));
  }
}

ProgramFolder::~ProgramFolder() { RemoveFolder(path_); }

void ProgramFolder::WriteFile(const std::wstring& name, const std::string& bytes) const {
  HANDLE file = ::CreateFileW(FilePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) Fail("CreateFileW " + Utf8(name));
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  ::CloseHandle(file);
  if (!ok || written != bytes.size()) Fail("WriteFile " + Utf8(name));
}

RunningProgram::RunningProgram(const ProgramFolder& folder) : RunningProgram(folder.Path()) {}

RunningProgram::RunningProgram(const std::wstring& folderPath) {
  const std::wstring exe = folderPath + L"\\tallyfox.exe";
  std::wstring commandLine = L"\"" + exe + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folderPath.c_str(), &startup, &started)) {
    Fail("CreateProcessW " + Utf8(exe));
  }
  ::CloseHandle(started.hThread);
  process_ = started.hProcess;
  processId_ = started.dwProcessId;
  PollUntil(
      [&] {
        main_ = FindOwnWindow(processId_, nullptr, L"Tallyfox", nullptr);
        return main_ != nullptr || ::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      kStartTimeoutMs);
}

RunningProgram::~RunningProgram() {
  if (!Close()) ::TerminateProcess(process_, 1);
  ::CloseHandle(process_);
}

HWND RunningProgram::WaitForOwnWindow(const wchar_t* className, const wchar_t* caption,
                                      DWORD timeoutMs) const {
  HWND found = nullptr;
  PollUntil(
      [&] {
        found = FindOwnWindow(processId_, className, caption, main_);
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

bool RunningProgram::Settle() const { return main_ && SendWithTimeout(main_, WM_NULL, 0, 0) != -1; }

bool RunningProgram::Close() {
  if (::WaitForSingleObject(process_, 0) == WAIT_OBJECT_0) return true;
  // A modal window of the program would swallow the close; end it first.
  for (HWND modal; (modal = FindOwnWindow(processId_, L"#32770", nullptr, main_)) != nullptr;) {
    ::PostMessageW(modal, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!PollUntil([&] { return !::IsWindow(modal) || !::IsWindowVisible(modal); }, 5000)) break;
  }
  if (HWND menu = FindOwnWindow(processId_, L"#32768", nullptr, nullptr)) {
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  }
  if (main_) ::PostMessageW(main_, WM_CLOSE, 0, 0);
  return ::WaitForSingleObject(process_, kExitTimeoutMs) == WAIT_OBJECT_0;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = L"";
  ::GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = L"";
  const LRESULT length = SendWithTimeout(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

RECT PlaceInParent(HWND window) {
  RECT place{};
  ::GetWindowRect(window, &place);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(window), reinterpret_cast<POINT*>(&place), 2);
  return place;
}

std::vector<HWND> ChildrenOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

int ListCount(HWND list) { return static_cast<int>(SendWithTimeout(list, LB_GETCOUNT, 0, 0)); }

std::vector<std::wstring> ListEntries(HWND list) {
  std::vector<std::wstring> entries;
  const int count = ListCount(list);
  for (int i = 0; i < count; ++i) {
    const LRESULT length = SendWithTimeout(list, LB_GETTEXTLEN, i, 0);
    std::wstring entry(length > 0 ? static_cast<std::size_t>(length) + 1 : 1, L'\0');
    const LRESULT copied = SendWithTimeout(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    entries.push_back(entry);
  }
  return entries;
}

std::vector<int> StatusPartEdges(HANDLE process, HWND statusBar) {
  constexpr int kMostParts = 32;
  RemoteBuffer buffer(process, kMostParts * sizeof(int));
  const LRESULT count = SendWithTimeout(statusBar, SB_GETPARTS, kMostParts, buffer.Address());
  if (count <= 0) return {};
  const std::vector<char> bytes = buffer.Read();
  const int* edges = reinterpret_cast<const int*>(bytes.data());
  return std::vector<int>(edges, edges + count);
}

std::wstring StatusPartText(HANDLE process, HWND statusBar, int part) {
  const LRESULT length = SendWithTimeout(statusBar, SB_GETTEXTLENGTHW, part, 0);
  if (length == -1) return L"<no answer>";
  const std::size_t characters = LOWORD(length);
  RemoteBuffer buffer(process, (characters + 1) * sizeof(wchar_t));
  SendWithTimeout(statusBar, SB_GETTEXTW, part, buffer.Address());
  const std::vector<char> bytes = buffer.Read();
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), characters);
}

RunControls FindRunControls(HWND mainWindow) {
  RunControls found;
  std::vector<HWND> edits;
  const auto isClass = [](HWND window, const wchar_t* name) {
    return ::CompareStringOrdinal(ClassOf(window).c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
  };
  const auto listIn = [&](HWND group) {
    for (HWND child : ChildrenOf(group)) {
      if (isClass(child, L"ListBox")) return child;
    }
    return HWND{};
  };
  for (HWND child : ChildrenOf(mainWindow)) {
    if (isClass(child, L"Edit")) edits.push_back(child);
    if (isClass(child, STATUSCLASSNAMEW)) found.statusBar = child;
    if (!isClass(child, L"Button")) continue;
    const std::wstring text = TextOf(child);
    if (text == L"开始") found.start = child;
    if (text == L"导入要筛选的QQ") found.pending = listIn(child);
    if (text == L"筛选后的") found.kept = listIn(child);
  }
  std::sort(edits.begin(), edits.end(),
            [](HWND a, HWND b) { return PlaceInParent(a).left < PlaceInParent(b).left; });
  if (edits.size() == 2) found.speed = edits[0], found.wait = edits[1];
  return found;
}

POINT RightPressAt(HWND window) {
  static int serial = 0;
  RECT r{};
  ::GetWindowRect(window, &r);
  const int offset = 10 * (serial++ % 5) - 20;
  ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2 + offset);
  POINT pointer{};
  ::GetCursorPos(&pointer);
  INPUT press{};
  press.type = INPUT_MOUSE;
  press.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  ::SendInput(1, &press, sizeof press);
  return pointer;
}

void RightRelease() {
  INPUT release{};
  release.type = INPUT_MOUSE;
  release.mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(1, &release, sizeof release);
}

void PostKey(HWND window, WPARAM key) {
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

bool PressKey(WORD key) {
  INPUT presses[2]{};
  presses[0].type = presses[1].type = INPUT_KEYBOARD;
  presses[0].ki.wVk = presses[1].ki.wVk = key;
  presses[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return ::SendInput(2, presses, sizeof(INPUT)) == 2;
}

HWND FileNameBox(HWND dialog) {
  for (int id : {0x47C /* cmb13 */, 0x480 /* edt1 */}) {
    if (HWND box = ::GetDlgItem(dialog, id)) return box;
  }
  return nullptr;
}

std::string ChooseListMenuItem(const RunningProgram& program, HWND list, int downs) {
  constexpr DWORD kTimeoutMs = 10000;
  // Input over a disabled window is dropped; a closing dialog re-enables it late.
  if (!PollUntil([&] { return ::IsWindowEnabled(program.MainWindow()) != FALSE; }, kTimeoutMs)) {
    return "the main window stayed disabled";
  }
  RightPressAt(list);
  HWND menu = program.WaitForOwnWindow(L"#32768", nullptr, kTimeoutMs);
  RightRelease();
  if (!menu) return "no menu popped up";
  // The menu loop reads the keys of its thread's queue, whatever their window.
  for (int i = 0; i < downs; ++i) PostKey(menu, VK_DOWN);
  PostKey(menu, VK_RETURN);
  if (!PollUntil([&] { return !::IsWindowVisible(menu); }, kTimeoutMs)) return "the menu stayed open";
  return {};
}

std::string ImportThroughTheDialog(const RunningProgram& program, HWND list, const std::wstring& path,
                                   bool confirm) {
  constexpr DWORD kTimeoutMs = 10000;
  std::string failure = ChooseListMenuItem(program, list, kImportItem);
  if (!failure.empty()) return failure;
  HWND dialog = program.WaitForOwnWindow(L"#32770", nullptr, kTimeoutMs);
  if (!dialog) return "no dialog opened";
  HWND nameBox = FileNameBox(dialog);
  if (!nameBox) return "the dialog has no file name box: not an open dialog";
  // Messages rather than keys: a click does not route keys to the dialog under Wine.
  if (confirm) ::SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  const int button = confirm ? IDOK : IDCANCEL;
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, button)));
  if (!PollUntil([&] { return !::IsWindow(dialog); }, kTimeoutMs)) return "the dialog stayed open";
  return {};
}

ScreenCapture::ScreenCapture(const RECT& area)
    : width_(area.right - area.left), height_(area.bottom - area.top) {
  pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  const BOOL copied =
      ::BitBlt(memory, 0, 0, width_, height_, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
  if (copied && bits) {
    const auto* from = static_cast<const DWORD*>(bits);
    pixels_.assign(from, from + pixels_.size());
  }
  ::SelectObject(memory, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  if (!copied) Fail("BitBlt from the screen");
}

COLORREF ScreenCapture::At(int x, int y) const {
  const DWORD pixel =
      pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) + static_cast<std::size_t>(x)];
  // A 32-bit DIB holds blue, green, red from the low byte up.
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace e2e
