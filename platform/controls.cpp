// The built-in controls: statics and frames, edit fields, push, default, owner-drawn and radio
// buttons, list boxes. Their default procedures, the rows of list boxes and the caret of edits.
#include <array>
#include <cstring>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxListBoxes = 16;  // list boxes alive at once

// The rows of one list box. A row keeps its text slot while others come and go: order maps row
// indices to slots, and its tail past count holds the free slots.
struct ListStore {
  bool inUse;
  int count;
  int selection;
  int top;
  std::array<std::uint16_t, kMaxListRows> order;
  std::array<std::array<char, kMaxControlText>, kMaxListRows> text;
};
static_assert(kMaxListRows <= 65536, "a row slot fits 16 bits");

std::array<ListStore, kMaxListBoxes> lists{};

struct ListAccess {
  WindowRecord* record;
  ListStore* store;
};

ListAccess ListOf(Window list) {
  WindowRecord* record = Find(list);
  if (!record || record->kind != WindowKind::kControl || record->list == kNoSlot) {
    return {nullptr, nullptr};
  }
  return {record, &lists[record->list]};
}

WindowRecord* EditOf(Window edit) {
  WindowRecord* record = Find(edit);
  if (!record || record->kind != WindowKind::kControl ||
      record->controlKind != ControlKind::kEdit) {
    return nullptr;
  }
  return record;
}

void Notify(Window control, int notification) {
  SendMessageTo(GetParent(control), kMsgCommand, MakeCommand(GetControlId(control), notification),
                static_cast<LParam>(control));
}

// ---- Static -----------------------------------------------------------------------------------

// A static asks its parent for its colours each time it paints (the parent may draw onto it).
Result StaticProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgPaint) {
    SendMessageTo(GetParent(window), kMsgCtlColor, static_cast<WParam>(window), 0);
    return 0;
  }
  return DefaultWindowProc(window, message, wParam, lParam);
}

// ---- Edit -------------------------------------------------------------------------------------

void EditTypeByte(WindowRecord& edit, char c) {
  std::string_view text = TextOf(edit.text);
  auto length = static_cast<int>(text.size());
  if (length >= kMaxEditChars) return;  // a full field ignores typing
  char* at = edit.text.data() + edit.caret;
  std::memmove(at + 1, at, static_cast<std::size_t>(length - edit.caret + 1));
  *at = c;
  ++edit.caret;
  Touch(edit);
}

void EditErase(WindowRecord& edit, int position) {
  auto length = static_cast<int>(TextOf(edit.text).size());
  if (position < 0 || position >= length) return;
  char* at = edit.text.data() + position;
  std::memmove(at, at + 1, static_cast<std::size_t>(length - position));
  if (edit.caret > position) --edit.caret;
  Touch(edit);
}

void EditMoveCaret(WindowRecord& edit, int position) {
  auto length = static_cast<int>(TextOf(edit.text).size());
  position = std::clamp(position, 0, length);
  if (position == edit.caret) return;
  edit.caret = position;
  Touch(edit);
}

// Typed bytes 0x20 to 0xFF but 0x7F go in at the caret; Backspace arrives as character 8.
void EditCharacter(WindowRecord& edit, unsigned char c) {
  if (c == kKeyBackspace) {
    EditErase(edit, edit.caret - 1);
  } else if (c >= 0x20 && c != 0x7F) {
    EditTypeByte(edit, static_cast<char>(c));
  }
}

void EditKey(WindowRecord& edit, int key) {
  switch (key) {
    case kKeyDelete:
      EditErase(edit, edit.caret);
      break;
    case kKeyLeft:
      EditMoveCaret(edit, edit.caret - 1);
      break;
    case kKeyRight:
      EditMoveCaret(edit, edit.caret + 1);
      break;
    case kKeyHome:
      EditMoveCaret(edit, 0);
      break;
    case kKeyEnd:
      EditMoveCaret(edit, static_cast<int>(TextOf(edit.text).size()));
      break;
    default:
      break;
  }
}

Result EditProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  WindowRecord* edit = EditOf(window);
  if (!edit) return DefaultWindowProc(window, message, wParam, lParam);
  switch (message) {
    case kMsgChar:
      EditCharacter(*edit, static_cast<unsigned char>(wParam));
      return 0;
    case kMsgKeyDown:
      EditKey(*edit, static_cast<int>(wParam));
      return 0;
    case kMsgLButtonDown:
      SetFocus(window);
      return 0;
    default:
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}

// ---- Buttons ----------------------------------------------------------------------------------

void DrawOwnerButton(Window button, LParam action) {
  const WindowRecord* record = Find(button);
  if (!record || record->controlKind != ControlKind::kOwnerDrawButton) return;
  SendMessageTo(record->parent, kMsgDrawItem, static_cast<WParam>(record->id), action);
}

