#include "control_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionComplex>
#include <QStyledItemDelegate>
#include <array>

#include "desktop_input.h"
#include "desktop_text.h"
#include "suite_pictures.h"

namespace {

constexpr char kFontProperty[] = "tavrinFont";
constexpr char kScrollColourProperty[] = "tavrinScrollColour";
constexpr int kRowTextIndent = 2;  // pixels before a row's text, within what wrapping leaves

bool layerChanged = false;

// ---- Widgets ----------------------------------------------------------------------------------

// An owner-drawn button: the picture its dialog drew onto it, pushed down a little while pressed.
class PictureButton : public QAbstractButton {
 public:
  explicit PictureButton(QWidget* parent) : QAbstractButton(parent) {}
  void SetPicture(const QPixmap& picture) {
    picture_ = picture;
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    int shift = isDown() ? 2 : 0;
    painter.drawPixmap(shift, shift, picture_);
  }

 private:
  QPixmap picture_;
};

// A list box: rows one line of its font high, the selected row highlighted, nothing elided, so
// that a wrapped line shows whole.
class LineList;

class RowDelegate : public QStyledItemDelegate {
 public:
  explicit RowDelegate(LineList* list);
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  LineList* list_;
};

class LineList : public QListWidget {
 public:
  LineList(QWidget* parent, Window window) : QListWidget(parent), window_(window) {
    setItemDelegate(new RowDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setTextElideMode(Qt::ElideNone);
    setUniformItemSizes(true);
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
      // Scrolled by the student: the list box's top row follows.
      if (syncing_ || top == ListTopRow(window_)) return;
      ListSetTopRow(window_, top);
      NoteLayerChanged();
    });
  }

  void Sync(const WindowView& view) {
    syncing_ = true;
    rowHeight_ = LineHeight(view.font);
    SyncRows(IsLessonFont(view.font));
    selected_ = ListSelection(window_);
    verticalScrollBar()->setValue(ListTopRow(window_));
    if (updatesEnabled() != view.redraw) setUpdatesEnabled(view.redraw);
    viewport()->update();
    syncing_ = false;
  }

  int RowHeight() const { return rowHeight_; }
  int Selected() const { return selected_; }

 private:
  void SyncRows(bool lessonFace) {
    std::array<std::string_view, kMaxListRows> rows{};
    int count = ListRows(window_, rows);
    QStringList texts;
    texts.reserve(count);
    for (int i = 0; i < count; ++i) texts.append(DisplayText(rows[i], lessonFace));
    if (texts == shown_) return;
    shown_ = texts;
    clear();
    addItems(texts);
    // Laid out now, so that the scroll bar's range takes the top row about to be set.
    doItemsLayout();
  }

  Window window_;
  QStringList shown_;
  int rowHeight_ = 16;
  int selected_ = -1;
  bool syncing_ = false;
};

RowDelegate::RowDelegate(LineList* list) : QStyledItemDelegate(list), list_(list) {}

void RowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
  bool selected = index.row() == list_->Selected();
  const QPalette& colours = option.palette;
  if (selected) painter->fillRect(option.rect, colours.highlight());
  painter->setPen(selected ? colours.highlightedText().color() : colours.text().color());
  painter->setFont(option.font);
  painter->drawText(option.rect.adjusted(kRowTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                    index.data().toString());
}

QSize RowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
  return {list_->viewport()->width(), list_->RowHeight()};
}

// ---- Filling them -----------------------------------------------------------------------------

Qt::Alignment StaticAlignment(std::uint32_t controlStyle) {
  Qt::Alignment across = Qt::AlignLeft;
  if (controlStyle & kControlCentred) across = Qt::AlignHCenter;
  if (controlStyle & kControlRight) across = Qt::AlignRight;
  return across | Qt::AlignTop;
}

QPixmap PictureOf(const WindowView& view) {
  if (view.pictureName.empty()) return {};
  return SuitePicture(view.pictureLibrary, view.pictureName);
}

void SyncFont(QWidget* widget, const WindowView& view) {
  auto font = static_cast<qulonglong>(view.font);
  QVariant known = widget->property(kFontProperty);
  if (known.isValid() && known.toULongLong() == font) return;
  widget->setProperty(kFontProperty, font);
  bool dialogText = view.font == kNoFont && view.controlKind != ControlKind::kListBox;
  widget->setFont(dialogText ? DialogTextFont() : FontOfWindow(view.font));
}

void SyncStatic(QLabel* label, const WindowView& view) {
  QPixmap picture = PictureOf(view);
  if (!picture.isNull()) {
    label->setScaledContents(view.pictureStretched);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setPixmap(picture);
    return;
  }
  QString text = WithoutMnemonics(DisplayText(view.text, IsLessonFont(view.font)));
  if (label->text() != text || !label->pixmap().isNull()) label->setText(text);
  label->setAlignment(StaticAlignment(view.controlStyle));
}

void SyncEdit(QLineEdit* edit, const WindowView& view, Window window) {
  QString text = DisplayText(view.text, IsLessonFont(view.font));
  if (edit->text() != text) edit->setText(text);
  edit->setCursorPosition(EditCaret(window));
}

template <typename Button>
void SyncButtonText(Button* button, const WindowView& view) {
  QString text = DisplayText(view.text, IsLessonFont(view.font));
  if (button->text() != text) button->setText(text);
}

