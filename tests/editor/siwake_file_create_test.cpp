// The classification file command over the scripted UI on a temporary
// program folder: the whole road (the new file packed, opened and locked, the
// old one untouched on disk and its lock gone), the checks on the name of the
// file to be written, and a build that fails.
#include "editor/siwake_file_create.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "classify/siwake_make_frm.h"
#include "storage/file_command_fixture.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class SiwakeFileCreateTest : public test::FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    // Column 1 of every level holds classification 1's code, the last
    // column classification 2's.
    for (int l = 1; l <= st.LevelCount; ++l) {
      st.ColType[size_t(l)][1] = "I1";
      st.ColType[size_t(l)][size_t(st.ColCount[size_t(l)])] = "I2";
    }
    a.StartNamed(data, "A", {"X1", "X2", "X1"});
    before = Bytes(Data("A.YZH"));
  }
  // The dialog as the user plays it: classification 1, OK.
  void BuildAnswer() {
    ui.AnswerModal(kSiwakeMakeWindow, [this] {
      SiwakeMake_Frm frm(st, {});
      frm.Form_Load();
      frm.SiwakeOk_Click();
    });
  }
  std::string before;
};

TEST_F(SiwakeFileCreateTest, TheNewFileIsPackedAndOpenedTheOldOneLeftAlone) {
  // Typed without an extension: the dialog gives the level-1 one.
  ui.AnswerSaveDialog(Data("B.Y1"));
  BuildAnswer();
  SiwakeFileCreate(st);
  ui.ExpectAllAnswered();
  EXPECT_TRUE(Exists(Data("B.YZH")));
  EXPECT_EQ(st.CurrentFilePath, Data("B.YZH"));
  EXPECT_EQ(st.WorkFileBase, WorkFile("B"));
  EXPECT_EQ(LockedBy(Data("B.$$$")), "MACHINE-A");
  EXPECT_EQ(LockedBy(Data("A.$$$")), "");
  EXPECT_EQ(Bytes(Data("A.YZH")), before);
  EXPECT_FALSE(st.PackPending);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_FALSE(Exists(WorkFile("A.Y1")));
  // One level-1 row per code, each with its rows below.
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(a.Text(1, 1).substr(0, 2), "X1");
  EXPECT_EQ(a.Text(1, 2).substr(0, 2), "X2");
  const std::vector<std::string> x1 = a.BreakdownTexts(1);
  ASSERT_EQ(x1.size(), 3u);
  EXPECT_EQ(x1[1], "X1");
  EXPECT_EQ(x1[2], "X1");
}

TEST_F(SiwakeFileCreateTest, NamesAreCheckedOnTheFileToBeWritten) {
  const stdfs::path other = shared.path() / "OTHER";
  stdfs::create_directories(other);
  const char* openOne = "現在編集中のファイルには、仕訳ファイルを作成できません。";
  ui.AnswerSaveDialog(Data("a.yzh")).AnswerMsgBox(vbOK, openOne);            // letter case only
  ui.AnswerSaveDialog((other / "A.Y1").string()).AnswerMsgBox(vbOK, openOne);  // same work name
  ui.AnswerSaveDialog(WorkFile("C")).AnswerMsgBox(vbOK, "作業用フォルダー WORK は使用できません!");
  ui.AnswerSaveDialog(Data("無題X")).AnswerMsgBox(vbOK, "ﾌｧｲﾙ名に [ 無題 ]は使用できません!");
  std::ofstream(data / "D.YZH") << "x";
  ui.AnswerSaveDialog(Data("D.Y1")).AnswerMsgBox(vbNo, "このファイルはすでに存在します。");
  ui.AnswerSaveDialog(std::nullopt);
  SiwakeFileCreate(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentFilePath, Data("A.YZH"));
  EXPECT_EQ(Bytes(Data("A.YZH")), before);
  EXPECT_EQ(Bytes(Data("D.YZH")), "x");
  EXPECT_EQ(LockedBy(Data("D.$$$")), "");
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(SiwakeFileCreateTest, AFailedBuildLeavesEverythingAsItWas) {
  st.IsSetubiSiwakeFile = false;
  ui.AnswerSaveDialog(Data("B.Y1"));
  ui.AnswerModal(kSiwakeMakeWindow, [this] {
    SiwakeMake_Frm frm(st, {});
    frm.Form_Load();
    frm.SiwakeCancel_Click();
  });
  SiwakeFileCreate(st);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(Exists(Data("B.YZH")));
  EXPECT_FALSE(Exists(WorkFile("B.Y1")));
  EXPECT_EQ(LockedBy(Data("B.$$$")), "");
  EXPECT_EQ(LockedBy(Data("A.$$$")), "MACHINE-A");
  EXPECT_EQ(st.CurrentFilePath, Data("A.YZH"));
  EXPECT_EQ(st.WorkFileBase, WorkFile("A"));
  EXPECT_FALSE(st.IsSetubiSiwakeFile);
  EXPECT_EQ(Bytes(Data("A.YZH")), before);
}

TEST_F(SiwakeFileCreateTest, NoRowsIsToldBeforeTheLock) {
  st.UsedRows = 0;
  const int busy = ui.BusyOnCount();
  ui.AnswerMsgBox(vbOK, "仕訳ﾌｧｲﾙを作成する為のデータが入力されていません。");
  SiwakeFileCreate(st);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_EQ(ui.BusyOnCount(), busy);
}

}  // namespace
}  // namespace kv
