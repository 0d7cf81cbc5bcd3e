// Importing numbers into the pending list, and clearing it.
#pragma once

#include <string>

/// Appends every non-empty CR LF separated line of the text to the pending
/// list, then shows the list's count in status part 0.
void ImportNumbersFromText(const std::string& text);

/// Imports the file the user picks; a cancelled choice imports nothing.
void ImportFromChosenFile();

/// Empties the pending list once the user confirms.
void ClearPendingList();
