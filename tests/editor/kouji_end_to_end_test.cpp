// The project information's road into the estimate file: a value saved in
// the project-information window of a named estimate is packed by the next
// save, and a program started afresh that opens the estimate shows it.
#include <gtest/gtest.h>

#include "editor/kouji_sht.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "storage/file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

TEST(ProjectInfoEndToEnd, ASavedValueComesBackWithTheEstimate) {
  test::TempFolder shared;
  const std::string file = (shared.path() / "港北ビル改修.YZH").string();
  {
    test::Program p("MACHINE-A");
    p.SetTexts(1, {"仮設工事", "躯体工事"});
    p.st.SheetModified = true;
    p.ui.AnswerSaveDialog(file);
    ASSERT_TRUE(FileSaveAsRun(p.st, false));

    UiGridFontMetrics metrics{p.ui};
    GridModel grid;
    grid.SetFontMetrics(&metrics);
    KoujiSht sht(p.st, grid, {});
    sht.Form_Load();
    EXPECT_EQ(grid.CellText(1, 1), "工事名称" + std::string(12, ' ')) << "the shipped labels";
    ASSERT_TRUE(grid.StartEditByTyping('K', "K"));
    grid.CommitEdit("港北ビル改修工事");
    sht.KoujiMenu_1sub_Click(1);
    EXPECT_FALSE(p.st.SheetModified);
    ASSERT_TRUE(p.st.PackPending);
    FileSave(p.st);
    EXPECT_FALSE(p.st.PackPending);
    FileNew(p.st);  // closes it: the work files go
    p.ui.ExpectAllAnswered();
  }

  test::Program next("MACHINE-B");
  next.ui.AnswerOpenDialog(file);
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, file);
  UiGridFontMetrics metrics{next.ui};
  GridModel grid;
  grid.SetFontMetrics(&metrics);
  KoujiSht sht(next.st, grid, {});
  sht.Form_Load();
  EXPECT_EQ(grid.CellText(2, 1), "港北ビル改修工事" + std::string(24, ' '));
}

}  // namespace
}  // namespace kv
