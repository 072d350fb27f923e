// The save question of File > Open and File > New on an untitled estimate
// whose only change is an option: there is nothing to record, and the user is
// told so instead of the command ending without a word.
#include <gtest/gtest.h>

#include "file_command_fixture.h"
#include "platform/grid/grid_model.h"
#include "sheet/sheet_engine.h"
#include "storage/file_command_steps.h"
#include "storage/file_new.h"
#include "storage/file_open.h"

namespace kv {
namespace {

struct CommandCase {
  const char* name;
  void (*run)(ProgramState&);
};

class SaveQuestion : public test::FileCommandTest, public ::testing::WithParamInterface<CommandCase> {
 protected:
  GridModel grid;
  SheetEngine engine{grid, nullptr};
};

TEST_P(SaveQuestion, YesWithoutRowsOnAnUntitledEstimateSaysNothingCanBeSaved) {
  st.sheetEngine = &engine;
  st.SheetModified = true;  // an option changed; the sheet has no rows
  ui.AnswerMsgBox(vbYes, "保存しますか？").AnswerMsgBox(vbOK, NoDataToSaveText());
  GetParam().run(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly + vbExclamation);
  // The command stopped there, as Save As stops: nothing else was asked.
  EXPECT_EQ(ui.Prompts().size(), 2u);
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(st.CommandBusy);
}

INSTANTIATE_TEST_SUITE_P(Commands, SaveQuestion,
                         ::testing::Values(CommandCase{"Open", FileOpen}, CommandCase{"New", FileNew}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace kv
