#include "nicknames.h"

#include <array>
#include <cstdint>

namespace practice {
namespace {

constexpr std::array<std::wstring_view, 32> kSyllables = {
    L"小", L"明", L"月", L"星", L"云", L"风", L"雨", L"花", L"叶", L"山", L"水",
    L"林", L"青", L"白", L"春", L"秋", L"雪", L"竹", L"梅", L"兰", L"海", L"阳",
    L"晨", L"夏", L"安", L"乐", L"宁", L"晴", L"书", L"琪", L"远", L"然",
};

// FNV-1a: stable across runs and builds, unlike std::hash.
std::uint32_t Hash(std::wstring_view text) {
  std::uint32_t hash = 2166136261u;
  for (const wchar_t c : text) {
    hash ^= static_cast<std::uint32_t>(c);
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

std::wstring NicknameFor(std::wstring_view number) {
  std::uint32_t hash = Hash(number);
  const int length = 2 + static_cast<int>(hash & 1u);
  hash >>= 1;
  std::wstring nickname;
  for (int i = 0; i < length; ++i) {
    nickname += kSyllables[hash % kSyllables.size()];
    hash = hash / kSyllables.size() * 2654435761u + 1u;  // stir, so short numbers still vary
  }
  return nickname;
}

}  // namespace practice
