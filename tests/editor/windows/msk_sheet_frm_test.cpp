// The mask set-up window on the offscreen platform: its menu, its grid driven
// by keys, the held height, and a registration that writes the estimate's
// settings and layout files, marks the estimate for packing and closes.
#include "editor/windows/msk_sheet_frm.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <string>

#include "core/ini_file.h"
#include "core/window_services.h"
#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class MskSheetFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.AppPath = app.path().string();
    stdfs::create_directories(app.path() / "WORK");
    st.WorkFileBase = st.AppPath + "/WORK/EST";
    st.UsesCurrentSettings = false;
    st.DataLen = 64;
    st.LevelCount = 1;
    st.CurrentLevel = 1;
    st.FontName = "IPAMincho";
    st.ToTalNameColmun = 1;
    st.LevelsDifferInCols = true;
    const int starts[] = {20, 30, 40}, widths[] = {10, 10, 12};
    const char* types[] = {"C", "2", "0"};
    for (int c = 1; c <= 3; ++c) {
      st.ColType[1][c] = types[c - 1];
      st.ColStart[1][c] = starts[c - 1];
      st.ColWidth[1][c] = widths[c - 1];
    }
    st.ColCount[1] = 3;
    st.LevelCaption[1] = std::string(19, ' ') + ToSjis("名称      数量      金額        ");
    st.MASK_NAME[0] = "全項目";
  }
  test::TempFolder app;
  test::ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(MskSheetFrmTest, MenuGridAndHeldHeight) {
  QPointer<MskSheet_Frm> w = new MskSheet_Frm(st);
  w->show();
  test::Settle();
  EXPECT_EQ(w->windowTitle(), ToQ("マスク設定画面 [ 全項目 ]"));
  QStringList captions;
  for (QAction* a : w->findChild<QMenuBar*>()->actions()) captions << a->text();
  EXPECT_EQ(captions, QStringList({ToQ("登録(&S)"), ToQ("中止(&C)"), ToQ("ﾏｽｸ開放(&F)"), ToQ("ﾍﾙﾌﾟ(&H)")}));
  const int held = TwipsToPixels(1675, w->logicalDpiY());
  EXPECT_EQ(w->height(), held);
  w->resize(w->width() + 40, held + 80);
  test::Settle();
  EXPECT_EQ(w->height(), held);

  GridModel& grid = w->MskSheet();
  EXPECT_EQ(grid.CellText(2, 0), "数量      ");
  test::PressKey(w->MskSheetView(), Qt::Key_Return);
  EXPECT_EQ(grid.CellText(1, 1), std::string(10, 'X'));
  test::PressKey(w->MskSheetView(), Qt::Key_Delete);
  EXPECT_EQ(grid.CellText(1, 1), std::string(10, 'X'));
  w->MaskOpen()->trigger();
  EXPECT_EQ(grid.CellText(1, 1), std::string(10, ' '));
  w->MaskCancel()->trigger();
  test::Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_FALSE(stdfs::exists(st.WorkFileBase + ".INI"));
}

TEST_F(MskSheetFrmTest, RegistrationWritesTheFilesAndClosesTheWindow) {
  QPointer<MskSheet_Frm> w = new MskSheet_Frm(st);
  w->show();
  test::Settle();
  w->MskSheet().SetCurrentCol(3);
  test::PressKey(w->MskSheetView(), Qt::Key_Return);
  ui.AnswerModal("Z_InputBox", [this] {
    st.InputText = "金額なし";
    st.InputOk = true;
  });
  w->MaskRec()->trigger();
  test::Settle();
  EXPECT_TRUE(w.isNull());
  std::string name;
  IniGetString("マスク情報", "MASK_NAME0", name, st.WorkFileBase + ".INI");
  EXPECT_EQ(name, "金額なし");
  EXPECT_EQ(IniGetInt("マスク情報", "XMASK1", st.WorkFileBase + ".INI"), 0);
  EXPECT_TRUE(stdfs::exists(LayoutFilePath(st, st.WorkFileBase)));
  EXPECT_EQ(st.MaskDef[1][3][0], 'M');
  EXPECT_EQ(st.MaskDef[1][1][0], ' ');
  EXPECT_TRUE(st.PackPending);
  ui.ExpectAllAnswered();
}

// The View menu's item 5 opens the window modally over the editor, after the
// marking modes have ended; its Cancel brings the editor back.
TEST(MskSheetFromViewMenu, ItemFiveOpensTheWindowModally) {
  test::EnsureQtApp();
  QtUi qt;
  ProgramState st{qt};
  st.FontName = "IPAMincho";
  st.MASK_NAME[0] = "全項目";
  RegisterEditorWindow(qt, st, EditorWindowHooks{});
  qt.ShowModeless(kEditWindow);
  auto* editor = dynamic_cast<EDTSHEET_FRM*>(qt.LoadedWindow(kEditWindow));
  ASSERT_NE(editor, nullptr);
  st.NotPrintLineMode = true;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* w = dynamic_cast<MskSheet_Frm*>(qt.LoadedWindow(kMaskWindow));
    ASSERT_NE(w, nullptr);
    shown = w->isVisible() && w->isModal();
    EXPECT_FALSE(st.NotPrintLineMode);
    w->MaskCancel()->trigger();
  });
  editor->MenuAction("Menu_7Sub", 5)->trigger();
  EXPECT_TRUE(shown);
  EXPECT_FALSE(qt.IsWindowLoaded(kMaskWindow));
  delete editor;
}

}  // namespace
}  // namespace kv
