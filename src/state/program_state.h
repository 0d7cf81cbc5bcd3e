// The program-wide variables, all zero when the process starts.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "desktop/toolkit.h"

struct ProgramState {
  // Shared between the UI thread and the worker, so each is read and written whole.
  std::atomic<std::int32_t> stepDelayMs{0};
  std::atomic<std::int32_t> searchWaitMs{0};
  std::atomic<std::int32_t> pauseHotkeyId{0};
  std::atomic<std::int32_t> markHotkeyId{0};
  std::atomic<std::int32_t> markRequested{0};
  std::atomic<std::int32_t> runCursor{0};
  // Owned by the worker; released only after it has ended.
  std::string foregroundTitle;
};

extern ProgramState programState;

/// The main window's file chooser, shared by the import and Save As.
extern FileChooser 通用对话框1;
