// The lesson's menu bar and dialog templates: every dialog the lesson opens is there with the
// title and the controls its procedure relies on, and every template is well formed.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <string_view>

#include "ui_resources.h"

namespace {

const DialogTemplate* FindDialog(std::string_view name) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    if (name == dialog.name) return &dialog;
  }
  return nullptr;
}

const MenuTemplate* FindMenu(std::string_view name) {
  for (const MenuTemplate& menu : LessonResources().menus) {
    if (name == menu.name) return &menu;
  }
  return nullptr;
}

// The control with that ID, or for kNoControlId the unnumbered control of that kind and text.
const ControlTemplate* FindControl(const DialogTemplate& dialog, int id, ControlKind kind,
                                   std::string_view text) {
  for (const ControlTemplate& control : dialog.controls) {
    if (id != kNoControlId && control.id == id) return &control;
    if (id == kNoControlId && control.id == kNoControlId && control.kind == kind &&
        text == control.text) {
      return &control;
    }
  }
  return nullptr;
}

bool IsPushButton(ControlKind kind) {
  return kind == ControlKind::kPushButton || kind == ControlKind::kDefaultButton;
}

// The character after the single '&' of a label, upper-cased; 0 when there is none.
char Mnemonic(const char* label) {
  if (label == nullptr) return 0;
  for (const char* c = label; *c != '\0'; ++c) {
    if (c[0] == '&' && c[1] != '\0') return static_cast<char>(std::toupper(c[1]));
  }
  return 0;
}

