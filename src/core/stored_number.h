#pragma once
// Stored record numbers and links: the 4-byte fields inside a row record that
// hold a record number as text, right-aligned with blanks on the left, in the
// number base of the setting `H_Link` ("16" hexadecimal, anything else
// decimal). "None" (no next record, no child) is the literal " -99" in both
// bases. The forms that take the base from the program state are in
// state/stored_number_base.h.
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kNoRecord = -99;
inline constexpr std::string_view kNoneField = " -99";
inline constexpr int kStoredNumberWidth = 4;

// True when the `H_Link` value selects the hexadecimal base.
bool IsHexBase(std::string_view hLink);

// The number's text, unpadded: upper-case hexadecimal without leading zeros
// (a negative number gives the four digits of its 16-bit two's complement), or
// decimal with a blank in front of a number of 0 or more and "-" in front of a
// negative one. Note: -99 in hexadecimal is "FF9D", which reads back as 65437;
// "none" is written as kNoneField, never through this.
std::string NumToBaseStr(int value, bool hex);

// The number a field holds (blanks around it are ignored).
// Hexadecimal: "", "-99", "FFFF" and "EEEE" read kNoRecord; otherwise the
// leading hexadecimal digits (either case) as an unsigned number (0 when there
// are none), so "7D00" reads 32000 and "FFFE" 65534.
// Decimal: the leading number (optional sign, digits, optional fraction,
// rounded half to even); a field without one, such as a blank field, reads 0.
// Allocates nothing.
int BaseStrToNum(std::string_view text, bool hex);

// The 4-byte field for a record number: NumToBaseStr appended to four blanks,
// the last 4 characters kept; kNoRecord gives kNoneField in both bases. A
// number whose field would not read back as itself (too many digits, a
// negative or none-looking hexadecimal number) throws std::out_of_range
// rather than store a wrong link.
std::string StoredNumberField(int value, bool hex);

}  // namespace kv
