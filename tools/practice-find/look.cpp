#include "look.h"

#include <array>
#include <cwchar>
#include <string>

#include "handles.h"

namespace practice::look {
namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool FaceExists(const wchar_t* face) {
  LOGFONTW wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  std::wcsncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
  bool found = false;
  HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExW(screen, &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

// Windows has the first ones; a Linux machine running Wine usually has the later ones.
std::wstring ChineseFace() {
  for (const wchar_t* face : {L"Microsoft YaHei", L"微软雅黑", L"SimSun", L"宋体", L"WenQuanYi Micro Hei",
                              L"Noto Sans CJK SC", L"Droid Sans Fallback"}) {
    if (FaceExists(face)) return face;
  }
  return {};
}

GdiObject MakeFont(const std::wstring& face, int height, int weight) {
  LOGFONTW font{};
  font.lfHeight = -height;
  font.lfWeight = weight;
  font.lfCharSet = GB2312_CHARSET;  // with no face found, the mapper still looks for Chinese glyphs
  font.lfQuality = CLEARTYPE_QUALITY;
  std::wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return GdiObject(::CreateFontIndirectW(&font));
}

struct Fonts {
  std::array<GdiObject, 4> byRole;
  Fonts() {
    const std::wstring face = ChineseFace();
    byRole[static_cast<int>(Font::Normal)] = MakeFont(face, 14, FW_NORMAL);
    byRole[static_cast<int>(Font::Bold)] = MakeFont(face, 14, FW_BOLD);
    byRole[static_cast<int>(Font::Small)] = MakeFont(face, 12, FW_NORMAL);
    byRole[static_cast<int>(Font::Large)] = MakeFont(face, 20, FW_BOLD);
  }
};

}  // namespace

HFONT FontFor(Font role) {
  static const Fonts fonts;  // thread-safe first use: profile windows may paint on their own thread
  const HGDIOBJ font = fonts.byRole[static_cast<int>(role)].get();
  return static_cast<HFONT>(font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
}

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  const COLORREF previous = ::SetBkColor(dc, colour);
  ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  ::SetBkColor(dc, previous);
}

void Frame(HDC dc, const RECT& area, COLORREF colour) {
  Fill(dc, {area.left, area.top, area.right, area.top + 1}, colour);
  Fill(dc, {area.left, area.bottom - 1, area.right, area.bottom}, colour);
  Fill(dc, {area.left, area.top, area.left + 1, area.bottom}, colour);
  Fill(dc, {area.right - 1, area.top, area.right, area.bottom}, colour);
}

void Text(HDC dc, const RECT& area, std::wstring_view text, Font role, COLORREF colour, UINT format) {
  const Selected font(dc, FontFor(role));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour);
  RECT place = area;
  ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &place, format | DT_NOPREFIX);
}

void Avatar(HDC dc, POINT centre, int radius, std::wstring_view nickname, std::wstring_view number) {
  static constexpr std::array<COLORREF, 5> kColours = {
      RGB(84, 160, 232), RGB(102, 187, 138), RGB(240, 150, 90), RGB(170, 128, 220), RGB(230, 110, 130)};
  unsigned sum = 0;
  for (const wchar_t c : number) sum += static_cast<unsigned>(c);
  const GdiObject brush(::CreateSolidBrush(kColours[sum % kColours.size()]));
  const Selected fill(dc, brush.get());
  const Selected pen(dc, ::GetStockObject(NULL_PEN));
  ::Ellipse(dc, centre.x - radius, centre.y - radius, centre.x + radius + 1, centre.y + radius + 1);
  const RECT circle{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
  Text(dc, circle, nickname.substr(0, 1), Font::Large, kOnAccent, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace practice::look
