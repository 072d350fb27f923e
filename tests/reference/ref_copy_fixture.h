#pragma once
// The reference window beside an editor: the reference "R" in WORK2 shown
// in the reference grid, the estimate "EST" in WORK read into the sheet in
// memory and painted into the editor's grid, a sheet engine over that grid
// and a recording double of the file commands.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/grid/grid_api.h"
#include "reference/ref_fixture.h"
#include "reference/ref_sheet.h"
#include "sheet/grid_setup.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_painting.h"
#include "storage/file_commands_double.h"
#include "storage/level_read.h"

namespace kv::test {

class RefCopyFixture : public RefFixture {
 protected:
  GridModel edt;
  SheetEngine engine{edt, nullptr};
  FileCommandsDouble files;

  void SetUp() override {
    RefFixture::SetUp();
    st.Imax = 20;
    Load();
    st.sheetEngine = &engine;
    st.fileCommands = &files;
    st.RefWorkFileBase = (Work2() / "R").string();
    st.RefFilePath = (app.path() / "DATA" / "R.YZH").string();
  }

  void TearDown() override {
    st.sheetEngine = nullptr;
    RefFixture::TearDown();
  }

  // The reference sheet of `level` shown (below level 1 the chain under
  // `parent`, a record of the level above).
  void ShowRef(int level, const std::string& parent = {}) {
    if (level > 1) st.RefParentRows[static_cast<size_t>(level - 1)] = parent;
    st.RefCurrentLevel = level;
    RefLevelRead(st, grid, level);
    RefSheetRedisplay(st, grid, 1, st.RefUsedRows);
  }

  // The estimate's level-1 sheet in memory and on the editor's grid, the
  // cursor at (col, row).
  void ShowEstimate(int col, int row) {
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    SheetGridInit(st, edt, 1);
    SheetRedisplay(st, edt, 1, st.UsedRows);
    st.CurrentCol = col;
    st.CurrentRow = row;
    edt.SetCursor(col, row);
  }

  // Reference rows top .. bottom of one column (or several) selected.
  void Select(int col1, int top, int col2, int bottom) {
    SetSelect32(grid, col1, top, col2, bottom);
    st.RefSelStart = col1;
    st.RefSelEnd = top;
  }

  // Column A of the sheet rows 1 .. n, trailing blanks removed.
  std::vector<std::string> ColumnA(int n) const {
    std::vector<std::string> out;
    for (int r = 1; r <= n; ++r) {
      std::string t = st.SheetRows[static_cast<size_t>(r)].substr(19, 10);
      while (!t.empty() && t.back() == ' ') t.pop_back();
      out.push_back(t);
    }
    return out;
  }
};

}  // namespace kv::test
