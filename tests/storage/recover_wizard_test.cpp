// The recovery wizard as the user meets it: which jobs it offers, which one
// it restores, and what it says afterwards.
#include "storage/recover_wizard.h"

#include "storage/recovery_fixture.h"
#include "storage/recovery_jobs.h"

namespace kv::test {
namespace {

using Options = std::array<bool, 3>;

class RecoverWizardTest : public RecoveryFixture {
 protected:
  RecoverWizard wizard{st, ctx};

  // The progress window, as the seam shows it: it runs the engine.
  void ExpectRun() {
    ui.AnswerModal(std::string(kChangeWindow), [this] { RecoverProgressRun(st, ctx); });
  }
  std::array<bool, 3> Shown() const { return wizard.View().optFileVisible; }
};



TEST_F(RecoverWizardTest, OneJobIsNamedAndRestored) {
  SimpleJob("ABC");
  ASSERT_TRUE(wizard.Form_Load());
  EXPECT_EQ(wizard.StepNo(), 1);
  EXPECT_EQ(wizard.View().caption, "ファイル復旧 1/4");
  EXPECT_EQ(wizard.View().lblMessage,
            "前回、Korvaneが正常に終了しなかったため、編集中のファイルが残っています。"
            "残っているファイルを別名で復旧できます。復旧しますか？\n\n復旧する場合は次へ進んでください。");
  EXPECT_FALSE(wizard.View().cmdBackVisible);

  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.View().caption, "ファイル復旧 2/4");
  EXPECT_EQ(wizard.View().lblMessage, "以下のファイルが残っています。\n\n復旧する場合は次へ進んでください。");
  EXPECT_TRUE(wizard.View().lblFMidasiVisible);
  EXPECT_EQ(wizard.View().lblFMidasi, "復旧ファイル名 ");
  EXPECT_TRUE(wizard.View().lblFNameVisible);
  EXPECT_EQ(wizard.View().lblFName, "ABC");
  EXPECT_EQ(Shown(), (Options{false, false, false}));
  EXPECT_TRUE(wizard.View().cmdBackVisible);

  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.View().caption, "ファイル復旧 3/4");
  EXPECT_EQ(wizard.View().lblMessage, "[ ABC ]のファイルを復旧します。\n\n実行を選択してください。");
  EXPECT_EQ(wizard.View().cmdNextCaption, "実行(&G)");
  EXPECT_FALSE(wizard.View().lblFNameVisible);
  EXPECT_EQ(ctx.RecJobName, "ABC");

  ExpectRun();
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.StepNo(), 5);
  EXPECT_EQ(wizard.View().caption, "ファイル復旧 4/4");
  EXPECT_EQ(wizard.View().lblMessage, "ファイル復旧が正常に終了しました。\n\n[ ABC ]を\n[ FILE001 ]のファイル名で\n\n" +
                                          st.AppPath + "/DATAのフォルダの中に復旧しました。");
  EXPECT_FALSE(wizard.View().cmdNextVisible);
  EXPECT_FALSE(wizard.View().cmdBackVisible);
  EXPECT_EQ(st.RecoveredFilePath, st.AppPath + "/DATA/FILE001.YZH");
  // The wizard steps aside for the progress window and comes back on top.
  EXPECT_EQ(ui.CallsStartingWith("SetWindow"),
            (Texts{"SetWindowTopMost(frmRecover, true)", "SetWindowTopMost(frmRecover, false)",
                   "SetWindowState(frmRecover, Minimized)", "SetWindowTopMost(frmChange, true)",
                   "SetWindowTopMost(frmChange, false)", "SetWindowState(frmRecover, Normal)",
                   "SetWindowTopMost(frmRecover, true)"}));
  EXPECT_EQ(ui.CallsStartingWith("UnloadWindow"), (Texts{"UnloadWindow(frmChange)"}));

  // Nothing more happens: the run is done once.
  wizard.cmdNext_Click();
  wizard.cmdEnd_Click();
  EXPECT_TRUE(wizard.Ended());
}

