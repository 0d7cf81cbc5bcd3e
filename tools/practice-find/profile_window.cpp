#include "profile_window.h"

#include <memory>
#include <thread>

#include "event_log.h"
#include "handles.h"
#include "look.h"

namespace practice {
namespace {

constexpr wchar_t kClassName[] = L"PracticeProfile";
constexpr int kWidth = 320;
constexpr int kHeight = 350;
constexpr RECT kTitleStrip{0, 0, kWidth, 30};
constexpr RECT kCloseBox{kWidth - 34, 0, kWidth, 30};
constexpr int kGap = 12;

struct Profile {
  std::wstring nickname;
  std::wstring number;
};

Profile* ProfileOf(HWND window) {
  return reinterpret_cast<Profile*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT OnNcCreate(HWND window, LPARAM lParam) {
  const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  return TRUE;
}

std::wstring TitleOf(HWND window) {
  wchar_t title[128] = L"";
  ::GetWindowTextW(window, title, 128);
  return title;
}

void OnPaint(HWND window) {
  const Profile& profile = *ProfileOf(window);
  const PaintScope paint(window);
  HDC dc = paint.dc();
  const RECT client{0, 0, kWidth, kHeight};
  look::Fill(dc, client, look::kBackground);
  // The caption is drawn here: Wine's own caption font may have no Chinese glyphs.
  look::Fill(dc, {0, 0, kWidth, 110}, look::kAccent);
  look::Text(dc, {14, 0, kCloseBox.left, kTitleStrip.bottom}, TitleOf(window), look::Font::Bold,
             look::kOnAccent, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  look::Text(dc, kCloseBox, L"×", look::Font::Large, look::kOnAccent, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  look::Avatar(dc, {kWidth / 2, 110}, 40, profile.nickname, profile.number);
  look::Text(dc, {0, 160, kWidth, 188}, profile.nickname, look::Font::Large, look::kText,
             DT_CENTER | DT_SINGLELINE);
  const RECT card{24, 206, kWidth - 24, kHeight - 24};
  look::Fill(dc, card, look::kPanel);
  look::Frame(dc, card, look::kLine);
  const auto row = [&](int top, const wchar_t* label, const std::wstring& value) {
    look::Text(dc, {card.left + 16, top, card.left + 76, top + 22}, label, look::Font::Normal, look::kMuted,
               DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    look::Text(dc, {card.left + 76, top, card.right - 16, top + 22}, value, look::Font::Normal, look::kText,
               DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
  };
  row(card.top + 16, L"昵称", profile.nickname);
  row(card.top + 46, L"账号", profile.number);
  row(card.top + 76, L"签名", L"这个人很懒，什么也没写。");
  look::Frame(dc, client, look::kFrame);
}

LRESULT OnHitTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ScreenToClient(window, &point);
  if (::PtInRect(&kTitleStrip, point) && !::PtInRect(&kCloseBox, point)) return HTCAPTION;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

// The close box is the user's; it does not go through WM_CLOSE, which the log keeps for senders.
void OnClick(HWND window, LPARAM lParam) {
  const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (::PtInRect(&kCloseBox, point)) ::DestroyWindow(window);
}

void OnClose(HWND window, WPARAM wParam, LPARAM lParam) {
  Log(L"close-profile " + Escaped(ProfileOf(window)->number) + L" wparam=" + std::to_wstring(wParam) +
      L" lparam=" + std::to_wstring(lParam));
  ::DestroyWindow(window);
}

void OnNcDestroy(HWND window) {
  delete ProfileOf(window);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

LRESULT CALLBACK ProfileProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return OnNcCreate(window, lParam) ? ::DefWindowProcW(window, message, wParam, lParam) : FALSE;
    case WM_NCHITTEST:
      return OnHitTest(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_LBUTTONDOWN:
      OnClick(window, lParam);
      return 0;
    case WM_CLOSE:
      OnClose(window, wParam, lParam);
      return 0;
    case WM_NCDESTROY:
      OnNcDestroy(window);
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterProfileClass() {
  static const bool registered = [] {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = ProfileProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return ::RegisterClassExW(&windowClass) != 0;
  }();
  return registered;
}

// Beside the Find window where the screen allows, else over its right part.
POINT PlaceBeside(HWND owner) {
  RECT find;
  ::GetWindowRect(owner, &find);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  POINT place{find.right + kGap, find.top};
  if (place.x + kWidth > screenWidth) place.x = screenWidth - kWidth > 0 ? screenWidth - kWidth : 0;
  return place;
}

HWND CreateProfileWindow(HWND owner, const std::wstring& nickname, const std::wstring& number) {
  if (!RegisterProfileClass()) return nullptr;
  auto profile = std::make_unique<Profile>(Profile{nickname, number});
  const std::wstring title = nickname + L"的资料";
  const POINT place = PlaceBeside(owner);
  HWND window =
      ::CreateWindowExW(0, kClassName, title.c_str(), WS_POPUP | WS_MINIMIZEBOX, place.x, place.y, kWidth,
                        kHeight, owner, nullptr, ::GetModuleHandleW(nullptr), profile.get());
  if (!window) return nullptr;
  profile.release();  // the window owns it now, freed at WM_NCDESTROY
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  ::SetForegroundWindow(window);
  return window;
}

void RunHungProfile(HWND owner, std::wstring nickname, std::wstring number) {
  if (!CreateProfileWindow(owner, nickname, number)) return;
  // What showing it queued is handled; from the log line on, nothing is: a frozen program.
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  Log(L"profile " + Escaped(number));
  ::Sleep(INFINITE);  // the process ends it when the Find window closes
}

}  // namespace

void OpenProfile(HWND owner, const std::wstring& nickname, const std::wstring& number, bool hang) {
  if (hang) {
    std::thread(RunHungProfile, owner, nickname, number).detach();
    return;
  }
  if (CreateProfileWindow(owner, nickname, number)) Log(L"profile " + Escaped(number));
}

}  // namespace practice
