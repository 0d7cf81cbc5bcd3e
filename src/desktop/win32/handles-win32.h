// Owners of Win32 handles: each frees its handle once, none can be copied.
#pragma once

#include <windows.h>

#include <cstdint>
#include <utility>

/// Owns a handle of type T and frees it with Free; moves, never copies.
template <typename T, auto Free, std::intptr_t Invalid = 0>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return handle_; }
  explicit operator bool() const { return handle_ != reinterpret_cast<T>(Invalid); }
  T release() { return std::exchange(handle_, reinterpret_cast<T>(Invalid)); }
  void reset(T handle = reinterpret_cast<T>(Invalid)) {
    if (*this) Free(handle_);
    handle_ = handle;
  }

 private:
  T handle_ = reinterpret_cast<T>(Invalid);
};

inline void CloseKernelHandle(HANDLE handle) { ::CloseHandle(handle); }
inline void FreeGlobal(HGLOBAL block) { ::GlobalFree(block); }
inline void DeleteGdiObject(HGDIOBJ object) { ::DeleteObject(object); }
inline void FreeMenu(HMENU menu) { ::DestroyMenu(menu); }

/// Events, threads, timers, processes: handles whose failure value is null.
using UniqueKernelHandle = UniqueHandle<HANDLE, CloseKernelHandle>;
/// Files: CreateFileW fails with INVALID_HANDLE_VALUE, not null.
using UniqueFileHandle = UniqueHandle<HANDLE, CloseKernelHandle, -1>;
using UniqueGlobal = UniqueHandle<HGLOBAL, FreeGlobal>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, DeleteGdiObject>;
using UniqueMenu = UniqueHandle<HMENU, FreeMenu>;

/// The clipboard, open for as long as this lives.
class ClipboardScope {
 public:
  ClipboardScope() = default;
  explicit ClipboardScope(bool opened) : opened_(opened) {}
  ClipboardScope(const ClipboardScope&) = delete;
  ClipboardScope& operator=(const ClipboardScope&) = delete;
  ClipboardScope(ClipboardScope&& other) noexcept : opened_(std::exchange(other.opened_, false)) {}
  ClipboardScope& operator=(ClipboardScope&&) = delete;
  ~ClipboardScope() { Close(); }

  explicit operator bool() const { return opened_; }
  /// Closes now; false when the system refused.
  bool Close() { return std::exchange(opened_, false) ? ::CloseClipboard() != FALSE : true; }

 private:
  bool opened_ = false;
};

/// A window's device context, released with the window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

/// Selects a GDI object into a device context and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
