// Checking each action against the screen and delivering it as a student's input.
#include "play_actions.h"

#include <array>
#include <vector>

#include "transcript.h"

namespace {

// Key strokes of a `type` or `clear` still to be delivered, one at each idle moment, so that each
// goes through the focused control's own keyboard handling before the next.
struct PendingStrokes {
  std::vector<Stroke> strokes;
  std::size_t next = 0;
  Window target = kNoWindow;  // the focused control
  Window onScreen = kNoWindow;
};

PendingStrokes pending;
unsigned heldModifiers = 0;

// ---- Finding things on screen -----------------------------------------------------------------

bool IsInside(Window window, Window container) {
  for (int depth = 0; window != kNoWindow && depth < kMaxWindows; ++depth) {
    if (window == container) return true;
    window = GetParent(window);
  }
  return false;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

bool IsButtonKind(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultButton ||
         kind == ControlKind::kOwnerDrawButton;
}

// The label as the transcript writes it, so that scripts name controls as they read them.
std::string ControlLabel(const WindowView& view) {
  return LabelText(TextToUtf8(view.text, IsLessonFaceFont(view.font, kLessonFace)));
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  return TrimRight(text);
}

// The control of the dialog that the action names: a button or a radio button by ID or label.
// Prefers a visible one when several carry the label.
Window FindNamedControl(Window dialog, const PlayAction& action, bool radio) {
  std::array<Window, kMaxWindows> controls{};
  const int count = ListControls(dialog, controls);
  Window found = kNoWindow;
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(controls[i], view)) continue;
    const bool kindFits =
        radio ? view.controlKind == ControlKind::kRadioButton : IsButtonKind(view.controlKind);
    const bool named = action.number != kNoNumber ? view.id == action.number
                                                  : ControlLabel(view) == TrimBlanks(action.text);
    if (!kindFits || !named) continue;
    if (view.visible) return controls[i];
    if (found == kNoWindow) found = controls[i];
  }
  return found;
}

Window FindList(Window dialog) {
  std::array<Window, kMaxWindows> controls{};
  const int count = ListControls(dialog, controls);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (ViewWindow(controls[i], view) && view.visible &&
        view.controlKind == ControlKind::kListBox) {
      return controls[i];
    }
  }
  return kNoWindow;
}

std::string ControlName(std::string_view kind, const PlayAction& action) {
  return std::string(kind) + " " +
         (action.number != kNoNumber ? std::to_string(action.number) : Quoted(action.text));
}

// ---- Where an action may go -------------------------------------------------------------------

// Actions other than `answer` need no message box up, and what is on screen must take input (a
// disabled window drops it).
bool NeedNoBox(const OnScreen& on, std::string& reason) {
  if (on.target == ScreenTarget::kMessageBox) {
    reason = DescribeOnScreen(on) + " is up";
  } else if (on.window != kNoWindow && !IsWindowEnabled(on.window)) {
    reason = DescribeOnScreen(on) + " is disabled";
  }
  return reason.empty();
}

bool NeedDialog(const OnScreen& on, std::string& reason) {
  if (!NeedNoBox(on, reason)) return false;
  if (on.target == ScreenTarget::kModalDialog || on.target == ScreenTarget::kPanel) return true;
  reason = "no dialog is up, only " + DescribeOnScreen(on);
  return false;
}

// The main window takes menu choices and close requests only while no box or modal dialog is up.
bool NeedMainWindow(const OnScreen& on, std::string& reason) {
  if (!NeedNoBox(on, reason)) return false;
  if (on.target == ScreenTarget::kModalDialog) {
    reason = DescribeOnScreen(on) + " is up";
    return false;
  }
  const Window mainWindow = FindMainWindow();
  if (mainWindow == kNoWindow) {
    reason = "there is no main window";
  } else if (!IsWindowEnabled(mainWindow)) {
    reason = "the main window is disabled";
  }
  return reason.empty();
}

// ---- The actions ------------------------------------------------------------------------------

struct MenuChoice {
  int command = 0;
  bool found = false;
  bool popup = false;
  bool enabled = false;
  std::string label;
};

bool MenuItemNamed(const MenuItemView& item, const PlayAction& action) {
  if (item.separator || item.rightText) return false;
  if (action.number != kNoNumber) return item.command == action.number && item.command != 0;
  return LabelText(TextToUtf8(item.label, false)) == TrimBlanks(action.text);
}

