#pragma once

#include <cstdint>
#include <string>

#include "desktop/toolkit.h"

/// Entries first to first + count - 1 of a list, separated by CR LF, with no
/// break after the last; an index past the end gives an empty line.
std::string JoinEntries(ControlName list, std::int32_t first, std::int32_t count);
