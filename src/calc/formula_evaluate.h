#pragma once
// The quantity formula evaluator: ":"-separated statements, assignments into
// the program-wide variable table, the rounding marks "@", "!" and "~", one
// power and one "LOG(" per statement, parentheses, and the references "[[",
// "[$", "[#" and "[u" into the rows of the level context. Texts are the stored
// (Shift-JIS) byte form.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/currency.h"
#include "state/level_context.h"

namespace kv {

struct ProgramState;

// Evaluates `formula` against `record` (the row the "[[" references read; an
// empty record reads blanks). Answers the result text ("7", "-2.5", ".5",
// "0", "" after an assignment) or an error text. `assigned`, when given,
// receives the value an assignment stored.
std::string FormulaEvaluate(ProgramState& st, const LevelContext& ctx, std::string_view record,
                            std::string_view formula, std::string* assigned = nullptr);

// The columns of the level a formula reads through "[[" references, one bit
// per column (bit c for column c), when its answer depends on nothing but
// those cells, the parent row, the closing record and its own numbers: a
// single statement without an assignment, a named variable, a rounding mark,
// a power, a logarithm or parentheses. Empty for any other formula. Found
// when the formula is first taken apart and kept with it.
std::optional<std::uint64_t> PureFormulaColumns(std::string_view formula);

// The answer FormulaEvaluate gives for a formula that is a sum of
// products of "[[X" cells and numbers ("[[D*[[F", "[[C*1.1-[[E"), computed
// straight from the digits of the cells. Empty for a formula of any other
// form and wherever the general evaluation does more than exact arithmetic:
// a cell that is not a plain number of up to 18 digits, a product that
// would be rounded, a value beyond the calculable range. Sets
// `FormulaRangeSign` as FormulaEvaluate does when it answers.
std::optional<std::string> ProductSumAnswer(ProgramState& st, const LevelContext& ctx, std::string_view record,
                                            std::string_view formula);
// The same answer as its value (the answer is its shortest text).
std::optional<Currency> ProductSumValue(ProgramState& st, const LevelContext& ctx, std::string_view record,
                                        std::string_view formula);

// True when the formula, evaluated before, read nothing but its own text (no
// cell, no variable, no assignment): evaluated again it answers the same.
bool FormulaReadsNothing(std::string_view formula);

// True when `result` is one of the evaluator's error texts. Callers test this
// before reading a result as a number: an error never becomes a value.
bool IsFormulaError(std::string_view result);

}  // namespace kv
