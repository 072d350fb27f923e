// Opening a recent estimate from the File menu: the list repaired when a
// file has gone, and the estimate open now kept as it was whenever the new
// one cannot be opened.
#include "editor/recent_file_open.h"

#include <gtest/gtest.h>

#include "storage/file_command_fixture.h"
#include "storage/file_command_steps.h"

namespace kv {
namespace {

class RecentFileOpenTest : public test::FileCommandTest {
 protected:
  void MakeEstimate(const std::string& name, const std::vector<std::string>& texts) {
    test::Program maker("MAKER");
    maker.StartNamed(data, name, texts);
    LanLockRelease(maker.st);
  }
  void OpenEst() { a.StartNamed(data, "EST", {"旧"}); }
  void List(const std::vector<std::string>& paths) {
    for (size_t i = 0; i < 5; ++i)
      st.RecentFiles[i + 1] = std::to_string(i + 1) + (i < paths.size() ? " " + paths[i] : std::string());
  }
};

TEST_F(RecentFileOpenTest, AnEmptyEntryOrTheOpenEstimateDoesNothing) {
  OpenEst();
  List({Data("EST.YZH")});
  EXPECT_FALSE(RecentFileOpen(st, 1));
  EXPECT_FALSE(RecentFileOpen(st, 2));
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(RecentFileOpenTest, AGoneFileIsReportedAndLeavesTheList) {
  List({Data("a.YZH"), Data("gone.YZH"), Data("c.YZH"), Data("d.YZH"), Data("e.YZH")});
  ui.AnswerMsgBox(vbOK, "見積データを開くことが出来ません (gone)");
  EXPECT_FALSE(RecentFileOpen(st, 2));
  EXPECT_EQ(st.RecentFiles, (std::array<std::string, 6>{"", "1 " + Data("a.YZH"), "2 " + Data("c.YZH"),
                                                        "3 " + Data("d.YZH"), "4 " + Data("e.YZH"), "5"}));
  ui.AnswerMsgBox(vbOK, "(e)");
  st.RecentFiles[5] = "5 " + Data("e.YZH");
  EXPECT_FALSE(RecentFileOpen(st, 5));
  EXPECT_EQ(st.RecentFiles[5], "5");
  EXPECT_EQ(st.RecentFiles[4], "4 " + Data("e.YZH"));
}

TEST_F(RecentFileOpenTest, OpensTheEntryAndClosesTheOldEstimate) {
  MakeEstimate("SRC", {"一", "二"});
  OpenEst();
  List({Data("EST.YZH"), Data("x.YZH"), Data("SRC.YZH")});
  int recalculated = 0;
  EXPECT_TRUE(RecentFileOpen(st, 3, [&](ProgramState&) { ++recalculated; }));
  EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/SRC");
  EXPECT_EQ(a.Text(1, 2), "二");
  EXPECT_EQ(recalculated, 1);
  EXPECT_EQ(st.RecentFiles[1], "1 " + Data("SRC.YZH"));
  EXPECT_EQ(st.RecentFiles[2], "2 " + Data("EST.YZH"));
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-A");
  EXPECT_FALSE(Exists(Data("EST.$$$")));
  EXPECT_FALSE(Exists(WorkFile("EST.Y1")));
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(RecentFileOpenTest, ChangedSheetAnsweredNoIsDroppedCancelKeepsIt) {
  MakeEstimate("SRC", {"一"});
  OpenEst();
  List({Data("SRC.YZH")});
  a.SetTexts(1, {"変更"});
  st.SheetModified = true;
  ui.AnswerMsgBox(vbCancel, "ファイル" + Data("EST.YZH") + "の内容は変更されています。\n保存しますか？");
  EXPECT_FALSE(RecentFileOpen(st, 1));
  EXPECT_EQ(a.Text(1, 1), "変更");
  EXPECT_EQ(ui.Prompts().back().title, "ﾌｧｲﾙ呼び出し");
  ui.AnswerMsgBox(vbNo);
  EXPECT_TRUE(RecentFileOpen(st, 1));
  EXPECT_EQ(a.Text(1, 1), "一");
}

TEST_F(RecentFileOpenTest, ALockKeptByTheOtherMachineKeepsTheOldEstimateLocked) {
  MakeEstimate("SRC", {"一"});
  OpenEst();
  shared.Write("DATA/SRC.$$$", "MACHINE-B\r\n");
  List({Data("SRC.YZH")});
  ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 0; });
  EXPECT_FALSE(RecentFileOpen(st, 1));
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");
  EXPECT_EQ(LockedBy(Data("SRC.$$$")), "MACHINE-B");
}

TEST_F(RecentFileOpenTest, AFailedPackOfTheOldEstimateGivesTheNewLockBack) {
  MakeEstimate("SRC", {"一"});
  OpenEst();
  st.PackPending = true;
  a.readOnly.insert(data);
  List({Data("SRC.YZH")});
  ui.AnswerMsgBox(vbOK, PackRefusedText("EST"));
  EXPECT_FALSE(RecentFileOpen(st, 1));
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_TRUE(st.PackPending);
  EXPECT_FALSE(Exists(Data("SRC.$$$")));
  EXPECT_EQ(LockedBy(Data("EST.$$$")), "MACHINE-A");
}

TEST_F(RecentFileOpenTest, ADamagedFileIsRefusedAndTheOldEstimateStays) {
  OpenEst();
  shared.Write("DATA/BAD.YZH", "not an archive");
  List({Data("BAD.YZH")});
  const auto work = Snapshot(a.Work());
  ui.AnswerMsgBox(vbOK, "BAD");
  EXPECT_FALSE(RecentFileOpen(st, 1));
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_EQ(Snapshot(a.Work()), work);
  EXPECT_FALSE(Exists(Data("BAD.$$$")));
}

}  // namespace
}  // namespace kv
