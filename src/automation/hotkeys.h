#pragma once

#include <cstdint>

/// A press of F10 (pause: save and stop the run) or F11 (keep the number on screen).
void OnHotkeyFeedback(std::int32_t id, std::int32_t extra);
