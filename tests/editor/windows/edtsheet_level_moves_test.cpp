// The editor window on an estimate of eight levels (default layout, written
// with the level writer and packed): F9 down to the deepest level shows a
// button and a label for each of the seven parent levels with the parents'
// headings, the grid right under them; a level button jumps back up; the
// tree pane opened by the splitter shows the estimate. With
// KORVANE_LEVEL_PICTURES set to a folder the window is saved there at level
// 3 ("縦" with the tree open, and "横") and at level 8. The page numbers the
// window writes show in the status bar's page panel.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <cstdlib>
#include <filesystem>

#include "calc/calc_engine.h"
#include "core/window_services.h"
#include "editor/level_estimate.h"
#include "editor/recent_file_open.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/tree/qt/tree_view.h"
#include "state/column_defs.h"
#include "storage/program_copy.h"
#include "storage/windows/file_commands_wiring.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

// Any message box is noted and closed.
class NotingUi : public QtUi {
 public:
  std::vector<std::string> messages;
  int MsgBox(std::string_view text, int, std::string_view) override {
    messages.emplace_back(text);
    return vbOK;
  }
};

// DATA/港北ビル改修.YZH: on each level two rows, the first owning the sheet
// of the next level (level 8: two priced rows).
std::string WriteEstimate(const std::filesystem::path& data) {
  static const char* const kWork[] = {"", "建築工事", "躯体工事", "基礎工事", "鉄筋工事", "配筋",
                                      "地中梁",   "主筋",     "異形鉄筋"};
  test::Program maker("MACHINE-B");
  ProgramState& st = maker.st;
  CalcEngine calc;
  st.calc = &calc;
  st.ReCalcFlag = true;
  EXPECT_TRUE(SumColumnFind(st));
  st.WorkFileBase = maker.Work() + "/港北ビル改修";
  st.CurrentFilePath = (data / "港北ビル改修.YZH").string();
  for (int level = 1; level <= 8; ++level)
    test::WriteLevelSheet(maker, level,
                          {test::PricedRow(st, level, kWork[level], "1", level == 8 ? "12500" : ""),
                           test::PricedRow(st, level, level == 1 ? "設備工事" : "雑工事", "2", "3000")});
  // Computed from the deepest sheet up, each total carried into its parent.
  st.RecalcAllRunning = true;
  for (int level = 8; level >= 1; --level) {
    st.CurrentLevel = level;
    EXPECT_TRUE(LevelRowsRead(st, level));
    EXPECT_TRUE(LevelWrite(st, level));
  }
  st.RecalcAllRunning = false;
  EXPECT_EQ(PackEstimateFile(st, st.CurrentFilePath, false), kEstimatePacked);
  return st.CurrentFilePath;
}

class EdtSheetLevelMoves : public ::testing::Test {
 protected:
  test::TempFolder app;
  test::TempFolder shared;
  NotingUi ui;
  ProgramState st{ui};
  FileCommands files;
  CalcEngine engine;
  EditorWindowHooks hooks;
  EDTSHEET_FRM* w = nullptr;
  std::string file;

  void SetUp() override {
    test::EnsureQtApp();
    test::CopyProgramFolder(app.path());
    std::filesystem::create_directory(shared.path() / "DATA");
    st.MachineName = "MACHINE-A";
    st.calc = &engine;
    test::StartProgram(st, app.path());
    st.EditWinWidth = 16000;
    st.EditWinHeight = 8000;
    st.KVDisp = "縦";
    for (std::string& r : st.SheetRows) r.assign(static_cast<size_t>(st.DataLen), ' ');
    st.SheetTotalRecord.assign(static_cast<size_t>(st.DataLen), ' ');
    WireFileCommands(ui, st, files);
    file = WriteEstimate(shared.path() / "DATA");
    st.RecentFiles[1] = "1 " + file;
    RegisterEditorWindow(ui, st, hooks);
    ui.ShowModeless(kEditWindow);
    w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(w, nullptr);
    RecentFileOpen(st, 1);
    test::Settle();
    ASSERT_EQ(st.CurrentFilePath, file);
  }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }

  void Down() {
    w->EdtSheet().SetCursor(1, 1);
    w->EdtSheet().KeyDown(gridkey::kF9, false, false);
    test::Settle();
  }
  int ShownButtons() const {
    int n = 0;
    for (int i = 1; i <= EDTSHEET_FRM::kLevelButtons; ++i) n += w->DM_Button(i)->isHidden() ? 0 : 1;
    return n;
  }
  void Picture(const char* name) {
    const char* dir = std::getenv("KORVANE_LEVEL_PICTURES");
    if (!dir) return;
    test::Settle();
    w->grab().save(QString::fromStdString((std::filesystem::path(dir) / name).string()));
  }
};