MenuChoice FindMenuChoice(Window mainWindow, const PlayAction& action) {
  MenuChoice choice;
  std::array<MenuItemView, 16> bar{};
  const int count = ViewMenuBar(mainWindow, bar);
  for (int position = 0; position < count && !choice.found; ++position) {
    std::array<MenuItemView, 16> popup{};
    const int items = ViewMenuPopup(mainWindow, position, popup);
    const bool barEnabled = IsMenuPositionEnabled(mainWindow, position) && bar[position].enabled;
    if (MenuItemNamed(bar[position], action)) {
      choice = {bar[position].command, true, items > 0, barEnabled,
                LabelText(TextToUtf8(bar[position].label, false))};
    }
    for (int i = 0; i < items && !choice.found; ++i) {
      if (!MenuItemNamed(popup[i], action)) continue;
      choice = {popup[i].command, true, false, barEnabled && popup[i].enabled,
                LabelText(TextToUtf8(popup[i].label, false))};
    }
  }
  return choice;
}

bool ChooseMenu(const OnScreen& on, const PlayAction& action, std::string& reason) {
  if (!NeedMainWindow(on, reason)) return false;
  const Window mainWindow = FindMainWindow();
  const MenuChoice choice = FindMenuChoice(mainWindow, action);
  if (!choice.found) {
    reason = "the main window's menu has no item " + ControlName("", action).substr(1);
  } else if (choice.popup) {
    reason = "menu item " + choice.label + " opens a pop-up, name one of its items";
  } else if (!choice.enabled) {
    reason = "menu item " + choice.label + " is grey";
  }
  if (!reason.empty()) return false;
  if (ChooseMenuCommand(mainWindow, choice.command)) return true;
  reason = "the main window takes no input";
  return false;
}

bool ClickControl(const OnScreen& on, const PlayAction& action, bool radio, std::string& reason) {
  if (!NeedDialog(on, reason)) return false;
  const std::string name = ControlName(radio ? "radio button" : "button", action);
  const std::string where = " in " + DescribeOnScreen(on);
  const Window control = FindNamedControl(on.window, action, radio);
  if (control == kNoWindow) {
    reason = "no " + name + where;
  } else if (!IsWindowVisible(control)) {
    reason = name + " is hidden" + where;
  } else if (!IsWindowEnabled(control)) {
    reason = name + " is disabled" + where;
  }
  if (!reason.empty()) return false;
  ClickButton(control);
  return true;
}

// The row a `select` or `dblclick` names: its number, or the first row reading as the text.
int FindRow(Window list, const PlayAction& action) {
  const int count = ListRowCount(list);
  if (action.number != kNoNumber) return action.number < count ? action.number : -1;
  WindowView view{};
  ViewWindow(list, view);
  const bool lessonFont = IsLessonFaceFont(view.font, kLessonFace);
  std::array<std::string_view, kMaxListRows> rows{};
  const int listed = ListRows(list, rows);
  for (int row = 0; row < listed; ++row) {
    if (TrimBlanks(TextToUtf8(rows[row], lessonFont)) == TrimBlanks(action.text)) return row;
  }
  return -1;
}

bool ClickRow(const OnScreen& on, const PlayAction& action, bool doubleClick, std::string& reason) {
  if (!NeedDialog(on, reason)) return false;
  const Window list = FindList(on.window);
  if (list == kNoWindow) {
    reason = "no list in " + DescribeOnScreen(on);
    return false;
  }
  const std::string listName = "list " + std::to_string(GetControlId(list));
  const int row = FindRow(list, action);
  if (!IsWindowEnabled(list)) {
    reason = listName + " is disabled in " + DescribeOnScreen(on);
  } else if (row < 0 && action.number != kNoNumber) {
    reason = listName + " in " + DescribeOnScreen(on) + " has " +
             std::to_string(ListRowCount(list)) + " rows";
  } else if (row < 0) {
    reason = "no row " + Quoted(action.text) + " in " + listName + " of " + DescribeOnScreen(on);
  }
  if (!reason.empty()) return false;
  ListClickRow(list, row, doubleClick);
  return true;
}

