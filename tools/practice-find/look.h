// The plain, light look shared by the Find window and the profile windows.
#pragma once

#include <windows.h>

#include <string_view>

namespace practice::look {

constexpr COLORREF kBackground = RGB(244, 246, 249);
constexpr COLORREF kPanel = RGB(255, 255, 255);
constexpr COLORREF kLine = RGB(214, 219, 226);
constexpr COLORREF kFrame = RGB(160, 170, 182);
constexpr COLORREF kAccent = RGB(18, 140, 220);
constexpr COLORREF kAccentDark = RGB(12, 112, 182);
constexpr COLORREF kText = RGB(34, 38, 44);
constexpr COLORREF kMuted = RGB(120, 128, 138);
constexpr COLORREF kOnAccent = RGB(255, 255, 255);

enum class Font { Normal, Bold, Small, Large };

/// A font that can show Chinese on this system; created once, lives for the process.
HFONT FontFor(Font role);

void Fill(HDC dc, const RECT& area, COLORREF colour);
/// A one-pixel frame just inside the area.
void Frame(HDC dc, const RECT& area, COLORREF colour);
void Text(HDC dc, const RECT& area, std::wstring_view text, Font role, COLORREF colour, UINT format);
/// A round picture with the nickname's first character, coloured by the number.
void Avatar(HDC dc, POINT centre, int radius, std::wstring_view nickname, std::wstring_view number);

}  // namespace practice::look
