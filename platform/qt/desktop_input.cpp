#include "desktop_input.h"

#include <QApplication>
#include <QHash>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <deque>

#include "backend.h"

namespace {

constexpr char kWindowProperty[] = "tavrinWindow";

enum ModifierBit : unsigned { kShiftBit = 1u, kControlBit = 2u, kAltBit = 4u };

enum class InputKind { kClick, kEditClick, kListClick, kKey, kChar, kClose, kMenu };

struct QueuedInput {
  InputKind kind;
  Window window;
  int value;  // key, character, row, caret position or menu command
  bool doubleClick;
  unsigned modifiers;
};

std::deque<QueuedInput> queue;
unsigned lastModifiers = 0;
// The widget last tagged for each window: where its keyboard focus shows.
QHash<Window, QPointer<QWidget>> taggedWidgets;

struct KeyMapping {
  int qtKey;
  int key;
};

constexpr KeyMapping kKeys[] = {
    {Qt::Key_Return, kKeyEnter},  {Qt::Key_Enter, kKeyEnter},   {Qt::Key_Escape, kKeyEscape},
    {Qt::Key_Tab, kKeyTab},       {Qt::Key_Backtab, kKeyTab},   {Qt::Key_Backspace, kKeyBackspace},
    {Qt::Key_Delete, kKeyDelete}, {Qt::Key_Home, kKeyHome},     {Qt::Key_End, kKeyEnd},
    {Qt::Key_Left, kKeyLeft},     {Qt::Key_Right, kKeyRight},   {Qt::Key_Up, kKeyUp},
    {Qt::Key_Down, kKeyDown},     {Qt::Key_PageUp, kKeyPageUp}, {Qt::Key_PageDown, kKeyPageDown},
    {Qt::Key_Space, kKeySpace},
};

// The window system's key for a Qt key; 0 for a key it has none for.
int LayerKey(int qtKey) {
  for (const KeyMapping& mapping : kKeys) {
    if (mapping.qtKey == qtKey) return mapping.key;
  }
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kKeyF1 + (qtKey - Qt::Key_F1);
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + (qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + (qtKey - Qt::Key_0);
  return 0;
}

unsigned ModifierBits(Qt::KeyboardModifiers modifiers) {
  unsigned bits = 0;
  if (modifiers & Qt::ShiftModifier) bits |= kShiftBit;
  if (modifiers & Qt::ControlModifier) bits |= kControlBit;
  if (modifiers & Qt::AltModifier) bits |= kAltBit;
  return bits;
}

// A printable Latin-1 character typed without Ctrl or Alt; 0 for anything else. A blank is a key.
unsigned char TypedCharacter(const QKeyEvent& event) {
  if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
  const QString text = event.text();
  if (text.size() != 1) return 0;
  char16_t code = text[0].unicode();
  bool printable = (code > 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF);
  return printable ? static_cast<unsigned char>(code) : 0;
}

void Queue(const QueuedInput& input) {
  queue.push_back(input);
}

// Keys go to the window with the keyboard focus when it shows in the Qt window that got them,
// else to the Qt window's own window.
Window KeyTarget(QWidget* topLevel) {
  Window focus = GetFocus();
  QPointer<QWidget> shown = taggedWidgets.value(focus);
  if (focus != kNoWindow && shown && shown->window() == topLevel) return focus;
  return TaggedWindow(topLevel);
}

// Alt with the mnemonic of a pop-up on the menu bar opens that pop-up, as long as the main window
// takes input and the item is enabled; the window system itself has nothing to show for it.
void OpenPopupByMnemonic(QWidget* topLevel, int key) {
  auto* shell = qobject_cast<QMainWindow*>(topLevel);
  if (!shell || key < 'A' || key > 'Z' || !TakesInput(TaggedWindow(topLevel))) return;
  for (QAction* action : shell->menuBar()->actions()) {
    if (!action->menu() || !action->isEnabled()) continue;
    const QString text = action->text();
    qsizetype amp = text.indexOf(u'&');
    if (amp >= 0 && amp + 1 < text.size() && text[amp + 1].toUpper() == QChar(key)) {
      shell->menuBar()->setActiveAction(action);
      return;
    }
  }
}

void RouteKey(QWidget* receiver, const QKeyEvent& event) {
  QWidget* topLevel = receiver->window();
  Window target = KeyTarget(topLevel);
  unsigned modifiers = ModifierBits(event.modifiers());
  if (unsigned char c = TypedCharacter(event); c != 0) {
    Queue({InputKind::kChar, target, c, false, modifiers});
    return;
  }
  int key = LayerKey(event.key());
  if (key == 0) return;
  Queue({InputKind::kKey, target, key, false, modifiers});
  if (modifiers == kAltBit) OpenPopupByMnemonic(topLevel, key);
}

// Text an input method committed is typed, character by character.
void RouteCommittedText(QWidget* receiver, const QInputMethodEvent& event) {
  Window target = KeyTarget(receiver->window());
  for (QChar c : event.commitString()) {
    char16_t code = c.unicode();
    bool printable = (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF);
    if (printable) Queue({InputKind::kChar, target, static_cast<int>(code), false, 0});
  }
}

class KeyRouter : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || QApplication::activePopupWidget()) return false;
    if (TaggedWindow(widget->window()) == kNoWindow) return false;
    switch (event->type()) {
      case QEvent::ShortcutOverride:
        // No Qt shortcut (button or menu mnemonics) acts in the program's windows.
        event->accept();
        return true;
      case QEvent::KeyPress:
        RouteKey(widget, static_cast<const QKeyEvent&>(*event));
        return true;
      case QEvent::InputMethod:
        RouteCommittedText(widget, static_cast<const QInputMethodEvent&>(*event));
        return true;
      case QEvent::KeyRelease:
        return true;
      default:
        return false;
    }
  }
};

