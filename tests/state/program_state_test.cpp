#include "state/program_state.h"

#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace kv {
namespace {

TEST(ProgramState, StartValues) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  EXPECT_EQ(&st.ui, &ui);
  EXPECT_EQ(st.WorkFolderName, "/WORK");
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_FALSE(st.StartingUp);
  EXPECT_FALSE(st.OpenedFromCommandLine);
  EXPECT_FALSE(st.RecoveryRunning);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_FALSE(st.InputOk);
  EXPECT_EQ(st.PrintRangeMode, 0);
  EXPECT_EQ(st.CoverToolPid, 0);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.SelectedObjectItem, -1);
  EXPECT_EQ(st.RefSelectedObjectItem, -1);
}

}  // namespace
}  // namespace kv
