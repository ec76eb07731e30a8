// Modal dialogs and message boxes as Qt dialog windows over the main shell. They are never run
// with Qt's own modal loop: the window system's loop runs them, and a close from the window
// manager is a close request to the dialog. A dialog from a template has its controls at their
// pixel places; a message box lays out its icon, its text and its buttons as a native box does.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>

#include "backend.h"
#include "platform.h"

class DialogWindow : public QDialog {
 public:
  DialogWindow(QWidget* parent, Window window, bool caption);
  Window LayerWindow() const { return window_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  Window window_;
};

class BoxWindow : public DialogWindow {
 public:
  BoxWindow(QWidget* parent, Window window, const WindowView& view);
  // The box's buttons, in the window system's order, go into its row of buttons.
  QWidget* ButtonRow() const { return buttonRow_; }
  void AddButton(QWidget* button);

 private:
  QWidget* buttonRow_;
  QHBoxLayout* buttons_;
};