// Press on mouse down (taking the focus), command to the parent on the release that follows.
// A radio button only sends its command: the dialog procedure checks it.
Result ButtonProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgLButtonDown:
      SetFocus(window);
      if (WindowRecord* record = Find(window)) record->pressed = true;
      DrawOwnerButton(window, kDrawSelect | kDrawSelected);
      return 0;
    case kMsgLButtonUp: {
      WindowRecord* record = Find(window);
      if (!record || !record->pressed) return 0;
      record->pressed = false;
      DrawOwnerButton(window, kDrawSelect);
      Notify(window, kNotifyClicked);
      return 0;
    }
    case kMsgKeyDown:
      if (wParam == kKeySpace) Notify(window, kNotifyClicked);
      return 0;
    case kMsgPaint:
      DrawOwnerButton(window, kDrawEntire);
      return 0;
    case kMsgSetFocus:
    case kMsgKillFocus:
      DrawOwnerButton(window, kDrawFocus);
      return 0;
    default:
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}

// ---- List boxes -------------------------------------------------------------------------------

int VisibleRowsOf(const WindowRecord& record) {
  return std::max(1, record.rect.height / FontHeight(record.font));
}

// The top row moves just enough to show the row.
void ScrollRowIntoView(const WindowRecord& record, ListStore& store, int row) {
  int visible = VisibleRowsOf(record);
  if (row < store.top) store.top = row;
  if (row >= store.top + visible) store.top = row - visible + 1;
}

// A click on a row selects it; with kControlListNotify the parent hears of every click and of a
// double click. A click below the last row does nothing.
void ClickRow(Window list, int row, bool doubleClick) {
  ListAccess access = ListOf(list);
  if (!access.store || row < 0 || row >= access.store->count) return;
  ListSelect(list, row);
  if (!(access.record->controlStyle & kControlListNotify)) return;
  Notify(list, doubleClick ? kNotifyListDoubleClick : kNotifyListSelect);
}

// Up, Down, Home, End, PageUp and PageDown move the selection; the parent hears of a change.
void ListKey(Window list, int key) {
  ListAccess access = ListOf(list);
  if (!access.store || access.store->count == 0) return;
  int last = access.store->count - 1;
  int page = VisibleRowsOf(*access.record);
  int from = access.store->selection;
  int to = from;
  switch (key) {
    case kKeyUp:
      to = from < 0 ? 0 : from - 1;
      break;
    case kKeyDown:
      to = from + 1;
      break;
    case kKeyHome:
      to = 0;
      break;
    case kKeyEnd:
      to = last;
      break;
    case kKeyPageUp:
      to = from - page;
      break;
    case kKeyPageDown:
      to = from < 0 ? page - 1 : from + page;
      break;
    default:
      return;
  }
  to = std::clamp(to, 0, last);
  if (to == from) return;
  ListSelect(list, to);
  if (access.record->controlStyle & kControlListNotify) Notify(list, kNotifyListSelect);
}

Result ListProc(Window window, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgLButtonDown:
      SetFocus(window);
      ClickRow(window, static_cast<int>(lParam), false);
      return 0;
    case kMsgLButtonDblClk:
      ClickRow(window, static_cast<int>(lParam), true);
      return 0;
    case kMsgKeyDown:
      ListKey(window, static_cast<int>(wParam));
      return 0;
    default:
      return DefaultWindowProc(window, message, wParam, lParam);
  }
}

}  // namespace

// ---- Classes ----------------------------------------------------------------------------------

WindowProc ControlProcedure(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic:
    case ControlKind::kFrame:
      return StaticProc;
    case ControlKind::kEdit:
      return EditProc;
    case ControlKind::kListBox:
      return ListProc;
    case ControlKind::kPushButton:
    case ControlKind::kDefaultButton:
    case ControlKind::kOwnerDrawButton:
    case ControlKind::kRadioButton:
      return ButtonProc;
  }
  return DefaultWindowProc;
}

std::string_view ControlClassName(ControlKind kind) {
  switch (kind) {
    case ControlKind::kStatic:
    case ControlKind::kFrame:
      return "static";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kListBox:
      return "listbox";
    case ControlKind::kPushButton:
    case ControlKind::kDefaultButton:
    case ControlKind::kOwnerDrawButton:
    case ControlKind::kRadioButton:
      return "button";
  }
  return {};
}

bool IsControlClass(std::string_view className, ControlKind& kind) {
  constexpr ControlKind kByClass[] = {ControlKind::kStatic, ControlKind::kEdit,
                                      ControlKind::kPushButton, ControlKind::kListBox};
  for (ControlKind k : kByClass) {
    if (SameIgnoringCase(className, ControlClassName(k))) {
      kind = k;
      return true;
    }
  }
  return false;
}

bool IsPushButton(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultButton ||
         kind == ControlKind::kOwnerDrawButton;
}

int AttachList() {
  for (int i = 0; i < kMaxListBoxes; ++i) {
    ListStore& store = lists[i];
    if (store.inUse) continue;
    store.inUse = true;
    store.count = 0;
    store.selection = -1;
    store.top = 0;
    for (int slot = 0; slot < kMaxListRows; ++slot)
      store.order[slot] = static_cast<std::uint16_t>(slot);
    return i;
  }
  return kNoSlot;
}

void ReleaseList(int list) {
  if (list >= 0 && list < kMaxListBoxes) lists[list].inUse = false;
}

