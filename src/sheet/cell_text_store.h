#pragma once
// Storing the text of a two-line ("W") cell into the sheet in memory.
#include <string>

namespace kv {

struct ProgramState;

// Stores `text` (display text) into the "W" field (col, level) of
// `SheetRows`(row) and gives back in `text` what the field now reads, without
// trailing blanks. With w the field's width and h = WColumnLineWidth(w), the
// field holds line 1, CR LF, line 2, each at most h bytes:
//   - an empty text changes nothing;
//   - one line of at most h bytes is stored alone, blank-padded, no CR LF;
//   - one longer line is broken after h bytes (a double-byte character at the
//     break moves whole to line 2); what does not fit two lines is lost;
//   - two lines: a line 1 longer than h bytes pushes its overflow in front of
//     line 2, which is then cut to h bytes; a text starting with CR LF stores
//     its line 2 alone; a third line is dropped.
// Only the field's own bytes are written (the rest blank-padded); the field
// never ends in half a double-byte character, also when 2h + 2 exceeds w
// (widths 17, 21, 25 ...).
void CellTextStore(ProgramState& st, std::string& text, int col, int row, int level);

}  // namespace kv
