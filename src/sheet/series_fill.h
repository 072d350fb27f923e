#pragma once
// The series fill of a text column: the first cell of a one-column
// selection starts a numbering ("1", "1)", "1.", "(1)", "A", "a", "ｱ",
// "ｲ", "い", "あ", "Ａ", "ａ", "Ⅰ", and their full-width starts) that the
// rows below continue; any other text is copied. Only plain rows without
// the non-print mark receive an item; the rows passed over consume none.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// Writes `item` (Shift-JIS bytes) into the cursor column of sheet row `row`
// when it is a plain row without the "U" mark; otherwise writes nothing and
// lowers `k`, so that the row consumes no item.
void SeriesValuePut(ProgramState& st, GridModel& grid, const std::string& item, int row, int& k);

// The command on the stored selection (SelRectStore). Refused with a
// message for a selection of several columns, a column that is neither "C"
// nor "W", a range starting on a row that is not a plain row, and, in the
// equipment edition, a rule's totals column or a unit column.
void SeriesFill(ProgramState& st, GridModel& grid);

}  // namespace kv
