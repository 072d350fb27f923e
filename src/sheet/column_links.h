#pragma once
// The column value links of the settings ([Boot] ABLink*): a value entered
// into a link's source column is copied into its destination column of the
// same row, and the customer variant's amount routing by column 10.
namespace kv {

struct ProgramState;
class GridModel;

// True when `col` is one of the columns of `level` (1 .. ColCount).
bool IsLevelColumn(const ProgramState& st, int level, int col);

// The destination of the first link (1 .. ABLinkCount) whose source is
// `col`; 0 when there is none.
int FirstLinkDestination(const ProgramState& st, int col);

// Applies the first link whose source is `col` to sheet row `row`: between
// two numeric columns the source's value is copied, fitted to the
// destination (the overflow mark when it does not fit, never some of its
// digits); otherwise the source's bytes are copied over the destination (as
// many as the narrower of the two fields holds, never half a double-byte
// character). A numeric destination is fitted to its column and shown with
// separators, a "W" one without trailing blanks, any other as stored. Then, in the customer
// variant and for column 10, column 8's value goes into column 11 when
// column 10 reads "1", else into column 12, the other column blanked whole.
// A destination the current level does not have is left alone.
void ABLinkUpdate(ProgramState& st, GridModel& grid, int col, int row);

// The same for the cursor cell after a text entry: the destination is
// repainted only when it is a "C" or "W" column.
void CellWriteBack(ProgramState& st, GridModel& grid);

}  // namespace kv
