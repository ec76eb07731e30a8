// The text of the "Explanation of Error" list: the entry written out again, three marker lines
// that point with a letter at every faulty item, the lettered sentences of the diagnosis, the
// correct row and the closing note. Built into a record of items; the explanation dialog adds the
// items to its list box in order, each wrapped or as it stands.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "formulation_model.h"
#include "parameter_table.h"
#include "parser.h"
#include "term_diagnosis.h"

// "A. " in front of each sentence.
inline constexpr int kSentenceLabelChars = 3;

// The longest the right-hand side can be shown: as the student typed it (part of one entry line)
// or as the number read from it with five places, its sign and its point.
inline constexpr int kMaxRhsShownChars = 95;
static_assert(kMaxRhsShownChars >= kMaxLineChars + 1 + 5 + 1);

// The entry written out again: compact, every term of 20 characters with a one-character
// separator, every omitted variable as "+?", the relation, the right-hand side.
inline constexpr int kMaxRedisplayChars =
    kMaxTerms * kMaxTermChars + (kMaxTerms - 1) + 2 * kLetterSlots + 1 + kMaxRhsShownChars;

// The furthest a marker can stand: after every term of 20 characters and its separator, every
// omitted variable, the room of a missing relation and half the right-hand side; its label takes
// three more bytes.
inline constexpr int kMaxMarkerColumn =
    kMaxTerms * (kMaxTermChars + 1) + 2 * kLetterSlots + 5 + (kMaxRhsShownChars + 1) / 2;
inline constexpr int kLabelBytes = 3;
// Marker lines are as long as the furthest marker and its label, so no marker is ever cut.
inline constexpr int kMarkerLineSize = kMaxMarkerColumn + kLabelBytes + 1;
inline constexpr int kMarkerLines = 3;

// One list item holds a lettered sentence, the redisplayed entry or a marker line whole.
inline constexpr int kListItemSize = kSentenceLabelChars + kDiagnosisLineSize;
static_assert(kMaxRedisplayChars < kListItemSize);
static_assert(kMarkerLineSize <= kListItemSize);

// The error list: redisplay, three marker lines and an empty line, every sentence and an empty
// line after it, the four closing lines.
inline constexpr int kErrorListItems = 1 + kMarkerLines + 1 + 2 * kMaxSentences + kClosingLines;
// The explanation adds three lines before it (empty, the constraint being entered, empty) and
// three after it (two of one blank, the note).
inline constexpr int kMaxListItems = 3 + kErrorListItems + 3;
static_assert(kMaxListItems == 63);

struct ListItem {
  std::array<char, kListItemSize> text;
  bool wrapped;  // added as wrapped lines (an empty text then adds nothing), else as it stands
};

struct ErrorList {
  std::array<ListItem, kMaxListItems> items;
  int itemCount;
};

// The explanation list of the running lesson.
extern ErrorList errorList;

// Three lines of markers, rebuilt for every list.
using MarkerLines = std::array<std::array<char, kMarkerLineSize>, kMarkerLines>;

// Adds an item to the list; nothing when the list is full.
void AddListItem(ErrorList& list, std::string_view text, bool wrapped);

// Appends the explanation of the last diagnosis to the list: the entry written out again, its
// marker lines, the lettered sentences and the closing lines. typed is the right-hand side as the
// student typed it (the parser keeps it for every line); it is shown when the value is not, and
// its width places the right side's marker.
void BuildErrorList(const ParsedEntry& entry, std::string_view typed, const Diagnosis& diagnosis,
                    ErrorList& list);

// Builds the three marker lines for separators of width s (3 spaced, 1 compact) and adds them
// and an empty line to the list.
void BuildMarkerLines(const ParsedEntry& entry, const Diagnosis& diagnosis, int s, ErrorList& list);

// Puts marker n at column p + h - 1 of the marker lines, its label on the second line (n even)
// or, under a stem, on the third (n odd). h is the item's offset: half its width rounded up, or
// 1 for an omitted variable.
void PlaceMarker(MarkerLines& lines, int p, int h, int n);

// The list of the "Explanation of Error" dialog, replacing what the list held: marks the chosen
// constraint entered, names it, diagnoses the entry against it (the objective function when
// chosenConstraint is negative), builds the error list and adds the closing note. typed as for
// BuildErrorList.
void BuildExplanation(ParsedEntry& entry, std::string_view typed, const Formulation& formulation,
                      const ParameterTable& parameters, ProblemProgress& progress,
                      Diagnosis& diagnosis, ErrorList& list);
