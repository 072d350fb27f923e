// The recovery wizard and its progress window on the Qt seam, as the start-up
// shows them: the steps the user walks through, the run in the progress
// window, and a cancel that leaves the left-over work files in place.
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include <gtest/gtest.h>

#include "platform/qt/qt_ui.h"
#include "storage/recover_wizard.h"
#include "storage/recovery_fixture.h"
#include "storage/windows/frm_change.h"
#include "storage/windows/frm_recover.h"
#include "storage/windows/recovery_windows.h"
#include "support/qt_test_app.h"

namespace kv::test {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class RecoveryWindows : public RecoveryFixture {
 protected:
  QtUi qt;
  ProgramState qst{qt};
  std::shared_ptr<RecoveryContext> shared = std::make_shared<RecoveryContext>();
  // What the progress window showed at each pause of the run.
  std::vector<std::pair<QString, int>> shown;

  void SetUp() override {
    RecoveryFixture::SetUp();
    EnsureQtApp();
    qst.AppPath = st.AppPath;
    qst.WorkFolderName = st.WorkFolderName;
    qst.OleDataExt = st.OleDataExt;
    qst.SystemKind = st.SystemKind;
    shared->Pause = [this](int) {
      auto* change = dynamic_cast<frmChange*>(qt.LoadedWindow(kChangeWindow));
      ASSERT_NE(change, nullptr);
      EXPECT_TRUE(change->isVisible());
      shown.emplace_back(change->lblMidasi()->text(), change->prgCnt()->value());
    };
    RegisterRecoveryWindows(qt, qst, shared);
  }

  frmRecover* Wizard() { return dynamic_cast<frmRecover*>(qt.LoadedWindow(kRecoverWindow)); }

  // Plays the user once the wizard is up, then lets the start-up go on.
  void ShowWizard(std::function<void(frmRecover&)> act) {
    QTimer::singleShot(0, [this, act] {
      frmRecover* w = Wizard();
      ASSERT_NE(w, nullptr);
      ASSERT_TRUE(w->isVisible());
      act(*w);
    });
    qst.RecoveredFilePath.clear();
    qt.ShowModal(kRecoverWindow);
    qt.UnloadWindow(kRecoverWindow);
    Settle();
  }
};

TEST_F(RecoveryWindows, OneJobIsRestoredThroughTheSteps) {
  SimpleJob("ABC");
  ShowWizard([this](frmRecover& w) {
    EXPECT_EQ(w.windowTitle(), Q("ファイル復旧 1/4"));
    EXPECT_TRUE(w.lblMessage()->text().startsWith(Q("前回、Korvaneが正常に終了しなかったため")));
    EXPECT_FALSE(w.cmdBack()->isVisible());
    EXPECT_EQ(w.cmdNext()->text(), Q("次へ(&N) >"));
    EXPECT_EQ(w.cmdEnd()->text(), Q("終了(&X)"));

    w.cmdNext()->click();
    EXPECT_EQ(w.windowTitle(), Q("ファイル復旧 2/4"));
    EXPECT_TRUE(w.lblFMidasi()->isVisible());
    EXPECT_EQ(w.lblFMidasi()->text(), Q("復旧ファイル名 "));
    EXPECT_EQ(w.lblFName()->text(), Q("ABC"));
    EXPECT_FALSE(w.optFile(1)->isVisible());
    EXPECT_EQ(w.cmdBack()->text(), Q("< 戻る(&B)"));
    EXPECT_TRUE(w.cmdBack()->isVisible());

    w.cmdNext()->click();
    EXPECT_EQ(w.cmdNext()->text(), Q("実行(&G)"));
    EXPECT_EQ(w.lblMessage()->text(), Q("[ ABC ]のファイルを復旧します。\n\n実行を選択してください。"));

    w.cmdNext()->click();  // the progress window runs and closes
    EXPECT_FALSE(qt.IsWindowLoaded(kChangeWindow));
    EXPECT_EQ(w.windowTitle(), Q("ファイル復旧 4/4"));
    EXPECT_TRUE(w.lblMessage()->text().startsWith(Q("ファイル復旧が正常に終了しました。\n\n[ ABC ]を\n[ FILE001 ]")));
    EXPECT_FALSE(w.cmdNext()->isVisible());
    EXPECT_FALSE(w.cmdBack()->isVisible());
    EXPECT_FALSE(w.isMinimized());
    w.cmdEnd()->click();
  });

  EXPECT_FALSE(qt.IsWindowLoaded(kRecoverWindow));
  EXPECT_EQ(qst.RecoveredFilePath, qst.AppPath + "/DATA/FILE001.YZH");
  EXPECT_FALSE(rfs::exists(Work() / "ABC.Y1"));
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0], std::make_pair(Q("ファイルチェック中"), 5));
  EXPECT_EQ(shown[1], std::make_pair(Q("ファイル復旧中"), 10));
  EXPECT_EQ(shown[2].second, 100);
}

