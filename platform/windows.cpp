// The table of windows: handles and records, registering classes, creating and destroying
// windows, window procedures, finding top-level windows, and the views a back end reads.
#include <algorithm>
#include <cstring>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kMaxClasses = 8;

struct ClassRecord {
  bool inUse;
  std::array<char, kMaxClassName> name;
  WindowProc procedure;
  Colour background;
  std::array<char, kMaxClassName> menuName;
  bool hasMenu;
};

std::array<WindowRecord, kMaxWindows> windows{};
std::array<ClassRecord, kMaxClasses> classes{};
std::uint32_t creationCount = 0;
std::uint64_t activity = 0;

// A handle names its slot and the slot's generation: handle - 1 = generation * kMaxWindows +
// slot. A slot's generation grows each time it is freed, so a handle is not given out twice
// unless one slot is used more than 2^32 / kMaxWindows times.
Window HandleFor(int slot, std::uint32_t generation) {
  return generation * static_cast<std::uint32_t>(kMaxWindows) + static_cast<std::uint32_t>(slot) +
         1u;
}

void FreeRecord(WindowRecord& record) {
  std::uint32_t generation = record.generation + 1;
  record = WindowRecord{};
  record.generation = generation;
}

const ClassRecord* FindClass(std::string_view name) {
  for (const ClassRecord& c : classes) {
    if (c.inUse && SameIgnoringCase(TextOf(c.name), name)) return &c;
  }
  return nullptr;
}

}  // namespace

// ---- Text ---------------------------------------------------------------------------------------

std::string_view TextOf(std::span<const char> buffer) {
  const void* end = std::memchr(buffer.data(), '\0', buffer.size());
  std::size_t length =
      end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer.data()) : buffer.size();
  return {buffer.data(), length};
}

bool CopyText(std::span<char> buffer, std::string_view text) {
  if (buffer.empty()) return false;
  std::size_t length = std::min(text.size(), buffer.size() - 1);
  std::string_view cut = text.substr(0, length);
  if (TextOf(buffer) == cut) return false;
  if (length > 0) std::memmove(buffer.data(), cut.data(), length);
  buffer[length] = '\0';
  return true;
}

char LowerCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerCase(a[i]) != LowerCase(b[i])) return false;
  }
  return true;
}

char MnemonicOf(std::string_view label) {
  for (std::size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    if (label[i + 1] != '&') return label[i + 1];
    ++i;  // "&&" is a plain '&'
  }
  return 0;
}

// ---- Records ------------------------------------------------------------------------------------

WindowRecord* Find(Window window) {
  if (window == kNoWindow) return nullptr;
  WindowRecord& record = windows[(window - 1) % kMaxWindows];
  return record.handle == window ? &record : nullptr;
}

std::span<WindowRecord> AllRecords() {
  return windows;
}

WindowRecord* NewRecord(WindowKind kind, std::string_view className) {
  for (int slot = 0; slot < kMaxWindows; ++slot) {
    WindowRecord& record = windows[slot];
    if (record.handle != kNoWindow) continue;
    record.handle = HandleFor(slot, record.generation);
    record.creation = ++creationCount;
    record.kind = kind;
    CopyText(record.className, className);
    record.id = kNoControlId;
    record.redraw = true;
    record.list = kNoSlot;
    record.menu = kNoSlot;
    record.needsPaint = true;
    return &record;
  }
  return nullptr;
}

bool IsShown(const WindowRecord& record) {
  return (record.style & kStyleVisible) != 0;
}
bool IsEnabledRecord(const WindowRecord& record) {
  return (record.style & kStyleDisabled) == 0;
}

void NoteActivity() {
  ++activity;
}
std::uint64_t Activity() {
  return activity;
}

void Touch(WindowRecord& record) {
  ++record.serial;
  NoteActivity();
  TheBackend().windowChanged(record.handle);
}

Window TopLevelOf(Window window) {
  const WindowRecord* record = Find(window);
  while (record && record->parent != kNoWindow) {
    window = record->parent;
    record = Find(window);
  }
  return record ? window : kNoWindow;
}

bool IsInside(Window window, Window ancestor) {
  if (ancestor == kNoWindow) return false;
  for (const WindowRecord* record = Find(window); record; record = Find(record->parent)) {
    if (record->handle == ancestor) return true;
  }
  return false;
}

bool ShownWithParents(Window window) {
  const WindowRecord* record = Find(window);
  if (!record) return false;
  for (; record; record = Find(record->parent)) {
    if (!IsShown(*record)) return false;
  }
  return true;
}

