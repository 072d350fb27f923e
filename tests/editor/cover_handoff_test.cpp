// The cover tool hand-off over the real stand-in tool of the program folder
// (its "write", "keep" and "fail" modes), with the tool missing or not
// startable, and with a tool that takes its time: the hand-off file, the
// settings copy, the windows and flags during and after, the cover file's
// change, the re-entry guard, the save question, and the cover travelling
// with the saved estimate.
#include "editor/cover_handoff.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "editor/editor_state.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "storage/file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using Lines = std::vector<std::string>;

// The lines of a Shift-JIS CR LF text file, as display text.
Lines TextLines(const stdfs::path& p) {
  const std::string text = FromSjis(test::ReadAll(p));
  Lines lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  return lines;
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char text[16];
  std::strftime(text, sizeof text, "%Y/%m/%d", &tm);
  return text;
}

// The main window as the hand-off sees it, with what it was asked in order.
struct MainWindow {
  WindowState state = WindowState::Normal;
  bool enabled = true;
  std::vector<std::string> calls;
  // What held when the window was disabled (the tool about to start).
  bool runningAtDisable = false;
  WindowState stateAtDisable = WindowState::Normal;
};

const char* StateName(WindowState s) {
  return s == WindowState::Minimized ? "Minimized" : s == WindowState::Maximized ? "Maximized" : "Normal";
}

class CoverHandOffTest : public test::FileCommandTest {
 protected:
  void SetUp() override {
    FileCommandTest::SetUp();
    tool = stdfs::path(st.AppPath) / "Vorlet.exe";
    ASSERT_TRUE(stdfs::exists(tool)) << "the build puts the stand-in cover tool into the program folder";
    port.MainWindowState = [this] { return win.state; };
    port.SetMainWindowState = [this](WindowState s) {
      win.state = s;
      win.calls.push_back(std::string("State(") + StateName(s) + ")");
    };
    port.SetMainWindowEnabled = [this](bool on) {
      win.enabled = on;
      win.calls.push_back(on ? "Enable" : "Disable");
      if (!on) {
        win.runningAtDisable = ed.CoverToolRunning;
        win.stateAtDisable = win.state;
      }
    };
    port.GridFocus = [this] { win.calls.push_back("GridFocus"); };
    port.PrinterKey = [this] { return printerKey; };
  }
  void TearDown() override { unsetenv("KORVANE_TOOL_MODE"); }

  // A named estimate A open on level 1, its settings file (the current
  // settings) naming the company.
  void OpenEstimate(const std::string& name = "A") {
    a.StartNamed(data, name, {"仮設工事", "躯体工事"});
    const std::string ini = WorkFile(name + ".INI");
    stdfs::copy_file(stdfs::path(st.AppPath) / "DAVIROV.INI", ini, stdfs::copy_options::overwrite_existing);
    ASSERT_TRUE(IniPutString("PrintInformation", "CompanyName", "株式会社コルヴァン", ini));
    settings = test::ReadAll(ini);
  }
  void Mode(const char* mode) { setenv("KORVANE_TOOL_MODE", mode, 1); }
  void Run() { KVCoverProc(st, ed, port); }
  stdfs::path Cover() const { return WorkFile("A.WH2"); }
  stdfs::path HandOff() const { return stdfs::path(st.AppPath) / "Mp_Cover.Dat"; }
  std::string CoverValue(const std::string& key) {
    std::string v;
    IniGetString("Cover", key, v, Cover());
    return v;
  }

  stdfs::path tool;
  EditorState ed;
  MainWindow win;
  CoverHandOffPort port;
  std::string printerKey = "EPSON$LP-S180";
  std::string settings;
};