// The window that takes keys: the focused window when it is inside what is on screen.
Window KeyTarget(const OnScreen& on) {
  const Window focus = GetFocus();
  return focus != kNoWindow && IsInside(focus, on.window) ? focus : kNoWindow;
}

void DeliverStroke(Window target, const Stroke& stroke) {
  if (stroke.isKey) {
    KeyPress(target, stroke.key);
  } else {
    TypeChar(target, stroke.c);
  }
}

bool StartStrokes(const OnScreen& on, std::vector<Stroke> strokes, bool& delivered) {
  pending = {std::move(strokes), 0, KeyTarget(on), on.window};
  std::string unused;
  delivered = HasPendingStrokes() && DeliverPendingStroke(unused);
  return true;
}

bool TypeText(const OnScreen& on, const PlayAction& action, bool& delivered, std::string& reason) {
  if (!NeedNoBox(on, reason)) return false;
  const Window target = KeyTarget(on);
  if (target == kNoWindow) {
    reason = "nothing in " + DescribeOnScreen(on) + " has the keyboard focus";
  } else if (!IsWindowEnabled(target)) {
    reason = "the focused control is disabled in " + DescribeOnScreen(on);
  }
  if (!reason.empty()) return false;
  return StartStrokes(on, action.strokes, delivered);
}

bool ClearField(const OnScreen& on, bool& delivered, std::string& reason) {
  if (!NeedNoBox(on, reason)) return false;
  const Window target = KeyTarget(on);
  WindowView view{};
  if (target == kNoWindow || !ViewWindow(target, view) || view.kind != WindowKind::kControl ||
      view.controlKind != ControlKind::kEdit) {
    reason = "the keyboard focus is not on an edit field in " + DescribeOnScreen(on);
  } else if (!view.enabled) {
    reason = "edit field " + std::to_string(view.id) + " is disabled in " + DescribeOnScreen(on);
  }
  if (!reason.empty()) return false;
  // Emptied as a student would: to the end, then back over every character.
  std::vector<Stroke> strokes;
  if (!view.text.empty()) strokes.push_back({true, kKeyEnd, 0});
  strokes.insert(strokes.end(), view.text.size(), Stroke{true, kKeyBackspace, 0});
  return StartStrokes(on, std::move(strokes), delivered);
}

bool PressKey(const OnScreen& on, const PlayAction& action, std::string& reason) {
  if (!NeedNoBox(on, reason)) return false;
  const Window focus = KeyTarget(on);
  const Window target = focus != kNoWindow ? focus : on.window;
  if (target == kNoWindow) {
    reason = "there is no window to take the key";
    return false;
  }
  heldModifiers = action.modifiers;
  KeyPress(target, action.key);
  return true;
}

std::string_view ButtonName(int button) {
  switch (button) {
    case kIdCancel:
      return "Cancel";
    case kIdYes:
      return "Yes";
    case kIdNo:
      return "No";
    default:
      return "OK";
  }
}

bool BoxOffers(std::uint32_t style, int button) {
  switch (style & kBoxButtonsMask) {
    case kBoxOkCancel:
      return button == kIdOk || button == kIdCancel;
    case kBoxYesNo:
      return button == kIdYes || button == kIdNo;
    default:
      return button == kIdOk;
  }
}

bool AnswerBox(const OnScreen& on, const PlayAction& action, std::string& reason) {
  if (on.target != ScreenTarget::kMessageBox) {
    reason = "no message box is up, only " + DescribeOnScreen(on);
    return false;
  }
  WindowView view{};
  ViewWindow(on.window, view);
  if (!BoxOffers(view.boxStyle, action.key)) {
    reason = DescribeOnScreen(on) + " has no " + std::string(ButtonName(action.key)) + " button";
    return false;
  }
  const Window button = DialogItem(on.window, action.key);
  if (button != kNoWindow) {
    ClickButton(button);
  } else {
    EndDialog(on.window, action.key);
  }
  return true;
}

bool ClickProblemBox(const OnScreen& on, std::string& reason) {
  if (!NeedMainWindow(on, reason)) return false;
  const Window box = FindProblemBox(FindMainWindow());
  if (box == kNoWindow || !IsWindowVisible(box)) {
    reason = "the problem box is not shown";
  } else if (ListRowCount(box) == 0) {
    reason = "the problem box is empty";
  }
  if (!reason.empty()) return false;
  ListClickRow(box, ListTopRow(box), false);
  return true;
}

