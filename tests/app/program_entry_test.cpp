// The start-up from the entry routine to the shown main window, through the
// scripted UI on a copy of the default program folder: the untitled start,
// its refusals and messages, and an estimate named on the command line.
#include "app/program_entry.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/startup_init.h"
#include "core/ini_file.h"
#include "core/path_shorten.h"
#include "core/record_file.h"
#include "platform/registry_store.h"
#include "startup_fixture.h"
#include "state/layout_file.h"
#include "state/settings_fixture.h"
#include "storage/estimate_pack.h"
#include "storage/row_record.h"

namespace kv {
namespace {

// Records whether the grid was set up before or after the main window showed.
class OrderedSheet : public test::RecordingSheet {
 public:
  explicit OrderedSheet(test::ScriptedUi& ui) : ui_(ui) {}
  void SheetGridInit(ProgramState& st, int level) override {
    const auto& shown = ui_.ModelessShown();
    const bool after = std::find(shown.begin(), shown.end(), "EDTSHEET_FRM") != shown.end();
    Add(std::string("SheetGridInit ") + (after ? "after" : "before") + " show");
  }

 private:
  test::ScriptedUi& ui_;
};

class ProgramEntryTest : public test::StartupFixture {
 protected:
  ProgramEntryTest() : ordered(ui) {
    st.sheetEngine = &ordered;
    steps.GridCellSet = [this](ProgramState&, int col, int row, const std::string& text) {
      cells.push_back({col, row, text});
    };
    steps.SheetLocate = [this](ProgramState&, int col, int row) {
      log.push_back("SheetLocate(" + std::to_string(col) + "," + std::to_string(row) + ")");
    };
    steps.Toolbar1ButtonPress = [this](ProgramState&, const std::string& key) {
      log.push_back("Press(" + key + ")");
    };
    steps.Toolbar2ArrangementRestore = [this](ProgramState&) { log.push_back("Toolbar2ArrangementRestore"); };
  }

  struct Cell {
    int col;
    int row;
    std::string text;
  };

  bool Has(const std::string& entry) const { return std::find(log.begin(), log.end(), entry) != log.end(); }

  // The sheet engine's calls, the status panel's aside.
  std::vector<std::string> SheetCalls() const {
    std::vector<std::string> out;
    for (const std::string& c : ordered.calls)
      if (c.rfind("StatusPanel", 0) != 0) out.push_back(c);
    return out;
  }

  OrderedSheet ordered;
  std::vector<Cell> cells;
  std::vector<std::string> log;
};

TEST_F(ProgramEntryTest, PlainStartShowsTheUntitledEstimate) {
  ASSERT_FALSE(RunMain());
  const std::string untitled = prog + "/WORK/無題";
  EXPECT_EQ(st.CurrentFilePath, untitled);
  EXPECT_EQ(st.WorkFileBase, untitled);
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_FALSE(st.StartingUp);
  EXPECT_FALSE(st.OpenedFromCommandLine);
  EXPECT_FALSE(st.RecoveryRunning);
  EXPECT_TRUE(std::filesystem::is_directory(prog + "/WORK"));
  EXPECT_TRUE(std::filesystem::exists(untitled + ".Y$"));
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_FALSE(st.MachineName.empty());
  EXPECT_TRUE(instance.Held());

  // Title screen first, the main window last; the window loads (first use of
  // a control) before the level is read.
  EXPECT_EQ(ui.ModelessShown(), (std::vector<std::string>{"ST_Gamen", "EDTSHEET_FRM"}));
  const int load = CallIndex("SetControlEnabled(EDTSHEET_FRM, EdtSheet, true)");
  const int unloadTitle = CallIndex("UnloadWindow(ST_Gamen)");
  const int show = CallIndex("ShowModeless(EDTSHEET_FRM)");
  ASSERT_GE(load, 0);
  EXPECT_LT(load, unloadTitle);
  EXPECT_LT(unloadTitle, show);

  // Steps 1, 2..14, 30..37 of the bar (the window's load and the toolbars own the others).
  std::vector<int> expected{10};
  for (int step = 2; step <= 14; ++step) expected.push_back(step * 10);
  for (int step = 30; step <= 37; ++step) expected.push_back(step * 10);
  EXPECT_EQ(ProgressValues(), expected);

  // Without a command-line file the grid is set up once, after the window shows.
  EXPECT_EQ(SheetCalls(), (std::vector<std::string>{"SheetGridInit after show", "EditTreeBuild()"}));
  EXPECT_EQ(editor.calls, (std::vector<std::string>{"SetCaption(< 無題 > )", "ToolBar1Init()",
                                                    "ToolBar2Init()", "ShowToolBar2(1)", "Form_Resize()"}));

  // The untitled estimate has no level file: its sheet is empty and its
  // closing record the default one.
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(st.SheetTotalRecord, st.TotalRecordDefaults[1]);
  EXPECT_EQ(st.NumberChars[5], "ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩ");
  EXPECT_TRUE(Has("SheetLocate(1,1)"));  // [Boot] ToTalNameColmun
}

TEST_F(ProgramEntryTest, TotalsLineIsPaintedBelowTheLastRow) {
  ASSERT_FALSE(RunMain());
  ASSERT_EQ(cells.size(), 8u);
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].col, static_cast<int>(i) + 1);
    EXPECT_EQ(cells[i].row, 201);  // Imax + 1
  }
  // The W columns show the first half of their width: (62 - 2) / 2 = 30 bytes
  // of the default total text.
  EXPECT_EQ(cells[0].text, "合計" + std::string(26, ' '));
  EXPECT_EQ(cells[5].text, std::string(12, ' '));
}

