// The executable's path, the current directory and reading files whole.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/handles-win32.h"

namespace {

constexpr DWORD kLongestPath = 32768;
constexpr DWORD kChunkBytes = 64 * 1024;

}  // namespace

std::string ExecutablePath() {
  for (DWORD capacity = MAX_PATH; capacity <= kLongestPath; capacity *= 2) {
    std::vector<wchar_t> path(capacity, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), capacity);
    if (length == 0) return {};
    // A full buffer means the path may have been cut.
    if (length < capacity) return GbkFromWide(std::wstring_view(path.data(), length));
  }
  return {};
}

void SetCurrentDirectoryTo(const std::string& path) {
  const std::wstring directory = WideFromGbk(path);
  ::SetCurrentDirectoryW(directory.c_str());
}

FileRead ReadFileBytes(const std::string& path) {
  const std::wstring widePath = WideFromGbk(path);
  UniqueFileHandle file(::CreateFileW(widePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    return {missing ? ReadOutcome::Missing : ReadOutcome::Failed, {}};
  }
  FileRead result{ReadOutcome::Whole, {}};
  std::vector<char> chunk(kChunkBytes);
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file.get(), chunk.data(), kChunkBytes, &read, nullptr)) {
      result.outcome = ReadOutcome::Failed;
      return result;
    }
    if (read == 0) return result;
    result.bytes.append(chunk.data(), read);
  }
}

bool ReplaceFileBytes(const std::string& path, const std::string& data) {
  const std::wstring target = WideFromGbk(path);
  if (target.empty()) return false;
  // A file the user made read-only keeps its content, as Windows refuses to
  // move a file over it; Wine would not.
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  const std::wstring temporary = target + L".tallyfox-new";
  {
    UniqueFileHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    bool written = true;
    for (std::size_t at = 0; written && at < data.size();) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(data.size() - at, kChunkBytes));
      DWORD wrote = 0;
      written = ::WriteFile(file.get(), data.data() + at, chunk, &wrote, nullptr) && wrote == chunk;
      at += wrote;
    }
    // The new content must be on the disk before it takes the old one's place.
    if (!written || !::FlushFileBuffers(file.get())) {
      file.reset();
      ::DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  ::DeleteFileW(temporary.c_str());
  return false;
}
