// ReplaceFileBytes: the progress files must survive a full disk or a power cut,
// so the data goes to a temporary file beside the target first and is then
// moved over it in one step.
#include <windows.h>

#include <algorithm>
#include <string>

#include "desktop/desktop.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/handles-win32.h"

namespace {

bool WriteAll(HANDLE file, const std::string& data) {
  constexpr std::size_t kChunk = 1u << 30;
  for (std::size_t written = 0; written < data.size();) {
    const auto chunk = static_cast<DWORD>(std::min(kChunk, data.size() - written));
    DWORD done = 0;
    if (!::WriteFile(file, data.data() + written, chunk, &done, nullptr) || done != chunk) return false;
    written += done;
  }
  return true;
}

bool WriteNewFile(const std::wstring& path, const std::string& data) {
  UniqueFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  // On disk before the move, or a power cut could leave the moved file empty.
  return WriteAll(file.get(), data) && ::FlushFileBuffers(file.get());
}

}  // namespace

bool ReplaceFileBytes(const std::string& path, const std::string& data) {
  const std::wstring target = WideFromGbk(path);
  const std::wstring temporary = target + L"." + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
  if (WriteNewFile(temporary, data) &&
      ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  ::DeleteFileW(temporary.c_str());
  return false;
}
