#pragma once
// The sheet in memory: the rows of the current level and the path to it.
#include <array>
#include <functional>
#include <string>

namespace kv {

inline constexpr int kMaxSheetRows = 1000;

struct SheetState {
  // Row records (DataLen bytes each, Shift-JIS), index 0..1001.
  std::array<std::string, kMaxSheetRows + 2> SheetRows;
  int UsedRows = 0;
  std::string SheetTotalRecord;  // the closing record of the sheet in memory
  int CurrentLevel = 1;
  int CurrentRow = 0;
  int CurrentCol = 0;
  std::string SheetObjNo;        // object file number of the sheet, "" when none
  std::array<int, kMaxSheetRows + 2> RowRecNos{};  // record numbers of the chain read
  std::array<std::string, 9> ParentRows;        // by level - 1: parent row records
  std::array<std::string, 9> PathTotalRecords;  // by level: closing records on the path
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
