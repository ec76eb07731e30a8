#include "window_mirror.h"

#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QScreen>
#include <algorithm>
#include <array>
#include <vector>

#include "backend.h"
#include "control_widgets.h"
#include "desktop_input.h"
#include "desktop_text.h"
#include "dialog_windows.h"
#include "main_shell.h"

namespace {

constexpr int kMaxMenuItems = 16;

// How a window is shown.
enum class Host {
  kNone,     // not by a widget of its own: foreign windows, windows the desk paints
  kShell,    // the main shell
  kPanel,    // a frame on the desk
  kDialog,   // a dialog window
  kBox,      // a message box
  kControl,  // a widget inside its dialog, or on the desk
};

struct Entry {
  Host host = Host::kNone;
  bool created = false;
  QPointer<QWidget> widget;
  QPointer<QWidget> container;  // where the window's controls go
  std::uint32_t serial = 0;     // of the view last shown; 0 for never
  std::uint32_t zOrder = 0;
  bool placed = false;  // message boxes are placed once, when first shown
  QRect rect;           // dialog windows: the rectangle last placed at, in screen coordinates
};

MirrorOptions mirrorOptions;
QHash<Window, Entry> entries;
QPointer<MainShell> shell;
ShowMode shellRestoreMode = kShowNormal;  // how the main window comes back from the taskbar
Window shownFocus = kNoWindow;
Colour shownScrollColour{};
bool syncAll = false;

bool HasMenuBar(Window window) {
  std::array<MenuItemView, kMaxMenuItems> items{};
  return ViewMenuBar(window, items) > 0;
}

void SyncEverythingSoon() {
  syncAll = true;
}

// ---- Places -----------------------------------------------------------------------------------

// Where a point of the program's screen is on the Qt screen: on the shell's desk when there is
// one, else from the primary screen's top left.
QPoint GlobalFromScreen(int x, int y) {
  if (shell && shell->isVisible()) {
    Desk* desk = shell->TheDesk();
    return desk->mapToGlobal(desk->FromScreen(x, y));
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  return QPoint(x, y) + (screen ? screen->availableGeometry().topLeft() : QPoint());
}

QRect ControlRect(const WindowView& view) {
  WindowView parent{};
  if (!ViewWindow(view.parent, parent)) return {};
  if (shell && view.parent == shell->LayerWindow()) return shell->TheDesk()->FromScreen(view.rect);
  return {view.rect.left - parent.rect.left, view.rect.top - parent.rect.top, view.rect.width,
          view.rect.height};
}

// ---- The desktop's own changes ----------------------------------------------------------------

// The student minimised the main window on the desktop, or brought it back: the window system
// hears of it as of the program's own ShowWindow, so the program's window gets its size change.
// It comes back as it was before (the program's window keeps its place in the middle of a large
// screen even though the shell is maximised). Changes the mirror made itself agree with the
// window's state already and pass.
void FollowShellState() {
  Window window = shell->LayerWindow();
  WindowView view{};
  if (!ViewWindow(window, view) || !view.visible) return;
  bool minimised = shell->isMinimized();
  if (minimised == ((view.style & kStyleMinimized) != 0)) return;
  if (minimised) {
    shellRestoreMode = (view.style & kStyleMaximized) ? kShowMaximized : kShowNormal;
    ShowWindow(window, kShowMinimized);
  } else {
    ShowWindow(window, shellRestoreMode);
  }
  NoteLayerChanged();
}

class ShellStateWatch : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::WindowStateChange && watched == shell) FollowShellState();
    return false;
  }
};

// ---- Creating ---------------------------------------------------------------------------------

void CreateShell(Window window, Entry& entry) {
  shell = new MainShell(window);
  shell->installEventFilter(new ShellStateWatch(shell));
  shell->TheDesk()->SetResized(SyncEverythingSoon);
  ScreenMetrics screen = GetScreenMetrics();
  shell->SetDeskSize(QSize(screen.width, screen.height), mirrorOptions.fixedScreen);
  entry.host = Host::kShell;
  entry.widget = shell;
  entry.container = shell->TheDesk();
}

void CreateDialog(Window window, const WindowView& view, Entry& entry) {
  bool onDesk = !view.modal && shell && view.owner == shell->LayerWindow();
  if (onDesk) {
    auto* panel = new PanelFrame(shell->TheDesk());
    TagWidget(panel, window);
    TagWidget(panel->Client(), window);
    entry.host = Host::kPanel;
    entry.widget = panel;
    entry.container = panel->Client();
    return;
  }
  auto* dialog = new DialogWindow(shell, window, (view.style & kStyleCaption) != 0);
  entry.host = Host::kDialog;
  entry.widget = dialog;
  entry.container = dialog;
}

void CreateControl(Window window, const WindowView& view, Entry& entry) {
  auto parent = entries.find(view.parent);
  if (parent == entries.end() || !parent->container) return;
  QWidget* widget = CreateControlWidget(view, window, parent->container);
  entry.host = Host::kControl;
  entry.widget = widget;
  if (parent->host == Host::kBox) static_cast<BoxWindow*>(parent->widget.data())->AddButton(widget);
}

