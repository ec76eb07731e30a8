// The state of a window as the program changes it: shown or hidden and its size state, enabled,
// the keyboard focus, the z-order, its text, rectangle and painting.
#include "window_table.h"

namespace platform_detail {
namespace {

Window focus = kNoWindow;
std::uint32_t zCounter = 0;

}  // namespace

void RaiseToTop(WindowRecord& record) {
  record.zOrder = ++zCounter;
}

void DropFocusFrom(Window window) {
  if (focus == kNoWindow || !IsInside(focus, window)) return;
  Window old = focus;
  focus = kNoWindow;
  SendMessageTo(old, kMsgKillFocus, kNoWindow, 0);
}

// A window being destroyed, and everything inside it, loses the focus without messages;
// kNoWindow forgets the focus whatever holds it.
void ForgetFocusInside(Window window) {
  if (window == kNoWindow || IsInside(focus, window)) focus = kNoWindow;
}

}  // namespace platform_detail

using namespace platform_detail;

// ---- Shown, enabled, focused --------------------------------------------------------------------

namespace {

SizeKind SizeKindOf(std::uint32_t style) {
  if (style & kStyleMaximized) return kSizeMaximized;
  if (style & kStyleMinimized) return kSizeMinimized;
  return kSizeRestored;
}

std::uint32_t StyleForShow(std::uint32_t style, ShowMode mode) {
  constexpr std::uint32_t kSizeState = kStyleMaximized | kStyleMinimized;
  switch (mode) {
    case kHide:
      return style & ~kStyleVisible;
    case kShowNormal:
      return (style | kStyleVisible) & ~kSizeState;
    case kShowMinimized:
      return ((style | kStyleVisible) & ~kStyleMaximized) | kStyleMinimized;
    case kShowMaximized:
      return ((style | kStyleVisible) & ~kStyleMinimized) | kStyleMaximized;
  }
  return style;
}

}  // namespace

void ShowWindow(Window window, ShowMode mode) {
  WindowRecord* record = Find(window);
  if (!record) return;
  std::uint32_t before = record->style;
  std::uint32_t after = StyleForShow(before, mode);
  if (after == before) return;
  record->style = after;
  bool appeared = !(before & kStyleVisible) && (after & kStyleVisible);
  if (appeared && record->parent == kNoWindow) RaiseToTop(*record);
  Touch(*record);
  if (appeared) MarkForPaint(window, true);
  if (!(after & kStyleVisible)) DropFocusFrom(window);
  if (SizeKindOf(before) != SizeKindOf(after) && IsWindow(window)) {
    SendMessageTo(window, kMsgSize, SizeKindOf(after), 0);
  }
}

bool IsWindowVisible(Window window) {
  const WindowRecord* record = Find(window);
  return record && IsShown(*record);
}

void EnableWindow(Window window, bool enabled) {
  WindowRecord* record = Find(window);
  if (!record || IsEnabledRecord(*record) == enabled) return;
  record->style = enabled ? record->style & ~kStyleDisabled : record->style | kStyleDisabled;
  Touch(*record);
  if (!enabled) DropFocusFrom(window);
}

bool IsWindowEnabled(Window window) {
  const WindowRecord* record = Find(window);
  return record && IsEnabledRecord(*record);
}

void SetFocus(Window window) {
  const WindowRecord* record = Find(window);
  if (window != kNoWindow && (!record || record->destroying)) return;
  if (window == focus) return;
  Window old = focus;
  focus = window;
  if (IsWindow(old)) SendMessageTo(old, kMsgKillFocus, window, 0);
  if (focus != window || window == kNoWindow) return;

  Window dialog = EnclosingDialog(window);
  if (WindowRecord* d = Find(dialog); d && dialog != window) d->lastFocus = window;
  SendMessageTo(window, kMsgSetFocus, old, 0);
  // A dialog hears of the focus arriving from outside, whichever of its controls takes it.
  if (dialog != kNoWindow && dialog != window && focus == window && !IsInside(old, dialog)) {
    SendMessageTo(dialog, kMsgSetFocus, old, 0);
  }
}

Window GetFocus() {
  return IsWindow(focus) ? focus : kNoWindow;
}

void BringToTop(Window window) {
  WindowRecord* record = Find(window);
  if (!record) return;
  RaiseToTop(*record);
  Touch(*record);
}

Window LastActivePopup(Window window) {
  if (!Find(window)) return kNoWindow;
  Window best = window;
  std::uint32_t bestZ = 0;
  for (const WindowRecord& r : AllRecords()) {
    if (r.handle != kNoWindow && r.owner == window && IsShown(r) && r.zOrder >= bestZ) {
      best = r.handle;
      bestZ = r.zOrder;
    }
  }
  return best;
}

void SetWindowText(Window window, std::string_view text) {
  WindowRecord* record = Find(window);
  if (!record || !CopyText(record->text, text)) return;
  if (record->kind == WindowKind::kControl && record->controlKind == ControlKind::kEdit) {
    record->caret = static_cast<int>(TextOf(record->text).size());
  }
  record->needsPaint = true;
  Touch(*record);
}

int GetWindowText(Window window, std::span<char> buffer) {
  const WindowRecord* record = Find(window);
  if (buffer.empty()) return 0;
  CopyText(buffer, record ? TextOf(record->text) : std::string_view{});
  return static_cast<int>(TextOf(buffer).size());
}

Window GetParent(Window window) {
  const WindowRecord* record = Find(window);
  return record ? record->parent : kNoWindow;
}

Window GetOwner(Window window) {
  const WindowRecord* record = Find(window);
  return record ? record->owner : kNoWindow;
}

int GetControlId(Window window) {
  const WindowRecord* record = Find(window);
  return record ? record->id : kNoControlId;
}

WindowRect GetWindowRect(Window window) {
  const WindowRecord* record = Find(window);
  if (!record) return {0, 0, 0, 0};
  WindowRect rect = record->rect;
  for (const WindowRecord* p = Find(record->parent); p; p = Find(p->parent)) {
    rect.left += p->rect.left;
    rect.top += p->rect.top;
  }
  return rect;
}

WindowRect GetClientRect(Window window) {
  const WindowRecord* record = Find(window);
  if (!record) return {0, 0, 0, 0};
  return {0, 0, record->rect.width, record->rect.height};
}

void MoveWindow(Window window, int x, int y, int width, int height) {
  WindowRecord* record = Find(window);
  if (!record) return;
  WindowRect before = record->rect;
  if (before.left == x && before.top == y && before.width == width && before.height == height) {
    return;
  }
  record->rect = {x, y, width, height};
  SizeKind kind = SizeKindOf(record->style);
  Touch(*record);
  MarkForPaint(window, true);
  if (before.width != width || before.height != height) {
    SendMessageTo(window, kMsgSize, kind, 0);
  }
}

void InvalidateWindow(Window window, bool /*erase: every paint draws the whole window*/) {
  if (WindowRecord* record = Find(window)) record->needsPaint = true;
}

void UpdateWindow(Window window) {
  WindowRecord* record = Find(window);
  if (!record || !record->needsPaint || !ShownWithParents(window)) return;
  record->needsPaint = false;
  SendMessageTo(window, kMsgPaint, 0, 0);
}
