#pragma once
// Typed text on its way into the sheet: every character must have a
// Shift-JIS form (the stored form would silently turn the others into "?"),
// and line breaks are the system's CR LF.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// The first character of the display text that Shift-JIS cannot hold (an
// emoji, a rare kanji), "" when every character has a Shift-JIS form.
std::string UnstorableChar(std::string_view text);

// True when the text can be stored. Otherwise the user is told which
// character stands in the way ("保存できない文字が含まれています: 「😀」")
// and the answer is false: the caller stores nothing.
bool TypedTextStorable(ProgramState& st, std::string_view text);

// The text with every line feed that has no carriage return before it
// turned into CR LF.
std::string WithCrLf(std::string_view text);

}  // namespace kv
