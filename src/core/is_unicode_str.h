#pragma once
// Telling display text from a Shift-JIS byte string.
#include <string_view>

namespace kv {

// Whether a value is display text (UTF-8): true when converting it to the
// Shift-JIS byte form and back gives it unchanged (plain ASCII is both
// forms); false for a byte string with double-byte or half-width katakana
// bytes, and for text holding a character without a Shift-JIS form.
bool IsUnicodeStr(std::string_view value);

}  // namespace kv
