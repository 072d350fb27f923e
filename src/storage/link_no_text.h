#pragma once
// One record number of a DOS-form level file (decimal text) rewritten in the
// number base of the level work files.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// "-99" when the trimmed text is "-99"; otherwise the number at the start of
// the trimmed text, read as decimal (a text without one reads 0), written
// without blanks: upper-case hexadecimal without leading zeros when `hex`,
// else decimal digits. Callers right-align the result in the 4-byte field.
std::string LinkNoText(std::string_view stored, bool hex);
// In the number base of the open estimate (`H_Link`).
std::string LinkNoText(std::string_view stored, const ProgramState& st);

}  // namespace kv
