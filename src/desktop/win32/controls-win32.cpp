#include "desktop/win32/controls-win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/picture-win32.h"

namespace {

constexpr UINT_PTR kControlSubclass = 1;
constexpr UINT_PTR kDisabledEditSubclass = 2;
constexpr int kFirstControlId = 100;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

COLORREF ColourOf(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

struct ControlClass {
  const wchar_t* className;
  DWORD style;
  DWORD extendedStyle;
};

ControlClass ClassOf(const ControlDescription& description) {
  switch (description.kind) {
    case ControlKind::GroupBox: return {WC_BUTTONW, BS_GROUPBOX | BS_LEFT, 0};
    case ControlKind::ListBox:
      return {WC_LISTBOXW, WS_VSCROLL | WS_TABSTOP | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE};
    case ControlKind::Label: return {WC_STATICW, SS_LEFT | SS_CENTERIMAGE, 0};
    case ControlKind::EditBox: {
      // Several lines wrap at the box's width: no horizontal scrolling then.
      const DWORD lines = description.multiLine ? ES_MULTILINE : ES_AUTOHSCROLL;
      const DWORD frame = description.raisedFrame ? WS_EX_DLGMODALFRAME : 0;
      return {WC_EDITW, WS_TABSTOP | ES_LEFT | lines, WS_EX_CLIENTEDGE | frame};
    }
    case ControlKind::Button: return {WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON | BS_CENTER, 0};
    case ControlKind::StatusBar: return {STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE, 0};
    case ControlKind::PictureBox: return {WC_STATICW, SS_BITMAP, 0};
  }
  return {WC_STATICW, 0, 0};
}

/// The default GUI font, or one of its face with the described height and weight.
HFONT FontFor(LiveWindow& window, const FontDescription& font) {
  const auto defaultFont = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (font.heightPx <= 0) return defaultFont;
  LOGFONTW face{};
  if (!::GetObjectW(defaultFont, sizeof face, &face)) return defaultFont;
  face.lfHeight = -font.heightPx;
  face.lfWidth = 0;
  if (font.bold) face.lfWeight = FW_BOLD;
  UniqueGdiObject made(::CreateFontIndirectW(&face));
  if (!made) return defaultFont;
  const auto handle = static_cast<HFONT>(made.get());
  window.fonts.push_back(std::move(made));
  return handle;
}

/// A list's rows are one pixel taller than its font's lines.
void FitRowHeight(HWND list, HFONT font) {
  WindowDc dc(list);
  if (!dc.get()) return;
  SelectedObject selected(dc.get(), font);
  TEXTMETRICW metrics{};
  if (!::GetTextMetricsW(dc.get(), &metrics)) return;
  ::SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight + 1, 0));
}

void SetUpStatusParts(HWND statusBar, const std::vector<StatusPartDescription>& parts) {
  if (parts.empty()) return;
  std::vector<int> rightEdges;
  for (const StatusPartDescription& part : parts) rightEdges.push_back(part.rightEdge);
  ::SendMessageW(statusBar, SB_SETPARTS, rightEdges.size(), reinterpret_cast<LPARAM>(rightEdges.data()));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::wstring text = WideFromGbk(parts[i].text);
    ::SendMessageW(statusBar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
  }
}

/// A group box passes what its children report on to the window, which owns
/// the colours and the event table.
LRESULT ForwardToWindow(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(::GetAncestor(control, GA_ROOT), message, wParam, lParam);
}

LRESULT OnControlNcDestroy(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: return ForwardToWindow(control, message, wParam, lParam);
    case WM_NCDESTROY: return OnControlNcDestroy(control, message, wParam, lParam);
  }
  return ::DefSubclassProc(control, message, wParam, lParam);
}

LRESULT OnControlNcDestroy(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  ::RemoveWindowSubclass(control, ControlProc, kControlSubclass);
  return ::DefSubclassProc(control, message, wParam, lParam);
}

/// The box shows its picture stretched over its whole place.
void ShowPicture(LiveControl& control, const ControlDescription& description) {
  const Place& place = description.place;
  control.picture = LoadPictureResource(description.pictureResource, place.width, place.height);
  if (!control.picture) return;
  ::SendMessageW(control.handle, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(control.picture.get()));
  // A bitmap static takes the bitmap's size; the place is the description's.
  ::MoveWindow(control.handle, place.left, place.top, place.width, place.height, FALSE);
}

bool IsContainer(const WindowDescription& window, ControlName name) {
  for (const ControlDescription& control : window.controls) {
    if (control.parent == name) return true;
  }
  return false;
}

/// A disabled edit box draws its text in its own colour: the system would grey
/// it out, and the instructions must stay readable.
LRESULT OnDisabledEditPaint(HWND edit) {
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(edit, &paint);
  if (!dc) return 0;
  const ControlLocation location = ControlOfHandle(edit);
  const ControlDescription* description = location.control ? location.control->description : nullptr;
  RECT client{};
  ::GetClientRect(edit, &client);
  ::FillRect(dc, &client, location.control && location.control->backBrush
                              ? static_cast<HBRUSH>(location.control->backBrush.get())
                              : ::GetSysColorBrush(COLOR_WINDOW));
  RECT lines = client;
  ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&lines));
  const int length = ::GetWindowTextLengthW(edit);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(::GetWindowTextW(edit, text.data(), length + 1), 0)));
  {
    SelectedObject font(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(edit, WM_GETFONT, 0, 0)));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColourOf(description ? description->textColour.value_or(kBlack) : kBlack));
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &lines,
                DT_LEFT | DT_TOP | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  }
  ::EndPaint(edit, &paint);
  return 0;
}