TEST(DialogTemplates, EveryDialogTheLessonOpensHasItsTitle) {
  struct Case {
    const char* name;
    const char* title;
  };
  const Case cases[] = {
      {"WELCOME", ""},
      {"MINMAX", ""},
      {"2601", "Select a Decision Variable"},
      {"1603", ""},
      {"2000", "Select a hint topic"},
      {"7700", "Hints"},
      {"9700", "Solution"},
      {"2100", "Press Enter To Continue"},
      {"2110", "Press Enter To Continue"},
      {"2300", "Answer Too Long"},
      {"2350", "Section Too Long"},
      {"2400", "Incorrect Answer"},
      {"1700", "Explanation of Error"},
      {"1495", "Caution!"},
      {"2500", "Select a Constraint"},
      {"1900", "Problem Not Finished"},
      {"8700", "Constraints"},
      {"2620", "Your answer is incorrect."},
      {"PROBBOXHELP", "Problem Box Commands"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DialogTemplate* dialog = FindDialog(c.name);
    ASSERT_NE(dialog, nullptr);
    EXPECT_STREQ(dialog->title, c.title);
  }
  // Opened or kept without a title of their own in the lesson's texts: they must still exist.
  for (const char* name : {"1", "1800", "PROBCOMPLETE", "NOVARSLEFT", "PRINTCERT", "BADPRINT"}) {
    SCOPED_TRACE(name);
    EXPECT_NE(FindDialog(name), nullptr);
  }
}

TEST(DialogTemplates, ControlsCarryTheIdsKindsAndTextsTheProceduresUse) {
  using K = ControlKind;
  constexpr int kNone = kNoControlId;
  struct Row {
    const char* dialog;
    int id;
    ControlKind kind;
    const char* text;
  };
  const Row rows[] = {
      {"WELCOME", 999, K::kFrame, ""},
      {"WELCOME", 1, K::kOwnerDrawButton, ""},
      {"WELCOME", 102, K::kStatic, ""},
      {"1", 1, K::kDefaultButton, "&Ok"},
      {"MINMAX", kNone, K::kStatic, "Do you wish to minimize or maximize"},
      {"MINMAX", kNone, K::kStatic, "the objective function?"},
      {"MINMAX", 2210, K::kRadioButton, " &1 - Minimize"},
      {"MINMAX", 2220, K::kRadioButton, " &2 - Maximize"},
      {"MINMAX", 1, K::kDefaultButton, "O&k"},
      {"MINMAX", 2, K::kPushButton, "&Cancel"},
      {"2601", 1650, K::kStatic, ""},
      {"2601", 2010, K::kListBox, ""},
      {"2601", 1, K::kDefaultButton, "O&k"},
      {"2601", 2, K::kPushButton, "&Cancel"},
      {"2601", 1660, K::kPushButton, "&Finished"},
      {"1603", 1650, K::kStatic, ""},
      {"1603", 1610, K::kEdit, ""},
      {"1603", 1, K::kDefaultButton, "&Submit"},
      {"1603", 1420, K::kPushButton, "&Hint"},
      {"1603", 1660, K::kPushButton, "&Finished"},
      {"1603", 1620, K::kPushButton, "&Constraints"},
      {"1603", 1630, K::kPushButton, "&Variables"},
      {"1603", 2, K::kPushButton, "Q&uit"},
      {"1603", 30, K::kStatic, "<F1>:"},
      {"1603", 108, K::kStatic, "<F2>:"},
      {"1603", 111, K::kStatic, "<F3>:"},
      {"1603", 2700, K::kStatic, "\xC1"},
      {"1603", 2710, K::kStatic, "\xC0"},
      {"1603", 2720, K::kStatic, "\x82"},
      {"2000", 2010, K::kListBox, ""},
      {"2000", 1, K::kDefaultButton, "&Ok"},
      {"2000", 2, K::kPushButton, "&Cancel"},
      {"7700", 1710, K::kListBox, ""},
      {"7700", 1, K::kDefaultButton, "&Ok"},
      {"9700", 1710, K::kListBox, ""},
      {"9700", 1, K::kDefaultButton, "&Ok"},
      {"2100", kNone, K::kStatic, "All constraints have"},
      {"2100", kNone, K::kStatic, "been entered."},
      {"2100", 1, K::kDefaultButton, "&Ok"},
      {"2110", kNone, K::kStatic, "No formulations have"},
      {"2110", kNone, K::kStatic, "been entered yet."},
      {"2110", 1, K::kDefaultButton, "&Ok"},
      {"2300", kNone, K::kStatic, "Your answer was too long."},
      {"2300", kNone, K::kStatic, "Your answer has been truncated to"},
      {"2300", 2310, K::kStatic, ""},
      {"2300", kNone, K::kStatic, " characters."},
      {"2300", kNone, K::kStatic, "Press ENTER to continue."},
      {"2300", 1, K::kDefaultButton, "&Ok"},
      {"2350", kNone, K::kStatic, "The section of your formulation"},
      {"2350", kNone, K::kStatic, "containing the variable"},
      {"2350", 1650, K::kStatic, ""},
      {"2350", kNone, K::kStatic, "is too long and has been truncated"},
      {"2350", kNone, K::kStatic, "to 20 characters."},
      {"2350", kNone, K::kStatic, "Press ENTER to continue."},
      {"2350", 1, K::kDefaultButton, "&Ok"},
      {"2400", 2410, K::kRadioButton, "&Try Again"},
      {"2400", 2420, K::kRadioButton, "&Explanation of Error"},
      {"2400", 1, K::kDefaultButton, "&Ok"},
      {"1700", 1710, K::kListBox, ""},
      {"1700", 1, K::kDefaultButton, "&Ok"},
      {"1495", kNone, K::kStatic, "You have already entered the constraint for"},
      {"1495", 1490, K::kStatic, ""},
      {"1495", kNone, K::kStatic, "Press Enter To Continue"},
      {"1495", 1, K::kDefaultButton, "&Ok"},
      {"2500", 1650, K::kStatic, "Which constraint do you wish to enter?"},
      {"2500", 2010, K::kListBox, ""},
      {"2500", 1, K::kDefaultButton, "&Ok"},
      {"1900", kNone, K::kStatic, "These constraints were not entered:"},
      {"1900", 1910, K::kListBox, ""},
      {"1900", 1, K::kPushButton, "&Quit Problem"},
      {"1900", 2, K::kDefaultButton, "&Cancel"},
      {"8700", 1710, K::kListBox, ""},
      {"8700", 1, K::kDefaultButton, "&Ok"},
      {"PROBCOMPLETE", kNone, K::kStatic,
       "All constraints have been completed.  Would you like to view the complete formulation?"},
      {"PROBCOMPLETE", 6, K::kDefaultButton, "&Yes"},
      {"PROBCOMPLETE", 7, K::kPushButton, "&No"},
      {"2620", 2621, K::kStatic, ""},
      {"2620", 2622, K::kStatic, ""},
      {"2620", 2623, K::kStatic, ""},
      {"2620", 2624, K::kStatic, ""},
      {"2620", 1, K::kDefaultButton, "&Ok"},
      {"1800", 1650, K::kStatic, ""},
      {"1800", 1810, K::kListBox, ""},
      {"1800", 1, K::kDefaultButton, "&Ok"},
      {"NOVARSLEFT", kNone, K::kStatic, "There are no variables left"},
      {"NOVARSLEFT", kNone, K::kStatic, "to select.  Press the"},
      {"NOVARSLEFT", kNone, K::kStatic, "Finished button to continue."},
      {"NOVARSLEFT", 1, K::kDefaultButton, "&Ok"},
      {"PRINTCERT", kNone, K::kStatic, "Print your certificate?"},
      {"PRINTCERT", 1, K::kDefaultButton, "&Ok"},
      {"PRINTCERT", 2, K::kPushButton, "&Cancel"},
      {"BADPRINT", 1, K::kDefaultButton, "&Ok"},
      {"PROBBOXHELP", kNone, K::kStatic, "<CONTROL> + the arrow keys"},
      {"PROBBOXHELP", 1, K::kDefaultButton, "&Ok"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.dialog) + " control " + std::to_string(row.id) + " \"" + row.text +
                 "\"");
    const DialogTemplate* dialog = FindDialog(row.dialog);
    ASSERT_NE(dialog, nullptr);
    const ControlTemplate* control = FindControl(*dialog, row.id, row.kind, row.text);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind, row.kind);
    EXPECT_STREQ(control->text, row.text);
  }
}