void Create(Window window, const WindowView& view, Entry& entry) {
  entry.created = true;
  switch (view.kind) {
    case WindowKind::kTopLevel:
      if (!shell && HasMenuBar(window)) CreateShell(window, entry);
      break;
    case WindowKind::kDialog:
      CreateDialog(window, view, entry);
      break;
    case WindowKind::kMessageBox: {
      auto* box = new BoxWindow(shell, window, view);
      entry.host = Host::kBox;
      entry.widget = box;
      entry.container = box->ButtonRow();
      break;
    }
    case WindowKind::kControl:
      CreateControl(window, view, entry);
      break;
    case WindowKind::kForeign:
      break;
  }
}

// ---- Showing ----------------------------------------------------------------------------------

void ShowShell(const WindowView& view) {
  shell->setWindowTitle(DisplayText(view.text, false));
  shell->SyncMenu();
  shell->TheDesk()->update();
  if (!view.visible) {
    shell->hide();
  } else if (view.style & kStyleMinimized) {
    shell->showMinimized();
  } else if (!shell->isVisible() || shell->isMinimized()) {
    if (mirrorOptions.fixedScreen) {
      shell->show();
    } else {
      // Sized to the room of the display first: without a window manager, or with one that does
      // not maximise on request, the lesson still fills it.
      if (QScreen* screen = shell->screen()) shell->setGeometry(screen->availableGeometry());
      shell->showMaximized();
    }
  }
}

void ShowPanel(QWidget* widget, const WindowView& view) {
  auto* panel = static_cast<PanelFrame*>(widget);
  panel->Place(shell->TheDesk()->FromScreen(view.rect), (view.style & kStyleCaption) != 0,
               DisplayText(view.text, false));
  panel->setVisible(view.visible);
}

// A dialog window goes where the program put it whenever the program moves it; in between the
// student may move it elsewhere.
void ShowDialog(QWidget* widget, const WindowView& view, Entry& entry) {
  widget->setWindowTitle(DisplayText(view.text, false));
  QRect rect(view.rect.left, view.rect.top, view.rect.width, view.rect.height);
  if (rect != entry.rect || !widget->isVisible()) {
    entry.rect = rect;
    widget->setFixedSize(rect.size());
    widget->move(GlobalFromScreen(rect.left(), rect.top()));
  }
  widget->setVisible(view.visible);
}

// A message box comes up once its buttons are in (PlaceNewBoxes); it goes at once.
void ShowBox(QWidget* widget, const WindowView& view, const Entry& entry) {
  if (!view.visible || entry.placed) widget->setVisible(view.visible);
}

// A message box stands where the window system centred it, in the middle of the screen.
void PlaceNewBoxes() {
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    WindowView view{};
    if (it->host != Host::kBox || it->placed || !it->widget || !ViewWindow(it.key(), view) ||
        !view.visible) {
      continue;
    }
    it->placed = true;
    QWidget* box = it->widget;
    box->adjustSize();
    ScreenMetrics screen = GetScreenMetrics();
    QPoint centre = GlobalFromScreen(screen.width / 2, screen.height / 2);
    box->move(centre - QPoint(box->width() / 2, box->height() / 2));
    box->show();
  }
}

void ShowControl(QWidget* widget, Window window, const WindowView& view, const Entry& parent) {
  if (parent.host != Host::kBox) {
    QRect rect = ControlRect(view);
    if (widget->geometry() != rect) widget->setGeometry(rect);
  }
  SyncControlWidget(widget, view, window);
  ApplyScrollBarColour(widget, GetScrollBarColour());
  widget->setVisible(view.visible);
}

void Show(Window window, const WindowView& view, Entry& entry) {
  if (!entry.widget) {
    // Drawn by the desk: a screen-filling window of another class behind the main window.
    if (view.kind == WindowKind::kTopLevel && shell) shell->TheDesk()->update();
    return;
  }
  switch (entry.host) {
    case Host::kShell:
      ShowShell(view);
      break;
    case Host::kPanel:
      ShowPanel(entry.widget, view);
      break;
    case Host::kDialog:
      ShowDialog(entry.widget, view, entry);
      break;
    case Host::kBox:
      ShowBox(entry.widget, view, entry);
      break;
    case Host::kControl:
      ShowControl(entry.widget, window, view, entries.value(view.parent));
      break;
    case Host::kNone:
      break;
  }
}

// ---- Stacking and focus -----------------------------------------------------------------------

bool IsTopLevelHost(Host host) {
  return host == Host::kShell || host == Host::kDialog || host == Host::kBox;
}

