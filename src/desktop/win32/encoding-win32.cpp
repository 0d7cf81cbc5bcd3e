#include "desktop/win32/encoding-win32.h"

#include <windows.h>

#include <climits>

namespace {

constexpr UINT kGbk = 936;

}  // namespace

std::wstring WideFromGbk(std::string_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int wideLength = ::MultiByteToWideChar(kGbk, 0, text.data(), length, nullptr, 0);
  if (wideLength <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  if (::MultiByteToWideChar(kGbk, 0, text.data(), length, wide.data(), wideLength) != wideLength) return {};
  return wide;
}

std::string GbkFromWide(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int gbkLength = ::WideCharToMultiByte(kGbk, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (gbkLength <= 0) return {};
  std::string gbk(static_cast<std::size_t>(gbkLength), '\0');
  if (::WideCharToMultiByte(kGbk, 0, text.data(), length, gbk.data(), gbkLength, nullptr, nullptr) != gbkLength) {
    return {};
  }
  return gbk;
}
