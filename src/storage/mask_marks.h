#pragma once
// The marks of the mask set-up window: for each column of a level, the text
// of its mark cell. A cell that is empty or holds only blanks means the
// column is shown in the screen being edited; any other text means hidden.
#include <functional>
#include <string>
#include <string_view>

namespace kv {

class GridModel;

// The mark cell text (display text) of column c, 1-based.
using MaskMarks = std::function<std::string(int column)>;

// The marks of the mask window's grid: column c's cell in the grid's current
// row (a column the grid does not have reads empty). The grid must outlive
// the result.
MaskMarks MaskGridMarks(const GridModel& grid);

// The mask code of a mark cell: 'M' (hidden) when the text holds anything but
// blanks, ' ' (shown) otherwise.
char MaskCodeOf(std::string_view markText);

// A level's chosen screen as an index of the mask codes: 0..5, anything else 0.
int MaskScreenIndex(int screen);

}  // namespace kv
