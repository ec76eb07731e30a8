#include "dialog_windows.h"

#include <QCloseEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "desktop_input.h"
#include "desktop_text.h"

namespace {

constexpr int kBoxMargin = 16;
constexpr int kBoxSpacing = 14;
constexpr int kBoxIconSize = 32;
constexpr int kBoxButtonWidth = 75;
constexpr int kBoxButtonHeight = 25;
constexpr int kBoxTextWidth = 440;  // a longer message wraps, unless the box is wider

QStyle::StandardPixmap IconOf(std::uint32_t boxStyle) {
  switch (boxStyle & kBoxIconMask) {
    case kBoxIconInformation:
      return QStyle::SP_MessageBoxInformation;
    case kBoxIconExclamation:
      return QStyle::SP_MessageBoxWarning;
    case kBoxIconQuestion:
      return QStyle::SP_MessageBoxQuestion;
    default:
      return QStyle::SP_CustomBase;
  }
}

}  // namespace

DialogWindow::DialogWindow(QWidget* parent, Window window, bool caption)
    : QDialog(parent), window_(window) {
  Qt::WindowFlags flags =
      Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
  if (!caption) flags = Qt::Dialog | Qt::FramelessWindowHint;
  setWindowFlags(flags);
  setModal(false);
  setSizeGripEnabled(false);
  setFocusPolicy(Qt::NoFocus);
  TagWidget(this, window);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  QueueClose(window_);
}

BoxWindow::BoxWindow(QWidget* parent, Window window, const WindowView& view)
    : DialogWindow(parent, window, true),
      buttonRow_(new QWidget(this)),
      buttons_(new QHBoxLayout(buttonRow_)) {
  setWindowTitle(DisplayText(view.caption, false));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBoxMargin, kBoxMargin, kBoxMargin, kBoxMargin);
  layout->setSpacing(kBoxSpacing);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* message = new QHBoxLayout;
  message->setSpacing(kBoxSpacing);
  QStyle::StandardPixmap icon = IconOf(view.boxStyle);
  if (icon != QStyle::SP_CustomBase) {
    auto* picture = new QLabel(this);
    picture->setPixmap(style()->standardIcon(icon).pixmap(kBoxIconSize, kBoxIconSize));
    picture->setAlignment(Qt::AlignTop);
    message->addWidget(picture, 0, Qt::AlignTop);
  }
  // One line as long as the window system made the box wide enough for it (the icon comes on
  // top); wrapped beyond.
  auto* text = new QLabel(DisplayText(view.text, false), this);
  text->setTextFormat(Qt::PlainText);
  int room = std::max(view.rect.width - 2 * kBoxMargin, kBoxTextWidth);
  text->setWordWrap(text->sizeHint().width() > room);
  if (text->wordWrap()) text->setFixedWidth(room);
  text->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  message->addWidget(text, 1);
  layout->addLayout(message);

  // At least as wide as the window system made the box.
  buttonRow_->setMinimumWidth(std::max(0, view.rect.width - 2 * kBoxMargin));
  buttons_->setContentsMargins(0, 0, 0, 0);
  buttons_->addStretch(1);
  buttons_->addStretch(1);
  layout->addWidget(buttonRow_);
}

void BoxWindow::AddButton(QWidget* button) {
  button->setMinimumSize(kBoxButtonWidth, kBoxButtonHeight);
  buttons_->insertWidget(buttons_->count() - 1, button);
}
