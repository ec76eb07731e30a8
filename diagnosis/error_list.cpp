#include "error_list.h"

#include <cmath>
#include <string_view>

#include "courselib.h"
#include "diagnosis_texts.h"
#include "row_format.h"
#include "textservices.h"

ErrorList errorList{};

namespace {

// Beyond this estimated width the entry is written out without blanks around its separators.
constexpr int kSpacedWidthLimit = 75;
constexpr int kSpacedSeparator = 3;
constexpr int kCompactSeparator = 1;
// Room the marker walk leaves for a relation that was not typed.
constexpr int kMissingRelationWidth = 5;

// The lesson font's marker glyphs: the arrow under an item, the stem down to the third line and
// the hook in front of a label's letter.
constexpr char kMarkerArrow = static_cast<char>(0xD6);
constexpr char kMarkerStem = static_cast<char>(0xD7);
constexpr char kLabelHook = static_cast<char>(0xD8);
constexpr char kLabelDash = static_cast<char>(0xD9);

int TermCount(const ParsedEntry& entry) {
  return entry.termCount < 0 ? 0 : entry.termCount > kMaxTerms ? kMaxTerms : entry.termCount;
}

bool IsConstraintTarget(const Diagnosis& diagnosis) {
  return diagnosis.diagnosisTarget >= 0 && diagnosis.diagnosisTarget < kMaxConstraints;
}

std::string_view TermText(const EntryTerm& term) {
  return TextIn(term.text);
}

// A term's text without the minus of a negative term.
std::string_view TermTextLessMinus(const EntryTerm& term) {
  std::string_view text = TermText(term);
  if (!text.empty() && text.front() == '-') text.remove_prefix(1);
  return text;
}

// A term has a sentence unless the parser read it cleanly and it is right.
bool TermHasSentence(const EntryTerm& term) {
  return !(TermFlags(term.status) == 0 && TermVerdict(term.status) == kVerdictCorrect);
}

// The relation and the right-hand side have a sentence unless their verdict is Correct.
bool SlotHasSentence(const EntryTerm& slot) {
  return TermVerdict(slot.status) != kVerdictCorrect;
}

// The right-hand side as the student typed it; a caller without the parser's text still has the
// rejected right side's own text.
std::string_view RhsAsTyped(const ParsedEntry& entry, std::string_view typed) {
  return typed.empty() ? TextIn(entry.terms[kRhsSlot].text) : typed;
}

// Step 1: the estimated width of the left side: term texts, omitted variables, separators.
int EstimatedWidth(const ParsedEntry& entry, const Diagnosis& diagnosis) {
  int width = 3 * (TermCount(entry) - 1);
  for (int i = 0; i < TermCount(entry); ++i) {
    width += static_cast<int>(TermText(entry.terms[i]).size());
  }
  for (int flag : diagnosis.omittedVariable) width += flag != 0 ? 4 : 0;
  return width;
}

// Step 2: the entry written out again, left side, relation and right side.
void BuildRedisplay(const ParsedEntry& entry, std::string_view typed, const Diagnosis& diagnosis,
                    bool spaced, std::span<char> line) {
  std::string_view plus = spaced ? " + " : "+";
  std::string_view minus = spaced ? " - " : "-";
  for (int i = 0; i < TermCount(entry); ++i) {
    const EntryTerm& term = entry.terms[i];
    std::string_view text = TermText(term);
    if (!text.empty() && text.front() == '-') {
      AppendText(line, minus);
      AppendText(line, TermTextLessMinus(term));
      continue;
    }
    if (i > 0) AppendText(line, plus);
    AppendText(line, text);
  }
  for (int flag : diagnosis.omittedVariable) {
    if (flag == 0) continue;
    if (!TextIn(line).empty()) AppendText(line, plus);
    AppendText(line, "?");
  }
  bool constraint = IsConstraintTarget(diagnosis);
  if (spaced) AppendText(line, "  ");
  char symbol = RelationSymbol(static_cast<int>(entry.enteredRow.relation));
  if (symbol != '\0') {
    AppendText(line, std::string_view(&symbol, 1));
  } else if (constraint) {
    AppendText(line, "?");
  }
  if (spaced) AppendText(line, "   ");
  if (entry.rhsValid != 0) {
    AppendDecimal(line, entry.enteredRow.rhs, 5, 1);
  } else if (!RhsAsTyped(entry, typed).empty()) {
    AppendText(line, RhsAsTyped(entry, typed));
  } else if (constraint) {
    AppendText(line, " ?");
  }
}

// Extends a marker line with blanks to the given length; a longer line stays as it is.
void PadLine(std::span<char> line, int length) {
  int used = static_cast<int>(TextIn(line).size());
  int limit = static_cast<int>(line.size()) - 1;
  for (int i = used; i < length && i < limit; ++i) line[i] = ' ';
  if (used < length) line[length < limit ? length : limit] = '\0';
}

// The text of a new item, emptied; an empty span (nothing is written) when the list is full.
std::span<char> NewItem(ErrorList& list, bool wrapped) {
  if (list.itemCount < 0 || list.itemCount >= kMaxListItems) return {};
  ListItem& item = list.items[list.itemCount++];
  item.wrapped = wrapped;
  item.text[0] = '\0';
  return item.text;
}

void AppendByte(std::span<char> line, char byte) {
  AppendText(line, std::string_view(&byte, 1));
}

// Step 4: each sentence with its letter, then an empty line.
void AddLetteredSentences(const Diagnosis& diagnosis, ErrorList& list) {
  for (int k = 0; k < diagnosis.diagnosisCount && k < kMaxSentences; ++k) {
    const char label[] = {static_cast<char>('A' + k), '.', ' '};
    std::span<char> item = NewItem(list, true);
    AppendText(item, std::string_view(label, sizeof label));
    AppendText(item, TextIn(diagnosis.diagnosisLines[k]));
    AddListItem(list, "", false);
  }
}

// Step 5: the closing lines, wrapped (the empty ones thus add nothing).
void AddClosingLines(const Diagnosis& diagnosis, ErrorList& list) {
  for (int k = 0; k < kClosingLines; ++k) {
    int line = diagnosis.diagnosisCount + k;
    if (line < 0 || line >= kDiagnosisLineCount) continue;
    AddListItem(list, TextIn(diagnosis.diagnosisLines[line]), true);
  }
}

// The line that names the constraint being entered: "It appears ... working hours resource.".
void AddEnteringConstraintLine(const Formulation& formulation, int chosen, ErrorList& list) {
  std::span<char> item = NewItem(list, true);
  AppendText(item, LoadText(kTextEnteringConstraint));
  AppendText(item, TextIn(formulation.constraintNames[chosen]));
  AppendText(item, ConstraintKindWord(formulation.constraintKinds[chosen]));
  AppendText(item, LoadText(kTextFullStop));
}

}  // namespace

