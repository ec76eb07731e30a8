// The lesson's dialog templates. Controls are listed in reading order (prompt, fields, buttons),
// which is also the order the tab key and the transcript follow. Texts a procedure sets when the
// dialog opens are empty here. Relation signs are bytes of the lesson font: 0xC1 at most, 0xC0 at
// least, 0x82 the third sign.
#include "ui_resources.h"

namespace {

// ---- Building blocks --------------------------------------------------------------------------

constexpr int kLine = 10;          // one line of system-font text
constexpr int kButtonHeight = 14;  // push buttons
constexpr int kButtonWidth = 50;

constexpr std::uint32_t kTab = kControlTabStop;
constexpr std::uint32_t kGroupStart = kControlGroup | kControlTabStop;

constexpr ControlTemplate Text(int id, const char* text, int x, int y, int width,
                               int height = kLine, std::uint32_t style = 0) {
  return {id, ControlKind::kStatic, text, x, y, width, height, style};
}
constexpr ControlTemplate Label(const char* text, int x, int y, int width,
                                std::uint32_t style = 0) {
  return Text(kNoControlId, text, x, y, width, kLine, style);
}
constexpr ControlTemplate CentredLabel(const char* text, int x, int y, int width) {
  return Label(text, x, y, width, kControlCentred);
}
constexpr ControlTemplate Push(int id, const char* text, int x, int y, int width = kButtonWidth,
                               std::uint32_t style = kTab) {
  return {id, ControlKind::kPushButton, text, x, y, width, kButtonHeight, style};
}
constexpr ControlTemplate Default(int id, const char* text, int x, int y, int width = kButtonWidth,
                                  std::uint32_t style = kTab) {
  return {id, ControlKind::kDefaultButton, text, x, y, width, kButtonHeight, style};
}
constexpr ControlTemplate Radio(int id, const char* text, int x, int y, int width,
                                std::uint32_t style = 0) {
  return {id, ControlKind::kRadioButton, text, x, y, width, kLine, style};
}
constexpr ControlTemplate List(int id, int x, int y, int width, int height,
                               std::uint32_t style = kTab) {
  return {id, ControlKind::kListBox, "", x, y, width, height, style};
}
constexpr ControlTemplate Edit(int id, int x, int y, int width) {
  return {id, ControlKind::kEdit, "", x, y, width, 13, kTab};
}

// Modal dialogs open centred over the main window; panels sit at its foot until they place
// themselves below the problem box.
constexpr int CentreX(int width) {
  return (kLayoutWidthUnits - width) / 2;
}
constexpr int CentreY(int height) {
  return (kLayoutHeightUnits - height) / 2;
}
constexpr int FootY(int height) {
  return kLayoutHeightUnits - height - 4;
}

constexpr DialogTemplate Modal(const char* name, const char* title, int width, int height,
                               std::span<const ControlTemplate> controls) {
  return {name, title, CentreX(width), CentreY(height), width, height, kDialogVisible, controls};
}
constexpr DialogTemplate Panel(const char* name, const char* title, int width, int height,
                               std::span<const ControlTemplate> controls) {
  return {name, title, CentreX(width), FootY(height), width, height, 0, controls};
}

// ---- Start-up ---------------------------------------------------------------------------------

// WELCOME: the welcome procedure; start-up opens it once. The picture is drawn onto frame 999;
// the picture button and the version appear only once the dialog is on screen.
constexpr ControlTemplate kWelcome[] = {
    {999, ControlKind::kFrame, "", 0, 0, 320, 220, 0},
    {1, ControlKind::kOwnerDrawButton, "", 120, 150, 80, 40, kControlHidden | kTab},
    Text(102, "", 8, 204, 100, kLine, kControlHidden),
};

// 1: About; the main window's system command 200 would open it (nothing sends that command).
constexpr ControlTemplate kAbout[] = {
    CentredLabel("Tavrin", 8, 10, 184),
    CentredLabel("A lesson in formulating linear programs", 8, 22, 184),
    Default(1, "&Ok", 75, 44),
};

// ---- The three panels -------------------------------------------------------------------------

// MINMAX: MinMaxCmd; the objective-sense panel, shown by the main window at every problem start.
constexpr ControlTemplate kMinMax[] = {
    Label("Do you wish to minimize or maximize", 10, 8, 170),
    Label("the objective function?", 10, 18, 170),
    Radio(2210, " &1 - Minimize", 24, 34, 90, kGroupStart),
    Radio(2220, " &2 - Maximize", 24, 46, 90),
    Default(1, "O&k", 30, 64, kButtonWidth, kGroupStart),
    Push(2, "&Cancel", 110, 64),
};

// 2601: VarSelectCmd; the decision-variable panel, shown by the main window after the objective
// sense. A double click in the list picks a row like "O&k".
// clang-format off
constexpr ControlTemplate kVarSelect[] = {
    Text(1650, "", 8, 6, 300),
    List(2010, 8, 18, 300, 84, kControlListNotify | kTab),
    Default(1, "O&k", 316, 18, 46),
    Push(1660, "&Finished", 316, 38, 46),
    Push(2, "&Cancel", 316, 58, 46),
};
// clang-format on

// 1603: ProbCmd; the entry panel, shown by the main window for every step. The edit line and the
// three sign statics get the lesson font at initialisation.
constexpr ControlTemplate kEntry[] = {
    Text(1650, "", 8, 6, 384),
    Edit(1610, 8, 18, 384),
    Text(30, "<F1>:", 8, 36, 24),
    Text(2700, "\xC1", 32, 36, 10),
    Text(108, "<F2>:", 52, 36, 24),
    Text(2710, "\xC0", 76, 36, 10),
    Text(111, "<F3>:", 96, 36, 24),
    Text(2720, "\x82", 120, 36, 10),
    Default(1, "&Submit", 8, 56, 58),
    Push(1420, "&Hint", 71, 56, 58),
    Push(1660, "&Finished", 134, 56, 58),
    Push(1620, "&Constraints", 197, 56, 58),
    Push(1630, "&Variables", 260, 56, 58),
    Push(2, "Q&uit", 323, 56, 58),
};

// ---- Objective sense and hints ----------------------------------------------------------------

// 2000: HintCmd when the entry panel asks for a hint topic; MinMaxErrorCmd when the main window
// explains a wrong objective sense (it retitles the dialog and fills the list with the reason).
constexpr ControlTemplate kHintTopic[] = {
    List(2010, 8, 8, 244, 72),
    Default(1, "&Ok", 70, 88),
    Push(2, "&Cancel", 140, 88),
};

// 7700: Hint2Cmd; the entry panel's "&Hint" opens it.
constexpr ControlTemplate kHints[] = {
    List(1710, 8, 8, 384, 194),
    Default(1, "&Ok", 175, 208),
};

// 9700: Hint2Cmd; the entry panel opens it for a wrong objective function of a problem with a
// worked solution.
constexpr ControlTemplate kSolution[] = {
    List(1710, 8, 8, 384, 194),
    Default(1, "&Ok", 175, 208),
};

// 2100: About; Hint2Cmd opens it when the topic has no constraint left to explain.
constexpr ControlTemplate kAllEntered[] = {
    CentredLabel("All constraints have", 8, 8, 144),
    CentredLabel("been entered.", 8, 18, 144),
    Default(1, "&Ok", 55, 38),
};

// ---- The entry line ---------------------------------------------------------------------------

// 2300: TooManyCmd; the parser opens it, owned by the entry panel, when a line has 15 terms.
// Static 2310 receives the number of characters kept.
constexpr ControlTemplate kTooMany[] = {
    Label("Your answer was too long.", 8, 8, 204),
    Label("Your answer has been truncated to", 8, 20, 134),
    Text(2310, "", 142, 20, 12),
    Label(" characters.", 154, 20, 58),
    Label("Press ENTER to continue.", 8, 36, 204),
    Default(1, "&Ok", 85, 54),
};

// 2350: TooLongCmd; the parser opens it, owned by the entry panel, for each term longer than 20
// characters. Static 1650 receives the term's variable letter.
constexpr ControlTemplate kTooLong[] = {
    Label("The section of your formulation", 8, 8, 164),
    Label("containing the variable", 8, 18, 94),
    Text(1650, "", 102, 18, 12),
    Label("is too long and has been truncated", 8, 28, 164),
    Label("to 20 characters.", 8, 38, 164),
    Label("Press ENTER to continue.", 8, 54, 164),
    Default(1, "&Ok", 65, 72),
};

// 2400: DoExplanCmd; the entry panel opens it after a wrong line in practice mode.
constexpr ControlTemplate kIncorrect[] = {
    Radio(2410, "&Try Again", 16, 10, 140, kGroupStart),
    Radio(2420, "&Explanation of Error", 16, 24, 140),
    Default(1, "&Ok", 60, 44, kButtonWidth, kGroupStart),
};

// 1700: WrongCmd; the entry panel opens it to explain a wrong line.
constexpr ControlTemplate kExplanation[] = {
    List(1710, 8, 8, 384, 194),
    Default(1, "&Ok", 175, 208),
};

// 1495: CorrectConstrCmd; for a line that repeats a constraint already entered. Static 1490
// receives the constraint's name.
constexpr ControlTemplate kCaution[] = {
    CentredLabel("You have already entered the constraint for", 8, 8, 264),
    Text(1490, "", 8, 18, 264, kLine, kControlCentred),
    CentredLabel("Press Enter To Continue", 8, 34, 264),
    Default(1, "&Ok", 115, 52),
};

// ---- Constraint lists -------------------------------------------------------------------------

// 2500: WhichConstCmd; the entry panel opens it before each constraint step. A double click
// chooses a row like "&Ok"; Escape does nothing here.
constexpr ControlTemplate kWhichConst[] = {
    Text(1650, "Which constraint do you wish to enter?", 8, 6, 244),
    List(2010, 8, 18, 244, 80, kControlListNotify | kTab),
    Default(1, "&Ok", 105, 104),
};

// 1900: FinishedCmd; the entry panel's "&Finished" opens it while parts are missing. "&Cancel"
// is the default so that Enter does not give the problem up.
constexpr ControlTemplate kNotFinished[] = {
    Label("These constraints were not entered:", 8, 6, 244),
    List(1910, 8, 18, 244, 84),
    Push(1, "&Quit Problem", 60, 108, 60),
    Default(2, "&Cancel", 140, 108, 60),
};

// 8700: ConstListCmd; the entry panel's "&Constraints" and the main window after a completed
// problem open it.
constexpr ControlTemplate kConstList[] = {
    List(1710, 8, 8, 384, 194),
    Default(1, "&Ok", 175, 208),
};

// 2110: About; ConstListCmd opens it when nothing has been entered yet.
constexpr ControlTemplate kNothingEntered[] = {
    CentredLabel("No formulations have", 8, 8, 144),
    CentredLabel("been entered yet.", 8, 18, 144),
    Default(1, "&Ok", 55, 38),
};

// PROBCOMPLETE: ProbCompleteCmd; the main window opens it when every constraint was entered. It
// ends with the ID of the button pressed.
constexpr ControlTemplate kProbComplete[] = {
    Text(kNoControlId,
         "All constraints have been completed.  Would you like to view the complete "
         "formulation?",
         8, 8, 224, 2 * kLine),
    Default(6, "&Yes", 55, 38),
    Push(7, "&No", 135, 38),
};

// ---- Decision variables -----------------------------------------------------------------------

// 2620: BadVarCmd; the variable panel opens it for a pick that is not a decision variable. All
// four statics are filled when it opens; 2622 quotes the row, which may take three lines.
// clang-format off
constexpr ControlTemplate kBadVar[] = {
    Text(2621, "", 8, 8, 284),
    Text(2622, "", 8, 20, 284, 3 * kLine),
    Text(2623, "", 8, 54, 284),
    Text(2624, "", 8, 66, 284),
    Default(1, "&Ok", 125, 84),
};
// clang-format on

// 1800: VarListCmd; the entry panel opens it for "&Variables" and at the objective-function
// step.
constexpr ControlTemplate kVarList[] = {
    Text(1650, "", 8, 6, 344),
    List(1810, 8, 18, 344, 86),
    Default(1, "&Ok", 155, 110),
};

// NOVARSLEFT: About; the variable panel opens it for "O&k" on an empty list.
constexpr ControlTemplate kNoVarsLeft[] = {
    CentredLabel("There are no variables left", 8, 8, 144),
    CentredLabel("to select.  Press the", 8, 18, 144),
    CentredLabel("Finished button to continue.", 8, 28, 144),
    Default(1, "&Ok", 55, 46),
};

// ---- Held for the course shell and for reference ----------------------------------------------

// PRINTCERT: the certificate operations of the course shell may ask with it; the lesson does not.
constexpr ControlTemplate kPrintCert[] = {
    CentredLabel("Print your certificate?", 8, 10, 154),
    Default(1, "&Ok", 30, 32),
    Push(2, "&Cancel", 90, 32),
};

// BADPRINT: the certificate operations of the course shell may report a failed print with it.
constexpr ControlTemplate kBadPrint[] = {
    CentredLabel("The certificate could not be printed.", 8, 8, 184),
    CentredLabel("Please check the printer and try again.", 8, 18, 184),
    Default(1, "&Ok", 75, 38),
};

// PROBBOXHELP: tells how the problem box scrolls; the lesson never opens it.
constexpr ControlTemplate kProbBoxHelp[] = {
    CentredLabel("To scroll the problem box, press", 8, 8, 164),
    CentredLabel("<CONTROL> + the arrow keys", 8, 18, 164),
    CentredLabel("or use the scroll bar.", 8, 28, 164),
    Default(1, "&Ok", 65, 46),
};

// ---- The table --------------------------------------------------------------------------------

constexpr DialogTemplate kDialogs[] = {
    {"WELCOME", "", CentreX(320), CentreY(220), 320, 220, kDialogVisible | kDialogNoCaption,
     kWelcome},
    Modal("1", "About Tavrin", 200, 66, kAbout),
    Panel("MINMAX", "", 190, 84, kMinMax),
    Panel("2601", "Select a Decision Variable", 370, 108, kVarSelect),
    Panel("1603", "", 400, 76, kEntry),
    Modal("2000", "Select a hint topic", 260, 108, kHintTopic),
    Modal("7700", "Hints", 400, 228, kHints),
    Modal("9700", "Solution", 400, 228, kSolution),
    Modal("2100", "Press Enter To Continue", 160, 58, kAllEntered),
    Modal("2300", "Answer Too Long", 220, 74, kTooMany),
    Modal("2350", "Section Too Long", 180, 92, kTooLong),
    Modal("2400", "Incorrect Answer", 172, 64, kIncorrect),
    Modal("1700", "Explanation of Error", 400, 228, kExplanation),
    Modal("1495", "Caution!", 280, 72, kCaution),
    Modal("2500", "Select a Constraint", 260, 124, kWhichConst),
    Modal("1900", "Problem Not Finished", 260, 128, kNotFinished),
    Modal("8700", "Constraints", 400, 228, kConstList),
    Modal("2110", "Press Enter To Continue", 160, 58, kNothingEntered),
    Modal("PROBCOMPLETE", "Problem Complete", 240, 58, kProbComplete),
    Modal("2620", "Your answer is incorrect.", 300, 104, kBadVar),
    Modal("1800", "Decision Variables", 360, 130, kVarList),
    Modal("NOVARSLEFT", "Press Enter To Continue", 160, 66, kNoVarsLeft),
    Modal("PRINTCERT", "Print Certificate", 170, 52, kPrintCert),
    Modal("BADPRINT", "Printing Error", 200, 58, kBadPrint),
    Modal("PROBBOXHELP", "Problem Box Commands", 180, 66, kProbBoxHelp),
};

}  // namespace

std::span<const DialogTemplate> LessonDialogs() {
  return kDialogs;
}

const ResourceSet& LessonResources() {
  static const ResourceSet resources{LessonDialogs(), LessonMenus()};
  return resources;
}