// Windows brought to the top since the last time come up, in the order they went up; a dialog
// window that comes up takes the activation from the shell.
void Restack() {
  struct Raised {
    std::uint32_t zOrder;
    QWidget* widget;
    Host host;
  };
  std::vector<Raised> raised;
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    WindowView view{};
    if (!it->widget || !ViewWindow(it.key(), view) || !view.visible) continue;
    if (it->host != Host::kPanel && !IsTopLevelHost(it->host)) continue;
    if (view.zOrder != it->zOrder) raised.push_back({view.zOrder, it->widget, it->host});
    it->zOrder = view.zOrder;
  }
  std::sort(raised.begin(), raised.end(),
            [](const Raised& a, const Raised& b) { return a.zOrder < b.zOrder; });
  for (const Raised& r : raised) {
    r.widget->raise();
    if (IsTopLevelHost(r.host)) r.widget->activateWindow();
  }
}

QWidget* FocusWidgetOf(Window window) {
  auto it = entries.find(window);
  if (it == entries.end()) return nullptr;
  return it->host == Host::kPanel || it->host == Host::kShell ? it->container : it->widget;
}

// The keyboard focus shows where the window system has it, whenever it moves there.
void SyncFocus() {
  Window focus = GetFocus();
  if (focus == shownFocus) return;
  shownFocus = focus;
  QWidget* target = FocusWidgetOf(focus);
  if (!target || !target->isVisible()) {
    if (QWidget* shown = QApplication::focusWidget(); shown && TaggedWindow(shown) != kNoWindow) {
      shown->clearFocus();
    }
    return;
  }
  QWidget* topLevel = target->window();
  if (QApplication::activeWindow() != topLevel) topLevel->activateWindow();
  target->setFocus(Qt::OtherFocusReason);
}

void DropGoneWindows() {
  for (auto it = entries.begin(); it != entries.end();) {
    if (IsWindow(it.key())) {
      ++it;
      continue;
    }
    if (it->widget && (IsTopLevelHost(it->host) || it->host == Host::kPanel)) {
      it->widget->hide();
      delete it->widget.data();
    } else if (it->widget) {
      it->widget->hide();
      it->widget->deleteLater();
    }
    it = entries.erase(it);
  }
}

}  // namespace

void SetMirrorOptions(const MirrorOptions& options) {
  mirrorOptions = options;
}

void NoteWindowChanged(Window window) {
  // Nothing is touched now: the program may be in the middle of a change. The next idle moment
  // looks at the window's serial.
  if (!entries.contains(window)) entries.insert(window, Entry{});
}

void SyncMirror() {
  DropGoneWindows();
  Colour scroll = GetScrollBarColour();
  bool everything = syncAll || scroll.r != shownScrollColour.r || scroll.g != shownScrollColour.g ||
                    scroll.b != shownScrollColour.b;
  syncAll = false;
  shownScrollColour = scroll;
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  QHash<Window, bool> shownNow;
  for (int i = 0; i < count; ++i) {
    Window window = windows[i];
    WindowView view{};
    if (!ViewWindow(window, view)) continue;
    Entry& entry = entries[window];
    if (!entry.created) Create(window, view, entry);
    // A window changed, or the one it sits in did (it may have moved).
    bool parentShown = view.parent != kNoWindow && shownNow.value(view.parent);
    if (!everything && !parentShown && entry.serial == view.serial) continue;
    entry.serial = view.serial;
    shownNow.insert(window, true);
    Show(window, view, entry);
  }
  // The menu bar changes without the window's own serial changing.
  if (shell) shell->SyncMenu();
  PlaceNewBoxes();
  Restack();
  SyncFocus();
}

QWidget* MirrorWidget(Window window) {
  auto it = entries.find(window);
  return it == entries.end() ? nullptr : it->widget.data();
}

MainShell* MirrorShell() {
  return shell;
}

void RaiseMirror() {
  if (!shell) return;
  if (shell->isMinimized()) shell->showNormal();
  shell->raise();
  shell->activateWindow();
  QList<QWidget*> shown = MirrorTopLevels();
  if (!shown.isEmpty() && shown.last() != shell) {
    shown.last()->raise();
    shown.last()->activateWindow();
  }
}

QList<QWidget*> MirrorTopLevels() {
  struct Shown {
    std::uint32_t zOrder;
    bool isShell;
    QWidget* widget;
  };
  std::vector<Shown> shown;
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    WindowView view{};
    if (!it->widget || !IsTopLevelHost(it->host) || !it->widget->isVisible()) continue;
    if (!ViewWindow(it.key(), view)) continue;
    shown.push_back({view.zOrder, it->host == Host::kShell, it->widget});
  }
  // Dialog windows stay above the shell they belong to.
  std::sort(shown.begin(), shown.end(), [](const Shown& a, const Shown& b) {
    if (a.isShell != b.isShell) return a.isShell;
    return a.zOrder < b.zOrder;
  });
  QList<QWidget*> widgets;
  for (const Shown& s : shown) widgets.append(s.widget);
  return widgets;
}

void ResetMirror() {
  for (auto it = entries.begin(); it != entries.end(); ++it) {
    if (it->widget && (IsTopLevelHost(it->host))) delete it->widget.data();
  }
  entries.clear();
  delete shell.data();
  shell = nullptr;
  shownFocus = kNoWindow;
  shownScrollColour = Colour{};
  shellRestoreMode = kShowNormal;
  syncAll = false;
}
