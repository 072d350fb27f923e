#pragma once
// Fields of the row records of the sheet in memory. A cell (level, column,
// row) is the `ColWidth` bytes of the row record from `ColStart` (1-based,
// Shift-JIS). Reading one gives display text; writing one replaces exactly
// its bytes, never those of a neighbour, and never leaves half of a
// double-byte character in it.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// The bytes of `width` bytes from `start` (1-based) of a record, as far as
// the record reaches.
std::string_view FieldBytes(std::string_view rec, int start, int width);
// The column's bytes of a record at a level (byte form).
std::string_view FieldBytes(const ProgramState& st, std::string_view rec, int col, int level);
// The column's text of a record at a level (display text).
std::string FieldText(const ProgramState& st, std::string_view rec, int col, int level);

// The byte form cut to at most n bytes without splitting a double-byte
// character, then padded with blanks to exactly n bytes.
std::string FitBytes(std::string_view bytes, int n);

// Writes the byte form over the bytes start .. start + width - 1 of the
// record, fitted to exactly that width (FitBytes). A record shorter than
// `recordLength` is first padded with blanks to it; the write stops at the
// record's end, so the record's length never changes afterwards.
void FieldStore(std::string& rec, int start, int width, std::string_view bytes, int recordLength);
// The same for the column of a level (the record length is `DataLen`).
void FieldStore(const ProgramState& st, std::string& rec, int col, int level,
                std::string_view bytes);

// n / 2 rounded to the nearest whole number, a half to the even neighbour;
// 0 for n below 1.
int HalfRoundEven(int n);
// Width of one line of a two-line ("W") field of `colWidth` bytes:
// (colWidth - 2) / 2 rounded, halves to even (40 -> 19, 41 -> 20, 43 -> 20).
int WColumnLineWidth(int colWidth);
// Width of the one line shown alone for such a field (level-bar labels,
// tree nodes): colWidth / 2 - 2 rounded the same way (40 -> 18, 43 -> 20).
int WColumnOneLineWidth(int colWidth);
// The column's type code is exactly "W" / begins with "W".
bool IsWColumn(const ProgramState& st, int col, int level);
bool IsWTypeColumn(const ProgramState& st, int col, int level);

// A number as the sheet writes it in headers and the status bar: a blank in
// front of a number from 0 up, "-" in front of a negative one.
std::string StrNum(int n);
// A row number right-aligned in three characters (numbers above 999 keep
// their last three digits): "  5", " 42", "000" for 1000.
std::string RowNumberText(int row);

// The text without its trailing blanks.
std::string RTrimBlanks(std::string_view text);
// True when the text is empty or blanks only.
bool IsBlank(std::string_view text);

}  // namespace kv
