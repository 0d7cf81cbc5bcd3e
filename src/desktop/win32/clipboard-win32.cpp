#include <windows.h>

#include <cstring>
#include <string>

#include "desktop/desktop.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/handles-win32.h"

namespace {

constexpr ULONGLONG kRetryForMs = 1000;
constexpr std::int32_t kRetryEveryMs = 10;

/// Opens the clipboard, waiting up to a second while another program holds it.
ClipboardScope OpenClipboardRetrying() {
  const ULONGLONG deadline = ::GetTickCount64() + kRetryForMs;
  while (!::OpenClipboard(nullptr)) {
    if (::GetTickCount64() >= deadline || !WaitMs(kRetryEveryMs)) return ClipboardScope(false);
  }
  return ClipboardScope(true);
}

UniqueGlobal WideTextBlock(const std::wstring& text) {
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  UniqueGlobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes));
  if (!block) return block;
  void* memory = ::GlobalLock(block.get());
  if (!memory) return UniqueGlobal();
  std::memcpy(memory, text.c_str(), bytes);
  ::GlobalUnlock(block.get());
  return block;
}

}  // namespace

bool PutClipboardText(const std::string& text) {
  if (StopRequested()) return false;
  UniqueGlobal block = WideTextBlock(WideFromGbk(text));
  if (!block) return false;
  ClipboardScope clipboard = OpenClipboardRetrying();
  if (!clipboard || !::EmptyClipboard()) return false;
  if (!::SetClipboardData(CF_UNICODETEXT, block.get())) return false;
  // The system owns the block now.
  block.release();
  return clipboard.Close();
}
