// Start-up and the main loop: the lesson's entry point, the screen measurement that sizes every
// window, the window classes and the lesson font. The program's main() calls LessonMain once the
// window system has its back end and resources; tests call the screen arithmetic directly.
#pragma once

#include "platform.h"

// Runs the lesson from the student's record to the end of the message loop. Returns 0 when
// start-up stops early, else the code of the quit message.
int LessonMain();

// ---- The screen -------------------------------------------------------------------------------

// The base screen every window is designed for.
inline constexpr int kBaseScreenWidth = 640;
inline constexpr int kBaseScreenHeight = 480;
// Scales above this one are capped to it, and the screen counts as large.
inline constexpr float kMaxScale = 1.6f;
// The lesson font is 14 pixels high on the base screen, times fontScale.
inline constexpr int kLessonFontBaseHeight = 14;

struct ScreenScale {
  float xScale;
  float yScale;
  float overallScale;
  float fontScale;  // 0: the lesson font keeps its face's own height
  int largeFonts;
  int largeScreen;
};

// The scale factors and flags of a screen of that size and resolution (pixels per logical inch).
ScreenScale ComputeScreenScale(int width, int height, int dpi);

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
};

// Where the main window stands: the base size scaled, centred on the screen.
PixelRect ComputeMainGeometry(const ScreenScale& scale, int screenWidth, int screenHeight);

// The problem box inside the main window: 95% of its width, centred, 35% of its height, 10 pixels
// from the top.
PixelRect ComputeProblemBoxGeometry(int mainWindowWidth, int mainWindowHeight);

// The lesson font's height for a font scale; 0 asks for the face's default height.
int LessonFontHeight(float scale);

// Reads the screen from the window system and sets xScale, yScale, overallScale, fontScale,
// largeFonts and largeScreen.
void MeasureScreen();

// Registers the main window's class and, on a large screen, the background window's class.
// 1 on success, 0 when a class cannot be registered.
int RegisterLessonClasses();

// Called for each installed font of face "custom": creates lessonFont from it at the scaled
// height. Returns 1 to go on enumerating.
int FontFunc(const FontDescription& font, LParam value);
