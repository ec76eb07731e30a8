// Hint and solution texts: for the current step, the questions whose answers lead to the correct
// line (level 1) or those questions with their answers and the line written out (level 2 and
// more). One builder per problem composes the text into a buffer; the hint dialogs add it wrapped.
#pragma once

#include <span>

// One assembled hint or solution text; 0xE5 marks its line breaks.
inline constexpr int kHintTextSize = 8000;

// Each builder replaces the text in the buffer with the questions (and at level 2 or more the
// answers and the written-out row) about topic: a constraint index, or -1 for the objective.
void BuildPrintingHint(std::span<char> text, int topic, int level);
void BuildFurnitureHint(std::span<char> text, int topic, int level);
void BuildPorcelainHint(std::span<char> text, int topic, int level);
void BuildFeedMixHint(std::span<char> text, int topic, int level);
void BuildFarmHint(std::span<char> text, int topic, int level);

// "soybean", "corn" or "wheat" for ingredient 0, 1, 2 (the feed mix's variables p, q, r).
const char* FeedIngredientName(int index);