// Only three jobs are offered, in name order; the chosen one is restored.
TEST_F(RecoverWizardTest, AtMostThreeJobsAreOfferedAndTheChosenOneIsRestored) {
  for (const char* name : {"E5", "A1", "D4", "B2", "C3"}) SimpleJob(name);
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.View().lblMessage,
            "以下のファイルが残っています。\n復旧したいファイルをチェックしてください。\n\n復旧する場合は次へ進んでください。");
  EXPECT_EQ(Shown(), (Options{true, true, true}));
  EXPECT_EQ(wizard.View().optFileCaption, (std::array<std::string, 3>{"A1", "B2", "C3"}));
  EXPECT_FALSE(wizard.View().lblFNameVisible);
  EXPECT_EQ(wizard.Chosen(), 1);

  wizard.optFile_Click(2);
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.View().lblMessage,
            "[ B2 ]のファイルを復旧します。\n\nこのファイル名で正しければ実行を、違う場合は戻るを選択してください。");
  // Back to the list and on again: the choice and the button caption survive.
  wizard.cmdBack_Click();
  EXPECT_EQ(wizard.StepNo(), 2);
  EXPECT_EQ(wizard.View().cmdNextCaption, "次へ(&N) >");
  EXPECT_EQ(wizard.Chosen(), 2);
  wizard.optFile_Click(3);
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.SelectedName(), "C3");

  ExpectRun();
  wizard.cmdNext_Click();
  EXPECT_EQ(ctx.RecResult, kRecAll);
  EXPECT_FALSE(rfs::exists(Work() / "C3.Y1"));
  for (const char* kept : {"A1.Y1", "B2.Y1", "D4.Y1", "E5.Y1"}) EXPECT_TRUE(rfs::exists(Work() / kept)) << kept;
}

// One option button per job, three at most; back at step 1 none is shown.
TEST_F(RecoverWizardTest, OptionButtonsForTwoThreeAndFiveJobs) {
  const std::vector<std::pair<int, Options>> cases = {
      {2, {true, true, false}}, {3, {true, true, true}}, {5, {true, true, true}}};
  for (const auto& [jobs, expected] : cases) {
    rfs::remove_all(Work());
    rfs::create_directories(Work());
    for (int i = 1; i <= jobs; ++i) SimpleJob("J" + std::to_string(i));
    RecoverWizard w(st, ctx);
    ASSERT_TRUE(w.Form_Load());
    w.cmdNext_Click();
    EXPECT_EQ(w.View().optFileVisible, expected) << jobs;
    EXPECT_EQ(w.View().optFileCaption[1], "J2");
    w.cmdBack_Click();
    EXPECT_EQ(w.StepNo(), 1);
    EXPECT_EQ(w.View().optFileVisible, (Options{false, false, false}));
  }
}

TEST_F(RecoverWizardTest, UntitledAndOwnReferenceWorkNamesAreNeverOffered) {
  for (const char* name : {"無題", "無題2", "自分参考X", " 無題3"}) SimpleJob(name);
  SimpleJob("工事A");
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.FileList(), (Texts{"工事A.Y1"}));
  EXPECT_EQ(wizard.View().lblFName, "工事A");
}

// With nothing to offer, or without the file-set definition, the wizard says
// so and closes; nothing is restored.
TEST_F(RecoverWizardTest, NothingToOfferClosesTheWizardAtOnce) {
  struct Case {
    bool kvutl;
    bool job;
    const char* message;
  };
  for (Case c : {Case{true, false, "WORK中に対象ファイルがありません"}, Case{false, true, "KVUTL.INIがありません"},
                 Case{false, false, "KVUTL.INIがありません"}}) {
    ScriptedUi caseUi;
    ProgramState caseSt{caseUi};
    caseSt.AppPath = st.AppPath;
    rfs::remove_all(Work());
    rfs::create_directories(Work());
    if (c.job) SimpleJob("ABC");
    WriteSettings(app / "KVUTL.INI", "");
    if (!c.kvutl) rfs::remove(app / "KVUTL.INI");
    caseUi.AnswerMsgBox(vbOK, c.message);
    RecoverWizard w(caseSt, ctx);

    EXPECT_FALSE(w.Form_Load());

    EXPECT_TRUE(w.Ended());
    ASSERT_EQ(caseUi.Prompts().size(), 1u);
    EXPECT_EQ(caseUi.Prompts()[0].title, "データ復旧");
    EXPECT_EQ(caseUi.Prompts()[0].style, vbOKOnly);
    EXPECT_TRUE(caseSt.RecoveredFilePath.empty());
  }
}

