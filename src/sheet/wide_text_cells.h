#pragma once
// Two-line ("W") cell texts: fitting a pasted text to the two lines, laying a
// stored text out for a sheet grid, the one-line form of a stored text, and
// the byte-cut helpers they share. Lengths are Shift-JIS bytes; a
// double-byte character is never split. With w = WColumnLineWidth(ColWidth)
// for the lines of the cell and n = WColumnOneLineWidth(ColWidth) for the one
// line shown alone.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Whether a cut of the display text after n bytes falls inside a character:
// false when the first n bytes end on a character boundary (pos = n minus the
// length of the character that ends there); true when a double-byte character
// straddles byte n (pos = the bytes before it) or the text ends before n
// bytes (pos = its byte length).
bool DbcsCutPos(std::string_view text, int n, int& pos);

// The display text without the first two occurrences of the one-byte
// character `ch` (in its byte form); later ones stay.
std::string StrReplaceB(std::string_view text, char ch);

// The one-line form of a stored field (byte form in, byte form out) of
// column `column` of `level`: for a column of type exactly "W", its first
// line (up to the first line break within the field's bytes) blank-padded to
// n bytes, or its first n bytes when it has no line break; any other column's
// text comes back as it is.
std::string WColumnTextFit(const ProgramState& st, std::string_view bytes, int level, int column);

// A stored "W" field (byte form) laid out for a sheet grid (byte form): line
// 1 longer than w is broken after w bytes (line 2 is then not shown); a line
// 1 that fits is followed by line 2 cut to w bytes; each form ends with
// `ColWidth` blanks.
std::string CellTextSplit(const ProgramState& st, std::string_view bytes, int column, int level);

// A pasted text (display text) fitted to the two lines of the current cell
// (`CurrentCol` of `CurrentLevel`) when that is a "W" column, the lines
// separated by LF alone (or joined where the first line is too long for the
// break to stay); any other column gets the text unchanged. The line width
// is that of the current column, or of `column` when one is given that is
// the current column or lies right of it. A text holding LF but no CR gets
// a CR before its first LF, in `text` as well.
std::string CellTextFit(const ProgramState& st, std::string& text, int column = 0);

}  // namespace kv
