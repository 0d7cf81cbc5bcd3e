// The instructions window, shown modally from the pending list's menu.
#pragma once

#include "desktop/toolkit.h"

/// The description the instructions window is created from, afresh each time.
const WindowDescription& InstructionsWindowDescription();

/// Opens the instructions window and returns once the user has closed it.
void ShowInstructions();