bool CloseMainWindow(const OnScreen& on, std::string& reason) {
  if (!NeedMainWindow(on, reason)) return false;
  CloseRequest(FindMainWindow());
  return true;
}

bool Expect(const PlayAction& action, std::string_view sinceAction, std::string& reason) {
  if (sinceAction.find(action.text) != std::string_view::npos) return true;
  reason = Quoted(action.text) + " was not written since the previous action";
  return false;
}

}  // namespace

OnScreen WhatIsOnScreen() {
  const Window modal = TopModal();
  WindowView view{};
  if (modal != kNoWindow && ViewWindow(modal, view)) {
    return {view.kind == WindowKind::kMessageBox ? ScreenTarget::kMessageBox
                                                 : ScreenTarget::kModalDialog,
            modal};
  }
  const Window panel = KeyboardDialog();
  if (panel != kNoWindow && IsWindow(panel) && IsWindowVisible(panel)) {
    return {ScreenTarget::kPanel, panel};
  }
  const Window mainWindow = FindMainWindow();
  if (mainWindow != kNoWindow) return {ScreenTarget::kMainWindow, mainWindow};
  return {ScreenTarget::kNothing, kNoWindow};
}

std::string DescribeOnScreen(const OnScreen& on) {
  switch (on.target) {
    case ScreenTarget::kMessageBox: {
      std::string caption;
      std::string text;
      MessageBoxTexts(on.window, caption, text);
      return "message box " + Quoted(caption) + " (" + text + ")";
    }
    case ScreenTarget::kModalDialog:
    case ScreenTarget::kPanel:
      return "dialog " + DialogName(on.window);
    case ScreenTarget::kMainWindow:
      return "the main window";
    case ScreenTarget::kNothing:
      break;
  }
  return "no window";
}

bool PerformPlayAction(const PlayAction& action, std::string_view sinceAction, bool& delivered,
                       std::string& reason) {
  reason.clear();
  delivered = action.kind != ActionKind::kExpect;
  const OnScreen on = WhatIsOnScreen();
  switch (action.kind) {
    case ActionKind::kMenu:
      return ChooseMenu(on, action, reason);
    case ActionKind::kClick:
      return ClickControl(on, action, false, reason);
    case ActionKind::kChoose:
      return ClickControl(on, action, true, reason);
    case ActionKind::kSelect:
      return ClickRow(on, action, false, reason);
    case ActionKind::kDoubleClick:
      return ClickRow(on, action, true, reason);
    case ActionKind::kType:
      return TypeText(on, action, delivered, reason);
    case ActionKind::kKey:
      return PressKey(on, action, reason);
    case ActionKind::kClear:
      return ClearField(on, delivered, reason);
    case ActionKind::kAnswer:
      return AnswerBox(on, action, reason);
    case ActionKind::kClickProblemBox:
      return ClickProblemBox(on, reason);
    case ActionKind::kClose:
      return CloseMainWindow(on, reason);
    case ActionKind::kExpect:
      return Expect(action, sinceAction, reason);
  }
  return false;
}

bool HasPendingStrokes() {
  return pending.next < pending.strokes.size();
}

bool DeliverPendingStroke(std::string& reason) {
  if (!HasPendingStrokes()) return false;
  const OnScreen on = WhatIsOnScreen();
  if (on.window == pending.onScreen && GetFocus() == pending.target) {
    DeliverStroke(pending.target, pending.strokes[pending.next++]);
    return true;
  }
  reason = "stopped after " + std::to_string(pending.next) + " of " +
           std::to_string(pending.strokes.size()) + " key strokes: " +
           (on.window != pending.onScreen ? DescribeOnScreen(on) + " came up"
                                          : "the keyboard focus moved");
  pending = {};
  return false;
}

void ResetPlayActions() {
  pending = {};
  heldModifiers = 0;
}

bool IsModifierHeld(int key) {
  switch (key) {
    case kKeyControl:
      return (heldModifiers & kModCtrl) != 0;
    case kKeyAlt:
      return (heldModifiers & kModAlt) != 0;
    case kKeyShift:
      return (heldModifiers & kModShift) != 0;
    default:
      return false;
  }
}

void ReleaseModifiers() {
  heldModifiers = 0;
}