// The transcript lists a dialog's controls in template order; the objective-sense panel must
// read as the documented example does.
TEST(DialogTemplates, MinMaxListsItsControlsInTheDocumentedOrder) {
  struct Expected {
    int id;
    const char* text;
  };
  const Expected expected[] = {
      {kNoControlId, "Do you wish to minimize or maximize"},
      {kNoControlId, "the objective function?"},
      {2210, " &1 - Minimize"},
      {2220, " &2 - Maximize"},
      {1, "O&k"},
      {2, "&Cancel"},
  };
  const DialogTemplate* dialog = FindDialog("MINMAX");
  ASSERT_NE(dialog, nullptr);
  ASSERT_EQ(dialog->controls.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(dialog->controls[i].id, expected[i].id);
    EXPECT_STREQ(dialog->controls[i].text, expected[i].text);
  }
}

TEST(DialogTemplates, StylesTheProceduresDependOn) {
  struct Case {
    const char* dialog;
    int id;
    std::uint32_t style;
  };
  const Case cases[] = {
      {"WELCOME", 1, kControlHidden},      // the picture button appears after the first paint
      {"WELCOME", 102, kControlHidden},    // so does the version
      {"2601", 2010, kControlListNotify},  // a double click picks a variable
      {"2500", 2010, kControlListNotify},  // a double click chooses a constraint
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dialog) + " control " + std::to_string(c.id));
    const DialogTemplate* dialog = FindDialog(c.dialog);
    ASSERT_NE(dialog, nullptr);
    const ControlTemplate* control = FindControl(*dialog, c.id, ControlKind::kStatic, "");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->style & c.style, c.style);
  }
}

TEST(DialogTemplates, OnlyTheWelcomeScreenHasNoCaption) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    EXPECT_EQ((dialog.style & kDialogNoCaption) != 0, std::string_view(dialog.name) == "WELCOME");
  }
}

TEST(DialogTemplates, PanelsStartHiddenAndFitBelowTheProblemBox) {
  for (const char* name : {"MINMAX", "2601", "1603"}) {
    SCOPED_TRACE(name);
    const DialogTemplate* dialog = FindDialog(name);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style & kDialogVisible, 0u);
    EXPECT_LE(dialog->width, kPanelMaxWidthUnits);
    EXPECT_LE(dialog->height, kPanelMaxHeightUnits);
  }
}

TEST(DialogTemplates, EveryDialogFitsTheSmallestMainWindow) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    EXPECT_GE(dialog.x, 0);
    EXPECT_GE(dialog.y, 0);
    EXPECT_LE(dialog.x + dialog.width, kLayoutWidthUnits);
    EXPECT_LE(dialog.y + dialog.height, kLayoutHeightUnits);
  }
}

TEST(DialogTemplates, NamesAreUnique) {
  std::set<std::string> names;
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    EXPECT_TRUE(names.insert(dialog.name).second) << dialog.name;
  }
}

TEST(DialogTemplates, ControlIdsAreUniqueWithinEachDialog) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    std::set<int> ids;
    for (const ControlTemplate& control : dialog.controls) {
      if (control.id == kNoControlId) continue;
      EXPECT_TRUE(ids.insert(control.id).second) << "control " << control.id;
    }
  }
}

