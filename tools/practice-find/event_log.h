// The record of what the practice window received, for tests and the curious.
#pragma once

#include <string>
#include <string_view>

namespace practice {

/// Creates (or empties) the log file; false when it cannot. Until then Log does nothing.
bool OpenEventLog(const std::wstring& path);

/// Appends one line (UTF-8, LF) and hands it to the system at once; safe from any thread.
void Log(const std::wstring& line);

/// Text that came from outside, made safe to stand inside one log line.
std::wstring Escaped(std::wstring_view text);

}  // namespace practice
