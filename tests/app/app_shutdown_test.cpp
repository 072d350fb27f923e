// The shut-down: the pending pack and its refusals, the lock, the program
// settings, the work folders.
#include "app/app_shutdown.h"

#include <gtest/gtest.h>

#include "app/startup_init.h"
#include "core/ini_file.h"
#include "startup_fixture.h"
#include "storage/estimate_unpack.h"
#include "storage/lan_lock.h"
#include "support/lock_lines.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class AppShutdownTest : public test::StartupFixture {
 protected:
  AppShutdownTest() {
    st.NoSplash = true;
    StartupInit(st, prog);
    work = prog + "/WORK";
    dir.Write("WORK/無題.Y1", "level 1");
    stdfs::create_directory(prog + "/WORK2");
    dir.Write("WORK2/参考.Y1", "reference");
    steps.LanLockRelease = [this](ProgramState&) { log.push_back("LanLockRelease"); };
  }

  // A named estimate with work files written since its last pack: its level
  // 1, settings and layout files.
  void NamedEstimate() {
    stdfs::create_directory(dir / "data");
    st.CurrentFilePath = (dir / "data").string() + "/見積B.YZH";
    st.WorkFileBase = work + "/見積B";
    test::WriteLevelOne(work + "/見積B.Y1", {"基礎工事"}, "500000");
    stdfs::copy_file(prog + "/DAVIROV.INI", work + "/見積B.INI");
    stdfs::copy_file(work + "/無題.Y$", work + "/見積B.Y$");
    st.PackPending = true;
  }

  // Runs the shut-down; true when it ended the program.
  bool Shutdown() {
    try {
      AppShutdown(st, ok, steps);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }

  std::string work;
  ShutdownSteps steps;
  std::vector<std::string> log;
  bool ok = false;
};

TEST_F(AppShutdownTest, UntitledWithChangesEndsWithoutPackOrMessage) {
  st.PackPending = true;
  st.SheetModified = true;
  st.KVData = "/home/user/見積";
  EXPECT_TRUE(Shutdown());
  EXPECT_TRUE(ok);
  EXPECT_EQ(ui.EndedWith(), 0);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(log, std::vector<std::string>{"LanLockRelease"});
  EXPECT_TRUE(editor.calls.empty());  // no page numbers either
  EXPECT_FALSE(stdfs::exists(work));
  EXPECT_FALSE(stdfs::exists(prog + "/WORK2"));
  std::string saved;
  IniGetString("PathDir", "KVData", saved, prog + "/KVSSYS.INI");
  EXPECT_EQ(saved, "/home/user/見積");
}

TEST_F(AppShutdownTest, HiddenFilesAndSubfoldersKeepTheWorkFolder) {
  dir.Write("WORK/.hidden", "x");
  const stdfs::path readOnly = dir.Write("WORK/読取専用.Y2", "x");
  stdfs::permissions(readOnly, stdfs::perms::owner_read);
  stdfs::create_directory(prog + "/WORK2/sub");
  EXPECT_TRUE(Shutdown());
  EXPECT_TRUE(stdfs::exists(work + "/.hidden"));
  EXPECT_FALSE(stdfs::exists(readOnly));
  EXPECT_FALSE(stdfs::exists(work + "/無題.Y1"));
  EXPECT_FALSE(stdfs::exists(work + "/無題.Y$"));
  EXPECT_TRUE(stdfs::is_directory(prog + "/WORK2/sub"));
  EXPECT_FALSE(stdfs::exists(prog + "/WORK2/参考.Y1"));
}

TEST_F(AppShutdownTest, PendingNamedEstimateIsPacked) {
  NamedEstimate();
  EXPECT_TRUE(Shutdown());
  EXPECT_EQ(log, std::vector<std::string>{"LanLockRelease"});
  EXPECT_TRUE(editor.Has("PageNumbersWrite()"));
  EXPECT_FALSE(st.PackPending);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_FALSE(stdfs::exists(work));
  // The estimate file holds the work set: unpacked again, level 1 is back.
  ASSERT_TRUE(stdfs::exists(st.CurrentFilePath));
  stdfs::create_directory(work);
  ASSERT_TRUE(UnpackEstimateFile(st, st.CurrentFilePath).ok());
  EXPECT_NE(test::ReadAll(work + "/見積B.Y1").find(ToSjis("基礎工事")), std::string::npos);
}

