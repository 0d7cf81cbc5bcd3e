// List boxes, the status bar and edit boxes, always handled on the UI thread.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/toolkit.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/registry-win32.h"
#include "desktop/win32/ui-thread-win32.h"

namespace {

std::int32_t CountOf(HWND list) {
  const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
  return count == LB_ERR ? 0 : static_cast<std::int32_t>(count);
}

/// Runs the work with the named control's handle, on the UI thread.
template <typename Work>
void WithControl(ControlName name, Work&& work) {
  RunOnUiThread([&] {
    if (HWND control = HandleNamed(name)) work(control);
  });
}

}  // namespace

std::int32_t EntryCount(ControlName list) {
  std::int32_t count = 0;
  WithControl(list, [&](HWND handle) { count = CountOf(handle); });
  return count;
}

std::string EntryAt(ControlName list, std::int32_t i) {
  std::wstring text;
  WithControl(list, [&](HWND handle) {
    if (i < 0 || i >= CountOf(handle)) return;
    const LRESULT length = ::SendMessageW(handle, LB_GETTEXTLEN, i, 0);
    if (length == LB_ERR) return;
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(handle, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
  });
  return GbkFromWide(text);
}

std::vector<std::string> EntriesAt(ControlName list, std::int32_t first, std::int32_t count) {
  std::vector<std::string> entries;
  if (count <= 0) return entries;
  entries.reserve(static_cast<std::size_t>(count));
  WithControl(list, [&](HWND handle) {
    const std::int32_t existing = CountOf(handle);
    std::wstring text;
    for (std::int64_t i = first; i < std::int64_t{first} + count; ++i) {
      const LRESULT length = i >= 0 && i < existing ? ::SendMessageW(handle, LB_GETTEXTLEN, i, 0) : LB_ERR;
      if (length == LB_ERR) {
        entries.emplace_back();
        continue;
      }
      text.resize(static_cast<std::size_t>(length) + 1);
      const LRESULT copied = ::SendMessageW(handle, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
      entries.push_back(GbkFromWide(std::wstring_view(text.data(), copied == LB_ERR ? 0 : copied)));
    }
  });
  return entries;
}

std::int32_t AppendEntry(ControlName list, const std::string& text) {
  const std::wstring wide = WideFromGbk(text);
  std::int32_t index = -1;
  WithControl(list, [&](HWND handle) {
    const LRESULT added = ::SendMessageW(handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    index = added < 0 ? -1 : static_cast<std::int32_t>(added);
  });
  return index;
}

void AppendEntries(ControlName list, const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  std::vector<std::wstring> wides;
  wides.reserve(texts.size());
  std::size_t bytes = 0;
  for (const std::string& text : texts) {
    bytes += (wides.emplace_back(WideFromGbk(text)).size() + 1) * sizeof(wchar_t);
  }
  WithControl(list, [&](HWND handle) {
    ::SendMessageW(handle, LB_INITSTORAGE, wides.size(), static_cast<LPARAM>(bytes));
    ::SendMessageW(handle, WM_SETREDRAW, FALSE, 0);
    for (const std::wstring& wide : wides) {
      ::SendMessageW(handle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    ::SendMessageW(handle, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(handle, nullptr, TRUE);
  });
}

void RemoveAllEntries(ControlName list) {
  WithControl(list, [](HWND handle) { ::SendMessageW(handle, LB_RESETCONTENT, 0, 0); });
}

void HighlightEntry(ControlName list, std::int32_t i) {
  WithControl(list, [&](HWND handle) {
    const std::int32_t selected = i >= -1 ? std::min(i, CountOf(handle) - 1) : -1;
    ::SendMessageW(handle, LB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  });
}

void SetStatusPart(std::int32_t i, const std::string& text) {
  const std::wstring wide = WideFromGbk(text);
  RunOnUiThread([&] {
    for (const auto& window : LiveWindows()) {
      const auto& description = window->description;
      if (description.statusBar.empty()) continue;
      if (i < 0 || static_cast<std::size_t>(i) >= description.statusParts.size()) return;
      HWND statusBar = HandleNamed(description.statusBar);
      if (!statusBar) return;
      // The part keeps its border: the type sits in the high word of the length.
      const auto type = HIWORD(::SendMessageW(statusBar, SB_GETTEXTLENGTHW, i, 0));
      ::SendMessageW(statusBar, SB_SETTEXTW, static_cast<WPARAM>(i) | type, reinterpret_cast<LPARAM>(wide.c_str()));
      return;
    }
  });
}

std::string EditText(ControlName editBox) {
  std::wstring text;
  WithControl(editBox, [&](HWND handle) {
    const int length = ::GetWindowTextLengthW(handle);
    if (length <= 0) return;
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(std::max(::GetWindowTextW(handle, text.data(), length + 1), 0)));
  });
  return GbkFromWide(text);
}
