#include "event_log.h"

#include <windows.h>

#include <cwchar>
#include <mutex>

#include "handles.h"

namespace practice {
namespace {

std::mutex logLock;
FileHandle logFile;

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
  return bytes;
}

}  // namespace

bool OpenEventLog(const std::wstring& path) {
  // Readers poll the file while it is written, and may delete it when done.
  FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::lock_guard guard(logLock);
  logFile = std::move(file);
  return true;
}

void Log(const std::wstring& line) {
  const std::string bytes = Utf8(line) + "\n";
  const std::lock_guard guard(logLock);
  if (!logFile) return;
  DWORD written = 0;
  // Unbuffered: one WriteFile per line, so a poller never sees half a line for long.
  ::WriteFile(logFile.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring Escaped(std::wstring_view text) {
  std::wstring escaped;
  for (const wchar_t c : text) {
    switch (c) {
      case L'\\':
        escaped += L"\\\\";
        break;
      case L'\r':
        escaped += L"\\r";
        break;
      case L'\n':
        escaped += L"\\n";
        break;
      case L'\t':
        escaped += L"\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          wchar_t code[8];
          std::swprintf(code, 8, L"\\x%02X", static_cast<unsigned>(c));
          escaped += code;
        } else {
          escaped += c;
        }
    }
  }
  return escaped;
}

}  // namespace practice
