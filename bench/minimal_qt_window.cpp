// The yardstick for the desktop's start-up: the least a Qt Widgets program does to show a window.
// It opens one window and ends at the first idle moment of its event loop, once the window has
// been shown, as `tavrin --exit-at-first-idle` ends with its welcome screen up.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.resize(640, 480);
  window.show();
  QTimer::singleShot(0, &application, &QCoreApplication::quit);
  return QApplication::exec();
}
