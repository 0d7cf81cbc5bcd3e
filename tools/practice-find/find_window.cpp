#include "find_window.h"

#include <commctrl.h>

#include <string>

#include "event_log.h"
#include "handles.h"
#include "look.h"
#include "nicknames.h"
#include "profile_window.h"

namespace practice {
namespace {

constexpr wchar_t kClassName[] = L"TXGuiFoundation";
constexpr wchar_t kTitle[] = L"查找";
constexpr int kWidth = 600;
constexpr int kHeight = 420;

// Client coordinates; Tallyfox double-clicks (235, 45), (100, 95) and (55, 285).
constexpr RECT kTitleStrip{0, 0, kWidth, 30};
constexpr RECT kCloseBox{kWidth - 34, 0, kWidth, 30};
constexpr RECT kPeopleTab{195, 30, 275, 60};
constexpr RECT kGroupsTab{295, 30, 375, 60};
constexpr RECT kFieldFrame{40, 82, 460, 108};
constexpr RECT kField{48, 85, 452, 105};
constexpr RECT kButton{470, 82, 560, 108};
constexpr RECT kResults{20, 124, 580, 404};
constexpr RECT kResultsHeader{36, 132, 560, 156};
constexpr RECT kCard{32, 164, 212, 334};

constexpr int kButtonId = 1;
constexpr UINT_PTR kFieldSubclassId = 1;

enum class Tab { People, Groups };
enum class Outcome { None, Person, NoGroup };

struct FindState {
  HWND window = nullptr;
  HWND field = nullptr;
  bool hangProfiles = false;
  Tab tab = Tab::Groups;  // so that selecting "找人" is a visible step
  Outcome outcome = Outcome::None;
  std::wstring nickname;
  std::wstring number;
};

FindState* StateOf(HWND window) {
  return reinterpret_cast<FindState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

bool Contains(const RECT& area, POINT point) { return ::PtInRect(&area, point) != FALSE; }

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

std::wstring Place(POINT point) { return std::to_wstring(point.x) + L" " + std::to_wstring(point.y); }

std::wstring KeyName(WPARAM key) {
  std::wstring name;
  if (::GetKeyState(VK_CONTROL) < 0) name += L"ctrl+";
  if (::GetKeyState(VK_MENU) < 0) name += L"alt+";
  if (::GetKeyState(VK_SHIFT) < 0) name += L"shift+";
  if (key == VK_BACK) return name + L"backspace";
  if (key == VK_RETURN) return name + L"enter";
  if (key >= 'A' && key <= 'Z') return name + static_cast<wchar_t>(key - 'A' + 'a');
  return name + L"vk=" + std::to_wstring(key);
}

bool IsModifier(WPARAM key) {
  switch (key) {
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
    case VK_LSHIFT:
    case VK_RSHIFT:
    case VK_LCONTROL:
    case VK_RCONTROL:
    case VK_LMENU:
    case VK_RMENU:
      return true;
  }
  return false;
}

void LogKey(WPARAM key) {
  if (!IsModifier(key)) Log(L"key " + KeyName(key));
}

// A click does not activate a window under Wine before the keys that follow it
// are routed, so the window takes the foreground and the field takes the keys.
void TakeKeys(const FindState& state) {
  ::SetForegroundWindow(state.window);
  ::SetActiveWindow(state.window);
  ::SetFocus(state.field);
}

void SelectTab(FindState& state, Tab tab) {
  if (state.tab == tab) return;
  state.tab = tab;
  const RECT tabs{kPeopleTab.left, kPeopleTab.top, kGroupsTab.right, kGroupsTab.bottom};
  ::InvalidateRect(state.window, &tabs, FALSE);
}

std::wstring FieldText(HWND field) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(field)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(field, text.data(), static_cast<int>(text.size()))));
  return text;
}

