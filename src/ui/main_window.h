// The main window: its controls, its hidden menu and its event table.
#pragma once

#include <cstdint>

#include "desktop/toolkit.h"

/// The description the program's main window is created from.
const WindowDescription& MainWindowDescription();

/// A right press on the pending list pops up the menu "导入数据".
void ShowImportMenu(std::int32_t x, std::int32_t y, std::int32_t keys);
