// The scripted double is what every command test stands on: check that it
// answers in order, records what was shown and catches surprises.
#include "support/scripted_ui.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kv::test {
namespace {

TEST(ScriptedUi, AnswersInOrderAndRecordsPrompts) {
  ScriptedUi ui;
  int played = 0;
  ui.AnswerMsgBox(vbYes, "保存")
      .AnswerInput(std::string("名前"))
      .AnswerModal("Select_1", [&] { ++played; })
      .AnswerOpenDialog(std::nullopt);

  EXPECT_EQ(ui.MsgBox("変更を保存しますか?", vbYesNoCancel + vbQuestion, "TheKorvane"), vbYes);
  EXPECT_EQ(ui.InputBox("ファイル名", "保存", ""), std::optional<std::string>("名前"));
  ui.ShowModal("Select_1");
  EXPECT_EQ(ui.OpenFileDialog(FileDialogRequest{"開く", {}, 1, {}, {}, {}, 0}), std::nullopt);

  EXPECT_EQ(played, 1);
  ASSERT_EQ(ui.Prompts().size(), 4u);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbYesNoCancel + vbQuestion);
  EXPECT_EQ(ui.Prompts()[3].dialog.title, "開く");
  EXPECT_EQ(ui.Pending(), 0u);
}

TEST(ScriptedUi, UnexpectedPromptFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        EXPECT_EQ(ui.MsgBox("?", vbYesNo, "t"), vbNo);  // unscripted: the safe answer
      },
      "unexpected message box");
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.AnswerMsgBox(vbOK);
        ui.ShowModal("Select_2");
      },
      "expected a message box");
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.AnswerMsgBox(vbOK, "保存");
        ui.MsgBox("削除", vbOKOnly, "t");
      },
      "expected message box \"保存\"");
}

TEST(ScriptedUi, UnusedScriptFailsTheTest) {
  EXPECT_NONFATAL_FAILURE(
      {
        ScriptedUi ui;
        ui.AnswerMsgBox(vbOK, "never");
      },
      "was never shown");
}

TEST(ScriptedUi, EndProgramStopsTheCaller) {
  ScriptedUi ui;
  bool after = false;
  EXPECT_THROW(
      {
        ui.EndProgram(3);
        after = true;
      },
      ProgramEnded);
  EXPECT_FALSE(after);
  EXPECT_EQ(ui.EndedWith(), 3);
}

}  // namespace
}  // namespace kv::test