TEST_F(ProgramEntryTest, ToolbarsAsTheUserLeftThem) {
  struct Case {
    std::string autoDown;
    std::optional<std::string> visible;  // [TOOLBAR2] Visible; nullopt: no key
    std::vector<std::string> log;
    std::string show;
  };
  const Case cases[] = {
      {"1", "1", {"Toolbar2ArrangementRestore", "Press(UNDER)"}, "ShowToolBar2(1)"},
      {"2", "-1", {"Toolbar2ArrangementRestore", "Press(RIGHT)"}, "ShowToolBar2(1)"},
      {"0", "0", {"Press(NOT)"}, "ShowToolBar2(0)"},
      {"3", std::nullopt, {"Toolbar2ArrangementRestore"}, "ShowToolBar2(0)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("AutoDownFlag " + c.autoDown);
    test::ScriptedUi caseUi;
    ProgramState s(caseUi);
    test::RecordingEditor ed;
    s.editor = &ed;
    InstanceLock lock(dir / ("case" + c.autoDown + ".lock"));
    StartupContext caseCtx = ctx;
    caseCtx.Instance = &lock;
    SetKey("KVSSYS.INI", "自動改行", "AutoDownFlag", c.autoDown);
    IniDeleteSection("TOOLBAR2", prog + "/KVSSYS.INI");
    if (c.visible) SetKey("KVSSYS.INI", "TOOLBAR2", "Visible", *c.visible);
    log.clear();
    Main(s, caseCtx, steps);
    std::vector<std::string> toolbarLog;
    for (const std::string& e : log)
      if (e.rfind("SheetLocate", 0) != 0) toolbarLog.push_back(e);
    EXPECT_EQ(toolbarLog, c.log);
    EXPECT_TRUE(ed.Has(c.show));
    EXPECT_EQ(s.AutoDownFlag, std::stoi(c.autoDown));
  }
}

TEST_F(ProgramEntryTest, MissingBaseTextEndsBeforeTheMainWindow) {
  SetKey("DAVIROV.INI", "Boot", "KVtext", "");
  ui.AnswerMsgBox(vbOK, "KVSYSTEM.INIのKVTEXTの記述に誤りがあります。");
  EXPECT_TRUE(RunMain());
  EXPECT_EQ(ui.ModelessShown(), std::vector<std::string>{"ST_Gamen"});

  test::ScriptedUi ui2;
  ProgramState s(ui2);
  InstanceLock lock(dir / "second.lock");
  StartupContext c2 = ctx;
  c2.Instance = &lock;
  SetKey("DAVIROV.INI", "Boot", "KVtext", "GONE.Y1");
  ui2.AnswerMsgBox(vbOK, prog + "/GONE.Y1がありません。\n<TheKorvane>を起動できません!");
  EXPECT_THROW(Main(s, c2, steps), ProgramEnded);
  EXPECT_EQ(ui2.EndedWith(), 1);
  EXPECT_EQ(ui2.MessageTexts().size(), 1u);
}

TEST_F(ProgramEntryTest, SecondInstanceEndsSilently) {
  InstanceLock running(dir / "instance.lock");
  ASSERT_EQ(running.TryAcquire(), InstanceLock::Result::Acquired);
  EXPECT_TRUE(RunMain());
  EXPECT_EQ(ui.EndedWith(), 0);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_TRUE(ui.Calls().empty());
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK"));
}

TEST_F(ProgramEntryTest, NoPrinterWarnsAndStartsAnyway) {
  ui.printers.clear();
  ui.AnswerMsgBox(vbOK,
                  "プリンタがインストールされていないため、TheKorvaneから印刷することが出来ません\r"
                  "TheKorvaneから印刷を行うためには、プリンタをインストールしてください。");
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(ui.Prompts()[0].title, "DI32DODA");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  EXPECT_EQ(ui.ModelessShown().back(), "EDTSHEET_FRM");
}

TEST_F(ProgramEntryTest, CustomerVariantKeepsTheCompanionValues) {
  SetKey("DAVIROV.INI", "SysInfo", "SysName", "TheKorvane Varnok");
  ASSERT_FALSE(RunMain());
  EXPECT_TRUE(st.CustomerVariant);
  EXPECT_EQ(GetSetting("DI32DODA", "Init", "EXE_Path"), prog + "/korvane");
  EXPECT_EQ(st.CompanionExePath, prog);  // no value of the companion yet
  ASSERT_TRUE(SaveSetting("VETRIX", "Init", "EXE_Path", "/opt/vetrix/vetrix"));

  test::ScriptedUi ui2;
  ProgramState s(ui2);
  InstanceLock lock(dir / "second.lock");
  StartupContext c2 = ctx;
  c2.Instance = &lock;
  Main(s, c2, steps);
  EXPECT_EQ(s.CompanionExePath, "/opt/vetrix/vetrix");

  // Letter case counts.
  test::ScriptedUi ui3;
  ProgramState s3(ui3);
  InstanceLock lock3(dir / "third.lock");
  c2.Instance = &lock3;
  SetKey("DAVIROV.INI", "SysInfo", "SysName", "varnok");
  Main(s3, c2, steps);
  EXPECT_FALSE(s3.CustomerVariant);
}

// --- An estimate named on the command line ----------------------------------------

class CommandLineTest : public ProgramEntryTest {
 protected:
  CommandLineTest() {
    std::filesystem::create_directory(dir / "data");
    file = (dir / "data").string() + "/見積 A.YZH";
    ctx.CommandLine = file;
    steps.LanLockAcquire = [this](ProgramState&, const std::string& path) {
      log.push_back("LanLockAcquire(" + path + ")");
      return lockResult;
    };
    steps.LanLockRelease = [this](ProgramState& s) {
      log.push_back("LanLockRelease(" + s.CurrentFilePath + ")");
    };
  }

  // Packs the estimate file as the program saves one, from the work set of
  // another installation of the same program folder: its level-1 file (two
  // rows and the closing record, amount total 1234567), its settings file
  // (Imax 150, object counters, file kind) and its layout file (the current
  // one, or one with a column less on level 1).
  void Pack() {
    const std::string maker = (dir / "maker").string();
    std::filesystem::create_directory(maker);
    for (const auto& entry : std::filesystem::directory_iterator(prog))
      if (entry.is_regular_file())
        std::filesystem::copy_file(entry.path(), maker + "/" + entry.path().filename().string());
    test::ScriptedUi makerUi;
    ProgramState m(makerUi);
    m.NoSplash = true;
    StartupInit(m, maker);
    const std::string base = maker + "/WORK/見積 A";
    test::WriteLevelOne(base + ".Y1", {"基礎工事", "躯体工事"}, "1234567");
    if (levelOneCut) std::filesystem::resize_file(base + ".Y1", std::filesystem::file_size(base + ".Y1") - 100);
    if (withSettings) {
      std::filesystem::copy_file(maker + "/DAVIROV.INI", base + ".INI");
      ASSERT_TRUE(IniPutString("Boot", "Imax", "150", base + ".INI"));
      ASSERT_TRUE(IniPutString("OLE", "OleFileNo", "41", base + ".INI"));
      ASSERT_TRUE(IniPutString("OLE", "OleFileCnt", "3", base + ".INI"));
      ASSERT_TRUE(IniPutString("VEZ_File", "FileType", "SetubiSiwakeFile", base + ".INI"));
    }
    if (layout != Layout::None) {
      std::string text = test::ReadBytes(maker + "/WORK/無題.Y$");
      if (layout == Layout::Different) {
        // The last column line of level 1 goes, and the first column is
        // hidden in mask screens 0, 1 and 4 (its masks end its line).
        const size_t dm2 = text.find("DM=2\r\n");
        const size_t lastLine = text.rfind("\r\n", dm2 - 3) + 2;
        text.erase(lastLine, dm2 - lastLine);
        const size_t firstLineEnd = text.find("\r\n", text.find("DM=1\r\n") + 6);
        text.replace(firstLineEnd - 7, 6, "MM  M ");
      }
      test::WriteBytes(base + ".Y$", text);
    }
    m.WorkFileBase = base;
    m.CurrentFilePath = file;
    ASSERT_EQ(PackEstimateFile(m, file, true), kEstimatePacked);
    ASSERT_TRUE(makerUi.Prompts().empty());
  }

  // Packs the estimate, then starts the program on it.
  bool Open() {
    Pack();
    return RunMain();
  }

  std::string Ini(const std::string& section, const std::string& key) {
    std::string v;
    IniGetString(section, key, v, prog + "/WORK/見積 A.INI");
    return v;
  }

  enum class Layout { Same, Different, None };
  std::string file;
  bool lockResult = true;
  bool withSettings = true;
  bool levelOneCut = false;  // the packed level-1 file cut short
  Layout layout = Layout::Same;
};

TEST_F(CommandLineTest, SameLayoutOpensWithItsOwnSettingsAndNoQuestion) {
  ASSERT_FALSE(Open());
  const std::string base = prog + "/WORK/見積 A";
  EXPECT_EQ(st.CurrentFilePath, file);
  EXPECT_EQ(st.WorkFileBase, base);
  EXPECT_EQ(st.KVData, (dir / "data").string());
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.Imax, 150);
  EXPECT_FALSE(st.OpenedFromCommandLine);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(log[0], "LanLockAcquire(" + file + ")");
  // Only the file commands add to the recent files, not the command line.
  for (const std::string& recent : st.RecentFiles) EXPECT_EQ(recent.find(file), std::string::npos);
  // Level 1 of the estimate is read, and its totals line painted below row Imax.
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(st.SheetRows[2].substr(19, 8), ToSjis("躯体工事"));
  ASSERT_EQ(cells.size(), 8u);
  EXPECT_EQ(cells[6].col, 7);
  EXPECT_EQ(cells[6].row, 151);
  EXPECT_EQ(cells[6].text, "1,234,567 ");
  EXPECT_EQ(cells[0].text, std::string(30, ' '));
  // The grid is set up and painted before the window shows, and the first
  // undo snapshot taken.
  EXPECT_EQ(SheetCalls(), (std::vector<std::string>{"SheetGridInit before show", "SheetRedisplay(1,2)",
                                                    "EditTreeBuild()", "UndoSave()"}));
  EXPECT_TRUE(editor.Has("SetCaption(< " + PathShorten(file, 48) + " > 内訳書 )"));
}

