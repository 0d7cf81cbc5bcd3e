// Conversions between the program's GBK texts and the wide texts of the system.
#pragma once

#include <string>
#include <string_view>

/// GBK bytes as UTF-16, with code page 936 whatever the system's ANSI code page.
std::wstring WideFromGbk(std::string_view text);

/// UTF-16 as GBK bytes; characters GBK lacks become the code page's default.
std::string GbkFromWide(std::wstring_view text);
