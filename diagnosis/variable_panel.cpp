#include "variable_panel.h"

#include <algorithm>
#include <string_view>

#include "courselib.h"
#include "dialog_services.h"
#include "lesson_flow.h"
#include "lesson_state.h"
#include "row_format.h"
#include "textservices.h"

VariableSelection variableSelection{};

namespace {

// ---- Texts and controls -----------------------------------------------------------------------

constexpr int kTextSelectPrompt = 9580;
constexpr int kTextNotSelected = 9581;
constexpr int kTextCorrectAnswer = 9582;
constexpr int kTextLessonCaption = 9583;
constexpr int kTextExitCertification = 9584;
constexpr int kTextEndCertification = 9585;
constexpr int kTextExitPractice = 9586;
constexpr int kTextEndPractice = 9587;
constexpr int kTextYourSelection = 9590;
constexpr int kTextIsRhsOf = 9591;
constexpr int kTextConstraintEnd = 9592;
constexpr int kTextIsCoefficientOf = 9593;
constexpr int kTextObjectiveEnd = 9594;
constexpr int kTextSymbolsBelow = 9600;
constexpr int kTextLetterIndent = 9601;
constexpr int kTextEqualsSign = 9602;
constexpr int kTextArticle = 9610;

// Dialog 2601.
constexpr int kIdPrompt = 1650;
constexpr int kIdCandidateList = 2010;
constexpr int kIdFinished = 1660;
// Dialog 2620.
constexpr int kIdSelectionHeading = 2621;
constexpr int kIdSelectionText = 2622;
constexpr int kIdMeaningStart = 2623;
constexpr int kIdMeaningEnd = 2624;
// Dialog 1800.
constexpr int kIdVariableList = 1810;
constexpr int kIdVariableHeading = 1650;

// A distractor's j = -(code + 1) is a constraint index below this, an objective slot above it.
constexpr int kFirstObjectiveIndex = 1000;

// Where the panel sits over the main window, and the variable list.
constexpr double kPanelFractionX = 0.5;
constexpr double kPanelFractionY = 0.75;
constexpr double kVariableListFractionX = 0.5;
constexpr double kVariableListFractionY = 0.6;

constexpr std::uint32_t kVerdictBoxStyle = kBoxOk | kBoxIconExclamation | kBoxSystemModal;
constexpr std::uint32_t kQuestionBoxStyle = kBoxYesNo | kBoxIconQuestion | kBoxSystemModal;

constexpr int kArticleSize = 16;

// ---- Building the candidate rows --------------------------------------------------------------

// Adds one row at the end of the table, the article in front unless the text starts with it.
void AddCandidate(CandidateTable& table, std::string_view article, std::string_view text,
                  int code) {
  if (table.count >= kMaxVariableCandidates) return;
  VariableCandidate& row = table.rows[table.count++];
  SetText(row.text, text.starts_with(article) ? std::string_view{} : article);
  AppendText(row.text, text);
  row.code = code;
}

// Step 1: each constraint's right-hand side, as the parameter it is.
void AddRhsRows(const Formulation& formulation, const ParameterTable& parameters,
                std::string_view article, CandidateTable& table) {
  int count = std::clamp(formulation.constraintCount, 0, kMaxConstraints);
  for (int j = 0; j < count; ++j) {
    AddCandidate(table, article, DescribeValue(parameters, formulation.constraints[j].rhs),
                 RhsCandidateCode(j));
  }
}

// Step 2: each decision variable's description.
void AddVariableRows(const Formulation& formulation, std::string_view article,
                     CandidateTable& table) {
  int count = std::clamp(formulation.variableCount, 0, kMaxVariables);
  for (int k = 0; k < count; ++k) {
    AddCandidate(table, article, TextIn(formulation.variableDescriptions[k]),
                 VariableCandidateCode(k));
  }
}

// Step 3: each variable's objective coefficient, as the parameter it is.
void AddObjectiveRows(const Formulation& formulation, const ParameterTable& parameters,
                      std::string_view article, CandidateTable& table) {
  int count = std::clamp(formulation.variableCount, 0, kMaxVariables);
  for (int k = 0; k < count; ++k) {
    AddCandidate(table, article, DescribeValue(parameters, formulation.objective.coef[k]),
                 ObjectiveCandidateCode(k));
  }
}

// One shuffling pass: every row but the last changes place with a row after it, so one pass
// alone moves every row.
void ShufflePass(CandidateTable& table, RangeDraw draw) {
  int last = table.count - 1;
  for (int i = 0; i < last; ++i) {
    int r = std::clamp(draw(last, i + 1), i + 1, last);
    std::swap(table.rows[i], table.rows[r]);
  }
}

// ---- The panel's pieces -----------------------------------------------------------------------

Window CandidateList(Window dialog) {
  return DialogItem(dialog, kIdCandidateList);
}

void FocusList(Window dialog) {
  SetFocus(CandidateList(dialog));
}

bool InCertification() {
  return mode == kCertificationMode;
}

void PostToMain(int command, LParam value) {
  PostMessageTo(mainWindow, kMsgCommand, MakeCommand(command, 0), value);
}

// The panel goes; the main loop no longer offers it the keys.
void HidePanel(Window dialog) {
  ShowWindow(dialog, kHide);
  SetActivePanel(kNoWindow);
}

void ShowCorrectAnswer(Window dialog) {
  ShowTextBox(dialog, kTextCorrectAnswer, kTextLessonCaption, kVerdictBoxStyle);
}

void CountStrike() {
  ++strikes;
  ShowStatusLine();
}

// Removes row s from the list and its code from the codes; later codes move up by one.
void RemoveCandidate(Window list, int row) {
  VariableSelection& s = variableSelection;
  if (row < 0 || row >= s.candidateCount) return;
  ListDeleteRow(list, row);
  for (int i = row; i + 1 < s.candidateCount; ++i) s.candidateCodes[i] = s.candidateCodes[i + 1];
  --s.candidateCount;
  s.candidateCodes[s.candidateCount] = 0;
}

// The selection is over: the lesson flow goes on to the formulation.
void CloseSelection(Window dialog) {
  PostToMain(kCmdVariablesSelected, 1);
  HidePanel(dialog);
}

// Command 2650: a fresh, shuffled list for the problem that starts.
void StartSelection(Window dialog) {
  VariableSelection& s = variableSelection;
  s.variableSelectionDone = 0;
  // A "NoVarsLeft" notice of a selection that was left through Cancel must not silence the closing
  // "Correct Answer!" of the next problem's selection.
  s.noVariablesLeftShown = 0;
  s.candidateCodes.fill(0);
  s.candidateCount = 0;
  EnableWindow(DialogItem(dialog, kIdFinished), true);
  Window list = CandidateList(dialog);
  ListClear(list);
  SetDialogItemText(dialog, kIdPrompt, LoadText(kTextSelectPrompt));
  s.candidateCount = FillVariableCandidates(dialog, kIdCandidateList, s.candidateCodes);
  ListSelect(list, 0);
  RefreshListBox(list);
  SetFocus(list);
}

// A distractor picked: a strike in certification, the dialog that tells what the row stands for,
// and the end of the problem once the strikes are used up. False when the selection ended here.
bool JudgeDistractor(Window dialog) {
  if (InCertification()) CountStrike();
  RunModalDialog("2620", dialog, BadVarCmd, static_cast<LParam>(CandidateList(dialog)));
  if (InCertification() && strikes >= strikesAllowed) {
    PostToMain(kCmdProblemOver, 0);
    HidePanel(dialog);
    return false;
  }
  return true;
}

// "O&k" or a double click: close when the selection is over, else judge the selected row and take
// it out of the list, right or wrong.
void JudgeSelection(Window dialog) {
  VariableSelection& s = variableSelection;
  Window list = CandidateList(dialog);
  if (s.variableSelectionDone) {
    CloseSelection(dialog);
    return;
  }
  if (s.candidateCount == 0) {
    s.noVariablesLeftShown = 1;
    RunModalDialog("NOVARSLEFT", dialog, About, 0);
    SetFocus(list);
    return;
  }
  int row = ListSelection(list);
  if (row < 0 || row >= s.candidateCount) {
    SetFocus(list);
    return;
  }
  s.selectedCandidate = row;
  if (s.candidateCodes[row] > 0) {
    ShowCorrectAnswer(dialog);
  } else if (!JudgeDistractor(dialog)) {
    return;
  }
  RemoveCandidate(list, row);
  ListSelect(list, std::min(row, s.candidateCount - 1));
  SetFocus(list);
}

// "&Finished": the distractors go; the variables not picked stay, each a strike in certification
// until the allowance is used up (a run never shows more strikes than it allows; the flow ends it
// when the selection closes), and are shown until "O&k". With none left the selection closes at
// once.
void FinishSelection(Window dialog) {
  VariableSelection& s = variableSelection;
  Window list = CandidateList(dialog);
  int row = 0;
  while (row < s.candidateCount) {
    if (s.candidateCodes[row] >= 0) {
      if (InCertification() && strikes < strikesAllowed) CountStrike();
      ++row;
    } else {
      RemoveCandidate(list, row);
    }
  }
  if (s.candidateCount > 0) {
    SetDialogItemText(dialog, kIdPrompt, LoadText(kTextNotSelected));
    EnableWindow(DialogItem(dialog, kIdFinished), false);
    ListSetTopRow(list, 0);
    s.variableSelectionDone = 1;
    SetFocus(list);
    return;
  }
  if (!s.noVariablesLeftShown) ShowCorrectAnswer(dialog);
  s.noVariablesLeftShown = 0;
  s.variableSelectionDone = 1;
  JudgeSelection(dialog);
}

// "&Cancel": leaving the mode altogether, once the student confirms.
void CancelSelection(Window dialog) {
  bool certification = InCertification();
  int answer =
      ShowTextBox(dialog, certification ? kTextExitCertification : kTextExitPractice,
                  certification ? kTextEndCertification : kTextEndPractice, kQuestionBoxStyle);
  if (answer != kIdYes) return;
  problemProgress.quitRequested = 1;
  HidePanel(dialog);
  PostToMain(kCmdProblemOver, -1);
}

// Without Ctrl, line up and line down move the list's selection, within its rows.
void MoveSelection(Window list, int step) {
  int count = ListRowCount(list);
  if (count == 0) return;
  ListSelect(list, std::clamp(ListSelection(list) + step, 0, count - 1));
}

// Commands 2240 to 2245: with Ctrl they scroll the problem box; without it only line up and down
// act, on the list. The focus stays on the list either way.
void ScrollCommand(Window dialog, int command) {
  if (IsKeyDown(kKeyControl)) {
    ListSetTopRow(problemBox,
                  ScrolledTopRow(command, ListTopRow(problemBox), ListRowCount(problemBox),
                                 ListVisibleRows(problemBox)));
  } else if (command == kCmdScrollLineUp) {
    MoveSelection(CandidateList(dialog), -1);
  } else if (command == kCmdScrollLineDown) {
    MoveSelection(CandidateList(dialog), 1);
  }
  FocusList(dialog);
}

Result PanelCommand(Window dialog, int id, int notification) {
  switch (id) {
    case kCmdStartVariableSelection:
      StartSelection(dialog);
      return 1;
    case kIdOk:
      JudgeSelection(dialog);
      return 1;
    case kIdCandidateList:
      if (notification == kNotifyListDoubleClick) JudgeSelection(dialog);
      return 1;
    case kIdFinished:
      FinishSelection(dialog);
      return 1;
    case kIdCancel:
      CancelSelection(dialog);
      return 1;
    case kCmdScrollTop:
    case kCmdScrollBottom:
    case kCmdScrollPageUp:
    case kCmdScrollPageDown:
    case kCmdScrollLineUp:
    case kCmdScrollLineDown:
      ScrollCommand(dialog, id);
      return 1;
    default:
      return 0;
  }
}

// ---- The keys of the scroll commands ----------------------------------------------------------

// The list box would move its selection for all of these keys itself. Up and Down go to the
// panel's line commands instead, so that with Ctrl they scroll the problem box; Home, End,
// PageUp and PageDown do so only with Ctrl and are the list's own without it.
struct KeyCommand {
  int key;
  bool onlyWithCtrl;
  int command;
};
constexpr KeyCommand kKeyCommands[] = {
    {kKeyHome, true, kCmdScrollTop},      {kKeyEnd, true, kCmdScrollBottom},
    {kKeyPageUp, true, kCmdScrollPageUp}, {kKeyPageDown, true, kCmdScrollPageDown},
    {kKeyUp, false, kCmdScrollLineUp},    {kKeyDown, false, kCmdScrollLineDown},
};

// The list box's own procedure, chained to for everything the panel leaves to it.
WindowProc candidateListOwnProc = nullptr;

int CommandOfKey(int key, bool ctrl) {
  for (const KeyCommand& k : kKeyCommands) {
    if (k.key == key && (ctrl || !k.onlyWithCtrl)) return k.command;
  }
  return 0;
}

Result CandidateListProc(Window list, unsigned message, WParam wParam, LParam lParam) {
  if (message == kMsgKeyDown) {
    int command = CommandOfKey(static_cast<int>(wParam), IsKeyDown(kKeyControl));
    if (command != 0) {
      SendMessageTo(GetParent(list), kMsgCommand, MakeCommand(command, 0), 0);
      return 0;
    }
  }
  WindowProc own = candidateListOwnProc ? candidateListOwnProc : DefaultWindowProc;
  return CallWindowProc(own, list, message, wParam, lParam);
}

// ---- Dialogs 2620 and 1800 --------------------------------------------------------------------

// 2623 and 2624: what the picked row stands for, a constraint's right-hand side or an objective
// coefficient.
void SetWrongPickMeaning(Window dialog, int code) {
  int j = -(code + 1);
  if (j >= kFirstObjectiveIndex) {
    SetDialogItemText(dialog, kIdMeaningStart, LoadText(kTextIsCoefficientOf));
    SetDialogItemText(dialog, kIdMeaningEnd, LoadText(kTextObjectiveEnd));
    return;
  }
  SetDialogItemText(dialog, kIdMeaningStart, LoadText(kTextIsRhsOf));
  if (j < 0 || j >= std::min(formulation.constraintCount, kMaxConstraints)) return;
  std::array<char, kConstraintNameSize + kTextBufferSize> line{};
  SetText(line, TextIn(formulation.constraintNames[j]));
  AppendText(line, ConstraintKindWord(formulation.constraintKinds[j]));
  AppendText(line, LoadText(kTextConstraintEnd));
  SetDialogItemText(dialog, kIdMeaningEnd, TextIn(line));
}

// Opening dialog 2620: the row picked, as the selection list shows it, and what it stands for.
void ExplainWrongPick(Window dialog, Window list) {
  const VariableSelection& s = variableSelection;
  SetDialogItemText(dialog, kIdSelectionHeading, LoadText(kTextYourSelection));
  int row = s.selectedCandidate;
  if (row < 0 || row >= s.candidateCount) return;
  std::array<char, kMaxControlText> text{};
  ListRowText(list, row, text);
  SetDialogItemText(dialog, kIdSelectionText, TextIn(text));
  SetWrongPickMeaning(dialog, s.candidateCodes[row]);
}

// One line per decision variable: its letter and its description.
void FillVariableList(Window list) {
  std::array<char, kArticleSize> indent{};
  std::array<char, kArticleSize> equals{};
  SetText(indent, LoadText(kTextLetterIndent));
  SetText(equals, LoadText(kTextEqualsSign));
  ListAddRow(list, "");
  int count = std::clamp(formulation.variableCount, 0, kMaxVariables);
  for (int k = 0; k < count; ++k) {
    std::array<char, kMaxControlText> line{};
    SetText(line, TextIn(indent));
    AppendText(line, std::string_view(&kLowerLetters[k], 1));
    AppendText(line, TextIn(equals));
    AppendText(line, TextIn(formulation.variableDescriptions[k]));
    ListAddRow(list, TextIn(line));
  }
}

}  // namespace