// Clicks in list boxes (on their viewport) and edit fields.
class ClickWatcher : public QObject {
 public:
  ClickWatcher(QObject* parent, Window window, bool list)
      : QObject(parent), window_(window), list_(list) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
          Click(watched, mouse->position().toPoint(), event->type() == QEvent::MouseButtonDblClick);
        }
        return true;
      }
      case QEvent::MouseButtonRelease:
      case QEvent::MouseMove:
      case QEvent::ContextMenu:
        return true;
      default:
        return false;
    }
  }

 private:
  void Click(QObject* watched, QPoint at, bool doubleClick) {
    if (list_) {
      auto* list = qobject_cast<QListWidget*>(watched->parent());
      int row = list ? list->indexAt(at).row() : -1;
      Queue({InputKind::kListClick, window_, row, doubleClick, 0});
    } else if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
      Queue({InputKind::kEditClick, window_, edit->cursorPositionAt(at), false, 0});
    }
  }

  Window window_;
  bool list_;
};

bool Perform(const QueuedInput& input) {
  if (input.kind == InputKind::kMenu) return ChooseMenuCommand(input.window, input.value);
  if (!TakesInput(input.window)) return false;
  switch (input.kind) {
    case InputKind::kClick:
      ClickButton(input.window);
      break;
    case InputKind::kEditClick:
      ClickButton(input.window);
      EditSetCaret(input.window, input.value);
      break;
    case InputKind::kListClick:
      ListClickRow(input.window, input.value, input.doubleClick);
      break;
    case InputKind::kKey:
      KeyPress(input.window, input.value);
      break;
    case InputKind::kChar:
      TypeChar(input.window, static_cast<char>(input.value));
      break;
    case InputKind::kClose:
      CloseRequest(input.window);
      break;
    case InputKind::kMenu:
      break;
  }
  return true;
}

}  // namespace

void TagWidget(QWidget* widget, Window window) {
  widget->setProperty(kWindowProperty, QVariant::fromValue<qulonglong>(window));
  QPointer<QWidget>& shown = taggedWidgets[window];
  if (!shown) shown = widget;
}

Window TaggedWindow(const QObject* object) {
  if (!object) return kNoWindow;
  return static_cast<Window>(object->property(kWindowProperty).toULongLong());
}

void InstallKeyRouting() {
  static KeyRouter* router = nullptr;
  if (router) return;
  router = new KeyRouter;
  qApp->installEventFilter(router);
}

void WatchListClicks(QListWidget* list, Window window) {
  list->viewport()->installEventFilter(new ClickWatcher(list, window, true));
}

void WatchEditClicks(QLineEdit* edit, Window window) {
  edit->installEventFilter(new ClickWatcher(edit, window, false));
}

void QueueClick(Window control) {
  Queue({InputKind::kClick, control, 0, false, 0});
}

void QueueClose(Window window) {
  Queue({InputKind::kClose, window, 0, false, 0});
}

void QueueMenuCommand(Window window, int command) {
  Queue({InputKind::kMenu, window, command, false, 0});
}

bool DeliverQueuedInput() {
  while (!queue.empty()) {
    QueuedInput input = queue.front();
    queue.pop_front();
    lastModifiers = input.modifiers;
    if (Perform(input)) return true;
  }
  return false;
}

void ResetInput() {
  queue.clear();
  lastModifiers = 0;
  taggedWidgets.clear();
}

bool HeldForLastInput(int key) {
  switch (key) {
    case kKeyShift:
      return (lastModifiers & kShiftBit) != 0;
    case kKeyControl:
      return (lastModifiers & kControlBit) != 0;
    case kKeyAlt:
      return (lastModifiers & kAltBit) != 0;
    default:
      return false;
  }
}

bool TakesInput(Window window) {
  if (!IsWindow(window)) return false;
  for (Window w = window; w != kNoWindow; w = GetParent(w)) {
    if (!IsWindowVisible(w) || !IsWindowEnabled(w)) return false;
  }
  return true;
}