TEST_F(RecoveryWindows, ChosenJobAmongThreeAndEndBeforeTheRun) {
  for (const char* name : {"A1", "B2", "C3", "D4"}) SimpleJob(name);
  ShowWizard([](frmRecover& w) {
    w.cmdNext()->click();
    for (int i = 1; i <= 3; ++i) EXPECT_TRUE(w.optFile(i)->isVisible()) << i;
    EXPECT_EQ(w.optFile(3)->text(), Q("C3"));
    EXPECT_TRUE(w.optFile(1)->isChecked());
    w.optFile(2)->click();
    w.cmdNext()->click();
    EXPECT_EQ(w.lblMessage()->text(),
              Q("[ B2 ]のファイルを復旧します。\n\nこのファイル名で正しければ実行を、違う場合は戻るを選択してください。"));
    w.cmdBack()->click();
    EXPECT_TRUE(w.optFile(2)->isChecked());
    w.close();  // the title bar ends the wizard as 終了 does
  });

  EXPECT_TRUE(qst.RecoveredFilePath.empty());
  EXPECT_TRUE(rfs::exists(Work() / "B2.Y1"));
  EXPECT_FALSE(rfs::exists(Data()));
}

// キャンセル, or closing the progress window, stops the run; the wizard ends
// and the job stays in WORK.
TEST_F(RecoveryWindows, CancelInTheProgressWindowLeavesTheJob) {
  for (bool byTitleBar : {false, true}) {
    SimpleJob("ABC");
    const auto work = FolderFiles(Work());
    shared->Pause = [this, byTitleBar](int) {
      auto* change = dynamic_cast<frmChange*>(qt.LoadedWindow(kChangeWindow));
      ASSERT_NE(change, nullptr);
      EXPECT_EQ(change->windowTitle(), Q("実行中"));
      EXPECT_EQ(change->cmdCan()->text(), Q("キャンセル"));
      if (byTitleBar) {
        change->close();
        EXPECT_TRUE(change->isVisible()) << "not closed under the run";
      } else {
        change->cmdCan()->click();
      }
    };
    ShowWizard([](frmRecover& w) {
      w.cmdNext()->click();
      w.cmdNext()->click();
      w.cmdNext()->click();
    });

    EXPECT_FALSE(qt.IsWindowLoaded(kRecoverWindow)) << byTitleBar;
    EXPECT_TRUE(shared->Cancelled);
    EXPECT_TRUE(qst.RecoveredFilePath.empty());
    EXPECT_EQ(FolderFiles(Work()), work);
    EXPECT_FALSE(rfs::exists(app / "KV1RECOVER"));
  }
}

TEST_F(RecoveryWindows, NothingToOfferSaysSoWithoutShowingTheWizard) {
  bool wizardShown = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), Q("データ復旧"));
    EXPECT_EQ(box->text(), Q("WORK中に対象ファイルがありません"));
    frmRecover* w = Wizard();
    wizardShown = w && w->isVisible();
    box->accept();
  });
  qt.ShowModal(kRecoverWindow);
  Settle();

  EXPECT_FALSE(wizardShown);
  EXPECT_FALSE(qt.IsWindowLoaded(kRecoverWindow));
}

}  // namespace
}  // namespace kv::test
