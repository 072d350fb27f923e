#pragma once
// The quantity formula evaluator: ":"-separated statements, assignments into
// the program-wide variable table, the rounding marks "@", "!" and "~", one
// power and one "LOG(" per statement, parentheses, and the references "[[",
// "[$", "[#" and "[u" into the rows of the level context. Texts are the stored
// (Shift-JIS) byte form.
#include <string>
#include <string_view>

#include "calc/level_context.h"

namespace kv {

struct ProgramState;

// Evaluates `formula` against `record` (the row the "[[" references read; an
// empty record reads blanks). Answers the result text ("7", "-2.5", ".5",
// "0", "" after an assignment) or an error text. `assigned`, when given,
// receives the value an assignment stored.
std::string FormulaEvaluate(ProgramState& st, const LevelContext& ctx, std::string_view record,
                            std::string_view formula, std::string* assigned = nullptr);

// True when `result` is one of the evaluator's error texts. Callers test this
// before reading a result as a number: an error never becomes a value.
bool IsFormulaError(std::string_view result);

}  // namespace kv