void ResetLists() {
  for (ListStore& store : lists) store.inUse = false;
}

// A control: its record, its row store when it is a list box, then kMsgCreate to its procedure.
Window CreateControl(const ControlBlueprint& blueprint) {
  WindowRecord* record = NewRecord(WindowKind::kControl, ControlClassName(blueprint.kind));
  if (!record) return kNoWindow;
  if (blueprint.kind == ControlKind::kListBox) {
    record->list = AttachList();
    if (record->list == kNoSlot) {
      DestroyWindow(record->handle);
      return kNoWindow;
    }
  }
  record->controlKind = blueprint.kind;
  record->procedure = ControlProcedure(blueprint.kind);
  record->parent = blueprint.parent;
  CopyText(record->text, blueprint.text);
  record->rect = blueprint.rect;
  record->id = blueprint.id;
  record->style = blueprint.style | kStyleChild;
  record->controlStyle = blueprint.controlStyle;
  record->caret = static_cast<int>(TextOf(record->text).size());
  Window control = record->handle;
  Touch(*record);
  if (SendMessageTo(control, kMsgCreate, 0, 0) == -1) {
    DestroyWindow(control);
    return kNoWindow;
  }
  return IsWindow(control) ? control : kNoWindow;
}

}  // namespace platform_detail

using namespace platform_detail;

// ---- List boxes -------------------------------------------------------------------------------

int ListAddRow(Window list, std::string_view text) {
  return ListInsertRow(list, -1, text);
}

int ListInsertRow(Window list, int index, std::string_view text) {
  ListAccess access = ListOf(list);
  ListStore* store = access.store;
  if (!store || store->count == kMaxListRows) return -1;
  if (index == -1) index = store->count;
  if (index < 0 || index > store->count) return -1;
  std::uint16_t slot = store->order[store->count];
  for (int i = store->count; i > index; --i) store->order[i] = store->order[i - 1];
  store->order[index] = slot;
  CopyText(store->text[slot], text);
  ++store->count;
  if (store->selection >= index) ++store->selection;
  Touch(*access.record);
  return index;
}

void ListDeleteRow(Window list, int index) {
  ListAccess access = ListOf(list);
  ListStore* store = access.store;
  if (!store || index < 0 || index >= store->count) return;
  std::uint16_t slot = store->order[index];
  for (int i = index; i + 1 < store->count; ++i) store->order[i] = store->order[i + 1];
  --store->count;
  store->order[store->count] = slot;
  if (store->selection == index) {
    store->selection = -1;
  } else if (store->selection > index) {
    --store->selection;
  }
  store->top = std::clamp(store->top, 0, std::max(0, store->count - 1));
  Touch(*access.record);
}

void ListClear(Window list) {
  ListAccess access = ListOf(list);
  if (!access.store) return;
  access.store->count = 0;
  access.store->selection = -1;
  access.store->top = 0;
  Touch(*access.record);
}

int ListRowCount(Window list) {
  ListAccess access = ListOf(list);
  return access.store ? access.store->count : 0;
}

void ListSelect(Window list, int index) {
  ListAccess access = ListOf(list);
  ListStore* store = access.store;
  if (!store || index < -1 || index >= store->count) return;
  int top = store->top;
  if (index >= 0) ScrollRowIntoView(*access.record, *store, index);
  if (index == store->selection && top == store->top) return;
  store->selection = index;
  Touch(*access.record);
}

int ListSelection(Window list) {
  ListAccess access = ListOf(list);
  return access.store ? access.store->selection : -1;
}

int ListRowText(Window list, int index, std::span<char> buffer) {
  ListAccess access = ListOf(list);
  if (!buffer.empty()) buffer[0] = '\0';
  if (!access.store || index < 0 || index >= access.store->count) return -1;
  CopyText(buffer, TextOf(access.store->text[access.store->order[index]]));
  return static_cast<int>(TextOf(buffer).size());
}

void ListSetTopRow(Window list, int index) {
  ListAccess access = ListOf(list);
  if (!access.store) return;
  int top = std::clamp(index, 0, std::max(0, access.store->count - 1));
  if (top == access.store->top) return;
  access.store->top = top;
  Touch(*access.record);
}

int ListTopRow(Window list) {
  ListAccess access = ListOf(list);
  return access.store ? access.store->top : 0;
}

int ListVisibleRows(Window list) {
  ListAccess access = ListOf(list);
  return access.store ? VisibleRowsOf(*access.record) : 0;
}

int ListRows(Window list, std::span<std::string_view> rows) {
  ListAccess access = ListOf(list);
  if (!access.store) return 0;
  int count = std::min<int>(access.store->count, static_cast<int>(rows.size()));
  for (int i = 0; i < count; ++i) rows[i] = TextOf(access.store->text[access.store->order[i]]);
  return count;
}

// ---- Edit fields ------------------------------------------------------------------------------

void EditSetCaret(Window edit, int position) {
  if (WindowRecord* record = EditOf(edit)) EditMoveCaret(*record, position);
}

int EditCaret(Window edit) {
  const WindowRecord* record = EditOf(edit);
  return record ? record->caret : 0;
}
