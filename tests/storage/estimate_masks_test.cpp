// An estimate's own mask screens: taken with its layout when the user
// answers Yes to the layout question of File > Open, written into its layout
// file when it is saved, and there again when it is opened next.
#include <gtest/gtest.h>

#include "file_command_fixture.h"
#include "storage/file_command_steps.h"
#include "storage/file_open.h"
#include "storage/file_save.h"
#include "state/layout_file.h"

namespace kv {
namespace {

std::string Masks(const ProgramState& st, int level, int column) {
  return std::string(st.MaskDef[level][column].data(), kMaskScreens);
}

// The program's current layout made to differ from the default one in the
// width of level 1's first column, so that opening an estimate asks.
void DifferingCurrentLayout(test::Program& p) {
  p.st.ColWidth[1][1] -= 2;
  ASSERT_TRUE(WriteLayoutFile(p.st, p.Untitled()));
}

class EstimateMasks : public test::FileCommandTest {};

TEST_F(EstimateMasks, KeptThroughOpenWithYesSaveAndReopen) {
  {
    test::Program maker("MAKER");
    maker.st.MaskDef[1][2] = {'M', 'M', ' ', ' ', 'M', ' ', ' '};
    maker.StartNamed(data, "SRC", {"一"});
    LanLockRelease(maker.st);
  }
  ASSERT_EQ(Masks(st, 1, 2), "      ");  // the current masks of the fixture

  DifferingCurrentLayout(a);
  ui.AnswerOpenDialog(Data("SRC.YZH")).AnswerMsgBox(vbYes, LayoutDiffersQuestion("SRC"));
  FileOpen(st);
  ASSERT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_FALSE(st.UsesCurrentSettings);
  EXPECT_EQ(Masks(st, 1, 2), "MM  M ");

  a.SetTexts(1, {"一", "二"});
  st.SheetModified = true;
  ASSERT_EQ(FileSaveRun(st), SaveResult::Saved);
  LanLockRelease(st);

  test::Program next("MACHINE-B");
  DifferingCurrentLayout(next);
  next.ui.AnswerOpenDialog(Data("SRC.YZH")).AnswerMsgBox(vbYes, LayoutDiffersQuestion("SRC"));
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_EQ(Masks(next.st, 1, 2), "MM  M ");
  EXPECT_EQ(next.Text(1, 2), "二");
}

}  // namespace
}  // namespace kv