LRESULT CALLBACK DisabledEditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_PAINT: return OnDisabledEditPaint(edit);
    case WM_ERASEBKGND: return 1;  // painted with the text, without flicker
    case WM_NCDESTROY: ::RemoveWindowSubclass(edit, DisabledEditProc, kDisabledEditSubclass); break;
  }
  return ::DefSubclassProc(edit, message, wParam, lParam);
}

HWND ParentHandle(const LiveWindow& window, ControlName parent) {
  if (parent.empty()) return window.handle;
  for (const LiveControl& control : window.controls) {
    if (control.description->name == parent) return control.handle;
  }
  return nullptr;
}

bool CreateControl(LiveWindow& window, const ControlDescription& description, int id) {
  HWND parent = ParentHandle(window, description.parent);
  if (!parent) return false;
  const ControlClass kind = ClassOf(description);
  const DWORD disabled = description.enabled ? 0 : WS_DISABLED;
  const std::wstring text = WideFromGbk(description.text);
  const Place& place = description.place;
  HWND handle = ::CreateWindowExW(kind.extendedStyle, kind.className, text.c_str(),
                                  WS_CHILD | WS_VISIBLE | disabled | kind.style, place.left, place.top, place.width,
                                  place.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
  if (!handle) return false;
  LiveControl& control = window.controls.emplace_back();
  control.description = &description;
  control.handle = handle;
  if (description.backColour) control.backBrush.reset(::CreateSolidBrush(ColourOf(*description.backColour)));
  // Only containers are subclassed: a subclassed list box takes many times
  // longer for every message, and the lists hold up to a million entries.
  if (IsContainer(window.description, description.name) &&
      !::SetWindowSubclass(handle, ControlProc, kControlSubclass, 0)) {
    return false;
  }

  const HFONT font = FontFor(window, description.font);
  ::SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  switch (description.kind) {
    case ControlKind::ListBox: FitRowHeight(handle, font); break;
    case ControlKind::EditBox:
      ::SendMessageW(handle, EM_SETSEL, 0, 0);
      if (!description.enabled) ::SetWindowSubclass(handle, DisabledEditProc, kDisabledEditSubclass, 0);
      break;
    case ControlKind::PictureBox: ShowPicture(control, description); break;
    case ControlKind::StatusBar:
      if (description.name == window.description.statusBar) SetUpStatusParts(handle, window.description.statusParts);
      break;
    default: break;
  }
  return true;
}

}  // namespace

bool CreateControls(LiveWindow& window) {
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    return ::InitCommonControlsEx(&classes) != FALSE;
  }();
  if (!initialised) return false;
  int id = kFirstControlId;
  for (const ControlDescription& description : window.description.controls) {
    if (!CreateControl(window, description, id++)) return false;
  }
  return true;
}

LRESULT OnParentNotify(HWND window, WPARAM event, LPARAM position) {
  if (LOWORD(event) != WM_RBUTTONDOWN) return 0;
  // The report climbs from the control to the window; the point says which
  // control, however deep, was pressed.
  POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  HWND pressed = window;
  for (HWND child = ::ChildWindowFromPointEx(pressed, at, CWP_SKIPINVISIBLE); child && child != pressed;
       child = ::ChildWindowFromPointEx(pressed, at, CWP_SKIPINVISIBLE)) {
    ::MapWindowPoints(pressed, child, &at, 1);
    pressed = child;
  }
  const ControlLocation location = ControlOfHandle(pressed);
  if (!location.control) return 0;
  const std::int32_t keys = ((::GetKeyState(VK_CONTROL) < 0) ? 1 : 0) + ((::GetKeyState(VK_SHIFT) < 0) ? 2 : 0) +
                            ((::GetKeyState(VK_MENU) < 0) ? 4 : 0);
  RaiseEvent(*location.window, location.control->description->name, Event::RightPressed, at.x, at.y, keys);
  return 0;
}

LRESULT OnControlColour(HWND window, UINT message, WPARAM dc, LPARAM controlHandle) {
  const ControlLocation location = ControlOfHandle(reinterpret_cast<HWND>(controlHandle));
  if (!location.control) return ::DefWindowProcW(window, message, dc, controlHandle);
  const ControlDescription& description = *location.control->description;
  // Edit boxes are black on white and labels black on the window's colour
  // unless the description says otherwise.
  const bool onWindowColour = message == WM_CTLCOLORSTATIC && description.kind != ControlKind::EditBox;
  const Rgb text = description.textColour.value_or(kBlack);
  const auto hdc = reinterpret_cast<HDC>(dc);
  ::SetTextColor(hdc, ColourOf(text));
  if (location.control->backBrush) {
    ::SetBkColor(hdc, ColourOf(*description.backColour));
    return reinterpret_cast<LRESULT>(location.control->backBrush.get());
  }
  if (onWindowColour) {
    ::SetBkColor(hdc, ::GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
  }
  ::SetBkColor(hdc, ColourOf(kWhite));
  return reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH));
}
