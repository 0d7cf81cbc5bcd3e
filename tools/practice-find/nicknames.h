// Made-up nicknames, the same for the same number every time.
#pragma once

#include <string>
#include <string_view>

namespace practice {

/// Two or three Chinese syllables chosen by the number's hash.
std::wstring NicknameFor(std::wstring_view number);

}  // namespace practice
