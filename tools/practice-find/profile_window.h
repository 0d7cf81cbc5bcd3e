// An account's profile window, as the messenger opens it from a search result.
#pragma once

#include <windows.h>

#include <string>

namespace practice {

/// Opens the profile in front, owned by the Find window so that closing it hands
/// activation back. With hang, the window gets a thread of its own that stops
/// answering messages once the window is shown.
void OpenProfile(HWND owner, const std::wstring& nickname, const std::wstring& number, bool hang);

}  // namespace practice
