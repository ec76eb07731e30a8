#include "main_shell.h"

#include <QCloseEvent>
#include <QLinearGradient>
#include <QMenuBar>
#include <QPainter>
#include <QWidgetAction>
#include <array>

#include "backend.h"
#include "desktop_input.h"
#include "desktop_text.h"
#include "suite_pictures.h"

namespace {

// The window system's view does not carry the colour a window's class was registered with; the
// desk paints the program's main window in the lesson's teal and any other top-level window of
// a class (the black screen behind a small main window) in black.
const QColor kMainWindowColour(0, 128, 128);
const QColor kOtherWindowColour(0, 0, 0);

constexpr int kMaxMenuItems = 16;
constexpr int kCutRatherThanScroll = 16;

// A top-level window of a class other than the main window's: drawn on the desk behind it.
bool IsOtherClassWindow(const WindowView& view, Window window, Window mainWindow) {
  return view.kind == WindowKind::kTopLevel && window != mainWindow && view.parent == kNoWindow &&
         view.visible;
}

QString MenuLabel(std::string_view label) {
  return DisplayText(label, false);
}

// The status text shown in place of a separator: plain text at the right of its pop-up.
QWidgetAction* StatusAction(QMenu* menu, const QString& text) {
  auto* action = new QWidgetAction(menu);
  action->setText(text);
  auto* label = new QLabel(text);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  label->setContentsMargins(24, 3, 12, 3);
  action->setDefaultWidget(label);
  return action;
}

}  // namespace

// ---- Desk -------------------------------------------------------------------------------------

Desk::Desk(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

QPoint Desk::FromScreen(int x, int y) const {
  ScreenMetrics screen = GetScreenMetrics();
  int dx = std::max(0, (width() - screen.width) / 2);
  int dy = std::max(0, (height() - screen.height) / 2);
  return {x + dx, y + dy};
}

QRect Desk::FromScreen(const WindowRect& rect) const {
  return {FromScreen(rect.left, rect.top), QSize(rect.width, rect.height)};
}

// Back to front: the other windows' colour where one fills the screen, the main window's colour
// and its picture at its place.
void Desk::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  QColor ground = kMainWindowColour;
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (ViewWindow(windows[i], view) && IsOtherClassWindow(view, windows[i], mainWindow_) &&
        (view.style & kStyleMaximized)) {
      ground = kOtherWindowColour;
    }
  }
  painter.fillRect(rect(), ground);
  for (int i = 0; i < count; ++i) {
    WindowView view{};
    if (!ViewWindow(windows[i], view) || !IsOtherClassWindow(view, windows[i], mainWindow_) ||
        (view.style & kStyleMaximized)) {
      continue;
    }
    painter.fillRect(FromScreen(view.rect), kOtherWindowColour);
  }
  WindowView main{};
  if (!ViewWindow(mainWindow_, main)) return;
  // A maximised main window fills the screen; otherwise it stands at its own place.
  QRect client = (main.style & kStyleMaximized) && ground == kMainWindowColour
                     ? rect()
                     : FromScreen(main.rect);
  painter.fillRect(client, kMainWindowColour);
  QPixmap picture =
      main.pictureName.empty() ? QPixmap() : SuitePicture(main.pictureLibrary, main.pictureName);
  if (picture.isNull()) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (main.pictureStretched) {
    painter.drawPixmap(client, picture);
  } else {
    painter.drawPixmap(client.topLeft(), picture);
  }
}

void Desk::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (onResize_) onResize_();
}

// ---- PanelFrame -------------------------------------------------------------------------------

PanelFrame::PanelFrame(QWidget* desk) : QWidget(desk), client_(new QWidget(this)) {
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
  client_->setBackgroundRole(QPalette::Window);
  client_->setAutoFillBackground(true);
  setFocusPolicy(Qt::NoFocus);
}

void PanelFrame::Place(const QRect& clientRect, bool caption, const QString& title) {
  int top = kBorder + (caption ? kCaptionHeight : 0);
  QRect outer(clientRect.left() - kBorder, clientRect.top() - top, clientRect.width() + 2 * kBorder,
              clientRect.height() + top + kBorder);
  if (geometry() != outer) setGeometry(outer);
  client_->setGeometry(kBorder, top, clientRect.width(), clientRect.height());
  if (caption_ != caption || title_ != title) {
    caption_ = caption;
    title_ = title;
    update();
  }
}

void PanelFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect outer = rect();
  const QPalette& colours = palette();
  painter.fillRect(outer, colours.window());
  // A raised edge: light above and left, dark below and right.
  painter.setPen(colours.light().color());
  painter.drawLine(outer.topLeft(), outer.topRight());
  painter.drawLine(outer.topLeft(), outer.bottomLeft());
  painter.setPen(colours.shadow().color());
  painter.drawLine(outer.bottomLeft(), outer.bottomRight());
  painter.drawLine(outer.topRight(), outer.bottomRight());
  painter.setPen(colours.mid().color());
  painter.drawLine(outer.bottomLeft() + QPoint(1, -1), outer.bottomRight() + QPoint(-1, -1));
  painter.drawLine(outer.topRight() + QPoint(-1, 1), outer.bottomRight() + QPoint(-1, -1));
  if (!caption_) return;
  QRect bar(kBorder, kBorder, outer.width() - 2 * kBorder, kCaptionHeight);
  QLinearGradient shade(bar.topLeft(), bar.topRight());
  shade.setColorAt(0, QColor(0, 0, 128));
  shade.setColorAt(1, QColor(16, 132, 208));
  painter.fillRect(bar, shade);
  QFont font = SystemDesktopFont();
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(bar.adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignVCenter, title_);
}

// ---- MainShell --------------------------------------------------------------------------------

// The desk sits in a scroll area: on a display smaller than the lesson's main window the student
// scrolls to what does not fit.
MainShell::MainShell(Window window)
    : window_(window), desk_(new Desk(nullptr)), room_(new QScrollArea(this)) {
  desk_->SetMainWindow(window);
  room_->setFrameShape(QFrame::NoFrame);
  room_->setWidgetResizable(true);
  room_->setFocusPolicy(Qt::NoFocus);
  room_->setWidget(desk_);
  setCentralWidget(room_);
  TagWidget(room_, window);
  TagWidget(this, window);
  TagWidget(desk_, window);
  menuBar()->installEventFilter(this);
  menuBar()->setNativeMenuBar(false);
  // A caption with the system menu, a minimise box and a close box; no maximise box, as the
  // lesson always runs maximised.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
}

void MainShell::SetDeskSize(QSize size, bool exactly) {
  if (exactly) {
    desk_->setFixedSize(size);
    room_->setMinimumSize(size);
  } else {
    // A few pixels of frame the estimate of the room left out are cut off rather than scrolled.
    desk_->setMinimumSize(std::max(1, size.width() - kCutRatherThanScroll), size.height());
  }
}

void MainShell::closeEvent(QCloseEvent* event) {
  // The program decides: the window manager's close is a close request to its window.
  event->ignore();
  QueueClose(window_);
}

// While the program's window takes no input (a modal dialog or box is up), the menu bar does not
// open.
bool MainShell::eventFilter(QObject* watched, QEvent* event) {
  if (watched == menuBar() && !TakesInput(window_)) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseButtonRelease:
        return true;
      default:
        break;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainShell::SyncMenu() {
  std::uint32_t serial = MenuSerial(window_);
  if (serial == menuSerial_) return;
  // A pop-up left open keeps its items until it closes; the next idle moment rebuilds it.
  for (QAction* action : menuBar()->actions()) {
    if (action->menu() && action->menu()->isVisible()) return;
  }
  menuSerial_ = serial;
  BuildMenu();
}

// Items by position: a pop-up for an item with items of its own, a command otherwise. A
// separator turned into text shows in its pop-up and at the right of the bar.
void MainShell::BuildMenu() {
  QMenuBar* bar = menuBar();
  // The bar's own actions go with clear(); its pop-ups are deleted here.
  QList<QMenu*> popups;
  for (QAction* action : bar->actions()) {
    if (action->menu()) popups.append(action->menu());
  }
  bar->clear();
  for (QMenu* popup : popups) popup->deleteLater();
  std::array<MenuItemView, kMaxMenuItems> items{};
  int count = ViewMenuBar(window_, items);
  QString status;
  for (int position = 0; position < count; ++position) {
    std::array<MenuItemView, kMaxMenuItems> popupItems{};
    int popupCount = ViewMenuPopup(window_, position, popupItems);
    const MenuItemView& item = items[position];
    if (popupCount == 0) {
      QAction* action = bar->addAction(MenuLabel(item.label));
      action->setEnabled(item.enabled);
      int command = item.command;
      connect(action, &QAction::triggered, this,
              [this, command] { QueueMenuCommand(window_, command); });
      continue;
    }
    QMenu* popup = bar->addMenu(MenuLabel(item.label));
    popup->menuAction()->setEnabled(item.enabled);
    for (int i = 0; i < popupCount; ++i) {
      const MenuItemView& entry = popupItems[i];
      if (entry.separator) {
        popup->addSeparator();
      } else if (entry.rightText) {
        status = MenuLabel(entry.label);
        popup->addAction(StatusAction(popup, status));
      } else {
        QAction* action = popup->addAction(MenuLabel(entry.label));
        action->setEnabled(entry.enabled);
        int command = entry.command;
        connect(action, &QAction::triggered, this,
                [this, command] { QueueMenuCommand(window_, command); });
      }
    }
  }
  if (!status_) {
    status_ = new QLabel(bar);
    status_->setContentsMargins(8, 0, 8, 0);
    bar->setCornerWidget(status_, Qt::TopRightCorner);
  }
  status_->setText(status);
  status_->setVisible(!status.isEmpty());
}
