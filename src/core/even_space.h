#pragma once
// Even spacing of a cell text across the byte width of its column (the
// "簡易均等割付(&W)" command): the characters are spread with equal runs of
// blanks between them, framed by full-width blanks, while characters that
// belong together (a kana and its voiced-sound or long-vowel mark, a run of
// digits, a run of Latin letters) stay together. The text never becomes
// wider than the column and is never broken into lines.
#include <string>

namespace kv {

// text: Shift-JIS bytes, in and out; width: the column's byte width.
// Returns true when the text is not blank: the sheet is then to be marked
// modified, also when the text stays as it was (it fits no other way, or it
// holds more than 30 pieces to spread).
// (state/cell_even_space.h has the form that marks the sheet modified.)
bool EvenSpaceCellText(std::string& text, int width);

}  // namespace kv