bool AcceptsInput(Window window) {
  const WindowRecord* record = Find(window);
  if (!record) return false;
  for (; record; record = Find(record->parent)) {
    if (!IsShown(*record) || !IsEnabledRecord(*record)) return false;
  }
  return true;
}

Window EnclosingDialog(Window window) {
  for (const WindowRecord* record = Find(window); record; record = Find(record->parent)) {
    if (record->kind == WindowKind::kDialog || record->kind == WindowKind::kMessageBox) {
      return record->handle;
    }
  }
  return kNoWindow;
}

int ChildrenOf(Window parent, std::span<Window> out) {
  return CollectWindows(out, [parent](const WindowRecord& r) { return r.parent == parent; });
}

void MarkForPaint(Window window, bool withDescendants) {
  WindowRecord* record = Find(window);
  if (!record) return;
  record->needsPaint = true;
  if (!withDescendants) return;
  std::array<Window, kMaxWindows> children{};
  int count = ChildrenOf(window, children);
  for (int i = 0; i < count; ++i) MarkForPaint(children[i], true);
}

}  // namespace platform_detail

using namespace platform_detail;

// ---- Classes and creation ---------------------------------------------------------------------

bool RegisterWindowClass(const WindowClass& windowClass) {
  std::string_view name = windowClass.name ? windowClass.name : "";
  ControlKind builtIn{};
  if (name.empty() || name.size() >= kMaxClassName || !windowClass.procedure) return false;
  if (FindClass(name) || IsControlClass(name, builtIn) || name == kDialogClassName) return false;
  for (ClassRecord& c : classes) {
    if (c.inUse) continue;
    c = ClassRecord{};
    c.inUse = true;
    CopyText(c.name, name);
    c.procedure = windowClass.procedure;
    c.background = windowClass.background;
    c.hasMenu = windowClass.menuName != nullptr;
    if (c.hasMenu) CopyText(c.menuName, windowClass.menuName);
    return true;
  }
  return false;
}

Window CreateWindowOf(std::string_view className, std::string_view title, std::uint32_t style,
                      int x, int y, int width, int height, Window parentOrOwner, int id,
                      LParam createValue) {
  bool child = (style & kStyleChild) != 0;
  if (child && !Find(parentOrOwner)) return kNoWindow;
  WindowRect rect{x, y, width, height};

  ControlKind controlKind{};
  if (IsControlClass(className, controlKind) && child) {
    return CreateControl({parentOrOwner, controlKind, title, rect, id, style, 0});
  }
  const ClassRecord* windowClass = FindClass(className);
  if (!windowClass) return kNoWindow;
  WindowRecord* record = NewRecord(WindowKind::kTopLevel, TextOf(windowClass->name));
  if (!record) return kNoWindow;
  record->procedure = windowClass->procedure;
  if (child) {
    record->parent = parentOrOwner;
  } else {
    record->owner = TopLevelOf(parentOrOwner);
  }
  CopyText(record->text, title);
  record->rect = rect;
  record->style = style;
  record->id = child ? id : kNoControlId;
  if (IsShown(*record) && !child) RaiseToTop(*record);
  Window window = record->handle;
  Touch(*record);
  if (windowClass->hasMenu) SetWindowMenu(window, TextOf(windowClass->menuName));
  if (SendMessageTo(window, kMsgCreate, 0, createValue) == -1) {
    DestroyWindow(window);
    return kNoWindow;
  }
  return IsWindow(window) ? window : kNoWindow;
}

// Owned windows go first, then the window hears kMsgDestroy, then its children (each hearing its
// own kMsgDestroy before its children do); the slots are freed last, children first.
void DestroyWindow(Window window) {
  WindowRecord* record = Find(window);
  if (!record || record->destroying) return;
  record->destroying = true;
  NoteActivity();

  std::array<Window, kMaxWindows> related{};
  int owned =
      CollectWindows(related, [window](const WindowRecord& r) { return r.owner == window; });
  for (int i = 0; i < owned; ++i) DestroyWindow(related[i]);

  ForgetFocusInside(window);
  SendMessageTo(window, kMsgDestroy, 0, 0);

  int children = ChildrenOf(window, related);
  for (int i = 0; i < children; ++i) DestroyWindow(related[i]);

  record = Find(window);
  if (!record) return;
  if (record->list != kNoSlot) ReleaseList(record->list);
  if (record->menu != kNoSlot) ReleaseMenu(record->menu);
  FreeRecord(*record);
  TheBackend().windowChanged(window);
}

