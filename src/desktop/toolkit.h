// The window toolkit: windows built from descriptions, and the operations the
// logic performs on their controls. Texts are GBK bytes; indices are 0-based.
// Implemented by src/desktop/win32 for the product and by tests/fakes for the
// native tests.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

/// A window or control, by the name its description gives it.
using ControlName = std::string_view;

enum class ControlKind { GroupBox, ListBox, Label, EditBox, Button, StatusBar, PictureBox };

struct Place {
  std::int32_t left, top, width, height;
};

struct Rgb {
  std::uint8_t red, green, blue;
};

/// A font in the system's default face; height 0 keeps the default GUI font.
struct FontDescription {
  std::int32_t heightPx = 0;
  bool bold = false;
};

/// One row of a window's control table. `parent` is empty for the window itself.
struct ControlDescription {
  ControlName name;
  ControlKind kind;
  ControlName parent;
  Place place;
  std::string_view text;
  std::optional<Rgb> textColour{};  // the system's colours when absent
  std::optional<Rgb> backColour{};
  FontDescription font{};
  // Edit boxes: several lines wrapped at the box's width, no scroll bars; a
  // disabled one can be neither changed nor selected; a raised dialog frame
  // around the sunken edge.
  bool multiLine = false;
  bool enabled = true;
  bool raisedFrame = false;
  // Picture boxes: the resource holding the JPEG, stretched to the whole box.
  std::int32_t pictureResource = 0;
};

struct StatusPartDescription {
  std::int32_t rightEdge;
  std::string_view text;
};

/// An item of a hidden menu; the text "-" is a separator.
struct MenuItemDescription {
  ControlName name;
  std::string_view text;
};

struct MenuDescription {
  ControlName name;
  std::vector<MenuItemDescription> items;
};

enum class Event {
  Created,       // the window and all its controls exist
  Destroying,    // the window is about to be destroyed; its controls still exist
  Clicked,       // a button
  RightPressed,  // the right mouse button went down on a control: (x, y, keys)
  Chosen,        // a menu item
  Feedback,      // a hotkey press reported to its target control: (id, extra)
};

using Routine = std::variant<void (*)(),
                             void (*)(std::int32_t, std::int32_t),
                             void (*)(std::int32_t, std::int32_t, std::int32_t)>;

struct EventRow {
  ControlName source;
  Event event;
  Routine routine;
};

struct WindowDescription {
  ControlName name;
  std::string_view caption;
  std::int32_t outerWidth, outerHeight;  // caption and borders included; opened centred
  std::vector<ControlDescription> controls;
  ControlName statusBar;  // the control that carries the parts below, or empty
  std::vector<StatusPartDescription> statusParts;
  MenuDescription menu;  // hidden; shown only with ShowContextMenu
  std::vector<EventRow> events;
};

/// The settings of a file chooser; it has no window of its own.
struct FileChooser {
  std::int32_t mode = 0;  // 0 open a file, 1 save a file
  std::string fileName;   // pre-filled; the full path once a choice was confirmed
  std::string filter;     // shown-text and pattern pairs separated by "|"
  std::string defaultExtension;
};

/// Creates a top-level window from its description and runs its Created event.
bool CreateWindowFromDescription(const WindowDescription& window);

/// Runs the message loop on this thread until no window of the program is left.
void RunMessageLoop();

/// Creates the window, disables the program's other windows and returns once it
/// has been closed; true when it was shown.
bool OpenModal(const WindowDescription& window);

/// Number of entries of a list box.
std::int32_t EntryCount(ControlName list);

/// A copy of entry i; the empty text when i is outside the list.
std::string EntryAt(ControlName list, std::int32_t i);

/// Copies of entries first to first + count - 1, read in one go; the empty
/// text for an index outside the list.
std::vector<std::string> EntriesAt(ControlName list, std::int32_t first, std::int32_t count);

/// Appends an entry; its index, or -1 on failure.
std::int32_t AppendEntry(ControlName list, const std::string& text);

/// Appends entries in order, as AppendEntry does one by one, in one update of the list.
void AppendEntries(ControlName list, const std::vector<std::string>& texts);

void RemoveAllEntries(ControlName list);

/// Selects min(i, count - 1) when i >= -1, else nothing; scrolls it into view.
void HighlightEntry(ControlName list, std::int32_t i);

/// Part i of the status bar shows the text; i outside the parts: nothing.
void SetStatusPart(std::int32_t i, const std::string& text);

/// The text an edit box shows now.
std::string EditText(ControlName editBox);

/// A modal notice captioned "信息：". Style 16: error icon, OK; 65: information
/// icon, OK and Cancel. Answer: OK 0, Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6.
std::int32_t ShowNotice(const std::string& text, std::int32_t style);

/// Shows the system's open or save dialog; true only when the user confirmed,
/// and then the chooser's file name is the full path chosen.
bool ChooseFile(FileChooser& chooser);

/// Pops up a window's hidden menu at the pointer plus 3 pixels; returns when it
/// closes, then runs the chosen item's routine.
void ShowContextMenu(ControlName window, ControlName menu);

/// Opens a folder in the system's file browser.
void ExploreFolder(const std::string& path);