TEST_F(CommandLineTest, TotalsShowAsHashesWhileRecalculationIsOff) {
  SetKey("KVSSYS.INI", "再計算", "ReCalcFlag", "0");
  ASSERT_FALSE(Open());
  EXPECT_FALSE(st.ReCalcFlag);
  EXPECT_EQ(cells[6].text, std::string(14, '#'));
  EXPECT_EQ(cells[3].text, std::string(12, ' '));  // a blank total stays blank
}

TEST_F(CommandLineTest, DifferentLayoutYesMakesTheEstimatesSettingsCurrent) {
  layout = Layout::Different;
  ui.AnswerMsgBox(vbYes, LayoutDiffersQuestion("見積 A"));
  ASSERT_FALSE(Open());
  EXPECT_EQ(ui.Prompts()[0].style, vbYesNo + vbQuestion);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_FALSE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColCount[1], 7);
  EXPECT_EQ(st.ColCount[2], 8);
  EXPECT_EQ(std::string(st.MaskDef[1][1].data(), kMaskScreens), "MM  M ");  // the estimate's own masks
  EXPECT_EQ(st.Imax, 150);
  EXPECT_EQ(Ini("OLE", "OleFileNo"), "41");
  // The floating windows (the title screen among them) are lowered around it.
  const auto topmost = ui.CallsStartingWith("SetWindowTopMost(ST_Gamen");
  EXPECT_EQ(topmost, (std::vector<std::string>{"SetWindowTopMost(ST_Gamen, false)",
                                               "SetWindowTopMost(ST_Gamen, true)"}));
}

