// The yardstick for the desktop's start-up: the least a Qt Widgets program does to show a window.
// It opens one window and, at the first idle moment of its event loop, finishes the paint the
// showing posted and ends, as `tavrin --exit-at-first-idle` ends with its welcome screen painted.
// Without that last turn of the loop it would end before its window is ever drawn.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(640, 480);
  window.show();
  QTimer::singleShot(0, &application, [] {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::quit();
  });
  return QApplication::exec();
}
