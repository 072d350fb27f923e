#pragma once
// The calculation's door to our arithmetic library: rates applied to running
// totals, the incremental recalculation's "[[X=value" variables, the
// equipment edition's rules. Texts are the byte form.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Evaluates `expression` with the library and its variables in the program
// state. True on success, `result` the answer up to its NUL; false on failure,
// `result` what the library left, trimmed. Either way an answer of 8
// characters or more that ends in ".000000" loses those 7 characters
// ("1250.000000" -> "1250"; "12.500000" stays).
bool CalcExpression(ProgramState& st, std::string_view expression, std::string& result);

// Clears the library's variables.
void CalcInit(ProgramState& st);

}  // namespace kv
