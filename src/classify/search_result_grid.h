#pragma once
// The result grid of the search window: one hit per row, laid out in the
// columns of the estimate's widest level and filled from each hit's row
// record cut by the columns of its narrowest level. The grid is read-only.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;

// Data rows of the result grid: one per hit the search can list.
inline constexpr int kResultGridRows = 1000;

// A cell of a two-line ("W") column of `width` bytes laid out in one grid
// cell, in Shift-JIS bytes: a first line longer than (width - 2) / 2 bytes
// (halves to even) wraps there (a double-byte character that would be cut
// moves to the second line whole, a blank taking its byte), and the cell's own
// second line follows; otherwise the cell keeps its two lines, the second cut
// to that width. At most 128 bytes and never more than `width`; trailing
// blanks dropped.
std::string SrchText2DanMake(std::string_view bytes, int width);

// Lays the grid out for `level`: counts (rows 0 .. `rows`), font, zoom, row
// heights (double for a level with a "W" column, which sets `HasWideColumn`),
// column widths and captions, numeric columns right-aligned, the grid's
// switches (read-only, cursor frame, selection colour 11 for a search of the
// reference and 8 for the estimate). Every data cell is emptied, so the hits
// of an earlier search never show under a new one.
void SetUpResultSheet(ProgramState& st, GridModel& grid, int level, int zoom, bool forReference, int rows);

// Writes the hit's row record into rows first .. last: each column of
// `narrowLevel` cut from the record, numbers with thousands separators,
// two-line columns laid out by SrchText2DanMake.
void AddResultRow(ProgramState& st, GridModel& grid, int narrowLevel, int first, int last,
                  std::string_view record);

}  // namespace kv
