// The three progress files beside the executable. The visited and kept files
// keep what they held at start-up (the earlier records) and each save adds this
// session's entries after it.
#pragma once

#include <string>

enum class ProgressFile { Visited, Pending, Kept };

/// The file's bytes at start-up; a file that exists but cannot be read is
/// left alone by every save of this session.
std::string LoadProgressFile(ProgressFile file);

/// Remembers what the visited and kept files hold at start-up.
void RememberEarlierRecords();

/// Adds entries visited in a list that is being cleared to the visited record.
void AddToVisitedRecord(const std::string& entries);

/// Writes the visited, pending and kept files, when the session has anything to record.
void SaveProgress();

/// The main window is about to be destroyed; its lists still hold their entries.
void OnMainWindowClosing();
