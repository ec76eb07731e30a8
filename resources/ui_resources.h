// The lesson's menu bar and dialog templates as constant tables. Start-up registers them with the
// window system, which builds the menu and every dialog from them by name; tests read them here.
#pragma once

#include <span>

#include "resource_types.h"

// The space the templates are laid out for: the client area of the smallest main window (640 x 480
// pixels less caption and menu bar) in dialog units of the system font. The three panels share the
// part below the problem box, so each stays within the panel bounds.
inline constexpr int kLayoutWidthUnits = 426;
inline constexpr int kLayoutHeightUnits = 270;
inline constexpr int kPanelMaxWidthUnits = 400;
inline constexpr int kPanelMaxHeightUnits = 110;

// Every dialog template of the lesson: the three panels, the modal dialogs and notices.
std::span<const DialogTemplate> LessonDialogs();

// The menu bar "TAVRIN" of the main window.
std::span<const MenuTemplate> LessonMenus();

// Both of the above, as the window system takes them.
const ResourceSet& LessonResources();
