#pragma once

#include <cstdint>
#include <string>

/// A delay box's text in seconds as milliseconds: the product truncated toward
/// zero, of which the low 32 bits are kept; 0 when it is not a number or lies
/// beyond the 64-bit range.
std::int32_t DelayMsFromText(const std::string& text);