void Search(FindState& state) {
  const std::wstring text = FieldText(state.field);
  if (text.empty()) return;
  if (state.tab == Tab::People) {
    Log(L"search " + Escaped(text));
    state.outcome = Outcome::Person;
    state.nickname = NicknameFor(text);
    state.number = text;
  } else {
    Log(L"search-group " + Escaped(text));
    state.outcome = Outcome::NoGroup;
  }
  ::InvalidateRect(state.window, &kResults, FALSE);
}

std::wstring ClipboardText(HWND owner) {
  const ClipboardScope clipboard(owner);
  if (!clipboard) return {};
  HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
  if (!data) return {};
  const auto* text = static_cast<const wchar_t*>(::GlobalLock(data));
  if (!text) return {};
  std::wstring copy(text, ::wcsnlen(text, ::GlobalSize(data) / sizeof(wchar_t)));
  ::GlobalUnlock(data);
  return copy;
}

// ---- The search field: an EDIT control whose keys and clicks are logged.

POINT InFindWindow(HWND field, LPARAM lParam) {
  POINT point = PointOf(lParam);
  ::MapWindowPoints(field, ::GetParent(field), &point, 1);
  return point;
}

LRESULT OnFieldKeyDown(HWND field, UINT message, WPARAM key, LPARAM lParam, FindState& state) {
  LogKey(key);
  const bool control = ::GetKeyState(VK_CONTROL) < 0;
  if (control && key == 'A') {
    ::SendMessageW(field, EM_SETSEL, 0, -1);
  } else if (control && key == 'V') {
    ::SendMessageW(field, WM_PASTE, 0, 0);
  } else if (key == VK_RETURN) {
    Search(state);
  } else {
    return ::DefSubclassProc(field, message, key, lParam);
  }
  return 0;
}

LRESULT OnFieldChar(HWND field, UINT message, WPARAM character, LPARAM lParam) {
  // Handled at key-down: select all, paste and Enter must not also reach the edit as characters.
  if (character == 0x01 || character == 0x16 || character == L'\r' || character == L'\n') return 0;
  return ::DefSubclassProc(field, message, character, lParam);
}

LRESULT OnFieldPaste(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  Log(L"paste " + Escaped(ClipboardText(field)));
  return ::DefSubclassProc(field, message, wParam, lParam);
}

LRESULT OnFieldButton(HWND field, UINT message, WPARAM wParam, LPARAM lParam, FindState& state) {
  const wchar_t* kind = message == WM_LBUTTONDOWN     ? L"click "
                        : message == WM_LBUTTONDBLCLK ? L"dblclick "
                                                      : L"rclick ";
  Log(kind + Place(InFindWindow(field, lParam)));
  const LRESULT result = ::DefSubclassProc(field, message, wParam, lParam);
  if (message != WM_RBUTTONDOWN) TakeKeys(state);
  return result;
}

LRESULT CALLBACK FieldProc(HWND field, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR stateAddress) {
  FindState& state = *reinterpret_cast<FindState*>(stateAddress);
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return OnFieldKeyDown(field, message, wParam, lParam, state);
    case WM_CHAR:
      return OnFieldChar(field, message, wParam, lParam);
    case WM_PASTE:
      return OnFieldPaste(field, message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
      return OnFieldButton(field, message, wParam, lParam, state);
    case WM_CONTEXTMENU:
      return 0;  // the system menu would be English, and modal
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(field, FieldProc, kFieldSubclassId);
      break;
  }
  return ::DefSubclassProc(field, message, wParam, lParam);
}

// ---- The Find window.

LRESULT OnNcCreate(HWND window, LPARAM lParam) {
  auto* state = static_cast<FindState*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
  state->window = window;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  return TRUE;
}

HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& place,
                 int id) {
  HWND child = ::CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                                 place.right - place.left, place.bottom - place.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 ::GetModuleHandleW(nullptr), nullptr);
  if (child)
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(look::FontFor(look::Font::Normal)), FALSE);
  return child;
}

