// The shapes of the resources a program gives the window system: dialog templates with their
// controls, and menu templates. The program's resources are tables of these; it registers them at
// start-up and the window system builds dialogs and menus from them by name.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

enum class ControlKind : std::uint8_t {
  kStatic,       // text
  kFrame,        // a static frame (pictures are drawn onto it)
  kEdit,
  kPushButton,
  kDefaultButton,  // the push button that Enter presses
  kOwnerDrawButton,
  kRadioButton,
  kListBox,
};

enum ControlStyle : std::uint32_t {
  kControlHidden = 1u << 0,
  kControlDisabled = 1u << 1,
  kControlTabStop = 1u << 2,
  kControlGroup = 1u << 3,
  kControlListNotify = 1u << 4,  // the list box reports selection changes and double clicks
  kControlCentred = 1u << 5,     // static text centred
  kControlRight = 1u << 6,       // static text right-aligned
};

inline constexpr int kNoControlId = -1;

// Coordinates are dialog units: a quarter of the average character width across, an eighth of
// the character height down. The window system's system font fixes them in pixels: x * 6 / 4
// across and y * 13 / 8 down (integer division).
inline constexpr int DialogUnitsToPixelsX(int x) {
  return x * 6 / 4;
}
inline constexpr int DialogUnitsToPixelsY(int y) {
  return y * 13 / 8;
}

struct ControlTemplate {
  int id;  // kNoControlId for a static without one
  ControlKind kind;
  const char* text;  // single-byte text of the lesson font or Latin-1
  int x, y, width, height;
  std::uint32_t style;
};

enum DialogStyle : std::uint32_t {
  kDialogVisible = 1u << 0,
  kDialogNoCaption = 1u << 1,
  kDialogSystemModal = 1u << 2,
};

struct DialogTemplate {
  const char* name;   // "MINMAX", or the number as text: "1603"
  const char* title;  // "" for none
  int x, y, width, height;
  std::uint32_t style;
  std::span<const ControlTemplate> controls;
};

// A menu bar item: a command, or a pop-up with items of its own. A pop-up item with command 0 and
// no label is a separator.
struct MenuItemTemplate {
  const char* label;  // with '&' before the mnemonic; nullptr for a separator
  int command;
};

struct MenuBarItemTemplate {
  const char* label;
  int command;                                 // 0 for a pop-up
  std::span<const MenuItemTemplate> popup;     // empty for a plain item
};

struct MenuTemplate {
  const char* name;
  std::span<const MenuBarItemTemplate> items;
};

struct ResourceSet {
  std::span<const DialogTemplate> dialogs;
  std::span<const MenuTemplate> menus;
};

// The program registers its own templates at start-up, and a library with dialogs of its own (the
// course suite's) registers its set beside them.
inline constexpr int kMaxResourceSets = 4;

// Adds a set of templates to those the window system builds from. A set already registered (the
// same tables) is not added again. False when kMaxResourceSets sets are registered already.
bool RegisterResources(const ResourceSet& resources);
// Search every registered set, in the order registered; the first template of that name wins.
const DialogTemplate* FindDialogTemplate(std::string_view name);
const MenuTemplate* FindMenuTemplate(std::string_view name);
