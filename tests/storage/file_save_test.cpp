// File > Save and File > Save As over real work files and packed files: what
// is written where, which lock is held afterwards, and that a refusal or
// failure anywhere leaves the open estimate exactly as it was.
#include "storage/file_save.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>

#include "file_command_fixture.h"
#include "file_commands_double.h"
#include "storage/file_command_steps.h"

namespace kv {
namespace {

class FileSaveTest : public test::FileCommandTest {
 protected:
  // A named estimate EST in the data folder, open and unchanged.
  void OpenEst(const std::vector<std::string>& texts = {"一", "二"}) { a.StartNamed(data, "EST", texts); }
  void Change(const std::vector<std::string>& texts) {
    a.SetTexts(1, texts);
    st.SheetModified = true;
  }
  // What must survive a failed Save As untouched.
  struct Kept {
    std::string path, base, folder, lock;
    std::map<std::string, std::string> work, files;
  };
  Kept Keep() {
    return {st.CurrentFilePath,     st.WorkFileBase,    st.KVData,
            Bytes(Data("EST.$$$")), Snapshot(a.Work()), Snapshot(data)};
  }
  void ExpectKept(const Kept& k) {
    EXPECT_EQ(st.CurrentFilePath, k.path);
    EXPECT_EQ(st.WorkFileBase, k.base);
    EXPECT_EQ(st.KVData, k.folder);
    EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");
    EXPECT_EQ(Snapshot(a.Work()), k.work);
    EXPECT_EQ(Snapshot(data), k.files);
    EXPECT_FALSE(st.CommandBusy);
  }
};

TEST_F(FileSaveTest, SaveNamesAnUntitledEstimateAndLocksIt) {
  st.KVData = data.string();
  Change({"一", "二"});
  ui.AnswerSaveDialog(Data("新規.YZH"));
  FileSave(st);
  EXPECT_EQ(st.CurrentFilePath, Data("新規.YZH"));
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/新規");
  EXPECT_TRUE(Exists(Data("新規.YZH")));
  EXPECT_EQ(LockedBy(Data("新規.$$$")), "MACHINE-A");
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("新規.YZH"));
}

TEST_F(FileSaveTest, SavePacksAChangedEstimateAndNothingElse) {
  OpenEst();
  const std::string packed = Bytes(Data("EST.YZH"));
  FileSave(st);  // neither changed nor pending: nothing to do
  EXPECT_EQ(Bytes(Data("EST.YZH")), packed);
  Change({"三"});
  FileSave(st);
  EXPECT_NE(Bytes(Data("EST.YZH")), packed);
  EXPECT_FALSE(st.PackPending);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(FileSaveTest, ARefusedPackStaysPending) {
  OpenEst();
  const std::string packed = Bytes(Data("EST.YZH"));
  a.readOnly.insert(data);
  Change({"三"});
  ui.AnswerMsgBox(vbOK, PackRefusedText("EST"));
  EXPECT_EQ(FileSaveRun(st), SaveResult::Refused);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(Bytes(Data("EST.YZH")), packed);
}

TEST_F(FileSaveTest, AFailedPackStaysPendingAndOffersSaveAs) {
  OpenEst();
  test::FileCommandsDouble files;
  files.packResult = 0;
  st.fileCommands = &files;
  st.PackPending = true;
  ui.AnswerMsgBox(vbOK, ReadOnlyFileText(Data("EST.YZH"))).AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(FileSaveRun(st), SaveResult::Failed);
  EXPECT_TRUE(st.PackPending);  // packed at the end, or the work is lost
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileSaveTest, SaveDoesNotTakeALockAnotherMachineForced) {
  OpenEst();
  const std::string packed = Bytes(Data("EST.YZH"));
  shared.Write("DATA/EST.$$$", "MACHINE-B\r\n");
  Change({"三"});
  // Given up: told it was not saved, and offered Save As.
  ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 0; })
      .AnswerMsgBox(vbOK, InUseNotSavedText("EST"))
      .AnswerSaveDialog(std::nullopt);
  EXPECT_EQ(FileSaveRun(st), SaveResult::LockRefused);
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-B");
  EXPECT_EQ(Bytes(Data("EST.YZH")), packed);
  EXPECT_TRUE(st.PackPending);
}

TEST_F(FileSaveTest, SaveAsRefusesAnEmptySheet) {
  ui.AnswerMsgBox(vbOK, "保存する見積データが入力されていません。データを入力してからやり直してください。");
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileSaveTest, SaveAsOfAnUntitledEstimate) {
  Change({"一"});
  ui.AnswerSaveDialog(Data("A.YZH"));
  EXPECT_TRUE(FileSaveAsRun(st, false));
  EXPECT_TRUE(Exists(Data("A.YZH")));
  EXPECT_EQ(LockedBy(Data("A.$$$")), "MACHINE-A");
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("A.YZH"));
  EXPECT_EQ(a.Text(1, 1), "一");
}

