#pragma once
// The sheet in memory: the rows of the current level and the path to it.
#include <array>
#include <functional>
#include <string>

namespace kv {

inline constexpr int kMaxSheetRows = 1000;

// The top-left visible cell of the sheet grid.
struct SheetTopCell {
  int col = 0;
  int row = 0;
};

struct SheetState {
  // Row records (DataLen bytes each, Shift-JIS), index 0..1001.
  std::array<std::string, kMaxSheetRows + 2> SheetRows;
  int UsedRows = 0;
  std::string SheetTotalRecord;  // the closing record of the sheet in memory
  int CurrentLevel = 1;
  int CurrentRow = 0;
  int CurrentCol = 0;
  // The selection of the editor grid, normalised (SelRectStore): first and
  // last column, first and last row.
  int SelLeft = 0;
  int SelTop = 0;
  int SelRight = 0;
  int SelBottom = 0;
  std::string SheetObjNo;        // object file number of the sheet, "" when none
  std::array<int, kMaxSheetRows + 2> RowRecNos{};  // record numbers of the chain read
  std::array<std::string, 9> ParentRows;        // by level - 1: parent row records
  std::array<std::string, 9> PathTotalRecords;  // by level: closing records on the path
  // By level 1..8: where the user stood when going down from that level (the
  // grid's top-left cell, the cursor row and column), restored on the way back.
  std::array<SheetTopCell, 9> PathTopCells{};
  std::array<int, 9> PathRows{};
  std::array<int, 9> PathCols{};
  // The current level has a two-line ("W") column: every grid row is double
  // height. Set by the grid set-up.
  bool HasWideColumn = false;
  // The sheet grid's font size, read back by the grid set-up.
  int SheetFontSize = 0;
  bool LevelWriting = false;
  bool CalcNoDisplay = false;
  bool OleObjectsChanged = false;
  int SelectedObjectItem = -1;
  int RefSelectedObjectItem = -1;
  int SheetObjectCount = 0;
  // The lowest sheet row covered by an embedded object of the editor grid (0
  // when none). Set by the editor once its grid exists; unset, the sheet has
  // no objects to count.
  std::function<int()> EditGridObjectsLastRow;
};

}  // namespace kv