LRESULT OnCreate(HWND window) {
  FindState& state = *StateOf(window);
  state.field = CreateChild(window, WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP, kField, 0);
  if (!state.field ||
      !CreateChild(window, WC_BUTTONW, L"查找", BS_OWNERDRAW | WS_TABSTOP, kButton, kButtonId)) {
    return -1;
  }
  ::SetWindowSubclass(state.field, FieldProc, kFieldSubclassId, reinterpret_cast<DWORD_PTR>(&state));
  return 0;
}

void PaintTab(HDC dc, const RECT& area, const wchar_t* label, bool selected) {
  look::Text(dc, area, label, selected ? look::Font::Bold : look::Font::Normal,
             selected ? look::kAccent : look::kMuted, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  if (selected) {
    const int middle = (area.left + area.right) / 2;
    look::Fill(dc, {middle - 20, area.bottom - 3, middle + 20, area.bottom - 1}, look::kAccent);
  }
}

void PaintResults(HDC dc, const FindState& state) {
  look::Fill(dc, kResults, look::kPanel);
  look::Frame(dc, kResults, look::kLine);
  if (state.outcome == Outcome::None) return;
  const DWORD header = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
  if (state.outcome == Outcome::NoGroup) {
    look::Text(dc, kResultsHeader, L"没有找到相关的群", look::Font::Normal, look::kMuted, header);
    return;
  }
  look::Text(dc, kResultsHeader, L"找到 1 个联系人", look::Font::Normal, look::kMuted, header);
  look::Fill(dc, kCard, look::kBackground);
  look::Frame(dc, kCard, look::kLine);
  const int middle = (kCard.left + kCard.right) / 2;
  look::Avatar(dc, {middle, kCard.top + 48}, 30, state.nickname, state.number);
  const DWORD line = DT_CENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  look::Text(dc, {kCard.left + 8, kCard.top + 92, kCard.right - 8, kCard.top + 116}, state.nickname,
             look::Font::Bold, look::kText, line);
  look::Text(dc, {kCard.left + 8, kCard.top + 120, kCard.right - 8, kCard.top + 142}, state.number,
             look::Font::Small, look::kMuted, line);
}

void OnPaint(HWND window) {
  const FindState& state = *StateOf(window);
  const PaintScope paint(window);
  HDC dc = paint.dc();
  look::Fill(dc, {0, 0, kWidth, kHeight}, look::kBackground);
  look::Fill(dc, kTitleStrip, look::kAccent);
  look::Text(dc, {14, 0, 200, kTitleStrip.bottom}, kTitle, look::Font::Bold, look::kOnAccent,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  look::Text(dc, kCloseBox, L"×", look::Font::Large, look::kOnAccent, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  PaintTab(dc, kPeopleTab, L"找人", state.tab == Tab::People);
  PaintTab(dc, kGroupsTab, L"找群", state.tab == Tab::Groups);
  look::Fill(dc, {0, kPeopleTab.bottom, kWidth, kPeopleTab.bottom + 1}, look::kLine);
  look::Fill(dc, kFieldFrame, look::kPanel);
  look::Frame(dc, kFieldFrame, ::GetFocus() == state.field ? look::kAccent : look::kFrame);
  PaintResults(dc, state);
  look::Frame(dc, {0, 0, kWidth, kHeight}, look::kFrame);
}

void OnDrawButton(const DRAWITEMSTRUCT& item) {
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  look::Fill(item.hDC, item.rcItem, pressed ? look::kAccentDark : look::kAccent);
  look::Text(item.hDC, item.rcItem, L"查找", look::Font::Normal, look::kOnAccent,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void OnCommand(HWND window, WPARAM wParam) {
  if (LOWORD(wParam) == kButtonId && HIWORD(wParam) == BN_CLICKED) Search(*StateOf(window));
  // The field's frame shows where the keys go.
  if (HIWORD(wParam) == EN_SETFOCUS || HIWORD(wParam) == EN_KILLFOCUS)
    ::InvalidateRect(window, &kFieldFrame, FALSE);
}

BOOL CALLBACK ReleaseIfForeign(HWND other, LPARAM ownerAddress) {
  const HWND owner = reinterpret_cast<HWND>(ownerAddress);
  if (::GetWindow(other, GW_OWNER) == owner &&
      ::GetWindowThreadProcessId(other, nullptr) != ::GetCurrentThreadId()) {
    ::SetWindowLongPtrW(other, GWLP_HWNDPARENT, 0);
  }
  return TRUE;
}

// Destroying an owner destroys its owned windows, and waits on each one's thread:
// a hung profile's thread would keep the Find window from ever closing.
void DestroyFindWindow(HWND window) {
  ::EnumWindows(ReleaseIfForeign, reinterpret_cast<LPARAM>(window));
  ::DestroyWindow(window);
}

void OnClick(HWND window, LPARAM lParam) {
  FindState& state = *StateOf(window);
  const POINT point = PointOf(lParam);
  Log(L"click " + Place(point));
  if (Contains(kCloseBox, point)) {
    DestroyFindWindow(window);
    return;
  }
  if (Contains(kPeopleTab, point)) SelectTab(state, Tab::People);
  if (Contains(kGroupsTab, point)) SelectTab(state, Tab::Groups);
  TakeKeys(state);
}

void OnDoubleClick(HWND window, LPARAM lParam) {
  FindState& state = *StateOf(window);
  const POINT point = PointOf(lParam);
  Log(L"dblclick " + Place(point));
  if (Contains(kPeopleTab, point)) SelectTab(state, Tab::People);
  if (Contains(kGroupsTab, point)) SelectTab(state, Tab::Groups);
  if (state.outcome == Outcome::Person && Contains(kCard, point)) {
    OpenProfile(window, state.nickname, state.number, state.hangProfiles);
    return;
  }
  TakeKeys(state);
}

LRESULT OnHitTest(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT point = PointOf(lParam);
  ::ScreenToClient(window, &point);
  // The title strip moves the window, as a frame's caption would.
  if (Contains(kTitleStrip, point) && !Contains(kCloseBox, point)) return HTCAPTION;
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void OnClose(HWND window, WPARAM wParam, LPARAM lParam) {
  Log(L"close-find wparam=" + std::to_wstring(wParam) + L" lparam=" + std::to_wstring(lParam));
  DestroyFindWindow(window);
}

void OnDestroy() {
  Log(L"exit");
  ::PostQuitMessage(0);
}

LRESULT CALLBACK FindProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      return OnNcCreate(window, lParam) ? ::DefWindowProcW(window, message, wParam, lParam) : FALSE;
    case WM_CREATE:
      return OnCreate(window);
    case WM_NCHITTEST:
      return OnHitTest(window, message, wParam, lParam);
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_DRAWITEM:
      OnDrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(window, wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnClick(window, lParam);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(window, lParam);
      return 0;
    case WM_RBUTTONDOWN:
      Log(L"rclick " + Place(PointOf(lParam)));
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      LogKey(wParam);
      break;
    case WM_CLOSE:
      OnClose(window, wParam, lParam);
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HWND CreateFindWindow(POINT topLeft, bool hangProfiles) {
  static FindState state;  // one Find window per process, alive until the process ends
  state.hangProfiles = hangProfiles;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = FindProc;
  windowClass.hInstance = ::GetModuleHandleW(nullptr);
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  if (!::RegisterClassExW(&windowClass)) return nullptr;
  HWND window =
      ::CreateWindowExW(0, kClassName, kTitle, WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX, topLeft.x,
                        topLeft.y, kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), &state);
  if (!window) return nullptr;
  ::ShowWindow(window, SW_SHOW);
  ::UpdateWindow(window);
  TakeKeys(state);
  return window;
}

}  // namespace practice
