// An untitled estimate named by Save into a folder whose pack is refused, then
// saved under another name: the file saved holds the sheet's rows and one
// closing record, at its end.
#include <gtest/gtest.h>

#include "core/record_file.h"
#include "file_command_fixture.h"
#include "storage/file_command_steps.h"
#include "storage/file_open.h"
#include "storage/file_save.h"
#include "storage/row_record.h"

namespace kv {
namespace {

class RefusedPackThenSave : public test::FileCommandTest {
 protected:
  // The row kinds (byte 3) of the level-1 file of a work set.
  std::string Kinds(const std::string& workBase) {
    std::string kinds;
    const std::string bytes = Bytes(workBase + st.LevelExt[1]);
    for (size_t at = 0; at + size_t(st.DataLen) <= bytes.size(); at += size_t(st.DataLen))
      kinds += bytes[at + kKindPos - 1];
    return kinds;
  }
};

TEST_F(RefusedPackThenSave, TheClosingRecordNeverBecomesARow) {
  const std::filesystem::path readOnly = shared.path() / "RO";
  std::filesystem::create_directory(readOnly);
  a.readOnly.insert(readOnly);
  st.KVData = data.string();
  a.SetTexts(1, {"一", "二"});
  st.SheetModified = true;

  // Save names the estimate into the read-only folder: the level file is
  // written under the name, the pack is refused.
  ui.AnswerSaveDialog((readOnly / "EST.YZH").string())
      .AnswerMsgBox(vbOK, "ディスクの残り容量が少ない為、見積データ [ EST ] を保存することが出来ません。");
  EXPECT_EQ(FileSaveRun(st), SaveResult::NotRecorded);
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/EST");
  EXPECT_EQ(Kinds(st.WorkFileBase), "  G");
  EXPECT_EQ(RecordByte(st.SheetRows[3], kKindPos), ' ');

  // Saved again, under a name in a writable folder.
  ui.AnswerMsgBox(vbNo, "の内容は変更されています。").AnswerSaveDialog(Data("EST2.YZH"));
  ASSERT_TRUE(FileSaveAsRun(st, false));
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.UsedRows, 2);
  LanLockRelease(st);

  test::Program next("MACHINE-B");
  next.ui.AnswerOpenDialog(Data("EST2.YZH"));
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, Data("EST2.YZH"));
  EXPECT_EQ(Kinds(next.st.WorkFileBase), "  G");
  EXPECT_EQ(next.st.UsedRows, 2);
  EXPECT_EQ(next.Text(1, 2), "二");
}

}  // namespace
}  // namespace kv
