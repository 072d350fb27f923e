// An estimate's whole road through the file commands: typed into an untitled
// sheet, named by Save As, given a breakdown, saved under another name,
// closed, and opened by a program started afresh, which reads the same cells
// on both levels.
#include <gtest/gtest.h>

#include "file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

TEST(FileCommandsEndToEnd, WhatIsTypedIsWhatTheNextProgramReads) {
  test::TempFolder shared;
  const std::filesystem::path data = shared.path() / "見積データ";
  std::filesystem::create_directories(data);
  const std::string first = (data / "第一案.YZH").string();
  const std::string final = (data / "港北ビル改修.YZH").string();

  {
    test::Program p("MACHINE-A");
    p.st.KVData = data.string();
    p.SetTexts(1, {"仮設工事", "躯体工事", "仕上工事"});
    p.st.SheetModified = true;
    p.ui.AnswerSaveDialog(first);
    ASSERT_TRUE(FileSaveAsRun(p.st, false));
    ASSERT_EQ(p.st.CurrentFilePath, first);

    p.Breakdown(2, {"鉄筋", "型枠", "コンクリート"});
    p.st.PackPending = true;
    // No: the first file keeps what it was packed with.
    p.ui.AnswerMsgBox(vbNo, "の内容は変更されています。").AnswerSaveDialog(final);
    ASSERT_TRUE(FileSaveAsRun(p.st, false));
    ASSERT_EQ(p.st.CurrentFilePath, final);
    EXPECT_EQ(p.st.RecentFiles[1], "1 " + final);
    EXPECT_EQ(p.st.RecentFiles[2], "2 " + first);

    FileNew(p.st);  // closes it
    EXPECT_FALSE(std::filesystem::exists(data / "港北ビル改修.$$$"));
    p.ui.ExpectAllAnswered();
  }

  test::Program next("MACHINE-B");
  next.ui.AnswerOpenDialog(final);
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, final);
  EXPECT_EQ(next.st.UsedRows, 3);
  EXPECT_EQ(next.Text(1, 1), "仮設工事");
  EXPECT_EQ(next.Text(1, 2), "躯体工事");
  EXPECT_EQ(next.Text(1, 3), "仕上工事");
  EXPECT_EQ(next.BreakdownTexts(2), (std::vector<std::string>{"鉄筋", "型枠", "コンクリート"}));
  EXPECT_TRUE(next.BreakdownTexts(1).empty());

  // The first file kept level 1 alone.
  test::Program other("MACHINE-C");
  other.ui.AnswerOpenDialog(first);
  FileOpen(other.st);
  EXPECT_EQ(other.Text(1, 3), "仕上工事");
  EXPECT_TRUE(other.BreakdownTexts(2).empty());
}

}  // namespace
}  // namespace kv
