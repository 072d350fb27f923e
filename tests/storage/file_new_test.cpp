// File > New closes the open estimate (saved and packed as the user wants)
// and starts an untitled one; an estimate whose top sheet was emptied is
// discarded only with the user's consent.
#include "storage/file_new.h"

#include <gtest/gtest.h>

#include <functional>

#include "file_command_fixture.h"
#include "file_commands_double.h"
#include "storage/empty_file_discard.h"
#include "storage/file_command_steps.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

class FileNewTest : public test::FileCommandTest {
 protected:
  void OpenEst() { a.StartNamed(data, "EST", {"一", "二"}); }
  std::string Question() const {
    return "ファイル" + st.CurrentFilePath + "の内容は変更されています。\n保存しますか？";
  }
};

TEST_F(FileNewTest, AnUnchangedUntitledEstimateStartsAfreshWithoutAQuestion) {
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileNewTest, DeclinedEditsOfAnUntitledEstimateAreDropped) {
  a.SetTexts(1, {"捨てる"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbNo, Question());
  FileNew(st);
  EXPECT_EQ(ui.Prompts().at(0).title, "ﾌｧｲﾙ呼び出し");
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(a.Text(1, 1), "");
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(FileNewTest, CancelKeepsEverything) {
  OpenEst();
  a.SetTexts(1, {"新"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbCancel, Question());
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(a.Text(1, 1), "新");
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(FileNewTest, YesRecordsPacksAndClosesTheEstimate) {
  OpenEst();
  a.SetTexts(1, {"新一", "新二", "新三"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbYes, Question());
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_FALSE(Exists(WorkFile("EST.Y1")));
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("EST.YZH"));
  EXPECT_FALSE(st.PackPending);

  // What was recorded is in the file.
  ui.AnswerOpenDialog(Data("EST.YZH"));
  FileOpen(st);
  EXPECT_EQ(a.Text(1, 3), "新三");
}

TEST_F(FileNewTest, ARefusedPackKeepsTheEstimateOpenAndPending) {
  OpenEst();
  a.readOnly.insert(data);
  st.PackPending = true;
  ui.AnswerMsgBox(vbOK, PackRefusedText("EST"));
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_TRUE(st.PackPending);
  EXPECT_TRUE(Exists(WorkFile("EST.Y1")));
}

TEST_F(FileNewTest, AFailedPackStaysPendingAndOffersSaveAs) {
  OpenEst();
  test::FileCommandsDouble files;
  files.packResult = 0;
  st.fileCommands = &files;
  st.PackPending = true;
  ui.AnswerMsgBox(vbOK, PackFailedText("EST")).AnswerSaveDialog(std::nullopt);
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_TRUE(st.PackPending);  // packed at the end, or offered again: never lost
  EXPECT_TRUE(Exists(WorkFile("EST.Y1")));
  EXPECT_FALSE(st.CommandBusy);
}

// A compaction that refused the work set has told the user: neither command
// packs it, the estimate stays open and its pack pending.
TEST_F(FileNewTest, ARefusedCompactionIsNotPackedByNewOrOpen) {
  OpenEst();
  test::FileCommandsDouble files;
  files.compactResult = false;
  st.fileCommands = &files;
  for (void (*command)(ProgramState&) : {&FileNew, &FileOpen}) {
    files.calls.clear();
    st.PackPending = true;
    command(st);
    EXPECT_EQ(files.calls, (std::vector<std::string>{"CompactWorkFiles(" + st.WorkFileBase + ")"}));
    EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
    EXPECT_TRUE(st.PackPending);
    EXPECT_FALSE(st.CommandBusy);
  }
  ui.ExpectAllAnswered();
}

TEST_F(FileNewTest, AnotherMachinesForcedLockIsLeftToIt) {
  OpenEst();
  shared.Write("DATA/EST.$$$", "MACHINE-B\r\n");
  FileNew(st);
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-B");
}

// The emptied top sheet of a named estimate, on its recording.
TEST_F(FileNewTest, AnEmptiedEstimateIsDiscardedOnOk) {
  OpenEst();
  shared.Write("DATA/EST.OPD", "objects");
  a.SetTexts(1, {});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbOK, st.WorkFileBase + "\nこのファイルは空ですので削除されます。保存出来ません。\n");
  FileSave(st);
  EXPECT_FALSE(Exists(Data("EST.YZH")));
  EXPECT_FALSE(Exists(Data("EST.OPD")));
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_FALSE(Exists(WorkFile("EST.Y1")));
  EXPECT_EQ(st.CurrentFilePath, a.Untitled());
  EXPECT_EQ(st.WorkFileBase, a.Untitled());
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(FileNewTest, AnEmptiedEstimateIsKeptOnCancel) {
  OpenEst();
  const auto files = Snapshot(data);
  const auto work = Snapshot(a.Work());
  a.SetTexts(1, {});
  ui.AnswerMsgBox(vbCancel, "このファイルは空ですので削除されます。");
  EXPECT_FALSE(EmptyFileDiscard(st));
  EXPECT_EQ(Snapshot(data), files);
  EXPECT_EQ(Snapshot(a.Work()), work);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
}

// A top sheet that shows no rows because its work file could not be read,
// or because the settings cannot read the level files, is not an empty
// estimate: saving it asks nothing and deletes nothing.
TEST_F(FileNewTest, AnUnreadTopSheetIsNeverTakenAsEmpty) {
  const struct {
    const char* name;
    std::function<void()> spoil;
  } cases[] = {
      {"damaged level file",
       [this] { std::filesystem::resize_file(WorkFile("EST.Y1"), 256 * 2 + 100); }},
      {"missing level file", [this] { std::filesystem::remove(WorkFile("EST.Y1")); }},
      {"more rows than the settings give a sheet", [this] { st.Imax = 1; }},
      {"no levels", [this] { st.LevelCount = 0; }},
      {"no columns", [this] { st.ColCount[1] = 0; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    OpenEst();
    const auto files = Snapshot(data);
    const int levels = st.LevelCount, columns = st.ColCount[1], imax = st.Imax;
    c.spoil();
    a.SetTexts(1, {});
    st.SheetModified = true;
    ui.AnswerMsgBox(vbOK, "作業ファイル [ EST.Y1 ] ");
    FileSave(st);
    ui.ExpectAllAnswered();
    EXPECT_EQ(Snapshot(data), files);
    EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
    st.LevelCount = levels;
    st.ColCount[1] = columns;
    st.Imax = imax;
    st.SheetModified = false;
    st.PackPending = false;
    FileNew(st);
  }
}

}  // namespace
}  // namespace kv