TEST_F(RecoverWizardTest, FailedRunSaysNothingWasRestored) {
  SimpleJob("ABC");
  rfs::remove(Work() / "ABC.INI");
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  wizard.cmdNext_Click();
  ExpectRun();
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.StepNo(), 5);
  EXPECT_EQ(wizard.View().lblMessage.rfind("ファイルを復旧できませんでした。\n", 0), 0u);
  EXPECT_NE(wizard.View().lblMessage.find("ABC.INI"), std::string::npos);
  EXPECT_TRUE(st.RecoveredFilePath.empty());
  EXPECT_TRUE(rfs::exists(Work() / "ABC.Y1"));
}

TEST_F(RecoverWizardTest, RestoredWithLossesSaysSo) {
  Job job = SimpleJob("ABC");
  WriteJobLevel(job, 1, TopSheet({"p"}, {4}));  // level 2 does not exist
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  wizard.cmdNext_Click();
  ExpectRun();
  wizard.cmdNext_Click();
  EXPECT_EQ(wizard.View().lblMessage.rfind("ファイル復旧が終了しました。一部復旧できないデータがありました。\n\n[ ABC ]を", 0), 0u);
  EXPECT_FALSE(st.RecoveredFilePath.empty());
}

// Cancel in the progress window ends the wizard: the program goes on with
// the untitled estimate and the job stays for the next start.
TEST_F(RecoverWizardTest, CancelledRunEndsTheWizard) {
  SimpleJob("ABC");
  const auto work = FolderFiles(Work());
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  wizard.cmdNext_Click();
  ui.AnswerModal(std::string(kChangeWindow), [this] {
    ctx.Pause = [this](int) { ctx.CancelRequested = true; };  // the user presses キャンセル
    RecoverProgressRun(st, ctx);
  });
  wizard.cmdNext_Click();
  EXPECT_TRUE(wizard.Ended());
  EXPECT_EQ(ctx.RecResult, kRecNothing);
  EXPECT_TRUE(st.RecoveredFilePath.empty());
  EXPECT_EQ(FolderFiles(Work()), work);
  EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
}

TEST_F(RecoverWizardTest, EndBeforeTheRunRestoresNothing) {
  SimpleJob("ABC");
  ASSERT_TRUE(wizard.Form_Load());
  wizard.cmdNext_Click();
  wizard.cmdNext_Click();
  wizard.cmdEnd_Click();
  EXPECT_TRUE(wizard.Ended());
  EXPECT_TRUE(st.RecoveredFilePath.empty());
  EXPECT_TRUE(rfs::exists(Work() / "ABC.Y1"));
}

// The start-up's question: is there a named estimate's level-1 work file?
TEST_F(RecoveryFixture, RecoverFilesExistOnlyForNamedLevelOneWorkFiles) {
  struct Case {
    std::vector<std::string> files;
    bool expected;
  };
  const Case cases[] = {
      {{}, false},
      {{"無題.Y1"}, false},
      {{"無題2.Y1", "自分参考ABC.Y1", " 無題.Y1"}, false},
      {{"ABC.Y2", "ABC.INI", "ABC$1.MOD", "ABC.Y$"}, false},
      {{"無題.Y1", "ABC.Y1"}, true},
      {{"abc.y1"}, true},
      {{"自分.Y1"}, true},
  };
  for (const Case& c : cases) {
    rfs::remove_all(Work());
    rfs::create_directories(Work());
    for (const std::string& f : c.files) WriteFile(f, "");
    EXPECT_EQ(RecoverFilesExist(st), c.expected) << (c.files.empty() ? "(none)" : c.files.back());
  }
  rfs::remove_all(Work());
  EXPECT_FALSE(RecoverFilesExist(st));
}

}  // namespace
}  // namespace kv::test