TEST_F(AppShutdownTest, NothingPendingIsNotPacked) {
  NamedEstimate();
  st.PackPending = false;
  EXPECT_TRUE(Shutdown());
  EXPECT_FALSE(stdfs::exists(st.CurrentFilePath));
  EXPECT_EQ(log, std::vector<std::string>{"LanLockRelease"});
}

TEST_F(AppShutdownTest, RefusedPackYesKeepsTheProgramOpen) {
  NamedEstimate();
  // The estimate's folder is gone (a drive no longer there): the pack is refused.
  stdfs::remove(dir / "data");
  ui.AnswerMsgBox(
      vbYes,
      "ディスクの残り容量が少ないかＣＤ－ＲＯＭの為、見積データ [ 見積B ] を保存することが出来ません。\r"
      "名前を変えて別のドライブに保存して下さい");
  EXPECT_FALSE(Shutdown());
  EXPECT_FALSE(ok);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(ui.Prompts()[0].style, vbYesNo + vbExclamation);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  // Nothing else happened: the lock and the work files are there.
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(stdfs::exists(work + "/見積B.INI"));
  EXPECT_TRUE(stdfs::exists(work + "/見積B.Y1"));
}

TEST_F(AppShutdownTest, RefusedPackNoEndsTheProgram) {
  NamedEstimate();
  stdfs::remove(dir / "data");
  ui.AnswerMsgBox(vbNo, "見積データ [ 見積B ]");
  EXPECT_TRUE(Shutdown());
  EXPECT_TRUE(ok);
  EXPECT_EQ(log.back(), "LanLockRelease");
  EXPECT_FALSE(stdfs::exists(work));
}

TEST_F(AppShutdownTest, FailedPackIsReportedAndKeepsTheProgramOpen) {
  NamedEstimate();
  // A read-only estimate file is not replaced.
  const stdfs::path packed = dir.Write("data/見積B.YZH", "the previous pack");
  stdfs::permissions(packed, stdfs::perms::owner_read);
  ui.AnswerMsgBox(
      vbOK, "見積データ [ 見積B ] を保存することが出来ませんでした。\r名前を変えて保存を行って下さい。");
  EXPECT_FALSE(Shutdown());
  EXPECT_FALSE(ok);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly + vbExclamation);
  EXPECT_TRUE(stdfs::exists(work + "/見積B.Y1"));
  EXPECT_EQ(test::ReadAll(packed), "the previous pack");
}

TEST_F(AppShutdownTest, OurLockLeftBehindIsDeleted) {
  NamedEstimate();
  st.PackPending = false;
  st.MachineName = "host";
  ASSERT_TRUE(LanLockAcquire(st, st.CurrentFilePath));
  EXPECT_TRUE(Shutdown());
  EXPECT_FALSE(stdfs::exists(dir / "data/見積B.$$$"));
}

// Locks of others stay: another machine's, another program's of this
// machine, one of another installation here.
TEST_F(AppShutdownTest, AnotherHoldersLockIsKept) {
  NamedEstimate();
  st.PackPending = false;
  st.MachineName = "host";
  for (const std::string& other : {std::string("other\r\n"), test::HolderLock("host", ::getpid()),
                                   std::string("host\r\n")}) {
    dir.Write("data/見積B.$$$", other);
    EXPECT_TRUE(Shutdown());
    EXPECT_EQ(test::ReadAll(dir / "data/見積B.$$$"), other);
  }
}

TEST_F(AppShutdownTest, MainWindowRectangleIsSaved) {
  steps.WindowPlacement = [](ProgramState&) {
    MainWindowPlacement p;
    p.left = 300;
    p.top = 450;
    p.width = 9000;
    p.height = 3000;
    p.sizerLeft = 1500;
    return p;
  };
  EXPECT_TRUE(Shutdown());
  const std::string sys = prog + "/KVSSYS.INI";
  EXPECT_EQ(IniGetInt("編集画面", "Left", sys), 300);
  EXPECT_EQ(IniGetInt("編集画面", "Width", sys), 9000);
  EXPECT_EQ(IniGetInt("編集画面", "Height", sys), 4200);
  EXPECT_EQ(IniGetInt("Sizer", "Pos", sys), 1500);
}

}  // namespace
}  // namespace kv
