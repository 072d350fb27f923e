// The name dialog of Save As: every refusal asks again, a cancel gives
// nothing, and the name given back is the packed file that will be written.
#include "storage/save_as_name_input.h"

#include <gtest/gtest.h>

#include "file_command_fixture.h"

namespace kv {
namespace {

class SaveAsNameInputTest : public test::FileCommandTest {};

TEST_F(SaveAsNameInputTest, ShowsTheSaveDialogAndGivesTheName) {
  st.KVData = data.string();
  ui.AnswerSaveDialog(Data("見積.YZH"));
  EXPECT_EQ(SaveAsNameInput(st), Data("見積.YZH"));
  const test::Prompt& p = ui.Prompts().at(0);
  EXPECT_EQ(p.dialog.title, "TheKorvaneのﾌｧｲﾙ名入力");
  EXPECT_EQ(p.dialog.filter, "TheKorvaneWinFile (*.YZH)|*.YZH");
  EXPECT_EQ(p.dialog.initDir, data.string());
  EXPECT_EQ(p.dialog.flags, 4);
}

TEST_F(SaveAsNameInputTest, CancelGivesNothing) {
  ui.AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(SaveAsNameInput(st), std::nullopt);
  ui.AnswerSaveDialog("   ");
  EXPECT_EQ(SaveAsNameInput(st), std::nullopt);
}

TEST_F(SaveAsNameInputTest, TheNameIsThePackedFile) {
  ui.AnswerSaveDialog(Data("a.Y1"));
  EXPECT_EQ(SaveAsNameInput(st), Data("a.YZH"));
  ui.AnswerSaveDialog(Data("b"));
  EXPECT_EQ(SaveAsNameInput(st), Data("b.YZH"));
  ui.AnswerSaveDialog(Data("c.yzh"));
  EXPECT_EQ(SaveAsNameInput(st), Data("c.yzh"));
}

// A refused name: the warning, then the dialog again (cancelled here).
struct Refused {
  const char* name;
  std::string path;  // relative to the program folder when it begins with "@"
  std::string warning;
};

class SaveAsRefusal : public SaveAsNameInputTest, public ::testing::WithParamInterface<Refused> {};

TEST_P(SaveAsRefusal, WarnsAndAsksAgain) {
  std::string path = GetParam().path;
  if (path[0] == '@') path = st.AppPath + "/" + path.substr(1);
  std::filesystem::create_directories(st.AppPath + "/WORK2");
  ui.AnswerSaveDialog(path).AnswerMsgBox(vbOK, GetParam().warning).AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(SaveAsNameInput(st), std::nullopt);
  EXPECT_EQ(ui.Prompts().at(1).text, GetParam().warning);
  EXPECT_EQ(ui.Prompts().at(1).title, "TheKorvane");
}

INSTANTIATE_TEST_SUITE_P(
    Names, SaveAsRefusal,
    ::testing::Values(Refused{"Untitled", "/tmp/無題2.YZH", "ﾌｧｲﾙ名に [無題]は使用できません!"},
                      Refused{"BaseText", "/tmp/my_kvtext.YZH", "ﾌｧｲﾙ名に [ KVTEXT ]は使用できません!"},
                      Refused{"Work", "@WORK/a.YZH", "作業用フォルダー WORK は使用できません!"},
                      Refused{"WorkOtherCase", "@work/a.YZH", "作業用フォルダー WORK は使用できません!"},
                      Refused{"WorkThroughDots", "@DATA/../WORK/a.YZH",
                              "作業用フォルダー WORK は使用できません!"},
                      Refused{"Work2", "@WORK2/a.YZH", "参考作業用フォルダー WORK2 は使用できません!"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SaveAsNameInputTest, TwoHundredBytesAtMost) {
  // "/x/" + name + ".YZH" of exactly 200 bytes; one more byte is refused.
  const std::string ok = "/x/" + std::string(200 - 3 - 4, 'n') + ".YZH";
  const std::string tooLong = "/x/" + std::string(201 - 3 - 4, 'n') + ".YZH";
  ui.AnswerSaveDialog(tooLong).AnswerMsgBox(vbOK, "ﾌｧｲﾙ名が長すぎます!").AnswerSaveDialog(ok);
  EXPECT_EQ(SaveAsNameInput(st), ok);
}

TEST_F(SaveAsNameInputTest, ANetworkFolderIsFine) {
  std::filesystem::create_directories(shared.path() / "NETWORK");
  const std::string p = (shared.path() / "NETWORK" / "a.YZH").string();
  ui.AnswerSaveDialog(p);
  EXPECT_EQ(SaveAsNameInput(st), p);
}

TEST_F(SaveAsNameInputTest, AnExistingFileIsOverwrittenOnlyAfterYes) {
  shared.Write("DATA/a.YZH", "old");
  ui.AnswerSaveDialog(Data("a.YZH"))
      .AnswerMsgBox(vbNo, "このファイルはすでに存在します。")
      .AnswerSaveDialog(Data("a.YZH"))
      .AnswerMsgBox(vbYes, "上書きしますか？");
  EXPECT_EQ(SaveAsNameInput(st), Data("a.YZH"));
  EXPECT_EQ(ui.MessageTexts().at(0),
            Data("a.YZH") + "\rこのファイルはすでに存在します。\r\r上書きしますか？");
}

TEST_F(SaveAsNameInputTest, TheReferenceWindowsFileIsNeverOverwritten) {
  test::RecordingReference ref;
  ref.refFilePath = Data("ref.YZH");
  st.reference = &ref;
  st.RefWindowOpen = true;
  ui.AnswerSaveDialog(Data("ref.YZH"))
      .AnswerMsgBox(vbOK, "参考画面で開いている [ ref ] には上書きできません。")
      .AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(SaveAsNameInput(st), std::nullopt);
}

}  // namespace
}  // namespace kv
