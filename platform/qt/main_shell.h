// The desktop's main window: the Qt window that shows the program's window with a menu bar. Its
// menu bar is built from the window system's menu; its central widget, the desk, stands for the
// screen the program sees: it paints the window's background and picture at the window's place,
// the black of a screen-filling window behind it, and holds the program's modeless dialogs (each
// in a frame with its caption) and the window's own controls at their places. Drawing them inside
// one Qt window keeps them where the program put them on desktops that do not let a program place
// its top-level windows.
#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QScrollArea>
#include <QWidget>

#include "platform.h"

// The screen the program sees, as a rectangle of the desk: centred when the desk is larger.
class Desk : public QWidget {
 public:
  explicit Desk(QWidget* parent);
  void SetMainWindow(Window window) { mainWindow_ = window; }
  // Where a point of the program's screen lies on the desk.
  QPoint FromScreen(int x, int y) const;
  QRect FromScreen(const WindowRect& rect) const;
  void SetResized(void (*onResize)()) { onResize_ = onResize; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  Window mainWindow_ = kNoWindow;
  void (*onResize_)() = nullptr;
};

// A modeless dialog on the desk: a raised frame, a caption bar above the dialog's own rectangle
// when it has a caption, and the client that holds its controls.
class PanelFrame : public QWidget {
 public:
  static constexpr int kBorder = 2;
  static constexpr int kCaptionHeight = 18;

  explicit PanelFrame(QWidget* desk);
  QWidget* Client() const { return client_; }
  // Places the frame so that its client covers the rectangle (desk coordinates).
  void Place(const QRect& clientRect, bool caption, const QString& title);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QWidget* client_;
  bool caption_ = false;
  QString title_;
};

class MainShell : public QMainWindow {
 public:
  explicit MainShell(Window window);
  Window LayerWindow() const { return window_; }
  Desk* TheDesk() const { return desk_; }
  // The desk stands for a screen of that size: exactly that size, or at least that size (larger
  // when the window is, scrolled when the window is smaller).
  void SetDeskSize(QSize size, bool exactly);
  // Rebuilds the menu bar when the window system's menu changed since the last time.
  void SyncMenu();
  // Rebuilds it whatever changed (after the menu was left open past a change).
  void ForgetMenu() { menuSerial_ = 0; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenu();

  Window window_;
  Desk* desk_;
  QScrollArea* room_;
  QPointer<QLabel> status_;
  std::uint32_t menuSerial_ = 0;
};
