// The program's directory and reading files whole.
#pragma once

#include <string>

/// Works out the program's directory from the executable's path and makes it
/// the current directory; runs once, when the program starts.
void FixProgramDirectory();

/// The directory of the program's executable, without a trailing backslash.
std::string ProgramDirectory();

/// The whole content of the file; empty for an empty path or a file that
/// cannot be read.
std::string LoadFileBytes(const std::string& path);
