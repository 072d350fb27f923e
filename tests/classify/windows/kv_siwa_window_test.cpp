// The classification master window beside the running editor: opened by the
// double click on a code cell, it shows the master in its grid under its
// caption and menus, a double click on a master row hands the code into the
// estimate, and closing it clears its flag. Its 印刷 opens the master print
// dialog, whose choices reach the print program's job file.
#include "classify/windows/kv_siwa_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <sys/stat.h>
#include <QMenuBar>
#include <filesystem>
#include <fstream>
#include <string>

#include "classify/kv_siwa_frm.h"
#include "classify/windows/siwa_prn_dialog.h"
#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "editor/windows/menu_bar_view.h"
#include "editor/windows/tool_window_fixture.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "sheet/cell_commit.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "support/when_shown.h"

namespace kv {
namespace {

class KvSiwaWindowTest : public test::ToolWindowFixture {
 protected:
  void SetUp() override {
    // Name, code of master 1, its name.
    EditorStart({{"C", 20, 24}, {"I1", 44, 6}, {"D", 50, 20}}, [this] {
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
      RegisterSiwaWindow(ui, st);
    });
  }
  void TearDown() override { EditorEnd(kSiwakeWindow); }
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

TEST_F(KvSiwaWindowTest, PrintOpensTheMasterPrintWhoseChoicesReachTheJob) {
  // The printer's settings come from the installation's; the stand-in print
  // program keeps the job file it was handed.
  app.Write("DAVIROV.INI", "[Boot]\r\nDataLen=256\r\n");
  const std::filesystem::path program = app.Write("DOZUR3.exe", "#!/bin/sh\ncp MP_INFO.dat job.copy\n");
  ::chmod(program.c_str(), 0755);
  editor->EdtSheet().SetCursor(2, 1);
  SiwaWindowOpen(st);
  test::Settle();
  auto* w = dynamic_cast<KvSiwaWindow*>(ui.LoadedWindow(kSiwakeWindow));
  ASSERT_NE(w, nullptr);
  bool shown = false;
  test::WhenShown<SiwaPrnDialog>(ui, kSiwaPrintWindow, [&shown](SiwaPrnDialog& d) {
    shown = true;
    EXPECT_EQ(d.windowTitle(), ToQ("仕訳マスタ印刷"));
    EXPECT_TRUE(d.isModal());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    auto* copies = d.findChild<QComboBox*>("Combo2");
    ASSERT_NE(copies, nullptr);
    EXPECT_EQ(copies->count(), 10);
    EXPECT_EQ(copies->currentText(), ToQ(" 1"));
    EXPECT_EQ(d.findChild<QComboBox*>("Combo1")->count(), 7);
    auto* on = d.findChild<QRadioButton*>("Option1");
    EXPECT_TRUE(on->isChecked());
    // The OK button at its place: 3240, 60 twips.
    auto* ok = d.findChild<QPushButton*>("Command1");
    EXPECT_EQ(ok->geometry(), TwipsRect(d, 3240, 60, 1275, 375));
    if (const char* out = std::getenv("KORVANE_SHOT_DIR"))
      d.grab().save(QString::fromStdString((std::filesystem::path(out) / "frm_siwa_prn.png").string()));
    copies->setCurrentIndex(1);
    emit copies->activated(1);
    d.findChild<QRadioButton*>("Option2")->click();
    ok->click();
  });
  w->Menus().Action("mnuFItem", 3)->trigger();
  test::Settle();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(ui.IsWindowLoaded(kSiwaPrintWindow));
  EXPECT_EQ(st.SiwakePrintPath, (app / "SIWAKE1.DAT").string());
  std::ifstream in(app / "job.copy", std::ios::binary);
  const std::string job((std::istreambuf_iterator<char>(in)), {});
  EXPECT_NE(job.find("PAGE_NO=0\r\nPRN_FORM=1\r\nPRN_LOOP=2\r\n"), std::string::npos) << job;
  EXPECT_NE(job.find("PRN_MASTLIST=ON\r\n"), std::string::npos) << job;
}

}  // namespace
}  // namespace kv
