#pragma once
// Small readers of settings texts shared by the settings loaders: the
// whole-number value of a text, quoted texts, and fixed-point decimals.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv {

// The number at the start of the text (leading blanks skipped, an optional
// sign, digits, an optional fraction) rounded to the nearest whole number,
// halves to the even neighbour; 0 when the text does not begin with a number.
// Values beyond the int range are held at its ends.
int WholeNumberValue(std::string_view text);

// The same leading number as a fixed-point value with four decimals (×10,000),
// rounded half to even at the fifth decimal; nullopt when the text does not
// begin with a number.
std::optional<std::int64_t> LeadingFixed4(std::string_view text);

// Shortest decimal text of a fixed-point value with four decimals: 85000 ->
// "8.5", 100000 -> "10", -5 -> "-0.0005".
std::string Fixed4Text(std::int64_t scaled);

// Fixed-point division by 100 with four decimals, halves to even.
std::int64_t Fixed4DivideBy100(std::int64_t scaled);

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