TEST_F(CommandLineTest, DifferentLayoutNoTakesTheCurrentSettingsAndKeepsTheEstimatesOwnKeys) {
  layout = Layout::Different;
  st.SystemKind = 1;
  ui.AnswerMsgBox(
      vbNo,
      "[ いいえ ] を選ぶと、現在のシステム設定の形式のままの状態で、見積ファイル [ 見積 A ] を開きます。");
  ASSERT_FALSE(Open());
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColCount[1], 8);
  EXPECT_EQ(std::string(st.MaskDef[1][1].data(), kMaskScreens), "      ");
  EXPECT_EQ(st.Imax, 200);  // DAVIROV.INI's
  EXPECT_EQ(Ini("Boot", "Imax"), "200");
  // Object numbers go on from where the estimate left them; it stays what kind of file it was.
  EXPECT_EQ(Ini("OLE", "OleFileNo"), "41");
  EXPECT_EQ(Ini("OLE", "OleFileCnt"), "3");
  EXPECT_EQ(Ini("VEZ_File", "FileType"), "SetubiSiwakeFile");
  EXPECT_EQ(test::ReadBytes(prog + "/WORK/見積 A.Y$"), test::ReadBytes(prog + "/WORK/無題.Y$"));
}

TEST_F(CommandLineTest, WithoutLayoutOrSettingsTheCurrentOnesAreCopiedFirst) {
  layout = Layout::None;
  withSettings = false;
  ASSERT_FALSE(Open());
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(st.Imax, 200);
  EXPECT_EQ(st.DataLen, 256);
  EXPECT_EQ(Ini("Boot", "Imax"), "200");
  EXPECT_EQ(test::ReadBytes(prog + "/WORK/見積 A.Y$"), test::ReadBytes(prog + "/WORK/無題.Y$"));
}

