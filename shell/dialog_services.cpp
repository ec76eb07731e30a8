#include "dialog_services.h"

#include <array>

#include "lesson_state.h"
#include "textservices.h"

namespace {

// The status line the menu bar shows in a certification run.
std::array<char, kStatusTextSize> statusText{};

// The separator of the options menu carries command 0; the status line takes its place.
constexpr int kStatusItemCommand = 0;

ScreenRect ToScreenRect(const WindowRect& rect) {
  return {rect.left, rect.top, rect.width, rect.height};
}

}  // namespace

void AddWrappedText(Window window, int controlId, std::string_view text, Font font) {
  Window list = controlId == kListIsWindow ? window : DialogItem(window, controlId);
  if (list == kNoWindow) return;
  // Step 1: the room a line has, short of the scroll bar.
  int usableWidth = GetClientRect(list).width - ScrollBarWidth() - 1;
  // Step 2: the advance width of every byte in the font the list shows.
  CharWidths widths{};
  GetCharWidths(font != kNoFont ? font : GetWindowFont(list), widths);
  // Step 3: one row per wrapped line.
  ForEachWrappedLine(text, widths, usableWidth,
                     [list](std::string_view line) { ListAddRow(list, line); });
}

void RefreshListBox(Window list) {
  ListInsertRow(list, 0, "");
  SendMessageTo(list, kMsgSetRedraw, 1, 0);
  ListDeleteRow(list, 0);
}

void PlaceDialog(Window owner, Window dialog, int centre, double fx, double fy) {
  WindowRect dialogRect = GetWindowRect(dialog);
  ScreenPoint at = PlaceDialogPosition(ToScreenRect(GetWindowRect(owner)), ToScreenRect(dialogRect),
                                       centre, fx, fy);
  MoveWindow(dialog, at.x, at.y, dialogRect.width, dialogRect.height);
  InvalidateWindow(dialog, true);
}

void ShowStatusLine() {
  BuildStatusText(statusText, problemNumber, strikesAllowed, strikes);
  SetMenuCommandText(mainWindow, kStatusItemCommand, TextIn(statusText));
  DrawMenuBar(mainWindow);
}

int ShowTextBox(Window owner, int textId, int captionId, std::uint32_t style) {
  // Each load overwrites the shared buffer: keep the text before loading the caption.
  std::array<char, kTextBufferSize> text{};
  SetText(text, LoadText(textId));
  std::string_view caption = captionId == kNoCaptionText ? std::string_view{} : LoadText(captionId);
  return MessageBox(owner, TextIn(text), caption, style);
}

Result About(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  if (message == kMsgInitDialog) return 1;
  if (message == kMsgCommand && CommandId(wParam) == kIdOk) {
    EndDialog(dialog, 1);
    return 1;
  }
  return 0;
}