TEST_F(FileSaveTest, UntitledSaveAsCancelledOrRefusedChangesNothing) {
  Change({"一"});
  ui.AnswerSaveDialog(std::nullopt);
  EXPECT_FALSE(FileSaveAsRun(st, false));
  shared.Write("DATA/A.$$$", "MACHINE-B\r\n");
  ui.AnswerSaveDialog(Data("A.YZH")).AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 0; });
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.RecentFiles[1], "");
  EXPECT_FALSE(Exists(Data("A.YZH")));
  EXPECT_EQ(LockedBy(Data("A.$$$")), "MACHINE-B");
}

TEST_F(FileSaveTest, SaveAsMovesTheEstimateToTheNewFile) {
  OpenEst();
  const std::string oldPacked = Bytes(Data("EST.YZH"));
  ui.AnswerSaveDialog(Data("NEW.YZH"));
  EXPECT_TRUE(FileSaveAsRun(st, false));
  EXPECT_EQ(st.CurrentFilePath, Data("NEW.YZH"));
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/NEW");
  EXPECT_TRUE(Exists(Data("NEW.YZH")));
  EXPECT_EQ(Bytes(Data("EST.YZH")), oldPacked);
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_EQ(LockedBy(Data("NEW.$$$")), "MACHINE-A");
  EXPECT_FALSE(Exists(WorkFile("EST.Y1")));
  EXPECT_TRUE(Exists(WorkFile("NEW.Y1")));
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("NEW.YZH"));
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(a.Text(1, 2), "二");
}

// The pack prompt of Save As for an estimate with unpacked work.
struct PackPrompt {
  const char* name;
  int answer;
  bool oldRepacked;
  bool goesOn;
};

class SaveAsPackPrompt : public FileSaveTest, public ::testing::WithParamInterface<PackPrompt> {};

TEST_P(SaveAsPackPrompt, PacksTheOldFileOnlyOnYes) {
  OpenEst();
  const std::string oldPacked = Bytes(Data("EST.YZH"));
  Change({"三"});
  ui.AnswerMsgBox(GetParam().answer, "見積データ [ EST ] の内容は変更されています。\n保存しますか？");
  if (GetParam().goesOn) ui.AnswerSaveDialog(std::nullopt);
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_EQ(Bytes(Data("EST.YZH")) != oldPacked, GetParam().oldRepacked);
  EXPECT_EQ(st.PackPending, !GetParam().oldRepacked);
}