TEST_F(EdtSheetLevelMoves, DownToLevelEightAndBackWithTheLevelBar) {
  Down();
  Down();
  ASSERT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(ShownButtons(), 2);
  EXPECT_EQ(w->DMLabel(1)->text().trimmed(), QString::fromUtf8(":建築工事"));
  EXPECT_EQ(w->DMLabel(2)->text().trimmed(), QString::fromUtf8(":躯体工事"));
  EXPECT_EQ(w->EdtSheetView()->y(), 2 * w->DMLabel(1)->height());
  EXPECT_EQ(w->EdtSheet().CurrentRow(), 1);

  // The tree opened by the splitter, its first branches expanded.
  w->Sizer_MouseDown(w->Sizer()->x());
  w->Sizer_MouseUp(w->centralWidget()->width() / 4);
  ASSERT_TRUE(st.TreeShown);
  TreeModel& tree = w->EditTree();
  ASSERT_GE(tree.Count(), 3);
  tree.SetExpanded("Root", true);
  const TreeNode* first = tree.TopNodes()[0]->children[0];
  tree.SetExpanded(first->data.key, true);
  if (!first->children.empty()) tree.SetExpanded(first->children[0]->data.key, true);
  EXPECT_FALSE(w->TreeView1()->isHidden());
  EXPECT_EQ(w->DM_Button(1)->x(), w->Sizer()->x() + w->Sizer()->width());
  Picture("wire18_level3_tate_tree.png");

  // A click on the level-1 row 設備工事 opens level 1 on that row; the
  // branch of 躯体工事 then opens level 3 again through F9.
  const std::string other = tree.TopNodes()[0]->children[1]->data.key;
  tree.UserClick(other);
  test::Settle();
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(w->EdtSheet().CurrentRow(), 2);
  EXPECT_EQ(ShownButtons(), 0);
  EXPECT_FALSE(st.CommandBusy);
  Down();
  Down();
  ASSERT_EQ(st.CurrentLevel, 3);

  w->MenuAction("DM_DISP", 3)->trigger();
  EXPECT_EQ(st.KVDisp, "横");
  EXPECT_EQ(w->DM_Button(2)->y(), w->DM_Button(1)->y());
  EXPECT_EQ(w->EdtSheetView()->y(), w->DMLabel(1)->height());
  Picture("wire18_level3_yoko.png");
  w->MenuAction("DM_DISP", 1)->trigger();
  w->Sizer_MouseDown(w->Sizer()->x());
  w->Sizer_MouseUp(1);
  ASSERT_FALSE(st.TreeShown);

  for (int level = 4; level <= 8; ++level) Down();
  ASSERT_EQ(st.CurrentLevel, 8);
  EXPECT_EQ(ShownButtons(), 7);
  for (int i = 1; i <= 7; ++i) EXPECT_FALSE(w->DMLabel(i)->isHidden()) << i;
  EXPECT_EQ(w->DMLabel(7)->text().trimmed(), QString::fromUtf8(":主筋"));
  EXPECT_EQ(w->EdtSheetView()->y(), w->DMLabel(7)->geometry().bottom() + 1);
  // F9 on the deepest level goes nowhere.
  Down();
  EXPECT_EQ(st.CurrentLevel, 8);
  Picture("wire18_level8.png");

  // The seventh button jumps to level 7, the first to level 1.
  w->DM_Button(7)->click();
  test::Settle();
  EXPECT_EQ(st.CurrentLevel, 7);
  EXPECT_EQ(ShownButtons(), 6);
  w->DM_Button(1)->click();
  test::Settle();
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(ShownButtons(), 0);
  EXPECT_EQ(w->EdtSheetView()->y(), 0);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_TRUE(ui.messages.empty());
}

// The window's page-number service numbers the open estimate's sheets (two
// rows each, one page a sheet, level n's sheet starting on page n); the
// status bar's page panel shows a level's start page once it is read.
TEST_F(EdtSheetLevelMoves, PagePanelShowsTheNumbersTheWindowWrote) {
  w->PageNumbersWrite(st);
  Down();
  Down();
  ASSERT_EQ(st.CurrentLevel, 3);
  w->EdtSheet().KeyDown(gridkey::kDown, false, false);
  test::Settle();
  EXPECT_EQ(w->StatusPanelText(4), " 3P");
  for (int level = 4; level <= 8; ++level) Down();
  ASSERT_EQ(st.CurrentLevel, 8);
  w->EdtSheet().KeyDown(gridkey::kDown, false, false);
  test::Settle();
  EXPECT_EQ(w->StatusPanelText(4), " 8P");
  EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace kv
