#pragma once
// The column value links of the settings ([Boot] ABLink*): a value entered
// into a link's source column is copied into its destination column of the
// same row, and the customer variant's amount routing by column 10.
namespace kv {

struct ProgramState;
class GridModel;

// Applies the first link whose source is `col` to sheet row `row`.
void ABLinkUpdate(ProgramState& st, GridModel& grid, int col, int row);

// Repaints the cursor row's text cells from the row record.
void CellWriteBack(ProgramState& st, GridModel& grid);

}  // namespace kv
