// Small phrases about the correct formulation that several parts of the lesson write out: a row
// printed as a formula, the word for a constraint's kind, what a coefficient value stands for and
// a relation as one character. The diagnosis, the constraint lists, the hints and the variable
// selection use them.
#pragma once

#include <span>
#include <string_view>

#include "formulation_model.h"
#include "parameter_table.h"

// Room for any printed row: the prefix, seven terms with their separators and numbers, the
// relation and the right-hand side.
inline constexpr int kRowTextSize = 400;

// Writes the printed form of the objective (isObjective) or of constraint number index into the
// buffer, replacing what it held: "     Minimize: 0.03p + 0.06q + 0.19r",
// "     p + -2q <= 4500" (with the relation byte). Cut at the buffer's end.
void FormatFormulationRow(const Formulation& formulation, int index, std::span<char> buffer,
                          bool isObjective);

// " resource", " sales", " production", " nutrition" (leading blank included) for kinds 1 to 5,
// the empty text for any other kind. Each kind's word has a buffer of its own that the call
// refills, so a view returned stays valid and unchanged for the whole run.
std::string_view ConstraintKindWord(int kind);

// What a coefficient value stands for: the fixed phrase for 0 and for exactly 1, otherwise the
// description of the first parameter whose value equals x exactly. A value that is no parameter
// gets a fixed phrase of its own. The views stay valid for the whole run (fixed phrases have
// buffers of their own; descriptions are the problem's constants).
std::string_view DescribeValue(const ParameterTable& parameters, double x);

// The relation as one character: '=', '>', '<', or the lesson font's bytes 0xC0 (at least),
// 0xC1 (at most), 0x82 (the third sign) for codes 1 to 6; '\0' for any other code.
char RelationSymbol(int code);
