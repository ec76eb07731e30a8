// Menu bars built from the program's menu templates: items greyed and enabled by position or by
// command, a pop-up item that turns from separator into right-justified text and back, choosing
// an item by command or by its '&' mnemonic, and the views a back end draws from.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxMenus = 4;  // windows with a menu bar at once
inline constexpr int kMaxMenuBarItems = 8;
inline constexpr int kMaxPopupItems = 8;
inline constexpr int kMaxMenuLabel = 200;  // the longest text an item shows, terminator included

struct MenuItemRecord {
  std::array<char, kMaxMenuLabel> label;
  int command;
  bool enabled;
  bool separator;
  bool rightText;
};

struct MenuBarItemRecord {
  MenuItemRecord item;
  bool popup;
  int popupCount;
  std::array<MenuItemRecord, kMaxPopupItems> popupItems;
};

struct MenuRecord {
  bool inUse;
  Window window;
  std::uint32_t serial;
  int count;
  std::array<MenuBarItemRecord, kMaxMenuBarItems> items;
};

std::array<MenuRecord, kMaxMenus> menus{};

MenuRecord* MenuOf(Window window) {
  const WindowRecord* record = Find(window);
  if (!record || record->menu == kNoSlot) return nullptr;
  return &menus[record->menu];
}

// Every change bumps the menu's serial and tells the back end through the window.
void Changed(MenuRecord& menu) {
  ++menu.serial;
  NoteActivity();
  TheBackend().windowChanged(menu.window);
}

MenuItemRecord ItemFrom(const char* label, int command) {
  MenuItemRecord item{};
  item.command = command;
  item.enabled = true;
  item.separator = label == nullptr;
  CopyText(item.label, label ? label : "");
  return item;
}

void BuildMenu(MenuRecord& menu, const MenuTemplate& t) {
  menu.count = std::min<int>(static_cast<int>(t.items.size()), kMaxMenuBarItems);
  for (int i = 0; i < menu.count; ++i) {
    const MenuBarItemTemplate& source = t.items[i];
    MenuBarItemRecord& bar = menu.items[i];
    bar = MenuBarItemRecord{};
    bar.item = ItemFrom(source.label ? source.label : "", source.command);
    bar.popup = !source.popup.empty();
    bar.popupCount = std::min<int>(static_cast<int>(source.popup.size()), kMaxPopupItems);
    for (int j = 0; j < bar.popupCount; ++j) {
      bar.popupItems[j] = ItemFrom(source.popup[j].label, source.popup[j].command);
    }
  }
}

// The first item carrying the command: a plain bar item, or an item of a pop-up. A pop-up's own
// bar item carries no command and is never found.
MenuItemRecord* ItemByCommand(MenuRecord& menu, int command, MenuBarItemRecord** owner) {
  for (int i = 0; i < menu.count; ++i) {
    MenuBarItemRecord& bar = menu.items[i];
    if (owner) *owner = &bar;
    if (!bar.popup && bar.item.command == command) return &bar.item;
    for (int j = 0; j < bar.popupCount; ++j) {
      if (bar.popupItems[j].command == command) return &bar.popupItems[j];
    }
  }
  return nullptr;
}

MenuItemView ViewOf(const MenuItemRecord& item) {
  return {TextOf(item.label), item.command, item.enabled, item.separator, item.rightText};
}

}  // namespace

void ReleaseMenu(int menu) {
  if (menu >= 0 && menu < kMaxMenus) menus[menu].inUse = false;
}

void ResetMenus() {
  for (MenuRecord& menu : menus) menu.inUse = false;
}

// Alt with the mnemonic of an enabled bar item chooses it; a pop-up's item opens it, which is
// the back end's to show. True when an item matched.
bool ChooseMenuMnemonic(Window window, char c) {
  MenuRecord* menu = MenuOf(window);
  if (!menu || c == 0) return false;
  for (int i = 0; i < menu->count; ++i) {
    const MenuItemRecord& item = menu->items[i].item;
    if (LowerCase(MnemonicOf(TextOf(item.label))) != LowerCase(c)) continue;
    if (!item.enabled) return false;
    if (!menu->items[i].popup) {
      PostMessageTo(window, kMsgCommand, MakeCommand(item.command, kNotifyClicked), 0);
    }
    return true;
  }
  return false;
}

}  // namespace platform_detail

