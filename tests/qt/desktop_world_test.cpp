// The desktop's world around the lesson, on Qt's offscreen platform: the help window, the
// calculator, a large screen with black around the lesson, the printer, a second copy of the
// lesson, and the lesson face's glyphs and widths. Screenshots go under the build folder.
#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <cerrno>
#include <iostream>

#include "desktop_printing.h"
#include "desktop_session.h"
#include "desktop_text.h"
#include "desktop_view.h"
#include "platform.h"

namespace {

bool ProcessAlive(qint64 pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A calculator of our own on the PATH: it notes each start and runs until it is ended.
class FakeCalculator {
 public:
  FakeCalculator() : path_(qgetenv("PATH")) {
    QFile script(dir_.filePath(QStringLiteral("xcalc")));
    script.open(QIODevice::WriteOnly);
    script.write(
        QStringLiteral("#!/bin/sh\necho $$ >> '%1'\nexec sleep 60\n").arg(StartsFile()).toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", dir_.path().toUtf8());
  }
  ~FakeCalculator() { qputenv("PATH", path_); }

  QString StartsFile() const { return dir_.filePath(QStringLiteral("starts")); }
  QList<qint64> Starts() const {
    QFile file(StartsFile());
    QList<qint64> pids;
    if (!file.open(QIODevice::ReadOnly)) return pids;
    for (const QByteArray& line : file.readAll().split('\n')) {
      if (!line.trimmed().isEmpty()) pids.append(line.trimmed().toLongLong());
    }
    return pids;
  }

 private:
  QTemporaryDir dir_;
  QByteArray path_;
};

}  // namespace

class DesktopWorldTest : public QObject {
  Q_OBJECT

 private slots:
  void helpOpensOurHelpWindowAndQuitClosesIt();
  void calculatorStartsOnceAndEndsWithTheLesson();
  void calculatorMissingShowsTheErrorCode();
  void largeScreenShowsBlackAroundTheLesson();
  void maximisedLessonFitsTheRoomOfTheDisplay();
  void printedPageIsWrittenByThePrinter();
  void secondCopyIsRefusedAndRaisesTheFirst();
  void lessonFaceBytesShowAsSigns_data();
  void lessonFaceBytesShowAsSigns();
  void lessonFaceIsMonospaced();
};

void DesktopWorldTest::helpOpensOurHelpWindowAndQuitClosesIt() {
  bool helpClosedAtQuit = false;
  SessionResult result = RunDesktopSession(
      {},
      {WaitForWelcome(), PassWelcome(), WaitForReady(),
       Do("choose Help", [] { ClickMenu("Help"); }),
       WaitFor("the help window",
               [] { return DesktopHelpWindow() && DesktopHelpWindow()->isVisible(); }),
       Do("read the help",
          [] {
            QWidget* help = DesktopHelpWindow();
            QCOMPARE(help->windowTitle(), QStringLiteral("Tavrin Help"));
            QVERIFY(FindTopWindow("", "Tavrin Help") != kNoWindow);
            auto* text = help->findChild<QTextBrowser*>();
            QVERIFY(text);
            QString page = text->toPlainText();
            for (const char* topic : {"How a lesson runs", "relation signs", "Certification"}) {
              QVERIFY2(page.contains(QLatin1String(topic)), topic);
            }
            QVERIFY(page.contains(QStringLiteral("≤")) && page.contains(QStringLiteral("≥")));
            SaveScreen("help");
            help->close();
          }),
       WaitFor("the help's window gone",
               [] { return FindTopWindow("", "Tavrin Help") == kNoWindow; }),
       Do("open the help again", [] { ClickMenu("Help"); }),
       WaitFor("the help window again",
               [] { return FindTopWindow("", "Tavrin Help") != kNoWindow; }),
       Do("quit", [] { ClickMenu("Quit"); }), WaitForBox(), AnswerBox(kIdOk)},
      [&helpClosedAtQuit] {
        helpClosedAtQuit = !DesktopHelpWindow() || !DesktopHelpWindow()->isVisible();
      });
  QVERIFY(result.allStepsTaken);
  QVERIFY(helpClosedAtQuit);
}

void DesktopWorldTest::calculatorStartsOnceAndEndsWithTheLesson() {
  FakeCalculator calculator;
  SessionResult result = RunDesktopSession(
      {},
      {WaitForWelcome(), PassWelcome(), WaitForReady(),
       Do("choose Calculator", [] { ClickMenu("Calculator"); }),
       WaitFor("the calculator's window",
               [] { return FindTopWindow("", "Calculator") != kNoWindow; }),
       Do("choose Calculator again", [] { ClickMenu("Calculator"); }),
       WaitFor("the calculator started", [&calculator] { return !calculator.Starts().isEmpty(); }),
       Do("quit", [] { ClickMenu("Quit"); }), WaitForBox(), AnswerBox(kIdOk)});
  QVERIFY(result.allStepsTaken);
  QList<qint64> starts = calculator.Starts();
  QCOMPARE(starts.size(), 1);  // the second choice only brought it forward
  // The lesson asked the calculator to close as it quit.
  QTRY_VERIFY_WITH_TIMEOUT(!ProcessAlive(starts.first()), 3000);
}

void DesktopWorldTest::calculatorMissingShowsTheErrorCode() {
  QTemporaryDir empty;
  QByteArray path = qgetenv("PATH");
  qputenv("PATH", empty.path().toUtf8());
  SessionResult result = RunDesktopSession(
      {}, {WaitForWelcome(), PassWelcome(), WaitForReady(),
           Do("choose Calculator", [] { ClickMenu("Calculator"); }), WaitForBox(),
           Do("read the error",
              [] {
                Window box = ShownBox();
                QCOMPARE(BoxCaption(box), QStringLiteral("Calculator error code:"));
                QCOMPARE(BoxText(box), QStringLiteral("2"));
                SaveScreen("calculator_error");
                ClickWidget(ControlWidget(box, kIdOk));
              }),
           WaitForReady()});
  qputenv("PATH", path);
  QVERIFY(result.allStepsTaken);
}

// 1280 x 1024 is beyond the largest design: the main window keeps 1024 x 768 in the middle and
// the rest of the screen is black.
void DesktopWorldTest::largeScreenShowsBlackAroundTheLesson() {
  SessionSetup setup;
  setup.screen = {1280, 1024, 96};
  SessionResult result = RunDesktopSession(
      setup, {WaitForWelcome(), PassWelcome(), WaitForReady(), Do("look at the screen", [] {
                QWidget* desk = DesktopDesk();
                QCOMPARE(desk->size(), QSize(1280, 1024));
                QImage screen = desk->grab().toImage();
                QCOMPARE(screen.pixelColor(20, 20), QColor(Qt::black));
                QCOMPARE(screen.pixelColor(1270, 1010), QColor(Qt::black));
                QVERIFY(screen.pixelColor(640, 512) != QColor(Qt::black));
                QVERIFY(screen.pixelColor(130, 130) != QColor(Qt::black));
                SaveScreen("large_screen");
              })});
  QVERIFY(result.allStepsTaken);
}

// Without a screen given, the lesson sees the room a maximised main window has on the display,
// and the shell is shown maximised: everything the lesson places lies on the desk.
void DesktopWorldTest::maximisedLessonFitsTheRoomOfTheDisplay() {
  SessionSetup setup;
  setup.fixedScreen = false;
  SessionResult result = RunDesktopSession(
      setup,
      {WaitForWelcome(), PassWelcome(), WaitForReady(),
       Do("choose Practice", [] { ClickMenu("Practice"); }),
       WaitFor("the objective-sense panel", [] { return ShownDialog("MINMAX") != kNoWindow; }),
       Do("look at the screen", [] {
         QVERIFY(DesktopShell()->isMaximized());
         ScreenMetrics screen = GetScreenMetrics();
         QRect display = QGuiApplication::primaryScreen()->availableGeometry();
         QCOMPARE(screen.width, display.width());
         QVERIFY(screen.height < display.height());
         // The desk takes the lesson's screen whole in height, and all but the last pixels of a
         // window frame across.
         QWidget* desk = DesktopDesk();
         QVERIFY(desk->height() >= screen.height && desk->width() >= screen.width - 16);
         QWidget* panel = WidgetOf(ShownDialog("MINMAX"));
         QVERIFY(desk->rect().contains(panel->geometry()));
         SaveScreen("maximised");
       })});
  QVERIFY(result.allStepsTaken);
}

// A page given to the printer comes out of it: here a PDF file, the print dialog skipped.
void DesktopWorldTest::printedPageIsWrittenByThePrinter() {
  QTemporaryDir dir;
  QString file = dir.filePath(QStringLiteral("page.pdf"));
  QByteArray path = file.toUtf8();
  SetDesktopPrintFile(std::string_view(path.constData(), path.size()));
  const std::string_view lines[] = {"Certificate of Ann",  "Certificate", "",
                                    "This certifies that", "Ann Smith",   "has passed the lesson"};
  PrintDesktopDocument(kNoWindow, lines);
  SetDesktopPrintFile({});
  QFile pdf(file);
  QVERIFY(pdf.open(QIODevice::ReadOnly));
  QByteArray contents = pdf.readAll();
  QVERIFY(contents.startsWith("%PDF"));
  QVERIFY(contents.size() > 1000);
}

// A second copy finds the first through the channel: it says the lesson is already running,
// asks the first copy to come forward and ends.
void DesktopWorldTest::secondCopyIsRefusedAndRaisesTheFirst() {
  SessionSetup setup;
  setup.channel =
      QDir::temp()
          .filePath(QStringLiteral("tavrin-second-copy-%1").arg(QCoreApplication::applicationPid()))
          .toStdString();
  QProcess second;
  QString channel = QString::fromStdString(setup.channel);
  SessionResult result = RunDesktopSession(
      setup, {WaitForWelcome(), PassWelcome(), WaitForReady(),
              Do("start a second copy",
                 [&] {
                   second.setProcessChannelMode(QProcess::SeparateChannels);
                   second.start(QCoreApplication::applicationFilePath(),
                                {QStringLiteral("--second-copy"), channel});
                 }),
              WaitFor("the second copy done and the raise request",
                      [&] {
                        return second.state() == QProcess::NotRunning && DesktopRaiseRequests() > 0;
                      }),
              Do("read what the second copy said", [&] {
                QCOMPARE(second.exitCode(), 0);
                QString said = QString::fromUtf8(second.readAllStandardOutput());
                QVERIFY2(said.contains(QStringLiteral("The application that you have selected is "
                                                      "already running.")),
                         qPrintable(said));
              })});
  QVERIFY(result.allStepsTaken);
}

void DesktopWorldTest::lessonFaceBytesShowAsSigns_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("lessonFace");
  QTest::addColumn<QString>("shown");
  QTest::newRow("at least, at most, third sign")
      << QByteArray("2p \xC0 1\xC1\x82") << true << QStringLiteral("2p ≥ 1≤≠");
  QTest::newRow("marker glyphs") << QByteArray("\xD6\xD7\xD8\xD9") << true
                                 << QStringLiteral("↑│└─");
  QTest::newRow("other bytes stay Latin-1")
      << QByteArray("\xE9\xE5") << true << QStringLiteral("éå");
  QTest::newRow("another face is Latin-1")
      << QByteArray("\xC0\xC1\xD6") << false << QStringLiteral("ÀÁÖ");
}

void DesktopWorldTest::lessonFaceBytesShowAsSigns() {
  QFETCH(QByteArray, bytes);
  QFETCH(bool, lessonFace);
  QFETCH(QString, shown);
  QCOMPARE(DisplayText(std::string_view(bytes.constData(), bytes.size()), lessonFace), shown);
}

// Markers line up under the items they point at only when every byte the lesson face draws is
// as wide as every other; the system face is proportional; control bytes take no room.
void DesktopWorldTest::lessonFaceIsMonospaced() {
  CharWidths lesson{};
  DesktopCharWidths("custom", 15, lesson);
  QVERIFY(lesson['p'] > 0);
  for (int byte :
       {int(' '), int('0'), int('W'), int('i'), 0xC0, 0xC1, 0x82, 0xD6, 0xD7, 0xD8, 0xD9}) {
    QCOMPARE(lesson[byte], lesson['p']);
  }
  QCOMPARE(lesson[0x0A], 0);
  CharWidths system{};
  DesktopCharWidths("System", 16, system);
  QVERIFY(system['i'] < system['W']);
  CharWidths larger{};
  DesktopCharWidths("custom", 21, larger);
  QVERIFY(larger['p'] > lesson['p']);
}

// The second copy of the lesson, started by secondCopyIsRefusedAndRaisesTheFirst: it answers the
// box it gets with OK, after writing its text to standard output.
int RunSecondCopy(const char* channel) {
  SessionSetup setup;
  setup.channel = channel;
  setup.student = "Ann";
  SessionResult result = RunDesktopSession(setup, {WaitForBox(), Do("say and answer", [] {
                                                     std::cout << BoxText(ShownBox()).toStdString()
                                                               << std::endl;
                                                     ClickWidget(ControlWidget(ShownBox(), kIdOk));
                                                   })});
  return result.allStepsTaken ? result.exitCode : 1;
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc == 3 && QByteArray(argv[1]) == "--second-copy") return RunSecondCopy(argv[2]);
  DesktopWorldTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "desktop_world_test.moc"