TEST_F(CommandLineTest, EquipmentEditionAsksTheKindOfFileAndSpecialPrintConverts) {
  SetKey("KVEDITION.INI", "Edition", "SystemKind", "1");
  SetKey("KVEDITION.INI", "Edition", "SpecialPrintSpec", "1");
  calc.equipmentFile = true;
  steps.SpecialPrintConvert = [this](ProgramState&, const std::string& base) {
    log.push_back("SpecialPrintConvert(" + base + ")");
  };
  ASSERT_FALSE(Open());
  EXPECT_TRUE(st.IsSetubiSiwakeFile);
  EXPECT_TRUE(calc.Has("IsEquipmentSiwakeFile(" + prog + "/WORK/見積 A)"));
  EXPECT_TRUE(Has("SpecialPrintConvert(" + prog + "/WORK/見積 A)"));
}

TEST_F(CommandLineTest, OldFormatRefusedGivesBackTheLockAndWorkFiles) {
  steps.OldFileAndPageChk = [this](ProgramState&, const std::string& base) {
    log.push_back("OldFileAndPageChk(" + base + ")");
    return false;
  };
  ASSERT_FALSE(Open());
  const std::string untitled = prog + "/WORK/無題";
  EXPECT_EQ(st.CurrentFilePath, untitled);
  EXPECT_EQ(st.WorkFileBase, untitled);
  EXPECT_EQ(st.Imax, 200);
  const std::vector<std::string> head(log.begin(), log.begin() + 3);
  EXPECT_EQ(head, (std::vector<std::string>{"LanLockAcquire(" + file + ")",
                                            "OldFileAndPageChk(" + prog + "/WORK/見積 A)",
                                            "LanLockRelease(" + file + ")"}));
  // Its work files are gone; the untitled (empty) sheet is read.
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.Y1"));
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.INI"));
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.Y$"));
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_TRUE(editor.Has("SetCaption(< 無題 > )"));
  EXPECT_EQ(SheetCalls().front(), "SheetGridInit after show");
  EXPECT_FALSE(std::filesystem::exists(untitled + ".INI"));
}