// ---- Window-free parts ------------------------------------------------------------------------

int BuildVariableCandidates(const Formulation& formulation, const ParameterTable& parameters,
                            CandidateTable& table, RangeDraw draw) {
  std::array<char, kArticleSize> article{};
  SetText(article, LoadText(kTextArticle));
  table.count = 0;
  AddRhsRows(formulation, parameters, TextIn(article), table);
  AddVariableRows(formulation, TextIn(article), table);
  AddObjectiveRows(formulation, parameters, TextIn(article), table);
  for (int pass = 0; pass < 3; ++pass) ShufflePass(table, draw);
  return table.count;
}

int ScrolledTopRow(int command, int topRow, int rowCount, int visibleRows) {
  int page = std::max(1, visibleRows);
  int lastTop = std::max(0, rowCount - page);
  int top = topRow;
  switch (command) {
    case kCmdScrollTop:
      top = 0;
      break;
    case kCmdScrollBottom:
      top = lastTop;
      break;
    case kCmdScrollPageUp:
      top -= page;
      break;
    case kCmdScrollPageDown:
      top += page;
      break;
    case kCmdScrollLineUp:
      top -= 1;
      break;
    case kCmdScrollLineDown:
      top += 1;
      break;
    default:
      return topRow;
  }
  return std::clamp(top, 0, lastTop);
}

