// The editor window's View menu and toolbar combos as the user meets them:
// the items wired, a selection the program makes in a combo running the
// combo's handler once, and the combo's lists filled without running it.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>

#include "core/window_services.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

class EdtSheetViewMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.CurrentLevel = 1;
    RegisterEditorWindow(ui, st, {});
    ui.ShowModeless(kEditWindow);
    w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(w, nullptr);
  }
  // The window goes before the program state it refers to.
  void TearDown() override { delete ui.LoadedWindow(kEditWindow); }

  QtUi ui;
  ProgramState st{ui};
  EDTSHEET_FRM* w = nullptr;
};

TEST_F(EdtSheetViewMenu, ItemsWithACommandAreChoosable) {
  for (int item : {2, 5, 11, 13, 14, 15, 17}) EXPECT_TRUE(w->MenuAction("Menu_7Sub", item)->isEnabled()) << item;
  for (int i = 1; i <= 7; ++i) EXPECT_TRUE(w->MenuAction("PeparSerect", i)->isEnabled()) << i;
  for (int i = 0; i <= 5; ++i) EXPECT_TRUE(w->MenuAction("MaskGamen", i)->isEnabled()) << i;

  w->MenuAction("Line_Style", 3)->trigger();
  EXPECT_EQ(st.SheetPageLineStyle, 2);
  EXPECT_EQ(w->EdtSheet().PageLineStyle(), 2);
  EXPECT_TRUE(w->MenuAction("Line_Style", 3)->isChecked());
  EXPECT_FALSE(w->MenuAction("Line_Style", 1)->isChecked());
}

TEST_F(EdtSheetViewMenu, ZoomComboRunsItsHandlerForEveryChangeOfIndexButNotForTheFilling) {
  QComboBox* zoom = w->cmbZoom();
  zoom->clear();
  for (int v = 200; v >= 30; v -= 10) zoom->addItem(QStringLiteral(" %1%").arg(v));
  // The first item added became selected by itself: no zoom change.
  ASSERT_EQ(zoom->currentIndex(), 0);
  EXPECT_EQ(st.KVZoom, 100);

  zoom->setCurrentIndex(12);
  EXPECT_EQ(st.KVZoom, 80);
  EXPECT_EQ(w->EdtSheet().Zoom(), 80);
  // The same index again (the floating combo handing it back) runs nothing.
  st.KVZoom = 55;
  zoom->setCurrentIndex(12);
  EXPECT_EQ(st.KVZoom, 55);
  zoom->setCurrentIndex(10);
  EXPECT_EQ(st.KVZoom, 100);

  // A running command: the combo shows the item, the zoom stays.
  st.CommandBusy = true;
  zoom->setCurrentIndex(0);
  EXPECT_EQ(st.KVZoom, 100);
}

TEST_F(EdtSheetViewMenu, PaperComboAndMenuFollowEachOther) {
  QComboBox* paper = w->cmbYosi();
  paper->clear();
  for (int i = 1; i <= 7; ++i) paper->addItem(QString::number(i));
  EXPECT_EQ(st.PrnTypeNo, 1);

  paper->setCurrentIndex(3);
  EXPECT_EQ(st.PrnTypeNo, 4);
  EXPECT_TRUE(w->MenuAction("PeparSerect", 4)->isChecked());
  EXPECT_FALSE(w->MenuAction("PeparSerect", 1)->isChecked());

  w->MenuAction("PeparSerect", 6)->trigger();
  EXPECT_EQ(st.PrnTypeNo, 6);
  EXPECT_EQ(paper->currentIndex(), 5);
  EXPECT_TRUE(w->MenuAction("PeparSerect", 6)->isChecked());
}

}  // namespace
}  // namespace kv
