#pragma once
// Window tests on the editor window: a program state on the Qt seam, and the
// window loaded through the seam as the program does. The window goes in
// TearDown, before the program state it refers to.
#include <gtest/gtest.h>

#include "core/window_services.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"

namespace kv::test {

class EditorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApp(); }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    Settle();
  }

  // Registers and shows the editor window on the settings as they stand.
  EDTSHEET_FRM& ShowEditor() {
    RegisterEditorWindow(ui, st, hooks);
    ui.ShowModeless(kEditWindow);
    auto* w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    EXPECT_NE(w, nullptr);
    return *w;
  }
  // The editor of the full edition with eight levels, "縦", in a window of
  // 15000 x 9000 twips, shown and settled.
  EDTSHEET_FRM& LoadEditor() {
    st.SystemKind = 2;
    st.FontName = "ＭＳ 明朝";
    st.KVDisp = "縦";
    st.LevelCount = 8;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 9000;
    EDTSHEET_FRM& w = ShowEditor();
    Settle();
    return w;
  }

  QtUi ui;
  ProgramState st{ui};
  EditorWindowHooks hooks;
};

}  // namespace kv::test
