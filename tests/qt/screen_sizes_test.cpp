// The lesson on the larger screens students have, on Qt's offscreen platform: a practice problem
// started at each size, the objective-sense panel over the problem box, every line and control
// inside its window and wide enough for its text. Screenshots go under the build folder
// (tests/qt/screenshots/practice_WxH.png).
#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <array>

#include "backend.h"
#include "desktop_session.h"
#include "desktop_view.h"
#include "platform.h"

namespace {

// The problem box: the list box the main window holds.
QListWidget* ProblemBoxWidget() {
  std::array<Window, kMaxWindows> windows{};
  int count = ListWindows(windows);
  for (int i = 0; i < count; ++i) {
    if (GetParent(windows[i]) != MainWindow()) continue;
    if (auto* box = qobject_cast<QListWidget*>(WidgetOf(windows[i]))) return box;
  }
  return nullptr;
}

// A control's text needs this much room: a push button its text and a little margin (its size
// hint is the style's least button width), a radio button or label its own size hint (a
// word-wrapped label takes the room it is given).
constexpr int kButtonTextMargin = 8;

int WidthNeeded(const QWidget* control) {
  if (auto* button = qobject_cast<const QPushButton*>(control)) {
    QString text = button->text().remove(QLatin1Char('&'));
    return button->fontMetrics().horizontalAdvance(text) + kButtonTextMargin;
  }
  if (auto* label = qobject_cast<const QLabel*>(control); label && label->wordWrap()) return 0;
  if (qobject_cast<const QAbstractButton*>(control) || qobject_cast<const QLabel*>(control)) {
    return control->sizeHint().width();
  }
  return 0;
}

QString Described(const QWidget* control) {
  QString text;
  if (auto* label = qobject_cast<const QLabel*>(control)) text = label->text();
  if (auto* button = qobject_cast<const QAbstractButton*>(control)) text = button->text();
  return QStringLiteral("%1 \"%2\" %3 wide, needs %4")
      .arg(QLatin1String(control->metaObject()->className()), text)
      .arg(control->width())
      .arg(WidthNeeded(control));
}

}  // namespace

class ScreenSizesTest : public QObject {
  Q_OBJECT

 private slots:
  void practiceProblemFitsLargerScreens_data();
  void practiceProblemFitsLargerScreens();
};

void ScreenSizesTest::practiceProblemFitsLargerScreens_data() {
  QTest::addColumn<int>("width");
  QTest::addColumn<int>("height");
  QTest::newRow("1024x768") << 1024 << 768;
  QTest::newRow("1920x1080") << 1920 << 1080;
}

void ScreenSizesTest::practiceProblemFitsLargerScreens() {
  QFETCH(int, width);
  QFETCH(int, height);
  SessionSetup setup;
  setup.screen = {width, height, 96};
  QString shot = QStringLiteral("practice_%1x%2").arg(width).arg(height);
  SessionResult result = RunDesktopSession(
      setup,
      {WaitForWelcome(), PassWelcome(), WaitForReady(),
       Do("choose Practice", [] { ClickMenu("Practice"); }),
       WaitFor("the objective-sense panel", [] { return ShownDialog("MINMAX") != kNoWindow; }),
       Do("look at the problem", [&] {
         QWidget* desk = DesktopDesk();
         QCOMPARE(desk->size(), QSize(width, height));
         QListWidget* box = ProblemBoxWidget();
         QVERIFY(box && box->isVisible());
         QVERIFY(desk->rect().contains(box->geometry()));
         QVERIFY(box->count() > 3);
         QFontMetrics metrics(box->font());
         for (int row = 0; row < box->count(); ++row) {
           int advance = metrics.horizontalAdvance(box->item(row)->text());
           QVERIFY2(advance + 2 <= box->viewport()->width(), qPrintable(box->item(row)->text()));
         }
         // The panel lies on the screen, its controls inside its client area and each as wide
         // as its text needs.
         Window panel = ShownDialog("MINMAX");
         QWidget* client = ControlWidget(panel, 2210)->parentWidget();
         QVERIFY(client->window() == DesktopShell());
         QVERIFY(desk->rect().contains(QRect(client->mapTo(desk, QPoint(0, 0)), client->size())));
         int controls = 0;
         for (QWidget* control : client->findChildren<QWidget*>()) {
           if (!control->isVisible() || control->parentWidget() != client) continue;
           ++controls;
           QVERIFY2(client->rect().contains(control->geometry()), qPrintable(Described(control)));
           QVERIFY2(WidthNeeded(control) <= control->width(), qPrintable(Described(control)));
         }
         QCOMPARE(controls, 6);  // two lines of text, two choices, two buttons
         SaveScreen(shot);
       })});
  QVERIFY(result.allStepsTaken);
}

QTEST_MAIN(ScreenSizesTest)

#include "screen_sizes_test.moc"
