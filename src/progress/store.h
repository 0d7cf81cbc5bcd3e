#pragma once

#include <string>

/// Replaces the file's content with the data in one step, so that it holds
/// either its old or its new content; false when nothing was replaced.
bool StoreFileBytes(const std::string& path, const std::string& data);