QWidget* NewLabel(const WindowView& view, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  if (view.controlKind == ControlKind::kFrame) {
    label->setFrameShape(QFrame::Box);
    label->setLineWidth(1);
  }
  return label;
}

QWidget* NewEdit(Window window, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setContextMenuPolicy(Qt::NoContextMenu);
  // Plain key events, not an input method's composition: the window system types the bytes.
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  edit->setDragEnabled(false);
  edit->setAcceptDrops(false);
  WatchEditClicks(edit, window);
  return edit;
}

QWidget* NewPushButton(const WindowView& view, Window window, QWidget* parent) {
  auto* button = new QPushButton(parent);
  button->setAutoDefault(false);
  button->setDefault(view.controlKind == ControlKind::kDefaultButton);
  QObject::connect(button, &QPushButton::clicked, button, [window] { QueueClick(window); });
  return button;
}

QWidget* NewPictureButton(Window window, QWidget* parent) {
  auto* button = new PictureButton(parent);
  QObject::connect(button, &QAbstractButton::clicked, button, [window] { QueueClick(window); });
  return button;
}

// A radio button's check is the dialog's to set: a click is undone at once and reported.
QWidget* NewRadioButton(Window window, QWidget* parent) {
  auto* radio = new QRadioButton(parent);
  radio->setAutoExclusive(false);
  QObject::connect(radio, &QRadioButton::clicked, radio, [radio, window](bool checked) {
    radio->setChecked(!checked);
    QueueClick(window);
  });
  return radio;
}

QWidget* NewList(Window window, QWidget* parent) {
  auto* list = new LineList(parent, window);
  WatchListClicks(list, window);
  return list;
}

// The scroll bars of list boxes: drawn by the application's style, then their track (the pages
// either side of the thumb) painted over in the window system's scroll-bar colour.
class TrackStyle : public QProxyStyle {
 public:
  TrackStyle() : QProxyStyle() {}
  void SetColour(const QColor& colour) { colour_ = colour; }
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar) return;
    for (SubControl page : {SC_ScrollBarAddPage, SC_ScrollBarSubPage}) {
      QRect track = subControlRect(control, option, page, widget);
      if (track.isValid()) painter->fillRect(track, colour_);
    }
  }

 private:
  QColor colour_;
};

TrackStyle* TheTrackStyle() {
  static QPointer<TrackStyle> style;
  if (!style) {
    style = new TrackStyle;
    style->setParent(qApp);
  }
  return style;
}

}  // namespace

QWidget* CreateControlWidget(const WindowView& view, Window window, QWidget* parent) {
  QWidget* widget = nullptr;
  switch (view.controlKind) {
    case ControlKind::kStatic:
    case ControlKind::kFrame:
      widget = NewLabel(view, parent);
      break;
    case ControlKind::kEdit:
      widget = NewEdit(window, parent);
      break;
    case ControlKind::kPushButton:
    case ControlKind::kDefaultButton:
      widget = NewPushButton(view, window, parent);
      break;
    case ControlKind::kOwnerDrawButton:
      widget = NewPictureButton(window, parent);
      break;
    case ControlKind::kRadioButton:
      widget = NewRadioButton(window, parent);
      break;
    case ControlKind::kListBox:
      widget = NewList(window, parent);
      break;
  }
  widget->setFocusPolicy(Qt::NoFocus);
  TagWidget(widget, window);
  return widget;
}

void SyncControlWidget(QWidget* widget, const WindowView& view, Window window) {
  SyncFont(widget, view);
  if (widget->isEnabled() != view.enabled) widget->setEnabled(view.enabled);
  switch (view.controlKind) {
    case ControlKind::kStatic:
    case ControlKind::kFrame:
      SyncStatic(static_cast<QLabel*>(widget), view);
      break;
    case ControlKind::kEdit:
      SyncEdit(static_cast<QLineEdit*>(widget), view, window);
      break;
    case ControlKind::kPushButton:
    case ControlKind::kDefaultButton:
      SyncButtonText(static_cast<QPushButton*>(widget), view);
      break;
    case ControlKind::kOwnerDrawButton:
      static_cast<PictureButton*>(widget)->SetPicture(PictureOf(view));
      break;
    case ControlKind::kRadioButton: {
      auto* radio = static_cast<QRadioButton*>(widget);
      SyncButtonText(radio, view);
      if (radio->isChecked() != view.checked) radio->setChecked(view.checked);
      break;
    }
    case ControlKind::kListBox:
      static_cast<LineList*>(widget)->Sync(view);
      break;
  }
}

void ApplyScrollBarColour(QWidget* widget, Colour colour) {
  auto* list = qobject_cast<QListWidget*>(widget);
  if (!list) return;
  QColor track(colour.r, colour.g, colour.b);
  QVariant known = list->property(kScrollColourProperty);
  if (known.isValid() && known.value<QColor>() == track) return;
  list->setProperty(kScrollColourProperty, track);
  TrackStyle* style = TheTrackStyle();
  style->SetColour(track);
  list->verticalScrollBar()->setStyle(style);
  list->verticalScrollBar()->update();
}

bool TakeLayerChanged() {
  bool changed = layerChanged;
  layerChanged = false;
  return changed;
}

void NoteLayerChanged() {
  layerChanged = true;
}
