// The message queue and the one message loop that serves the main loop and every modal dialog
// and message box; dialog keyboard handling; translating keys into characters; delivering input.
#include <array>

#include "window_table.h"

namespace platform_detail {
namespace {

struct QueueEntry {
  QueuedMessage message;
  bool input;  // input is dropped at dispatch when its window no longer takes any
};

std::array<QueueEntry, kQueueSize> queue{};
int queueHead = 0;
int queueCount = 0;
bool quitPending = false;
int quitCode = 0;
Window keyboardDialog = kNoWindow;

bool PushBack(const QueueEntry& entry) {
  if (queueCount == kQueueSize) return false;
  queue[(queueHead + queueCount) % kQueueSize] = entry;
  ++queueCount;
  NoteActivity();
  return true;
}

// A character translated from a key is handled right after the key, before anything queued.
bool PushFront(const QueueEntry& entry) {
  if (queueCount == kQueueSize) return false;
  queueHead = (queueHead + kQueueSize - 1) % kQueueSize;
  queue[queueHead] = entry;
  ++queueCount;
  NoteActivity();
  return true;
}

QueueEntry PopFront() {
  QueueEntry entry = queue[queueHead];
  queueHead = (queueHead + 1) % kQueueSize;
  --queueCount;
  return entry;
}

// ---- Keys into characters ---------------------------------------------------------------------

// The character a key types, 0 for none. Letters are lower case unless Shift is held.
char CharacterOfKey(int key) {
  switch (key) {
    case kKeyBackspace:
    case kKeyTab:
    case kKeyEnter:
    case kKeyEscape:
    case kKeySpace:
      return static_cast<char>(key);
    default:
      break;
  }
  if (key >= '0' && key <= '9') return static_cast<char>(key);
  if (key >= 'A' && key <= 'Z') {
    return IsKeyDown(kKeyShift) ? static_cast<char>(key) : LowerCase(static_cast<char>(key));
  }
  return 0;
}

// A key that types a character queues that character next: kMsgSysChar while Alt is held, none
// while Ctrl is held, kMsgChar otherwise.
void TranslateKey(const QueuedMessage& keyDown) {
  char c = CharacterOfKey(static_cast<int>(keyDown.wParam));
  if (c == 0 || IsKeyDown(kKeyControl)) return;
  unsigned message = IsKeyDown(kKeyAlt) ? kMsgSysChar : kMsgChar;
  PushFront({{keyDown.window, message, static_cast<unsigned char>(c), 0}, true});
}

// ---- Dialog keyboard handling -----------------------------------------------------------------

void SendCommandOf(Window dialog, Window control) {
  SendMessageTo(dialog, kMsgCommand, MakeCommand(GetControlId(control), kNotifyClicked),
                static_cast<LParam>(control));
}

// Enter: the focused push button, else the default button, else the control with ID 1; a hidden
// or disabled one does nothing. Without any of them the dialog gets command 1 alone.
void PressDefault(Window dialog) {
  Window button = kNoWindow;
  Window focused = GetFocus();
  const WindowRecord* f = Find(focused);
  if (f && f->parent == dialog && f->kind == WindowKind::kControl && IsPushButton(f->controlKind)) {
    button = focused;
  }
  if (button == kNoWindow) {
    std::array<Window, kMaxWindows> controls{};
    int count = ListControls(dialog, controls);
    for (int i = 0; i < count && button == kNoWindow; ++i) {
      if (Find(controls[i])->controlKind == ControlKind::kDefaultButton) button = controls[i];
    }
  }
  if (button == kNoWindow) button = DialogItem(dialog, kIdOk);
  if (button == kNoWindow) {
    SendMessageTo(dialog, kMsgCommand, MakeCommand(kIdOk, kNotifyClicked), 0);
    return;
  }
  if (IsWindowVisible(button) && IsWindowEnabled(button)) SendCommandOf(dialog, button);
}

bool IsTabStop(const WindowRecord& r) {
  return r.kind == WindowKind::kControl && (r.controlStyle & kControlTabStop) && IsShown(r) &&
         IsEnabledRecord(r);
}

void MoveTabFocus(Window dialog, bool backwards) {
  std::array<Window, kMaxWindows> stops{};
  int count = CollectWindows(
      stops, [dialog](const WindowRecord& r) { return r.parent == dialog && IsTabStop(r); });
  if (count == 0) return;
  int at = -1;
  for (int i = 0; i < count; ++i) {
    if (stops[i] == GetFocus()) at = i;
  }
  int next = 0;
  if (at < 0) {
    next = backwards ? count - 1 : 0;
  } else {
    next = backwards ? (at + count - 1) % count : (at + 1) % count;
  }
  SetFocus(stops[next]);
}

// A button or radio button whose label has the mnemonic: a radio button takes the focus, then
// the dialog gets the control's command.
bool PressMnemonic(Window dialog, char c) {
  if (c == 0) return false;
  std::array<Window, kMaxWindows> controls{};
  int count = ListControls(dialog, controls);
  for (int i = 0; i < count; ++i) {
    const WindowRecord* r = Find(controls[i]);
    if (!r || !IsShown(*r) || !IsEnabledRecord(*r)) continue;
    bool button = IsPushButton(r->controlKind) || r->controlKind == ControlKind::kRadioButton;
    if (!button || LowerCase(MnemonicOf(TextOf(r->text))) != LowerCase(c)) continue;
    Window control = controls[i];
    if (r->controlKind == ControlKind::kRadioButton) SetFocus(control);
    SendCommandOf(dialog, control);
    return true;
  }
  return false;
}

bool FocusWantsCharacters() {
  const WindowRecord* f = Find(GetFocus());
  return f && f->kind == WindowKind::kControl &&
         (f->controlKind == ControlKind::kEdit || f->controlKind == ControlKind::kListBox);
}

// ---- Dispatching ------------------------------------------------------------------------------

void DispatchNext(Window modalDialog) {
  QueueEntry entry = PopFront();
  const QueuedMessage& m = entry.message;
  if (m.message == kMsgQuit) {
    quitPending = true;
    quitCode = static_cast<int>(m.wParam);
    return;
  }
  if (!IsWindow(m.window)) return;
  if (entry.input && !AcceptsInput(m.window)) return;
  Window dialog = modalDialog != kNoWindow ? modalDialog : keyboardDialog;
  if (IsWindow(dialog) && HandleDialogMessage(dialog, m)) return;
  if (m.message == kMsgKeyDown) TranslateKey(m);
  SendMessageTo(m.window, m.message, m.wParam, m.lParam);
}

// Sends kMsgPaint to every shown window that needs painting, in creation order. True when any
// was painted.
bool PaintWindows() {
  std::array<Window, kMaxWindows> pending{};
  int count = CollectWindows(
      pending, [](const WindowRecord& r) { return r.needsPaint && ShownWithParents(r.handle); });
  for (int i = 0; i < count; ++i) UpdateWindow(pending[i]);
  return count > 0;
}

}  // namespace

void ResetQueue() {
  queueHead = 0;
  queueCount = 0;
  quitPending = false;
  quitCode = 0;
  keyboardDialog = kNoWindow;
}

void PostInput(Window window, unsigned message, WParam wParam, LParam lParam) {
  if (!AcceptsInput(window)) return;
  PushBack({{window, message, wParam, lParam}, true});
}

}  // namespace platform_detail

