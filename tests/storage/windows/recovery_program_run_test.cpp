// The whole program, as main() wires it, started after an abnormal end: the
// start-up finds the left-over work files, the wizard restores them into
// DATA, and the main window opens the restored estimate. The run happens in a
// child process (the program ends the process); the test reads what it left.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/program_entry.h"
#include "app/windows/program_wiring.h"
#include "platform/codepage.h"
#include "platform/instance_lock.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "storage/level_write.h"
#include "storage/program_copy.h"
#include "storage/recover_wizard.h"
#include "storage/windows/frm_recover.h"
#include "support/qt_test_app.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

// Exit codes of the child for what it found wrong.
constexpr int kNoMainWindow = 3;
constexpr int kNotRestored = 4;
constexpr int kWrongCaption = 5;
constexpr int kWrongRows = 6;

// The work files a run of the program left when it ended abnormally: the
// named estimate 工事A with two rows recorded, never packed.
void LeaveWorkFiles(const std::filesystem::path& dir) {
  ScriptedUi ui;
  ProgramState st(ui);
  StartProgram(st, dir);
  st.WorkFileBase = st.AppPath + "/WORK/工事A";
  st.CurrentFilePath = st.AppPath + "/見積/工事A.YZH";
  for (auto& r : st.SheetRows) r = std::string(static_cast<size_t>(st.DataLen), ' ');
  st.SheetTotalRecord = st.TotalRecordDefaults[1];
  const char* texts[] = {"基礎工事", "躯体工事"};
  for (int i = 0; i < 2; ++i) {
    std::string bytes = ToSjis(texts[i]);
    st.SheetRows[i + 1].replace(static_cast<size_t>(st.ColStart[1][1] - 1), bytes.size(), bytes);
  }
  ASSERT_TRUE(LevelWrite(st, 1));
}

// Plays the user in the wizard: on through the steps, 終了 at the result.
void PlayWizard(QtUi& qt) {
  auto* w = dynamic_cast<frmRecover*>(QApplication::activeModalWidget());
  if (w == nullptr || w != qt.LoadedWindow(kRecoverWindow)) return;
  if (w->cmdNext()->isVisible())
    w->cmdNext()->click();
  else
    w->cmdEnd()->click();
}

[[noreturn]] void RunProgram(const std::string& prog) {
  QtUi qt;
  ProgramState st(qt);
  InstanceLock instance(prog + "/instance.lock");
  StartupContext ctx;
  ctx.ProgramFolder = prog;
  ctx.ProgramFile = prog + "/korvane";
  ctx.Instance = &instance;
  const ShutdownSteps shutdown = ProgramShutdownSteps(qt);
  RegisterProgramWindows(qt, st, prog, ProgramEditorHooks(qt, st, shutdown));
  QTimer user;
  QObject::connect(&user, &QTimer::timeout, [&qt] {
    // The machine may have no printer: its warning is answered.
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
    PlayWizard(qt);
  });
  user.start(10);

  Main(st, ctx, ProgramStartupSteps(qt));
  EDTSHEET_FRM* w = LoadedEditWindow(qt);
  if (w == nullptr || !w->isVisible() || w->isMinimized()) std::_Exit(kNoMainWindow);
  if (st.CurrentFilePath != prog + "/DATA/FILE001.YZH" || st.WorkFileBase != prog + "/WORK/FILE001")
    std::_Exit(kNotRestored);
  if (!w->windowTitle().contains(QString::fromUtf8("FILE001.YZH"))) std::_Exit(kWrongCaption);
  auto text = [&st](int row) {
    return FromSjis(st.SheetRows[row].substr(static_cast<size_t>(st.ColStart[1][1] - 1), 8));
  };
  if (st.UsedRows != 2 || text(1) != "基礎工事" || text(2) != "躯体工事") std::_Exit(kWrongRows);
  std::_Exit(0);
}

TEST(RecoveryProgramRun, StartAfterAnAbnormalEndRestoresAndOpensTheEstimate) {
  EnsureQtApp();
  TempFolder dir;
  CopyProgramFolder(dir.path());
  LeaveWorkFiles(dir.path());
  const std::string prog = dir.path().string();

  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(RunProgram(prog), ::testing::ExitedWithCode(0), "");

  EXPECT_TRUE(std::filesystem::exists(prog + "/DATA/FILE001.YZH"));
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/工事A.Y1"));
  EXPECT_FALSE(std::filesystem::exists(prog + "/KV1RECOVER"));
}

}  // namespace
}  // namespace kv::test