using namespace platform_detail;

bool SetWindowMenu(Window window, std::string_view menuName) {
  WindowRecord* record = Find(window);
  const MenuTemplate* t = FindMenuTemplate(menuName);
  if (!record || !t) return false;
  if (record->menu == kNoSlot) {
    for (int i = 0; i < kMaxMenus && record->menu == kNoSlot; ++i) {
      if (!menus[i].inUse) record->menu = i;
    }
    if (record->menu == kNoSlot) return false;
  }
  MenuRecord& menu = menus[record->menu];
  std::uint32_t serial = menu.inUse ? menu.serial : 0;
  menu = MenuRecord{};
  menu.inUse = true;
  menu.window = window;
  menu.serial = serial;
  BuildMenu(menu, *t);
  Changed(menu);
  return true;
}

void EnableMenuPosition(Window window, int position, bool enabled) {
  MenuRecord* menu = MenuOf(window);
  if (!menu || position < 0 || position >= menu->count) return;
  MenuItemRecord& item = menu->items[position].item;
  if (item.enabled == enabled) return;
  item.enabled = enabled;
  Changed(*menu);
}

bool IsMenuPositionEnabled(Window window, int position) {
  MenuRecord* menu = MenuOf(window);
  if (!menu || position < 0 || position >= menu->count) return false;
  return menu->items[position].item.enabled;
}

void EnableMenuCommand(Window window, int command, bool enabled) {
  MenuRecord* menu = MenuOf(window);
  MenuItemRecord* item = menu ? ItemByCommand(*menu, command, nullptr) : nullptr;
  if (!item || item->enabled == enabled) return;
  item->enabled = enabled;
  Changed(*menu);
}

void SetMenuCommandText(Window window, int command, std::string_view text) {
  MenuRecord* menu = MenuOf(window);
  MenuItemRecord* item = menu ? ItemByCommand(*menu, command, nullptr) : nullptr;
  if (!item) return;
  bool changed = CopyText(item->label, text) || item->separator || !item->rightText;
  item->separator = false;
  item->rightText = true;
  if (changed) Changed(*menu);
}

void SetMenuCommandSeparator(Window window, int command) {
  MenuRecord* menu = MenuOf(window);
  MenuItemRecord* item = menu ? ItemByCommand(*menu, command, nullptr) : nullptr;
  if (!item) return;
  bool changed = CopyText(item->label, "") || !item->separator || item->rightText;
  item->separator = true;
  item->rightText = false;
  if (changed) Changed(*menu);
}

void DrawMenuBar(Window window) {
  if (MenuOf(window)) TheBackend().windowChanged(window);
}

int ViewMenuBar(Window window, std::span<MenuItemView> items) {
  MenuRecord* menu = MenuOf(window);
  if (!menu) return 0;
  int count = std::min<int>(menu->count, static_cast<int>(items.size()));
  for (int i = 0; i < count; ++i) items[i] = ViewOf(menu->items[i].item);
  return count;
}

int ViewMenuPopup(Window window, int position, std::span<MenuItemView> items) {
  MenuRecord* menu = MenuOf(window);
  if (!menu || position < 0 || position >= menu->count) return 0;
  const MenuBarItemRecord& bar = menu->items[position];
  int count = std::min<int>(bar.popupCount, static_cast<int>(items.size()));
  for (int i = 0; i < count; ++i) items[i] = ViewOf(bar.popupItems[i]);
  return count;
}

std::uint32_t MenuSerial(Window window) {
  MenuRecord* menu = MenuOf(window);
  return menu ? menu->serial : 0;
}

bool ChooseMenuCommand(Window window, int command) {
  MenuRecord* menu = MenuOf(window);
  if (!menu || command == 0 || !AcceptsInput(window)) return false;
  MenuBarItemRecord* bar = nullptr;
  MenuItemRecord* item = ItemByCommand(*menu, command, &bar);
  if (!item || !item->enabled || item->separator || !bar->item.enabled) return false;
  return PostMessageTo(window, kMsgCommand, MakeCommand(command, kNotifyClicked), 0);
}