// The estimate opens, but its level 1 cannot be read: the user is told once,
// the sheet is an empty one (not rows of nothing read), and the file on disk
// stays as it was.
TEST_F(CommandLineTest, ALevelOneThatCannotBeReadStartsOnAnEmptySheet) {
  levelOneCut = true;
  Pack();
  const std::string packed = test::ReadBytes(file);
  ui.AnswerMsgBox(vbOK, "[ 見積 A.Y1 ] が壊れています。");
  ASSERT_FALSE(RunMain());
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.MessageTexts().size(), 1u);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(st.SheetRows[1], std::string(size_t(st.DataLen), ' '));
  EXPECT_EQ(st.SheetTotalRecord.size(), size_t(st.DataLen));
  EXPECT_EQ(test::ReadBytes(file), packed);
}

TEST_F(CommandLineTest, UnpackFailureIsReportedAndTheUntitledEstimateOpens) {
  dir.Write("data/見積 A.YZH", "not an archive");
  ui.AnswerMsgBox(vbOK, "見積 A");
  ASSERT_FALSE(RunMain());
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(st.CurrentFilePath, prog + "/WORK/無題");
  EXPECT_TRUE(Has("LanLockRelease(" + file + ")"));
  EXPECT_EQ(ui.ModelessShown().back(), "EDTSHEET_FRM");
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.Y1"));

  // A file that is not there at all: the same.
  test::ScriptedUi ui2;
  ProgramState s(ui2);
  InstanceLock lock(dir / "second.lock");
  StartupContext c2 = ctx;
  c2.Instance = &lock;
  c2.CommandLine = (dir / "data").string() + "/ない.YZH";
  ui2.AnswerMsgBox(vbOK, "ない");
  Main(s, c2, steps);
  EXPECT_EQ(s.WorkFileBase, prog + "/WORK/無題");
}

TEST_F(CommandLineTest, LockGivenUpEndsTheProgramSilently) {
  lockResult = false;
  EXPECT_TRUE(Open());
  EXPECT_EQ(ui.EndedWith(), 0);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.Y1"));
  EXPECT_EQ(ui.ModelessShown(), std::vector<std::string>{"ST_Gamen"});
}

TEST_F(CommandLineTest, PendingRecoveryIgnoresTheCommandLineAndRunsTheWizard) {
  steps.RecoverFilesExist = [](ProgramState&) { return true; };
  steps.RecoverFileOpen = [this](ProgramState& s) {
    log.push_back("RecoverFileOpen(" + s.RecoveredFilePath + ")");
  };
  ui.AnswerModal("frmRecover", [this] {
    EXPECT_TRUE(st.RecoveryRunning);
    st.RecoveredFilePath = prog + "/DATA/FILE001.YZH";
  });
  ASSERT_FALSE(Open());
  EXPECT_FALSE(Has("LanLockAcquire(" + file + ")"));
  EXPECT_TRUE(Has("RecoverFileOpen(" + prog + "/DATA/FILE001.YZH)"));
  EXPECT_FALSE(st.RecoveryRunning);
  EXPECT_EQ(ui.CallsStartingWith("SetWindowState(EDTSHEET_FRM"),
            (std::vector<std::string>{"SetWindowState(EDTSHEET_FRM, Minimized)",
                                      "SetWindowState(EDTSHEET_FRM, Normal)"}));
  EXPECT_GE(ui.BusyOnCount(), 1);
  EXPECT_FALSE(ui.Busy());
}

// Closing the wizard without a recovery keeps the untitled estimate: the
// command-line file was set aside when the left-over work files were found,
// and it is not opened afterwards either (no lock, nothing unpacked).
TEST_F(CommandLineTest, DeclinedRecoveryOpensNothing) {
  steps.RecoverFilesExist = [](ProgramState&) { return true; };
  steps.RecoverFileOpen = [this](ProgramState&) { log.push_back("RecoverFileOpen"); };
  ui.AnswerModal("frmRecover");
  ASSERT_FALSE(Open());
  EXPECT_FALSE(Has("RecoverFileOpen"));
  EXPECT_FALSE(Has("LanLockAcquire(" + file + ")"));
  EXPECT_EQ(st.WorkFileBase, prog + "/WORK/無題");
  EXPECT_EQ(st.CurrentFilePath, prog + "/WORK/無題");
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/見積 A.Y1"));
  EXPECT_EQ(ui.Unloaded().back(), "frmRecover");
}

}  // namespace
}  // namespace kv
