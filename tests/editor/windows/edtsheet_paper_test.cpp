// The editor window's paper combo and paper menu as the print forms fill
// them: the seven captions, the current form chosen, and no selection
// handler run by the filling.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>

#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "core/window_services.h"
#include "print/print_forms.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

class EdtSheetPaper : public ::testing::Test {
 protected:
  void SetUp() override { test::EnsureQtApp(); }
  void TearDown() override { delete ui.LoadedWindow(kEditWindow); }

  EDTSHEET_FRM& Load() {
    st.FontName = "ＭＳ 明朝";
    st.KVZoom = 100;
    for (int n = 1; n <= kPrintForms; ++n) {
      st.PrintFormSections[size_t(n)] = "用紙" + std::to_string(n);
      st.PrintRows[size_t(n)] = 40 + n;
      st.PrintFormNames[size_t(n)] = "様式";
    }
    st.PrnTypeNo = 2;
    st.print = &print;
    RegisterEditorWindow(ui, st, {});
    ui.ShowModeless(kEditWindow);
    return *dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
  }

  QtUi ui;
  ProgramState st{ui};
  PrintForms print;
};

TEST_F(EdtSheetPaper, ComboAndMenuShowTheFormsWithTheCurrentOneChosen) {
  EDTSHEET_FRM& w = Load();
  // The load shows the paper menu.
  EXPECT_EQ(FromQ(w.MenuAction("PeparSerect", 1)->text()), "用紙1    41行 (様式)");
  EXPECT_TRUE(w.MenuAction("PeparSerect", 2)->isChecked());

  int handlerRuns = 0;
  QObject::connect(w.cmbYosi(), &QComboBox::currentIndexChanged, [&] { ++handlerRuns; });
  st.PrnTypeNo = 5;
  st.print->FillPaperCombo(st);
  st.print->UpdatePaperMenu(st);
  ASSERT_EQ(w.cmbYosi()->count(), 7);
  EXPECT_EQ(FromQ(w.cmbYosi()->itemText(6)), "用紙7    47行 (様式)");
  EXPECT_EQ(w.cmbYosi()->currentIndex(), 4);
  EXPECT_EQ(handlerRuns, 0);
  for (int n = 1; n <= kPrintForms; ++n) EXPECT_EQ(w.MenuAction("PeparSerect", n)->isChecked(), n == 5) << n;
  // Filled again with another form chosen: still no handler.
  st.PrnTypeNo = 1;
  st.print->FillPaperCombo(st);
  EXPECT_EQ(w.cmbYosi()->currentIndex(), 0);
  EXPECT_EQ(w.cmbYosi()->count(), 7);
  EXPECT_EQ(handlerRuns, 0);
}

}  // namespace
}  // namespace kv
