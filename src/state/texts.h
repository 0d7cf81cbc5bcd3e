// Operations on texts: GBK byte strings, where a byte of 128 or more starts a
// two-byte character.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

/// The bytes before the first zero byte.
std::string BytesToText(const std::string& bytes);

/// The integer in decimal, with a leading minus sign when negative.
std::string DecimalText(std::int32_t value);

/// The leading decimal number of the text after folding full-width forms to
/// ASCII, as the C library reads it (d and D also start an exponent); 0.0 when
/// the text starts with no number.
double ParseDecimal(const std::string& text);

/// The pieces between occurrences of the delimiter, never splitting a
/// two-byte character; no empty last piece.
std::vector<std::string> SplitByDelimiter(const std::string& text, const std::string& delimiter);
