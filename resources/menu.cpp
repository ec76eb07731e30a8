// The main window's menu bar. The pop-up's separator carries command 0 so that the status line of
// a certification run can take its place and give it back.
#include "ui_resources.h"

namespace {

constexpr MenuItemTemplate kOptionsItems[] = {
    {"&Calculator", 116},
    {nullptr, 0},  // separator; shows the status line in certification mode
    {"&Print Certificate", 135},
    {"C&ertification Series", 101},
};

// Positions 0 to 4: the lesson greys and enables the items by these positions.
constexpr MenuBarItemTemplate kTavrinBar[] = {
    {"&Practice", 110, {}}, {"&Certification", 115, {}}, {"&Options", 0, kOptionsItems},
    {"&Help", 9, {}},       {"&Quit", 140, {}},
};

constexpr MenuTemplate kMenus[] = {
    {"TAVRIN", kTavrinBar},
};

}  // namespace

std::span<const MenuTemplate> LessonMenus() {
  return kMenus;
}