using namespace platform_detail;

bool IsKeyDown(int key) {
  return TheBackend().keyDown(key);
}

bool PostMessageTo(Window window, unsigned message, WParam wParam, LParam lParam) {
  bool quit = message == kMsgQuit && window == kNoWindow;
  if (!quit && !IsWindow(window)) return false;
  return PushBack({{window, message, wParam, lParam}, false});
}

Result SendMessageTo(Window window, unsigned message, WParam wParam, LParam lParam) {
  const WindowRecord* record = Find(window);
  if (!record) return 0;
  NoteActivity();
  WindowKind kind = record->kind;
  Result result = CallWindowProc(record->procedure, window, message, wParam, lParam);
  // A dialog procedure answers 0 for what it leaves to the dialog's own handling.
  bool dialog = kind == WindowKind::kDialog || kind == WindowKind::kMessageBox;
  if (dialog && result == 0 && IsWindow(window)) {
    result = DefaultDialogProc(window, message, wParam, lParam);
  }
  return result;
}

void PostQuitMessage(int code) {
  quitPending = true;
  quitCode = code;
  NoteActivity();
}

Result RunMessageLoop(Window modalDialog) {
  for (;;) {
    if (modalDialog != kNoWindow) {
      const WindowRecord* record = Find(modalDialog);
      if (!record) return -1;
      if (record->ended) return record->result;
    } else if (quitPending && queueCount == 0) {
      quitPending = false;
      return quitCode;
    }
    if (queueCount > 0) {
      DispatchNext(modalDialog);
      continue;
    }
    if (PaintWindows()) continue;
    std::uint64_t before = Activity();
    TheBackend().waitForInput();
    if (Activity() == before && queueCount == 0) return -1;  // the input has ended
  }
}

void SetKeyboardDialog(Window dialog) {
  keyboardDialog = dialog;
}
Window KeyboardDialog() {
  return IsWindow(keyboardDialog) ? keyboardDialog : kNoWindow;
}

bool HandleDialogMessage(Window dialog, const QueuedMessage& message) {
  if (!IsWindow(dialog) || !IsInside(message.window, dialog)) return false;
  switch (message.message) {
    case kMsgKeyDown:
      switch (static_cast<int>(message.wParam)) {
        case kKeyEnter:
          PressDefault(dialog);
          return true;
        case kKeyEscape:
          SendMessageTo(dialog, kMsgCommand, MakeCommand(kIdCancel, kNotifyClicked),
                        static_cast<LParam>(DialogItem(dialog, kIdCancel)));
          return true;
        case kKeyTab:
          MoveTabFocus(dialog, IsKeyDown(kKeyShift));
          return true;
        default:
          return false;
      }
    case kMsgSysChar:
      return PressMnemonic(dialog, static_cast<char>(message.wParam));
    case kMsgChar: {
      auto c = static_cast<unsigned char>(message.wParam);
      if (c <= ' ' || FocusWantsCharacters()) return false;
      return PressMnemonic(dialog, static_cast<char>(c));
    }
    default:
      return false;
  }
}

// ---- Input ------------------------------------------------------------------------------------

void ClickButton(Window button) {
  if (!AcceptsInput(button)) return;
  PostInput(button, kMsgLButtonDown, 0, 0);
  PostInput(button, kMsgLButtonUp, 0, 0);
}

void KeyPress(Window target, int key) {
  PostInput(target, kMsgKeyDown, static_cast<WParam>(key), 0);
}

void TypeChar(Window target, char c) {
  PostInput(target, kMsgChar, static_cast<unsigned char>(c), 0);
}

// The row travels in lParam. A double click is the sequence a real one makes: down, up, double
// click, up.
void ListClickRow(Window list, int row, bool doubleClick) {
  if (!AcceptsInput(list)) return;
  PostInput(list, kMsgLButtonDown, 0, row);
  PostInput(list, kMsgLButtonUp, 0, row);
  if (!doubleClick) return;
  PostInput(list, kMsgLButtonDblClk, 0, row);
  PostInput(list, kMsgLButtonUp, 0, row);
}

void CloseRequest(Window window) {
  PostInput(window, kMsgClose, 0, 0);
}