bool IsWindow(Window window) {
  return Find(window) != nullptr;
}

// ---- Procedures -------------------------------------------------------------------------------

WindowProc ReplaceWindowProc(Window window, WindowProc procedure) {
  WindowRecord* record = Find(window);
  if (!record || !procedure) return nullptr;
  WindowProc previous = record->procedure;
  record->procedure = procedure;
  return previous;
}

Result CallWindowProc(WindowProc procedure, Window window, unsigned message, WParam wParam,
                      LParam lParam) {
  if (!procedure) return DefaultWindowProc(window, message, wParam, lParam);
  return procedure(window, message, wParam, lParam);
}

Result DefaultWindowProc(Window window, unsigned message, WParam wParam, LParam /*lParam*/) {
  WindowRecord* record = Find(window);
  if (!record) return 0;
  switch (message) {
    case kMsgClose:
      DestroyWindow(window);
      return 0;
    case kMsgSysChar:
      // Alt with a key chooses from the menu bar of the window, or of the window it sits in.
      if (record->menu != kNoSlot) return ChooseMenuMnemonic(window, static_cast<char>(wParam));
      if (record->parent != kNoWindow) {
        return SendMessageTo(record->parent, kMsgSysChar, wParam, 0);
      }
      return 0;
    case kMsgSetRedraw:
      if (record->redraw != (wParam != 0)) {
        record->redraw = wParam != 0;
        if (record->redraw) record->needsPaint = true;
        Touch(*record);
      }
      return 0;
    default:
      return 0;
  }
}

Window FindTopWindow(std::string_view className, std::string_view title) {
  Window best = kNoWindow;
  std::uint32_t bestZ = 0;
  for (const WindowRecord& r : AllRecords()) {
    if (r.handle == kNoWindow || r.parent != kNoWindow || r.destroying) continue;
    if (!className.empty() && !SameIgnoringCase(TextOf(r.className), className)) continue;
    std::string_view text = TextOf(r.text);
    if (r.kind == WindowKind::kMessageBox) text = TextOf(r.caption);
    if (!title.empty() && !SameIgnoringCase(text, title)) continue;
    if (best == kNoWindow || r.zOrder > bestZ) {
      best = r.handle;
      bestZ = r.zOrder;
    }
  }
  return best;
}

// ---- Views ------------------------------------------------------------------------------------

bool ViewWindow(Window window, WindowView& view) {
  const WindowRecord* record = Find(window);
  if (!record) return false;
  view = WindowView{};
  view.kind = record->kind;
  view.controlKind = record->controlKind;
  view.className = TextOf(record->className);
  view.templateName = record->dialogTemplate && record->dialogTemplate->name
                          ? std::string_view(record->dialogTemplate->name)
                          : std::string_view{};
  view.text = TextOf(record->text);
  view.caption = TextOf(record->caption);
  view.id = record->id;
  view.visible = IsShown(*record);
  view.enabled = IsEnabledRecord(*record);
  view.checked = record->checked;
  view.modal = record->modal;
  view.ended = record->ended;
  view.result = record->result;
  view.redraw = record->redraw;
  view.parent = record->parent;
  view.owner = record->owner;
  view.font = record->font;
  view.style = record->style;
  view.controlStyle = record->controlStyle;
  view.rect = GetWindowRect(window);
  view.zOrder = record->zOrder;
  view.pictureLibrary = TextOf(record->pictureLibrary);
  view.pictureName = TextOf(record->pictureName);
  view.pictureStretched = record->pictureStretched;
  view.boxStyle = record->boxStyle;
  view.serial = record->serial;
  return true;
}

int ListWindows(std::span<Window> out) {
  return CollectWindows(out, [](const WindowRecord&) { return true; });
}

int ListControls(Window dialog, std::span<Window> controls) {
  if (!Find(dialog)) return 0;
  return CollectWindows(controls, [dialog](const WindowRecord& r) {
    return r.parent == dialog && r.kind == WindowKind::kControl;
  });
}

void ResetWindowSystem() {
  for (WindowRecord& record : windows) {
    if (record.handle != kNoWindow) FreeRecord(record);
  }
  classes = {};
  ForgetFocusInside(kNoWindow);
  ResetQueue();
  ResetDialogs();
  ResetLists();
  ResetMenus();
  ResetFonts();
  ResetWorld();
}
