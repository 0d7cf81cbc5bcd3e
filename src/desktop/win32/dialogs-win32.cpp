// The system's dialogs and menus: notices, file choosers, the context menu
// and the file browser.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "desktop/desktop.h"
#include "desktop/toolkit.h"
#include "desktop/win32/encoding-win32.h"
#include "desktop/win32/handles-win32.h"
#include "desktop/win32/registry-win32.h"

namespace {

// Long paths as well as short ones.
constexpr std::size_t kPathCapacity = 32768;

std::int32_t AnswerOf(int pressed) {
  switch (pressed) {
    case IDOK: return 0;
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
  }
  return 0;
}

/// "Text|pattern|..." as the system wants it: pairs ended by zeros, the list by two.
std::wstring FilterPairs(const std::string& filter) {
  std::wstring pairs = WideFromGbk(filter);
  if (!pairs.ends_with(L"||")) pairs += L"||";
  std::replace(pairs.begin(), pairs.end(), L'|', L'\0');
  return pairs;
}

UniqueMenu BuildMenu(const MenuDescription& menu) {
  UniqueMenu popup(::CreatePopupMenu());
  if (!popup) return popup;
  for (std::size_t i = 0; i < menu.items.size(); ++i) {
    const MenuItemDescription& item = menu.items[i];
    const std::wstring text = WideFromGbk(item.text);
    const bool added = item.text == "-" ? ::AppendMenuW(popup.get(), MF_SEPARATOR, 0, nullptr)
                                        : ::AppendMenuW(popup.get(), MF_STRING, i + 1, text.c_str());
    if (!added) return UniqueMenu();
  }
  return popup;
}

}  // namespace

std::int32_t ShowNotice(const std::string& text, std::int32_t style) {
  if (StopRequested()) return 0;
  const std::wstring wide = WideFromGbk(text);
  auto flags = static_cast<UINT>(style);
  if (!(flags & MB_SYSTEMMODAL)) flags |= MB_TASKMODAL;
  return AnswerOf(::MessageBoxW(nullptr, wide.c_str(), L"信息：", flags));
}

bool ChooseFile(FileChooser& chooser) {
  std::vector<wchar_t> path(kPathCapacity, L'\0');
  const std::wstring fileName = WideFromGbk(chooser.fileName);
  std::copy_n(fileName.begin(), std::min(fileName.size(), path.size() - 1), path.begin());
  const std::wstring filter = FilterPairs(chooser.filter);
  const std::wstring extension = WideFromGbk(chooser.defaultExtension);

  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = MainWindowHandle();
  dialog.lpstrFilter = chooser.filter.empty() ? nullptr : filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = path.data();
  dialog.nMaxFile = static_cast<DWORD>(path.size());
  dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  dialog.Flags |= chooser.mode == 1 ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
  const BOOL confirmed = chooser.mode == 1 ? ::GetSaveFileNameW(&dialog) : ::GetOpenFileNameW(&dialog);
  if (!confirmed) return false;
  chooser.fileName = GbkFromWide(path.data());
  return true;
}

void ShowContextMenu(ControlName window, ControlName menu) {
  const LiveWindow* owner = WindowNamed(window);
  if (!owner || owner->description.menu.name != menu) return;
  const UniqueMenu popup = BuildMenu(owner->description.menu);
  if (!popup) return;
  POINT pointer{};
  if (!::GetCursorPos(&pointer)) return;
  HWND handle = owner->handle;
  // Without this the menu stays open when the user clicks elsewhere.
  ::SetForegroundWindow(handle);
  const auto chosen = static_cast<std::size_t>(::TrackPopupMenu(popup.get(), TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                                pointer.x + 3, pointer.y + 3, 0, handle, nullptr));
  ::PostMessageW(handle, WM_NULL, 0, 0);
  // The routine may have closed the window meanwhile.
  const LiveWindow* still = WindowOfHandle(handle);
  if (!still || chosen == 0 || chosen > still->description.menu.items.size()) return;
  RaiseEvent(*still, still->description.menu.items[chosen - 1].name, Event::Chosen);
}

void ExploreFolder(const std::string& path) {
  const std::wstring folder = WideFromGbk(path);
  ::ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
