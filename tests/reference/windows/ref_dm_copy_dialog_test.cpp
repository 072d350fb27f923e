// The depth dialog of the copy of lower levels: the options the caller
// enables, option 0 chosen, and what OK, Cancel and the close box answer.
#include "reference/windows/ref_dm_copy_dialog.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QRadioButton>

#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

TEST(RefDMCopyFrm, OptionsOkCancelAndTheCloseBox) {
  test::EnsureQtApp();
  enum class Way { Ok, Cancel, CloseBox };
  for (Way way : {Way::Ok, Way::Cancel, Way::CloseBox}) {
    test::ScriptedUi ui;
    ProgramState st{ui};
    st.RefCopyLevelEnabled = {false, true, true, false, false, false, false};
    st.RefCopyDepth = 4;
    st.RefCopyCancel = 0;
    auto* dlg = new RefDMCopy_Frm(st);
    EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8("下階層の複写"));
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(dlg->DMCopy(i)->isEnabled(), i == 1 || i == 2) << i;
      EXPECT_EQ(dlg->DMCopy(i)->isChecked(), i == 0) << i;
    }
    EXPECT_EQ(dlg->DMCopy(6)->text(), QString::fromUtf8("８階層"));
    dlg->show();
    dlg->DMCopy(2)->setChecked(true);
    switch (way) {
      case Way::Ok:
        dlg->findChild<QPushButton*>("cmdOK")->click();
        EXPECT_EQ(st.RefCopyDepth, 4);
        EXPECT_EQ(st.RefCopyCancel, 0);
        break;
      case Way::Cancel:
        dlg->findChild<QPushButton*>("Cansel")->click();
        EXPECT_EQ(st.RefCopyCancel, -1);
        break;
      case Way::CloseBox:
        dlg->close();
        EXPECT_EQ(st.RefCopyCancel, -1);
        break;
    }
    EXPECT_FALSE(dlg->isVisible());
    delete dlg;
  }
}

}  // namespace
}  // namespace kv