void AddListItem(ErrorList& list, std::string_view text, bool wrapped) {
  AppendText(NewItem(list, wrapped), text);
}

void PlaceMarker(MarkerLines& lines, int p, int h, int n) {
  int column = p + h - 1;
  for (auto& line : lines) PadLine(line, column);
  AppendByte(lines[0], kMarkerArrow);
  const char label[] = {kLabelHook, kLabelDash, static_cast<char>('A' + n)};
  std::string_view labelText(label, sizeof label);
  if (n % 2 == 1) {
    AppendByte(lines[1], kMarkerStem);
    AppendText(lines[2], labelText);
  } else {
    AppendText(lines[1], labelText);
  }
}

void BuildMarkerLines(const ParsedEntry& entry, std::string_view typed, const Diagnosis& diagnosis,
                      int s, ErrorList& list) {
  MarkerLines lines{};
  int p = 0;
  int n = 0;
  // 1: the terms, each centred on its text without the minus.
  for (int i = 0; i < TermCount(entry); ++i) {
    const EntryTerm& term = entry.terms[i];
    int w = static_cast<int>(TermTextLessMinus(term).size());
    if (TermHasSentence(term)) PlaceMarker(lines, p, (w + 1) / 2, n++);
    p += w + s;
  }
  // 2: the omitted variables, each one column wide.
  for (int flag : diagnosis.omittedVariable) {
    if (flag == 0) continue;
    PlaceMarker(lines, p, 1, n++);
    p += s + 1;
  }
  // 3: the relation, which has no text: its marker falls one column before p.
  if (SlotHasSentence(entry.terms[kRelationSlot])) PlaceMarker(lines, p, 0, n++);
  p += std::fabs(entry.enteredRow.relation) >= 0.001 ? s : kMissingRelationWidth;
  // 4: the right-hand side, centred on the text typed.
  if (SlotHasSentence(entry.terms[kRhsSlot])) {
    int w = static_cast<int>(RhsAsTyped(entry, typed).size());
    PlaceMarker(lines, p, (w + 1) / 2, n++);
  }
  // 5: the three lines as they stand, then an empty line.
  for (const auto& line : lines) AddListItem(list, TextIn(line), false);
  AddListItem(list, "", false);
}

void BuildErrorList(const ParsedEntry& entry, std::string_view typed, const Diagnosis& diagnosis,
                    ErrorList& list) {
  bool spaced = EstimatedWidth(entry, diagnosis) <= kSpacedWidthLimit;
  BuildRedisplay(entry, typed, diagnosis, spaced, NewItem(list, false));
  BuildMarkerLines(entry, typed, diagnosis, spaced ? kSpacedSeparator : kCompactSeparator, list);
  AddLetteredSentences(diagnosis, list);
  AddClosingLines(diagnosis, list);
}

void BuildExplanation(ParsedEntry& entry, std::string_view typed, const Formulation& formulation,
                      const ParameterTable& parameters, ProblemProgress& progress,
                      Diagnosis& diagnosis, ErrorList& list) {
  list.itemCount = 0;
  int chosen = progress.chosenConstraint;
  bool constraint = chosen >= 0 && chosen < kMaxConstraints;
  // 2: a constraint whose explanation was shown counts as done.
  if (constraint) progress.constraintEntered[chosen] = 1;
  // 3-5: name the constraint being entered (nothing for the objective function).
  AddListItem(list, "", false);
  if (constraint) AddEnteringConstraintLine(formulation, chosen, list);
  AddListItem(list, "", false);
  // 6: the diagnosis and its list.
  DiagnoseEntry(chosen, entry, formulation, parameters, progress.entryStep, diagnosis);
  BuildErrorList(entry, typed, diagnosis, list);
  // 7: the closing note.
  AddListItem(list, " ", false);
  AddListItem(list, " ", false);
  AddListItem(list, LoadText(kTextRightHandSideNote), false);
}
