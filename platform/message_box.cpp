// Message boxes: a window of its own kind holding the message, the caption and the style, with
// its buttons as controls (IDs kIdOk, kIdCancel, kIdYes, kIdNo), run modally by the one message
// loop and answered by a click on a button, Enter (the first button) or Escape.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

inline constexpr int kBoxMargin = 16;
inline constexpr int kBoxMinWidth = 240;
inline constexpr int kBoxTextHeight = 48;
inline constexpr int kBoxButtonWidth = 75;
inline constexpr int kBoxButtonHeight = 23;
inline constexpr int kBoxButtonGap = 8;
inline constexpr int kMaxBoxButtons = 2;

struct BoxButton {
  int id;
  const char* label;
};

struct BoxButtons {
  int count;
  std::array<BoxButton, kMaxBoxButtons> buttons;
};

// The buttons of each style, the first being the one Enter presses. Any other style shows OK.
BoxButtons ButtonsOf(std::uint32_t style) {
  switch (style & kBoxButtonsMask) {
    case kBoxOkCancel:
      return {2, {{{kIdOk, "OK"}, {kIdCancel, "Cancel"}}}};
    case kBoxYesNo:
      return {2, {{{kIdYes, "&Yes"}, {kIdNo, "&No"}}}};
    default:
      return {1, {{{kIdOk, "OK"}, {0, nullptr}}}};
  }
}

// A button ends the box with its ID. Escape (command 2) ends a box that has Cancel with Cancel
// and a box with only OK with OK; a Yes/No box must be answered.
Result MessageBoxProc(Window box, unsigned message, WParam wParam, LParam /*lParam*/) {
  if (message != kMsgCommand) return 0;
  int id = CommandId(wParam);
  const WindowRecord* record = Find(box);
  if (!record) return 0;
  if (DialogItem(box, id) != kNoWindow) {
    EndDialog(box, id);
  } else if (id == kIdCancel && (record->boxStyle & kBoxButtonsMask) == kBoxOk) {
    EndDialog(box, kIdOk);
  }
  return 1;
}

int TextWidth(std::string_view text) {
  CharWidths widths{};
  GetCharWidths(SystemFont(), widths);
  int width = 0;
  for (char c : text) width += widths[static_cast<unsigned char>(c)];
  return width;
}

// The box, centred on the screen, wide enough for its message on one line.
WindowRecord* NewBoxRecord(Window owner, std::string_view text, std::string_view caption,
                           std::uint32_t style) {
  WindowRecord* record = NewRecord(WindowKind::kMessageBox, kDialogClassName);
  if (!record) return nullptr;
  ScreenMetrics screen = GetScreenMetrics();
  int width = std::clamp(TextWidth(text) + 2 * kBoxMargin, kBoxMinWidth,
                         std::max(kBoxMinWidth, screen.width - 2 * kBoxMargin));
  int height = kBoxTextHeight + kBoxButtonHeight + 3 * kBoxMargin;
  record->procedure = MessageBoxProc;
  record->owner = owner;
  CopyText(record->text, text);
  CopyText(record->caption, caption);
  record->boxStyle = style;
  record->modal = true;
  record->style = kStylePopup | kStyleCaption;
  record->rect = {(screen.width - width) / 2, (screen.height - height) / 2, width, height};
  return record;
}

Window CreateBox(Window owner, std::string_view text, std::string_view caption,
                 std::uint32_t style) {
  WindowRecord* record = NewBoxRecord(owner, text, caption, style);
  if (!record) return kNoWindow;
  Window box = record->handle;
  WindowRect rect = record->rect;
  Touch(*record);
  SendMessageTo(box, kMsgCreate, 0, 0);

  BoxButtons buttons = ButtonsOf(style);
  int rowWidth = buttons.count * kBoxButtonWidth + (buttons.count - 1) * kBoxButtonGap;
  int x = (rect.width - rowWidth) / 2;
  int y = rect.height - kBoxMargin - kBoxButtonHeight;
  for (int i = 0; i < buttons.count && IsWindow(box); ++i) {
    ControlKind kind = i == 0 ? ControlKind::kDefaultButton : ControlKind::kPushButton;
    WindowRect at{x, y, kBoxButtonWidth, kBoxButtonHeight};
    if (CreateControl({box, kind, buttons.buttons[i].label, at, buttons.buttons[i].id,
                       kStyleVisible, kControlTabStop}) == kNoWindow) {
      DestroyWindow(box);
      return kNoWindow;
    }
    x += kBoxButtonWidth + kBoxButtonGap;
  }
  return IsWindow(box) ? box : kNoWindow;
}

}  // namespace
}  // namespace platform_detail

using namespace platform_detail;

int MessageBox(Window owner, std::string_view text, std::string_view caption, std::uint32_t style) {
  if (ModalStackFull()) return -1;
  Window previousFocus = GetFocus();
  Window box = CreateBox(TopLevelOf(owner), text, caption, style);
  if (box == kNoWindow) return -1;
  Window first = FirstTabStop(box);
  Find(box)->lastFocus = first;
  SetFocus(first);
  return static_cast<int>(RunModal(box, previousFocus));
}