TEST_F(CoverHandOffTest, TheToolGetsTheEstimateAndItsCoverMarksTheSheetModified) {
  OpenEstimate();
  std::ofstream(WorkFile("A.YT"), std::ios::binary) << ToSjis("港北ビル改修工事") + std::string(24, ' ');
  win.state = WindowState::Maximized;
  Mode("write");
  Run();

  EXPECT_EQ(TextLines(HandOff()), (Lines{"[WinPrint]", "LEVEL=1", "PRN_REC_NO=1", "PRNFILE=" + Data("A.Y1"),
                                         "PRN_LEVEL=0", "PRN_FORM=1", "PRN_LOOP=1",
                                         "PRN_INI_FILE=EPSON$LP-S180.INI", "ORKN_PRN=OFF"}));
  EXPECT_EQ(test::ReadAll(stdfs::path(st.AppPath) / "KVSYSTEM.INI"), settings);
  // The tool read both: the project name, today, the company of the copy.
  EXPECT_EQ(TextLines(Cover()), (Lines{"[Cover]", "Title=港北ビル改修工事", "To=", "Date=" + Today(),
                                       "Company=株式会社コルヴァン"}));
  EXPECT_TRUE(st.SheetModified);

  // Minimised and marked running before the tool starts, all back after it.
  EXPECT_EQ(win.calls, (std::vector<std::string>{"State(Minimized)", "Disable", "Enable", "State(Maximized)",
                                                 "GridFocus"}));
  EXPECT_TRUE(win.runningAtDisable);
  EXPECT_EQ(win.stateAtDisable, WindowState::Minimized);
  EXPECT_FALSE(ed.CoverToolRunning);
  EXPECT_EQ(st.CoverToolPid, 0);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(CoverHandOffTest, OnlyAChangedCoverFileMarksTheSheet) {
  OpenEstimate();
  struct Case {
    const char* mode;
    bool coverBefore;
    bool modified;
  };
  const Case cases[] = {{"write", false, true}, {"write", true, true},  {"keep", false, false},
                        {"keep", true, false},  {"fail", false, false}, {"fail", true, false}};
  for (const Case& c : cases) {
    stdfs::remove(Cover());
    if (c.coverBefore) {
      std::ofstream(Cover(), std::ios::binary) << "[Cover]\r\nTitle=old\r\n";
      stdfs::last_write_time(Cover(), stdfs::last_write_time(Cover()) - std::chrono::hours(1));
    }
    st.SheetModified = false;
    Mode(c.mode);
    Run();
    EXPECT_EQ(st.SheetModified, c.modified) << c.mode << " " << c.coverBefore;
    EXPECT_EQ(stdfs::exists(Cover()), c.coverBefore || c.modified) << c.mode;
    EXPECT_TRUE(win.enabled);
    EXPECT_EQ(win.state, WindowState::Normal);
    EXPECT_FALSE(ed.CoverToolRunning);
  }
  EXPECT_TRUE(ui.Prompts().empty()) << "a tool that ran and failed is no start failure";
}

TEST_F(CoverHandOffTest, ACoverFileTheToolRemovesCountsAsAChange) {
  OpenEstimate();
  std::ofstream(Cover(), std::ios::binary) << "[Cover]\r\nTitle=old\r\n";
  stdfs::remove(tool);
  std::ofstream(tool) << "#!/bin/sh\nrm -f \"$1.WH2\"\n";
  stdfs::permissions(tool, stdfs::perms::owner_all);
  Run();
  EXPECT_FALSE(stdfs::exists(Cover()));
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(CoverHandOffTest, ASettingsCopyThatCannotReplaceTheOldOneLeavesItForTheTool) {
  OpenEstimate();
  const stdfs::path copy = stdfs::path(st.AppPath) / "KVSYSTEM.INI";
  const std::string old = ToSjis("[PrintInformation]\r\nCompanyName=前回の会社\r\n");
  std::ofstream(copy, std::ios::binary) << old;
  stdfs::permissions(copy, stdfs::perms::owner_read);
  Mode("write");
  Run();
  EXPECT_EQ(test::ReadAll(copy), old);
  EXPECT_EQ(CoverValue("Company"), "前回の会社");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(CoverHandOffTest, AToolThatCannotStartIsReportedAndEverythingComesBack) {
  OpenEstimate();
  Mode("write");
  const stdfs::path kept = stdfs::path(shared.path()) / "Vorlet.keep";
  stdfs::rename(tool, kept);
  // Missing, then there but not a program.
  for (bool present : {false, true}) {
    if (present) std::ofstream(tool) << "not a program";
    st.UnitWindowOpen = true;
    ui.windowStates["UNIT2_Frm"] = WindowState::Normal;
    win = {};
    win.state = WindowState::Maximized;
    ui.AnswerMsgBox(vbOK, "表紙作成プログラムを起動できません。\n" + tool.string());
    Run();
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
    EXPECT_TRUE(win.enabled) << present;
    EXPECT_EQ(win.state, WindowState::Maximized);
    EXPECT_FALSE(ed.CoverToolRunning);
    EXPECT_EQ(st.CoverToolPid, 0);
    EXPECT_EQ(ui.windowStates["UNIT2_Frm"], WindowState::Normal);
    EXPECT_EQ(win.calls.back(), "GridFocus");
  }
  // The guard is off again: the hand-off runs with the tool back in place.
  stdfs::remove(tool);
  stdfs::rename(kept, tool);
  Run();
  EXPECT_TRUE(stdfs::exists(Cover()));
}

TEST_F(CoverHandOffTest, ToolWindowsAreMinimisedClosedAndGivenBackTheirStates) {
  OpenEstimate();
  Mode("keep");
  st.UnitWindowOpen = st.RefWindowOpen = st.SearchWindowOpen = true;
  ui.windowStates["UNIT2_Frm"] = WindowState::Normal;
  ui.windowStates["RefSheet_Frm"] = WindowState::Minimized;
  ui.windowStates["SchSheet_Frm"] = WindowState::Maximized;
  st.ToolBar2Floating = true;
  Run();
  EXPECT_EQ(ui.CallsStartingWith("SetWindowState("),
            (std::vector<std::string>{"SetWindowState(UNIT2_Frm, Minimized)", "SetWindowState(SchSheet_Frm, Minimized)",
                                      "SetWindowState(UNIT2_Frm, Normal)",
                                      "SetWindowState(SchSheet_Frm, Maximized)"}));
  EXPECT_EQ(ui.Unloaded(), (std::vector<std::string>{"UNIT2_Frm", "RefSheet_Frm", "SchSheet_Frm", "FrmToolBar2"}));
  // A window whose closing cleared its flag stays closed.
  ui.windowStates["UNIT2_Frm"] = WindowState::Normal;
  st.RefWindowOpen = st.SearchWindowOpen = st.ToolBar2Floating = false;
  const size_t before = ui.CallsStartingWith("SetWindowState(").size();
  port.SetMainWindowEnabled = [&](bool on) {
    win.enabled = on;
    if (!on) st.UnitWindowOpen = false;  // the unit window closed while the tool ran
  };
  Run();
  EXPECT_EQ(ui.CallsStartingWith("SetWindowState(").size(), before + 1) << "minimised, never given back";
}

TEST_F(CoverHandOffTest, AnUntitledEstimateOnlyGetsTheWarning) {
  Mode("write");
  const auto before = Snapshot(st.AppPath);
  ui.AnswerMsgBox(vbOK, "見積ﾃﾞｰﾀを保存後に実行して下さい。");
  Run();
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly | vbExclamation);
  EXPECT_EQ(Snapshot(st.AppPath), before);
  EXPECT_TRUE(win.calls.empty());
  EXPECT_TRUE(ui.CallsStartingWith("SetWindowState(").empty());
  // And the guard is off again.
  ui.AnswerMsgBox(vbOK, "見積ﾃﾞｰﾀを保存後に実行して下さい。");
  Run();
  ui.ExpectAllAnswered();
}

TEST_F(CoverHandOffTest, TheSaveQuestionRecordsTheSheetOrEndsTheHandOff) {
  OpenEstimate();
  Mode("write");
  a.SetTexts(1, {"変更した行", "躯体工事"});
  st.SheetModified = true;

  ui.AnswerMsgBox(vbNo, "編集中のﾌｧｲﾙを保存後に表紙を作成します");
  Run();
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().title, "表紙ﾌｧｲﾙ");
  EXPECT_EQ(ui.Prompts().back().style, vbYesNo);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(stdfs::exists(HandOff()));
  EXPECT_FALSE(stdfs::exists(Cover()));
  EXPECT_TRUE(win.calls.empty());

  // Yes: recorded (the level file holds the edit), then the tool runs; a
  // tool that keeps the cover leaves the sheet unmodified.
  Mode("keep");
  ui.AnswerMsgBox(vbYes, "編集中のﾌｧｲﾙを保存後に表紙を作成します");
  Run();
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(st.PackPending);
  EXPECT_TRUE(stdfs::exists(HandOff()));
  ASSERT_TRUE(LevelRead(st, 1));
  EXPECT_EQ(a.Text(1, 1), "変更した行");
}

TEST_F(CoverHandOffTest, ABreakdownNeverWrittenAsksToSaveFirst) {
  OpenEstimate();
  Mode("write");
  st.ParentRows[1] = st.SheetRows[1];
  ASSERT_EQ(st.ParentRows[1].substr(11, 4), " -99");
  st.CurrentLevel = 2;
  st.SheetModified = false;
  ui.AnswerMsgBox(vbNo, "編集中のﾌｧｲﾙを保存後に表紙を作成します");
  Run();
  ui.ExpectAllAnswered();
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(stdfs::exists(HandOff()));
}

// A tool that takes its time: what holds while it runs, a second hand-off
// asked for meanwhile, and the work base reaching it as one argument.
TEST_F(CoverHandOffTest, WhileTheToolRunsTheWindowIsDownAndASecondHandOffReturnsAtOnce) {
  OpenEstimate("港北 ビル");
  stdfs::remove(tool);
  const stdfs::path args = stdfs::path(st.AppPath) / "args.txt";
  std::ofstream(tool) << "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > '" << args.string() << "'\nsleep 0.5\n";
  stdfs::permissions(tool, stdfs::perms::owner_all);

  int seen = 0;
  ui.onProcessEvents = [&] {
    if (seen++) return;
    EXPECT_NE(st.CoverToolPid, 0);
    EXPECT_FALSE(win.enabled);
    EXPECT_EQ(win.state, WindowState::Minimized);
    EXPECT_TRUE(ed.CoverToolRunning);
    const size_t calls = win.calls.size();
    Run();  // turned away
    EXPECT_EQ(win.calls.size(), calls);
  };
  Run();
  EXPECT_GT(seen, 0);
  EXPECT_EQ(st.CoverToolPid, 0);
  EXPECT_TRUE(win.enabled);
  EXPECT_EQ(test::ReadAll(args), "1\n" + st.WorkFileBase + "\n");
  EXPECT_EQ(st.WorkFileBase, a.Work() + "/港北 ビル");
}

// The eight keys set in place in a hand-off file that holds more, by level,
// number base, print form and printer.
TEST_F(CoverHandOffTest, TheHandOffFileKeysFollowTheEstimate) {
  OpenEstimate();
  std::ofstream(HandOff(), std::ios::binary) << ToSjis(
      "[Other]\r\nKeep=1\r\nbroken line\r\n[WinPrint]\r\nORKN_PRN=?\r\nLEVEL=9\r\nExtra=x\r\n");
  struct Case {
    int level;
    const char* hLink;
    const char* ownField;
    bool special;
    int orvi;
    const char* key;
    const char* recNo;
    const char* iniFile;
    const char* orkn;
  };
  const Case cases[] = {
      {1, "10", "  12", false, 1, "LBP$1", "12", "LBP$1.INI", "OFF"},
      {3, "16", "  1A", true, 1, "", "26", "", "ON"},
      {2, "10", "   7", true, 0, "P-2", "7", "P-2.INI", "OFF"},
  };
  for (const Case& c : cases) {
    st.CurrentLevel = c.level;
    st.H_Link = c.hLink;
    st.SheetRows[1].replace(3, 4, c.ownField);
    st.SpecialPrintSpec = c.special;
    st.OrviKenPrn = c.orvi;
    MpCoverFileMake(st, c.key);
    EXPECT_EQ(TextLines(HandOff()),
              (Lines{"[Other]", "Keep=1", "broken line", "[WinPrint]", std::string("ORKN_PRN=") + c.orkn,
                     "LEVEL=" + std::to_string(c.level), "Extra=x", std::string("PRN_REC_NO=") + c.recNo,
                     "PRNFILE=" + Data("A.Y1"), "PRN_LEVEL=0", "PRN_FORM=1", "PRN_LOOP=1",
                     std::string("PRN_INI_FILE=") + c.iniFile}))
        << c.level;
  }
}

TEST_F(CoverHandOffTest, TheCoverIsSavedWithTheEstimateAndComesBackWithIt) {
  OpenEstimate();
  Mode("write");
  Run();
  const std::string cover = test::ReadAll(Cover());
  ASSERT_FALSE(cover.empty());
  ASSERT_TRUE(st.SheetModified);
  FileSave(st);
  FileNew(st);  // closes it: the work files go
  ASSERT_FALSE(stdfs::exists(Cover()));

  test::Program next("MACHINE-B");
  next.ui.AnswerOpenDialog(Data("A.YZH"));
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, Data("A.YZH"));
  EXPECT_EQ(test::ReadAll(next.Work() + "/A.WH2"), cover);
}

}  // namespace
}  // namespace kv
