#pragma once
// Small readers of settings texts shared by the settings loaders: the
// whole-number value of a text, quoted texts, letter-case-free comparison.
#include <string>
#include <string_view>

namespace kv {

// The number at the start of the text (leading blanks skipped, an optional
// sign, digits, an optional fraction and exponent) rounded to the nearest
// whole number, halves to the even neighbour; 0 when the text does not begin
// with a number. Values beyond the int range are held at its ends.
int WholeNumberValue(std::string_view text);

// A settings text written between double quotes: one trailing quote, then one
// leading quote, removed when present (an empty text stays empty).
std::string StripQuotes(std::string text);

// `text` with a double quote before and after it.
std::string Quoted(std::string_view text);

// ASCII letters compared without case; other bytes exactly.
bool ContainsNoCase(std::string_view text, std::string_view part);
bool EqualsNoCase(std::string_view a, std::string_view b);

// Blanks (0x20) removed at both ends.
std::string_view TrimBlanks(std::string_view text);

}  // namespace kv
