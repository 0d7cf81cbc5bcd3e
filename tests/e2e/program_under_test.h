// Runs tallyfox.exe in a folder of its own and reads its windows from outside
// the process, as a user's tools would.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

/// The tallyfox.exe under test, set by main from the command line.
extern std::wstring programPath;

std::string Utf8(const std::wstring& text);

/// Calls the check until it holds or the time is up; whether it held.
bool PollUntil(const std::function<bool()>& check, DWORD timeoutMs);

/// A path from the command line in Windows form: ctest hands over Unix paths,
/// which Wine serves on drive Z:.
std::wstring WindowsPath(std::wstring path);

/// A file's bytes, read while others may write it; nothing when it cannot be opened.
std::optional<std::string> ReadBytes(const std::wstring& path);

/// A temporary program folder holding a copy of tallyfox.exe; removed with all
/// it holds when it goes out of scope.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring FilePath(const std::wstring& name) const { return path_ + L"\\" + name; }
  /// Writes the bytes as they are, no conversion.
  void WriteFile(const std::wstring& name, const std::string& bytes) const;
  std::optional<std::string> ReadFile(const std::wstring& name) const { return ReadBytes(FilePath(name)); }

 private:
  std::wstring path_;
};

/// A started tallyfox.exe and its main window. Destruction closes it and waits
/// for it to end, so a failing test never leaves it running.
class RunningProgram {
 public:
  explicit RunningProgram(const ProgramFolder& folder);
  /// tallyfox.exe in this folder (Windows form), started there.
  explicit RunningProgram(const std::wstring& folderPath);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  /// The visible top-level "Tallyfox" window of the process, or null.
  HWND MainWindow() const { return main_; }
  HANDLE Process() const { return process_; }
  DWORD ProcessId() const { return processId_; }

  /// A visible top-level window of the process with this class (and caption,
  /// when given) other than the main window, waited for; null on timeout.
  HWND WaitForOwnWindow(const wchar_t* className, const wchar_t* caption = nullptr,
                        DWORD timeoutMs = 10000) const;

  /// Waits until the program's UI thread has handled everything queued before.
  bool Settle() const;

  /// Asks the main window to close and waits for the process to end; whether it did.
  bool Close();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND main_ = nullptr;
};

/// Controls and windows of another process, read with messages that cross
/// process boundaries, or with a buffer inside the target process.
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);
/// The window's rectangle in its parent's client coordinates.
RECT PlaceInParent(HWND window);
std::vector<HWND> ChildrenOf(HWND parent);
int ListCount(HWND list);
std::vector<std::wstring> ListEntries(HWND list);

/// Reads a status bar's parts and texts; messages at WM_USER and above are
/// not marshalled between processes, so the reply goes through memory
/// allocated in the target.
std::vector<int> StatusPartEdges(HANDLE process, HWND statusBar);
std::wstring StatusPartText(HANDLE process, HWND statusBar, int part);

/// The main window's controls that a run uses, found by class and text: the
/// two delay boxes are its edit boxes from left to right, the lists are in
/// their group boxes.
struct RunControls {
  HWND speed = nullptr, wait = nullptr, start = nullptr;
  HWND pending = nullptr, kept = nullptr, statusBar = nullptr;
};
RunControls FindRunControls(HWND mainWindow);

/// A right press near the middle of the window, from outside like the
/// user's mouse; the pointer's position. Each press lands 10 pixels below the
/// last, so two quick presses are not taken for a double click.
POINT RightPressAt(HWND window);
void RightRelease();
/// A key press posted to the window's thread queue.
void PostKey(HWND window, WPARAM key);

/// Presses and releases a key, as the keyboard does; whether both reached the input.
bool PressKey(WORD key);
/// The open dialog's file name box: a combo box in the Explorer-style
/// dialog, an edit box in the old one.
HWND FileNameBox(HWND dialog);

/// The pending list's menu item that this many arrow presses down select.
constexpr int kImportItem = 1;
/// Pops up the list's menu and chooses the item `downs` arrow presses down;
/// what went wrong, or nothing.
std::string ChooseListMenuItem(const RunningProgram& program, HWND list, int downs);
/// Chooses "导入" and answers the open dialog with the file, or cancels it;
/// what went wrong, or nothing. Returns once the dialog has gone.
std::string ImportThroughTheDialog(const RunningProgram& program, HWND list, const std::wstring& path,
                                   bool confirm);

/// A copy of the screen's pixels in the rectangle (screen coordinates).
class ScreenCapture {
 public:
  explicit ScreenCapture(const RECT& area);
  COLORREF At(int x, int y) const;  // relative to the area's top-left
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  int width_, height_;
  std::vector<DWORD> pixels_;
};

}  // namespace e2e
