// The classification master window beside the running editor: opened by the
// double click on a code cell, it shows the master in its grid under its
// caption and menus, a double click on a master row hands the code into the
// estimate, and closing it clears its flag.
#include "classify/windows/kv_siwa_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <filesystem>
#include <string>

#include "classify/kv_siwa_frm.h"
#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "sheet/cell_commit.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

class KvSiwaWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = app.path().string();
    std::filesystem::create_directories(app.path() / "WORK");
    st.WorkFileBase = st.AppPath + "/WORK/無題";
    st.CurrentFilePath = st.WorkFileBase;
    st.DataLen = 128;
    st.Imax = 50;
    st.MemoRowMax = 80;
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 40;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 7000;
    st.CurrentLevel = 1;
    st.LevelCaption[1] = Blank();
    // Name, code of master 1, its name.
    const char* types[] = {"C", "I1", "D"};
    const int starts[] = {20, 44, 50}, widths[] = {24, 6, 20};
    for (int c = 1; c <= 3; ++c) {
      st.ColType[1][c] = types[c - 1];
      st.ColStart[1][c] = starts[c - 1];
      st.ColWidth[1][c] = widths[c - 1];
    }
    st.ColCount[1] = 3;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    for (std::string& r : st.SheetRows) r = Blank();
    st.SheetTotalRecord = Blank();
    st.SheetTotalRecord[2] = 'G';
    const std::filesystem::path ini = app / "KVSSYS.INI";
    for (auto [key, value] : {std::pair{"SIWAKE1", "SIWAKE1.DAT"}, {"ROWSMAX", "100"}, {"ITEMCNT", "7"},
                              {"ITEM1", "10"}, {"ITEM2", "40"}, {"ITEM3", "40"}, {"ITEM4", "60"}, {"ITEM5", "14"},
                              {"ITEM6", "14"}, {"ITEM7", "20"}})
      IniPutString("仕訳画面", key, value, ini);
    const std::vector<int> widths7{10, 40, 40, 60, 14, 14, 20};
    std::string master;
    const char* rows[][7] = {{"101", "基礎工事", "根切り・砕石", "東京都港区", "03-1234-5678", "03-1234-5679", "山田"},
                             {"102", "躯体工事", "型枠・鉄筋", "", "", "", "佐藤"},
                             {"201", "内装工事", "", "", "", "", ""}};
    for (int i = 0; i < 3; ++i) {
      std::vector<std::string> items;
      for (const char* t : rows[i]) items.push_back(ToSjis(t));
      master += MasterRecordBuild(i + 1, i < 2 ? i + 2 : 0, items, widths7);
    }
    app.Write("SIWAKE1.DAT", master);

    RegisterEditorWindow(ui, st, {});
    RegisterSiwaWindow(ui, st);
    ui.ShowModeless(kEditWindow);
    editor = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(editor, nullptr);
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, 1);
    st.SheetLoading = false;
    st.sheetEngine->SheetRedisplay(st, 1, 1);
    test::Settle();
  }
  void TearDown() override {
    delete ui.LoadedWindow(kSiwakeWindow);
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }
  std::string Blank() const { return std::string(size_t(st.DataLen), ' '); }

  test::TempFolder app;
  QtUi ui;
  ProgramState st{ui};
  EDTSHEET_FRM* editor = nullptr;
};

TEST_F(KvSiwaWindowTest, OpensOnTheMasterAndHandsACodeOver) {
  SiwakeItemRead(st, (app / "SIWAKE1.DAT").string(), 1);
  editor->EdtSheet().SetCursor(3, 1);  // the name column of master 1
  SiwaWindowOpen(st);
  test::Settle();
  auto* w = dynamic_cast<KvSiwaWindow*>(ui.LoadedWindow(kSiwakeWindow));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(st.SiwakeWindowOpen);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), ToQ("< SIWAKE1.DAT > 内訳書"));
  EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
  QStringList menus;
  for (QAction* a : w->findChild<QMenuBar*>()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({ToQ("ﾌｧｲﾙ(&F)"), ToQ("編集(&E)"), ToQ("画面(&V)")}));
  EXPECT_EQ(w->Menus().Action("mnuFItem", 0)->text(), ToQ("追加変更(&A) OFF"));
  EXPECT_FALSE(w->Menus().Action("mnuEItem", 0)->isEnabled());
  GridModel& grid = w->SiwaSheet();
  EXPECT_EQ(grid.ColCount(), 7);
  EXPECT_EQ(grid.CellText(2, 1).substr(0, std::string("基礎工事").size()), "基礎工事");
  if (const char* out = std::getenv("KORVANE_SHOT_DIR")) {
    w->resize(900, 400);
    test::Settle();
    w->grab().save(QString::fromStdString((std::filesystem::path(out) / "kv_siwa_frm.png").string()));
  }

  w->Logic().SiwaSheet_DblClk(1, 2);
  test::Settle();
  EXPECT_EQ(st.SheetRows[1].substr(43, 6), "102   ");
  EXPECT_EQ(st.SheetRows[1].substr(49, 8), ToSjis("躯体工事"));
  EXPECT_EQ(st.CurrentCol, 2);
  EXPECT_EQ(editor->EdtSheet().CurrentCol(), 2);

  w->close();
  test::Settle();
  EXPECT_FALSE(st.SiwakeWindowOpen);
  EXPECT_EQ(ui.LoadedWindow(kSiwakeWindow), nullptr);
}

}  // namespace
}  // namespace kv
