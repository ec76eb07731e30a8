// The application's style on the desktop: the platform's own style, with the one picture Qt would
// otherwise read from an image file at every start drawn in code. qt_backend installs it once Qt
// is up.
#pragma once

#include <Qt>

class QIcon;
class QPalette;

// Makes the application's style a proxy of the style Qt chose, unless it already is one. Call
// with the QApplication up and before any window of the lesson is created.
void InstallLessonStyle();

// The chevrons of a menu bar's overflow button ("»", or "«" right to left), in the palette's
// button-text colour, at the sizes the platform's style offers its own.
QIcon MenuOverflowIcon(const QPalette& palette, Qt::LayoutDirection direction);