INSTANTIATE_TEST_SUITE_P(Answers, SaveAsPackPrompt,
                         ::testing::Values(PackPrompt{"Yes", vbYes, true, true},
                                           PackPrompt{"No", vbNo, false, true},
                                           PackPrompt{"Cancel", vbCancel, false, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(FileSaveTest, SaveAsOverAnExistingFileAsksFirst) {
  OpenEst();
  shared.Write("DATA/OLD.YZH", "whatever was there");
  ui.AnswerSaveDialog(Data("OLD.YZH")).AnswerMsgBox(vbYes, "このファイルはすでに存在します。");
  EXPECT_TRUE(FileSaveAsRun(st, false));
  EXPECT_NE(Bytes(Data("OLD.YZH")), "whatever was there");
}

TEST_F(FileSaveTest, SaveAsIntoTheWorkFolderIsRefused) {
  OpenEst();
  const Kept kept = Keep();
  ui.AnswerSaveDialog(a.Work() + "/../WORK/X.YZH")
      .AnswerMsgBox(vbOK, "作業用フォルダー WORK は使用できません!")
      .AnswerSaveDialog(std::nullopt);
  EXPECT_FALSE(FileSaveAsRun(st, false));
  ExpectKept(kept);
}

TEST_F(FileSaveTest, SaveAsToAReadOnlyFolderLosesNothing) {
  OpenEst();
  std::filesystem::create_directory(shared.path() / "RO");
  a.readOnly.insert(shared.path() / "RO");
  const Kept kept = Keep();
  const std::string target = (shared.path() / "RO" / "NEW.YZH").string();
  ui.AnswerSaveDialog(target).AnswerMsgBox(vbOK, PackRefusedText("NEW"));
  EXPECT_FALSE(FileSaveAsRun(st, false));
  ExpectKept(kept);
  EXPECT_TRUE(std::filesystem::is_empty(shared.path() / "RO"));  // the lock taken for it is gone
  EXPECT_EQ(a.Text(1, 1), "一");
}

TEST_F(FileSaveTest, SaveAsWithoutRoomForTheCopyLosesNothing) {
  OpenEst();
  const Kept kept = Keep();
  a.freeBytes = 100;
  ui.AnswerSaveDialog(Data("NEW.YZH")).AnswerMsgBox(vbOK, "ｺﾋﾟｰ先のDisk容量が不足です");
  EXPECT_FALSE(FileSaveAsRun(st, false));
  ExpectKept(kept);
}

TEST_F(FileSaveTest, SaveAsFailingAtThePackLosesNothing) {
  OpenEst();
  const Kept kept = Keep();
  // The new file's place is taken by a folder: the pack cannot write it.
  std::filesystem::create_directory(Data("NEW.YZH"));
  std::filesystem::create_directory(Data("NEW.YZH/x"));
  ui.AnswerSaveDialog(Data("NEW.YZH"))
      .AnswerMsgBox(vbYes, "このファイルはすでに存在します。")
      .AnswerMsgBox(vbOK, PackFailedText("NEW"));
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_EQ(st.CurrentFilePath, kept.path);
  EXPECT_EQ(Snapshot(a.Work()), kept.work);
  EXPECT_FALSE(Exists(Data("NEW.$$$")));
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");
  EXPECT_EQ(st.RecentFiles[1], "");
}

TEST_F(FileSaveTest, AFailedSaveAsLeavesTheSheetInMemoryTrueToTheOpenFiles) {
  OpenEst({"一", "二"});
  // Breakdowns whose records lie out of order, so that compaction renumbers
  // them (and the child links of level 1 with them).
  a.Breakdown(1, {"a1"});
  a.Breakdown(2, {"b1"});
  a.Breakdown(1, {"a1", "a2", "a3", "a4"});
  const std::string childLink = st.SheetRows[2].substr(11, 4);
  st.PackPending = true;

  std::filesystem::create_directories(Data("NEW.YZH/x"));  // the pack cannot write there
  ui.AnswerMsgBox(vbNo, "の内容は変更されています。")
      .AnswerSaveDialog(Data("NEW.YZH"))
      .AnswerMsgBox(vbYes, "このファイルはすでに存在します。")
      .AnswerMsgBox(vbOK, PackFailedText("NEW"));
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_EQ(st.SheetRows[2].substr(11, 4), childLink);

  // Recorded again over the open work files, row 2 still leads to its own sheet.
  st.SheetModified = true;
  EXPECT_EQ(FileSaveRun(st), SaveResult::Saved);
  EXPECT_EQ(a.BreakdownTexts(2), std::vector<std::string>{"b1"});
}

TEST_F(FileSaveTest, SaveAsUnderTheSameNameElsewhereCopiesNothing) {
  OpenEst();
  std::filesystem::create_directory(shared.path() / "OTHER");
  const std::string other = (shared.path() / "OTHER" / "EST.YZH").string();
  ui.AnswerSaveDialog(other);
  EXPECT_TRUE(FileSaveAsRun(st, false));
  EXPECT_TRUE(Exists(other));
  EXPECT_TRUE(Exists(WorkFile("EST.Y1")));
  EXPECT_TRUE(Exists(Data("EST.YZH")));
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_EQ(LockedBy((shared.path() / "OTHER" / "EST.$$$").string()), "MACHINE-A");
}

TEST_F(FileSaveTest, SaveAsRefusesANameTheCompanionProgramUses) {
  OpenEst();
  const Kept kept = Keep();
  const char* savedConfig = std::getenv("KORVANE_CONFIG_DIR");
  const std::string restore = savedConfig ? savedConfig : "";
  ::setenv("KORVANE_CONFIG_DIR", (shared.path() / "config").c_str(), 1);
  st.CustomerVariant = true;
  st.CompanionExePath = shared.path().string();
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((shared.path() / "VETRIX.MDB").c_str(), &db), SQLITE_OK);
  const std::string sql =
      "CREATE TABLE VetrixTb (FLD012 TEXT); INSERT INTO VetrixTb VALUES ('" + Data("USED.YZH") + "');";
  ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  ui.AnswerSaveDialog(Data("USED.YZH"))
      .AnswerMsgBox(vbOK, "そのﾌｧｲﾙ名はほかの積算で使用されています、別のﾌｧｲﾙ名で保存してください。");
  EXPECT_FALSE(FileSaveAsRun(st, false));
  EXPECT_EQ(ui.Prompts().back().title, "DI32DODA");
  ExpectKept(kept);
  if (savedConfig)
    ::setenv("KORVANE_CONFIG_DIR", restore.c_str(), 1);
  else
    ::unsetenv("KORVANE_CONFIG_DIR");
}

TEST_F(FileSaveTest, SaveAsCarriesEveryBreakdownOver) {
  OpenEst({"一", "二"});
  a.Breakdown(1, {"a1"});
  a.Breakdown(2, {"b1"});
  a.Breakdown(1, {"a1", "a2", "a3", "a4"});
  st.PackPending = true;
  ui.AnswerMsgBox(vbNo, "の内容は変更されています。").AnswerSaveDialog(Data("NEW.YZH"));
  ASSERT_TRUE(FileSaveAsRun(st, false));
  EXPECT_EQ(a.BreakdownTexts(1), (std::vector<std::string>{"a1", "a2", "a3", "a4"}));
  EXPECT_EQ(a.BreakdownTexts(2), std::vector<std::string>{"b1"});
}

}  // namespace
}  // namespace kv
