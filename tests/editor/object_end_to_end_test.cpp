// A picture inserted from a file travels with the estimate: saved into the
// sheet's object file (linked from the sheet's closing record, wherever the
// save puts that record) and packed with the estimate, it is there again, the
// same bytes at the same cell and size, when another program opens it.
#include <gtest/gtest.h>

#include "editor/editor_grid_fixture.h"
#include "editor/object_menu.h"
#include "platform/codepage.h"
#include "platform/grid/grid_item_file.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "storage/file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"
#include "storage/level_read.h"

namespace kv {
namespace {

TEST(InsertedObjectEndToEnd, APictureFromAFileIsThereAfterSavingAndReopening) {
  test::TempFolder shared;
  const std::string file = (shared.path() / "港北ビル改修.YZH").string();
  const std::string picture = test::PngHeader(40, 30) + "pixels";
  const std::string picturePath = shared.Write("現場写真.png", picture).string();
  {
    test::Program p("MACHINE-A");
    p.st.SystemKind = 2;
    UiGridFontMetrics metrics{p.ui};
    GridModel grid;
    grid.SetFontMetrics(&metrics);
    grid.SetTotalsLine(true);
    p.files.sheetGrid = &grid;
    p.SetTexts(1, {"仮設工事", "躯体工事"});
    p.st.UsedRows = 2;
    p.st.SheetModified = true;
    p.ui.AnswerSaveDialog(file);
    ASSERT_TRUE(FileSaveAsRun(p.st, false));
    ASSERT_TRUE(LevelRead(p.st, 1));  // the sheet as the editor holds it, its records numbered
    // A row typed since: the closing record moves to another record when written.
    p.st.SheetRows[3] = p.st.SheetRows[2];
    p.st.SheetRows[3].replace(size_t(p.st.ColStart[1][1] - 1), 8, ToSjis("内装工事"));
    p.st.UsedRows = 3;
    SheetGridInit(p.st, grid, 1);
    grid.SetViewportSize(900, 600);

    test::CalcBoxDouble box;
    test::MemoDouble memo;
    GridModel rowSheet;
    EditorGrids g{p.st, grid, rowSheet, box, memo};
    grid.SetCursor(1, 2);
    p.st.CurrentCol = 1;
    p.st.CurrentRow = 2;
    p.ui.AnswerOpenDialog(picturePath);
    ObjectMenuSub_Click(g, kObjectFromFileItem);
    ASSERT_EQ(grid.ItemCount(), 1);
    ASSERT_TRUE(p.st.OleObjectsChanged);
    FileSave(p.st);
    EXPECT_FALSE(p.st.OleObjectsChanged) << "the objects were written";
    FileNew(p.st);  // closes it: the work files go
    p.ui.ExpectAllAnswered();
  }

  test::Program next("MACHINE-B");
  next.st.SystemKind = 2;
  UiGridFontMetrics metrics{next.ui};
  GridModel grid;
  grid.SetFontMetrics(&metrics);
  grid.SetTotalsLine(true);
  next.files.sheetGrid = &grid;
  next.ui.AnswerOpenDialog(file);
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, file);
  ASSERT_EQ(grid.ItemCount(), 1);
  EXPECT_EQ(next.st.SheetObjectCount, 1);
  const GridItem& it = grid.Item(1);
  EXPECT_EQ(it.data, picture);
  EXPECT_EQ(it.kind, kItemKindPicture);
  EXPECT_EQ(it.col1, 1);
  EXPECT_EQ(it.row1, 2);
  EXPECT_EQ(it.width, 40 * 15);
  EXPECT_EQ(it.height, 30 * 15);
}

}  // namespace
}  // namespace kv
