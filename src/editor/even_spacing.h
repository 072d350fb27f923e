#pragma once
// "簡易均等割付": the text of the cursor column spread evenly over the
// column's width in every selected row.
namespace kv {

struct ProgramState;
class GridModel;

// Over the stored selection (SelRectStore): rows `SelTop` .. `SelBottom` of
// the sheet in column `CurrentCol`, when that is a text ("C") or two-line
// ("W") column of the level; any other column is left alone, silently. A
// "W" field is spread line by line, each line over the line width, and
// stays on one line when it has no second line. Memo-type rows are passed
// over (their text runs across the column fields). Each rewritten row is
// stored fitted to the column, shown, and its column links follow. Then the
// sheet is modified and the grid's selection cleared.
void EvenSpacing(ProgramState& st, GridModel& grid);

}  // namespace kv
