#pragma once
// Measuring, cutting, padding and splitting text by Shift-JIS bytes without
// ever splitting a double-byte character.
//
// Two forms of text meet here:
//   - the byte form: Shift-JIS bytes in a std::string (row records, settings
//     values, print layouts); widths and positions are counted in these bytes;
//   - display text: UTF-8, as shown and edited.
// A routine whose name fixes the form takes a plain std::string_view (the
// parameter name says which form). A routine that works on both forms has two
// overloads: display text is passed wrapped as Utf8{text}, the byte form as a
// plain std::string_view; each overload returns text in the form it was given.
//
// Half-width katakana are one byte wide, every double-byte character two.
// Broken byte strings (a lead byte at the very end, a lead byte followed by a
// byte that cannot be a trail byte) are never read past their end: a cut never
// leaves a lead byte as the last byte of its result, and decoding shows the
// broken byte as kUtf8BrokenChar.
#include <string>
#include <string_view>

namespace kv {

// Display text (UTF-8), for the overloads that take either form.
struct Utf8 {
  std::string_view text;
};

// ---- Conversions and measures ----

// Display text -> byte form; characters without a Shift-JIS form become "?".
std::string ToAnsiBytes(std::string_view text);
// The same conversion, under the second name callers use.
std::string ToAnsiStr(std::string_view text);
// Byte form -> display text.
std::string ToUnicodeStr(std::string_view bytes);
// Byte length of the byte form of a display text.
int AnsiByteLen(std::string_view text);
// Byte length: of the byte form of display text, or of a byte string as is.
int LenBSjis(Utf8 text);
int LenBSjis(std::string_view bytes);

// Field reader of a row record: bytes start .. start + length - 1 (1-based;
// to the end when the length is left out or reaches past it), as display
// text. "" when start lies past the end, start is below 1 or length below 1.
std::string MidAnsi(std::string_view bytes, int start);
std::string MidAnsi(std::string_view bytes, int start, int length);

// ---- Cutting and fitting (double-byte characters are kept whole) ----

// The longest prefix of the display text at most n bytes wide; not padded.
std::string LeftByBytes(std::string_view text, int n);
// The same on the byte form; the result is in byte form.
std::string LeftByBytesAnsi(std::string_view bytes, int n);

// A text wider than n bytes cut to exactly n bytes: a double-byte character
// cut in half is dropped and a blank takes its byte. A text of at most n bytes
// comes back unchanged (not padded).
std::string CutToBytes(Utf8 text, int n);
std::string CutToBytes(std::string_view bytes, int n);

// The byte-wise piece of a text from byte `start`, `*length` bytes long (to
// the end when length is null), with repair of a cut double-byte character:
// when the piece would end in half a character, ends early because the text
// ends, or ends in NUL, it becomes its first (length - 1) bytes and a blank,
// and `*length` is decreased by 1 -- so `*length` + 1 is always where the next
// piece begins. Callers start on a character boundary.
// When the piece's width differs from the text's, `*rest` (when given)
// receives the text that follows the piece without its trailing blanks
// (blanks at the cut move to the front of the rest); otherwise it is left
// unchanged. A length below 1, a start below 1 or past the end give "" and
// leave *length and *rest unchanged.
std::string MidBSjis(Utf8 text, int start, int* length = nullptr, std::string* rest = nullptr);
std::string MidBSjis(std::string_view bytes, int start, int* length = nullptr,
                     std::string* rest = nullptr);

// The text without leading and trailing blanks; when that is longer than n
// characters, its non-blank characters only, at most n of them ("_" when n is
// 0 or less and there is anything to show).
std::string SqueezeFitChars(Utf8 text, int n);
std::string SqueezeFitChars(std::string_view bytes, int n);

// The text before its first NUL (the whole text when it holds none). NUL is
// never part of a multi-byte character in either form, so one routine serves
// both.
std::string CutAtNul(std::string_view text);
void CutAtNulInPlace(std::string& text);

// ---- Two-line cell texts (line 1, CR LF, line 2) ----

inline constexpr int kDanJoin = 1;   // the two lines joined into line1
inline constexpr int kDanSplit = 2;  // the two lines apart

struct DanLines {
  std::string line1;
  std::string line2;
  int position = 0;  // 1-based byte position of the first CR LF, 0 when none
};

// Splits (kDanSplit) or joins (kDanJoin) a two-line cell text at its first
// CR LF; anything after a second CR LF is dropped. Any other mode, an empty
// text or a text of blanks only gives two empty lines and position 0.
// The lines are in the form the text was given in.
DanLines Text2DanSplit(Utf8 text, int mode);
DanLines Text2DanSplit(std::string_view bytes, int mode);

}  // namespace kv
