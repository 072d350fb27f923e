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
#include <array>
#include <map>
#include <string>
#include <string_view>

#include "platform/decimal.h"

namespace kv {

// One column variable: unset, a plain number text kept as it was set (read
// into a value only when an expression names it), or a value.
struct Calc2ColumnSlot {
  enum class State : unsigned char { Unset, Text, Value };
  State state = State::Unset;
  unsigned char length = 0;
  std::array<char, 31> text{};
  ExactDecimal value;
};

// Variables of the library, by exact name. Owned by the program state. The
// row calculation's column variables "[[A" .. "[[Z", "[[a" .. "[[z" live in
// slots by column (1 .. 52), every other name in the map.
struct Calc2Variables {
  std::map<std::string, ExactDecimal, std::less<>> values;
  std::array<Calc2ColumnSlot, 53> columns;
};

// The column (1 .. 52) of a column variable's name ("[[A" is 1, "[[a" 27);
// 0 for any other name.
int Calc2ColumnOf(std::string_view name);

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
// exactly as the statement "name=number" would, without parsing a statement
// (a column variable keeps the text, read when an expression names it).
// Answers false, storing nothing, for any other text: the caller then sends
// the statement. The row calculation sets every numeric cell of every row
// this way.
bool Calc2SetNumber(Calc2Variables& vars, std::string_view name, std::string_view number);

// Clears the variables. Answers 1.
int Calc2Init(Calc2Variables& vars);

}  // namespace kv
