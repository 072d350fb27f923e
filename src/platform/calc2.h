#pragma once
// Our arithmetic library: an exact decimal evaluator of the statements the
// calculation sends (rates applied to amounts, the "[[X=value" variables of a
// row, the equipment edition's running sums), with a variable store that
// keeps its values until it is cleared.
//
// Grammar, on the byte form (half-width katakana are single bytes):
//   statement  = name "=" expression | expression
//   expression = term { ("+" | "-") term }
//   term       = factor { ("*" | "/") factor }
//   factor     = { "+" | "-" } ( number | name | "(" expression ")" )
//   number     = digits with at most one "." (".87" and "5." are numbers)
//   name       = a letter "A".."Z" / "a".."z", a half-width katakana byte,
//                "#", "@" or "[", then those and digits ("[[C", "A#", "MG1")
// Blanks between tokens are skipped.
#include <map>
#include <string>
#include <string_view>

#include "platform/decimal.h"

namespace kv {

// Variables of the library, by exact name. Owned by the program state.
struct Calc2Variables {
  std::map<std::string, ExactDecimal, std::less<>> values;
};

// Evaluates `expression`. On success writes the value with exactly six
// decimals (halves to even, "1250.000000", "-12.500000", "0.500000") and a NUL
// into the start of `result`, stores it when the statement is an assignment,
// and answers 1. Answers 0 and leaves `result` and the variables as they were
// for an unknown name, an empty right-hand side, text left over, a division by
// zero, a value beyond the range, or an answer that does not fit `result`
// with its NUL. Never writes past `result`'s size (the caller's buffer).
int Calc2(Calc2Variables& vars, std::string_view expression, std::string& result);

// Stores a plain number text (an optional "-", then digits with at most one
// "." and at least one digit, 30 characters at most) as the variable `name`,
// exactly as the statement "name=number" would, without parsing a statement.
// Answers false, storing nothing, for any other text: the caller then sends
// the statement. The row calculation sets every numeric cell of every row
// this way.
bool Calc2SetNumber(Calc2Variables& vars, std::string_view name, std::string_view number);

// Clears the variables. Answers 1.
int Calc2Init(Calc2Variables& vars);

}  // namespace kv
