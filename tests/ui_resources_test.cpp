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

// Titles the session transcripts and the dialog tests do not show.
TEST(DialogTemplates, EveryDialogTheLessonOpensHasItsTitle) {
  struct Case {
    const char* name;
    const char* title;
  };
  const Case cases[] = {
      {"WELCOME", ""},
      {"MINMAX", ""},
      {"1603", ""},
      {"2100", "Press Enter To Continue"},
      {"1700", "Explanation of Error"},
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

// Texts and kinds of the controls whose IDs the procedures use; controls known only by ID, and
// texts the session transcripts show, are left to the dialog tests and the sessions.
TEST(DialogTemplates, ControlsCarryTheKindsAndTextsTheProceduresUse) {
  using K = ControlKind;
  constexpr int kNone = kNoControlId;
  struct Row {
    const char* dialog;
    int id;
    ControlKind kind;
    const char* text;
  };
  const Row rows[] = {
      {"2601", 1, K::kDefaultButton, "O&k"},
      {"2601", 2, K::kPushButton, "&Cancel"},
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
      {"2000", 2, K::kPushButton, "&Cancel"},
      {"2100", kNone, K::kStatic, "been entered."},
      {"2110", kNone, K::kStatic, "been entered yet."},
      {"2300", kNone, K::kStatic, "Your answer was too long."},
      {"2300", kNone, K::kStatic, "Press ENTER to continue."},
      {"2350", kNone, K::kStatic, "The section of your formulation"},
      {"2350", kNone, K::kStatic, "is too long and has been truncated"},
      {"2350", kNone, K::kStatic, "Press ENTER to continue."},
      {"2400", 2410, K::kRadioButton, "&Try Again"},
      {"2400", 2420, K::kRadioButton, "&Explanation of Error"},
      {"1495", kNone, K::kStatic, "Press Enter To Continue"},
      {"2500", 1650, K::kStatic, "Which constraint do you wish to enter?"},
      {"1900", 1, K::kPushButton, "&Quit Problem"},
      {"1900", 2, K::kDefaultButton, "&Cancel"},
      {"PROBCOMPLETE", kNone, K::kStatic,
       "All constraints have been completed.  Would you like to view the complete formulation?"},
      {"PROBCOMPLETE", 6, K::kDefaultButton, "&Yes"},
      {"PROBCOMPLETE", 7, K::kPushButton, "&No"},
      {"NOVARSLEFT", kNone, K::kStatic, "to select.  Press the"},
      {"NOVARSLEFT", kNone, K::kStatic, "Finished button to continue."},
      {"PRINTCERT", kNone, K::kStatic, "Print your certificate?"},
      {"PRINTCERT", 2, K::kPushButton, "&Cancel"},
      {"PROBBOXHELP", kNone, K::kStatic, "<CONTROL> + the arrow keys"},
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
  // The dialogs answered with "&Ok" alone or besides others.
  for (const char* name :
       {"1", "2000", "7700", "9700", "2100", "2110", "2300", "2350", "2400", "1700", "1495", "2500",
        "8700", "2620", "1800", "NOVARSLEFT", "PRINTCERT", "BADPRINT", "PROBBOXHELP"}) {
    SCOPED_TRACE(name);
    const DialogTemplate* dialog = FindDialog(name);
    ASSERT_NE(dialog, nullptr);
    const ControlTemplate* ok = FindControl(*dialog, 1, K::kDefaultButton, "");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->kind, K::kDefaultButton);
    EXPECT_STREQ(ok->text, "&Ok");
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

// The welcome screen's picture button and version appear only after its first paint.
TEST(DialogTemplates, WelcomeButtonAndVersionStartHidden) {
  const DialogTemplate* welcome = FindDialog("WELCOME");
  ASSERT_NE(welcome, nullptr);
  for (int id : {1, 102}) {
    SCOPED_TRACE(id);
    const ControlTemplate* control = FindControl(*welcome, id, ControlKind::kStatic, "");
    ASSERT_NE(control, nullptr);
    EXPECT_NE(control->style & kControlHidden, 0u);
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

// Every template: a unique name, a caption unless it is the welcome screen, room in the smallest
// main window, unique control IDs and mnemonics, every control inside, exactly one default button
// where there are push buttons (Enter presses it), and the buttons last in reading order.
TEST(DialogTemplates, EveryTemplateIsWellFormed) {
  std::set<std::string> names;
  for (const DialogTemplate& dialog : LessonResources().dialogs) {
    SCOPED_TRACE(dialog.name);
    EXPECT_TRUE(names.insert(dialog.name).second);
    EXPECT_EQ((dialog.style & kDialogNoCaption) != 0, std::string_view(dialog.name) == "WELCOME");
    EXPECT_GE(dialog.x, 0);
    EXPECT_GE(dialog.y, 0);
    EXPECT_LE(dialog.x + dialog.width, kLayoutWidthUnits);
    EXPECT_LE(dialog.y + dialog.height, kLayoutHeightUnits);
    std::set<int> ids;
    std::set<char> mnemonics;
    int buttons = 0;
    int defaults = 0;
    bool buttonSeen = false;
    for (const ControlTemplate& control : dialog.controls) {
      SCOPED_TRACE(std::string("control ") + std::to_string(control.id) + " \"" + control.text +
                   "\"");
      if (control.id != kNoControlId) {
        EXPECT_TRUE(ids.insert(control.id).second);
      }
      const char mnemonic = Mnemonic(control.text);
      if (mnemonic != 0) {
        EXPECT_TRUE(mnemonics.insert(mnemonic).second);
      }
      EXPECT_GT(control.width, 0);
      EXPECT_GT(control.height, 0);
      EXPECT_GE(control.x, 0);
      EXPECT_GE(control.y, 0);
      EXPECT_LE(control.x + control.width, dialog.width);
      EXPECT_LE(control.y + control.height, dialog.height);
      if (IsPushButton(control.kind)) {
        ++buttons;
        buttonSeen = true;
      } else if (control.kind != ControlKind::kOwnerDrawButton) {
        EXPECT_FALSE(buttonSeen) << "after a push button";
      }
      if (control.kind == ControlKind::kDefaultButton) ++defaults;
    }
    EXPECT_EQ(defaults, buttons > 0 ? 1 : 0);
  }
}

// The menu's labels, commands and positions are shown and chosen in the session transcripts.
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