TEST(DialogTemplates, EveryControlLiesInsideItsDialog) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    for (const ControlTemplate& control : dialog.controls) {
      SCOPED_TRACE(std::string(dialog.name) + " control " + std::to_string(control.id) + " \"" +
                   control.text + "\"");
      EXPECT_GT(control.width, 0);
      EXPECT_GT(control.height, 0);
      EXPECT_GE(control.x, 0);
      EXPECT_GE(control.y, 0);
      EXPECT_LE(control.x + control.width, dialog.width);
      EXPECT_LE(control.y + control.height, dialog.height);
    }
  }
}

// Enter presses the default button, so a dialog with push buttons needs exactly one.
TEST(DialogTemplates, EveryDialogWithButtonsHasExactlyOneDefault) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    int buttons = 0;
    int defaults = 0;
    for (const ControlTemplate& control : dialog.controls) {
      if (IsPushButton(control.kind)) ++buttons;
      if (control.kind == ControlKind::kDefaultButton) ++defaults;
    }
    EXPECT_EQ(defaults, buttons > 0 ? 1 : 0);
  }
}

// Reading order puts the buttons last: prompt, fields, then the buttons.
TEST(DialogTemplates, PushButtonsComeAfterEveryOtherControl) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    bool buttonSeen = false;
    for (const ControlTemplate& control : dialog.controls) {
      if (IsPushButton(control.kind)) {
        buttonSeen = true;
      } else if (control.kind != ControlKind::kOwnerDrawButton) {
        EXPECT_FALSE(buttonSeen) << "control " << control.id << " \"" << control.text << "\"";
      }
    }
  }
}

TEST(DialogTemplates, MnemonicsAreUniqueWithinEachDialog) {
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    std::set<char> seen;
    for (const ControlTemplate& control : dialog.controls) {
      const char mnemonic = Mnemonic(control.text);
      if (mnemonic != 0) {
        EXPECT_TRUE(seen.insert(mnemonic).second) << control.text;
      }
    }
  }
}

TEST(MenuTemplate, TavrinBarHasFiveItemsByPosition) {
  struct Case {
    const char* label;
    int command;
  };
  const Case cases[] = {
      {"&Practice", 110}, {"&Certification", 115}, {"&Options", 0}, {"&Help", 9}, {"&Quit", 140},
  };
  const MenuTemplate* menu = FindMenu("TAVRIN");
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->items.size(), std::size(cases));
  for (std::size_t position = 0; position < std::size(cases); ++position) {
    SCOPED_TRACE(position);
    const MenuBarItemTemplate& item = menu->items[position];
    EXPECT_STREQ(item.label, cases[position].label);
    EXPECT_EQ(item.command, cases[position].command);
    // Only "&Options" opens a pop-up; the others are commands.
    EXPECT_EQ(item.popup.empty(), item.command != 0);
  }
}

TEST(MenuTemplate, OptionsPopupItemsByCommand) {
  struct Case {
    const char* label;  // nullptr for the separator
    int command;
  };
  const Case cases[] = {
      {"&Calculator", 116},
      {nullptr, 0},
      {"&Print Certificate", 135},
      {"C&ertification Series", 101},
  };
  const MenuTemplate* menu = FindMenu("TAVRIN");
  ASSERT_NE(menu, nullptr);
  ASSERT_GE(menu->items.size(), 3u);
  const std::span<const MenuItemTemplate> popup = menu->items[2].popup;
  ASSERT_EQ(popup.size(), std::size(cases));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(popup[i].command, cases[i].command);
    if (cases[i].label == nullptr) {
      EXPECT_EQ(popup[i].label, nullptr);
    } else {
      EXPECT_STREQ(popup[i].label, cases[i].label);
    }
  }
}

TEST(MenuTemplate, MnemonicsAreUniqueOnEachLevel) {
  const MenuTemplate* menu = FindMenu("TAVRIN");
  ASSERT_NE(menu, nullptr);
  std::set<char> bar;
  for (const MenuBarItemTemplate& item : menu->items) {
    const char mnemonic = Mnemonic(item.label);
    EXPECT_NE(mnemonic, 0) << item.label;
    EXPECT_TRUE(bar.insert(mnemonic).second) << item.label;
    std::set<char> popup;
    for (const MenuItemTemplate& entry : item.popup) {
      if (entry.label == nullptr) continue;
      const char inner = Mnemonic(entry.label);
      EXPECT_NE(inner, 0) << entry.label;
      EXPECT_TRUE(popup.insert(inner).second) << entry.label;
    }
  }
}

}  // namespace
