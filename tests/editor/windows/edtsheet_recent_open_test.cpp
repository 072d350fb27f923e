// A recent estimate chosen from the File menu of the running editor window:
// the estimate opens in the window with the paper list filled and the font
// item's caption renewed, its lock taken while the old estimate still holds
// its own; a lock another machine keeps leaves the old estimate open and
// locked.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "calc/calc_engine.h"
#include "core/window_services.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/grid_api.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/print_forms.h"
#include "state/menu_model.h"
#include "storage/file_command_fixture.h"
#include "storage/file_commands.h"
#include "storage/lan_lock.h"
#include "storage/program_copy.h"
#include "storage/windows/file_commands_wiring.h"
#include "support/lock_lines.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

// The user: picks `pick` in the open dialog, closes every message box, and
// gives up when the lock dialog says the estimate is in use.
class RecentUi : public QtUi {
 public:
  ProgramState* st = nullptr;
  std::string pick;
  std::vector<std::string> messages;
  int lockDialogs = 0;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return pick; }
  int MsgBox(std::string_view text, int, std::string_view) override {
    messages.emplace_back(text);
    return vbOK;
  }
  void ShowModal(std::string_view window) override {
    if (window != kLanMsgWindow) return QtUi::ShowModal(window);
    ++lockDialogs;
    st->LanMsgAnswer = kLanAnswerGiveUp;
  }
};

// The file commands, noting who holds the two locks when the old estimate
// is packed on its way out.
class WatchedFiles : public FileCommands {
 public:
  std::filesystem::path data;
  std::vector<std::pair<std::string, std::string>> locksAtPack;  // EST's, SRC's holder
  int PackEstimateFile(ProgramState& st, const std::string& path, bool deleteAfter) override {
    locksAtPack.emplace_back(test::LockMachine(data / "EST.$$$"), test::LockMachine(data / "SRC.$$$"));
    return FileCommands::PackEstimateFile(st, path, deleteAfter);
  }
};

class EdtSheetRecentOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    test::CopyProgramFolder(app.path());
    std::filesystem::create_directories(data);
    MakeEstimate("EST", {"旧"});
    MakeEstimate("SRC", {"新一", "新二"});
    ui.st = &st;
    files.data = data;
    st.MachineName = "MACHINE-A";
    st.calc = &engine;
    st.print = &print;
    test::StartProgram(st, app.path());
    st.FontName = "ＭＳ 明朝";
    st.EditWinWidth = 16000;
    st.EditWinHeight = 7000;
    for (std::string& r : st.SheetRows) r.assign(static_cast<size_t>(st.DataLen), ' ');
    st.SheetTotalRecord.assign(static_cast<size_t>(st.DataLen), ' ');
    WireFileCommands(ui, st, files);
    RegisterEditorWindow(ui, st, hooks);
    ui.ShowModeless(kEditWindow);
    w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
    ASSERT_NE(w, nullptr);
    // SRC, then EST opened with File > Open: EST is open and SRC on the
    // recent list.
    for (const char* name : {"SRC", "EST"}) {
      ui.pick = Data(std::string(name) + ".YZH");
      w->MenuAction("Menu_1Sub", 1)->trigger();
      test::Settle();
    }
    ASSERT_EQ(st.CurrentFilePath, Data("EST.YZH"));
    ASSERT_EQ(ui.messages, std::vector<std::string>{});
  }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }

  void MakeEstimate(const std::string& name, const std::vector<std::string>& texts) {
    test::Program maker("MAKER");
    maker.StartNamed(data, name, texts);
    LanLockRelease(maker.st);
  }
  std::string Data(const std::string& file) const { return (data / file).string(); }
  // The File menu's item for SRC on the recent list.
  QAction* SrcItem() const {
    for (int n = 1; n <= 5; ++n)
      if (st.RecentFiles[size_t(n)].ends_with(Data("SRC.YZH"))) return w->MenuAction("Menu_1Sub", 16 + n);
    return nullptr;
  }
  // The font item and the paper combo emptied, to see them renewed.
  void ClearShown() {
    st.editor->Menus()->At("Menu_7Sub", 2).caption = "";
    st.editor->MenusChanged(st);
    w->cmbYosi()->clear();
  }
  std::string FirstName() { return GetTextData32(w->EdtSheet(), 1, 1); }

  test::TempFolder app;
  test::TempFolder shared;
  std::filesystem::path data = shared.path() / "DATA";
  RecentUi ui;
  ProgramState st{ui};
  WatchedFiles files;
  CalcEngine engine;
  PrintForms print;
  EditorWindowHooks hooks;
  EDTSHEET_FRM* w = nullptr;
};

TEST_F(EdtSheetRecentOpen, ChoosingARecentEstimateOpensItInTheWindow) {
  QAction* item = SrcItem();
  ASSERT_NE(item, nullptr);
  st.PackPending = true;  // EST changed since it was packed
  files.locksAtPack.clear();
  ClearShown();
  item->trigger();
  test::Settle();

  EXPECT_EQ(ui.messages, std::vector<std::string>{});
  EXPECT_EQ(st.CurrentFilePath, Data("SRC.YZH"));
  EXPECT_EQ(FirstName(), "新一");
  EXPECT_EQ(GetTextData32(w->EdtSheet(), 1, 2), "新二");
  // EST was packed with both locks held by this machine; afterwards only
  // SRC's is left.
  EXPECT_EQ(files.locksAtPack,
            (std::vector<std::pair<std::string, std::string>>{{"MACHINE-A", "MACHINE-A"}}));
  EXPECT_FALSE(std::filesystem::exists(data / "EST.$$$"));
  EXPECT_EQ(test::LockMachine(data / "SRC.$$$"), "MACHINE-A");
  EXPECT_EQ(w->cmbYosi()->count(), kPrintForms);
  EXPECT_EQ(w->cmbYosi()->currentIndex(), st.PrnTypeNo - 1);
  EXPECT_EQ(FromQ(w->MenuAction("Menu_7Sub", 2)->text()), "ﾌｫﾝﾄ=" + st.FontName);
  EXPECT_FALSE(st.CommandBusy);
}

TEST_F(EdtSheetRecentOpen, ALockAnotherMachineKeepsLeavesTheOldEstimateOpenAndLocked) {
  QAction* item = SrcItem();
  ASSERT_NE(item, nullptr);
  shared.Write("DATA/SRC.$$$", "MACHINE-B\r\n");
  ClearShown();
  item->trigger();
  test::Settle();

  EXPECT_EQ(ui.lockDialogs, 1);
  EXPECT_EQ(st.CurrentFilePath, Data("EST.YZH"));
  EXPECT_EQ(FirstName(), "旧");
  EXPECT_EQ(test::LockMachine(data / "EST.$$$"), "MACHINE-A");
  EXPECT_EQ(test::LockMachine(data / "SRC.$$$"), "MACHINE-B");
  EXPECT_EQ(FromQ(w->MenuAction("Menu_7Sub", 2)->text()), "") << "an early stop has no epilogue";
  EXPECT_FALSE(st.CommandBusy);
}

}  // namespace
}  // namespace kv