// ---- Window procedures ------------------------------------------------------------------------

int FillVariableCandidates(Window dialog, int listId,
                           std::span<std::int32_t, kMaxVariableCandidates> codes) {
  // Rebuilt for every problem; kept here rather than on the stack for its size.
  static CandidateTable table{};
  int count = BuildVariableCandidates(formulation, parameterTable, table, RandomInRange);
  Window list = DialogItem(dialog, listId);
  for (int i = 0; i < count; ++i) {
    ListAddRow(list, TextIn(table.rows[i].text));
    codes[i] = table.rows[i].code;
  }
  return count;
}

Result VarSelectCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog:
      candidateListOwnProc = ReplaceWindowProc(CandidateList(dialog), CandidateListProc);
      return 1;
    case kMsgSetFocus:
      PlaceDialog(mainWindow, dialog, 0, kPanelFractionX, kPanelFractionY);
      FocusList(dialog);
      return 1;
    case kMsgFocusVariableList:
      FocusList(dialog);
      return 1;
    case kMsgCommand:
      return PanelCommand(dialog, CommandId(wParam), CommandNotification(wParam));
    default:
      return 0;
  }
}

Result BadVarCmd(Window dialog, unsigned message, WParam wParam, LParam lParam) {
  switch (message) {
    case kMsgInitDialog:
      ExplainWrongPick(dialog, static_cast<Window>(lParam));
      PlaceDialog(mainWindow, dialog, 1, 0.0, 0.0);
      SetFocus(DialogItem(dialog, kIdOk));
      return 1;
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kIdOk);
    default:
      return 0;
  }
}

Result VarListCmd(Window dialog, unsigned message, WParam wParam, LParam /*lParam*/) {
  switch (message) {
    case kMsgInitDialog: {
      PlaceDialog(mainWindow, dialog, 0, kVariableListFractionX, kVariableListFractionY);
      Window list = DialogItem(dialog, kIdVariableList);
      FillVariableList(list);
      SetDialogItemText(dialog, kIdVariableHeading, LoadText(kTextSymbolsBelow));
      SetFocus(list);
      RefreshListBox(list);
      return 1;
    }
    case kMsgCommand:
      return EndOnOk(dialog, wParam, kIdOk);
    default:
      return 0;
  }
}
