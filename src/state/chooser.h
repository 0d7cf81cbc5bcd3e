#pragma once

#include <cstdint>

/// Sets the main window's chooser to open (0) or save (1) a text file; its
/// file name stays as it is.
void PrepareTextFileChooser(std::int32_t mode);
