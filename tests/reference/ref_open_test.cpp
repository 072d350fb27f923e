// Opening reference files: each road of the File menu over the scripted UI
// on real packed files, with the previous reference back exactly as it was
// after every abandoned or failed open, and the editor's work files never
// touched.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/ini_file.h"
#include "reference/ref_files.h"
#include "reference/ref_fixture.h"
#include "storage/row_record.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

std::string Bytes(const std::filesystem::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), {});
}

class RefOpen : public RefFixture {
 protected:
  std::string first, second;

  void SetUp() override {
    RefFixture::SetUp();
    ThreeLevels("A");
    first = Packed("A");
    WriteLevel(1, {{' ', 0, 2, kNoRecord, "second"}, {'G'}}, "B");
    second = Packed("B");
    // The editor's estimate EST with its layout in WORK.
    ThreeLevels("EST");
    WriteLayoutFile(st, st.WorkFileBase);
    st.RefWindowOpen = true;  // the floating windows are lowered and raised with it
    Load();
  }

  void Open(const std::string& path) {
    ui.AnswerOpenDialog(path);
    win->RefM1Sub_Click(0);
  }

  // A layout of its own for the reference `name`: its level-1 column B wider.
  std::string PackedWithOtherLayout(const std::string& name) {
    WriteLevel(1, {{' ', 0, 2, kNoRecord, "other"}, {'G'}}, name);
    st.ColWidth[1][2] = 14;
    const std::string path = Packed(name);
    st.ColWidth[1][2] = 12;
    return path;
  }

  void ExpectShowing(const std::string& path, const std::vector<std::string>& rows) {
    EXPECT_EQ(st.RefFilePath, path);
    EXPECT_EQ(Shown(), rows);
  }
};

TEST_F(RefOpen, OpenShowsLevelOneWithItsTotalsTreeAndRecentEntry) {
  Open(first);
  ui.ExpectAllAnswered();
  ExpectShowing(first, {"工事", "躯体"});
  EXPECT_EQ(st.RefWorkFileBase, st.AppPath + "/WORK2/A");
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "1,234,567");
  EXPECT_EQ(ui.WindowText(kRefWindow), "参考<" + first + ">");
  EXPECT_EQ(st.RefData, (app.path() / "DATA").string());
  EXPECT_EQ(st.RecentRefFiles[1], "1 " + first);
  EXPECT_EQ(win->Menus().At("RefM1Sub", 3).caption.substr(0, 2), "1 ");
  EXPECT_EQ(tree.Find("Root")->data.text, "A");
  EXPECT_NE(tree.Find("Y12   Y22   "), nullptr);
  const FileDialogRequest& req = ui.Prompts().front().dialog;
  EXPECT_EQ(req.title, "The Korvaneの参考ﾌｧｲﾙを開く");
  EXPECT_EQ(req.filter, "TheKorvaneWindow参考File (*.YZH)|*.YZH");
  EXPECT_EQ(req.flags, 4100);
  // The locks are off again and the floating windows raised.
  EXPECT_TRUE(levelButtonsEnabled);
  EXPECT_TRUE(win->Menus().At("REfM1").enabled);
}

TEST_F(RefOpen, AbandonedOpensBringThePreviousReferenceBackAtItsLevel) {
  Open(first);
  // Down into 躯体's breakdown.
  st.RefSelEnd = 2;
  win->RefLevelShow();
  ASSERT_EQ(st.RefCurrentLevel, 2);
  const std::vector<std::string> before = Work2Files();
  const std::string other = PackedWithOtherLayout("C");

  // Cancel at the layout question.
  ui.AnswerOpenDialog(other).AnswerMsgBox(vbCancel, "[ C ] のシステム設定が、編集画面と異なります。\n変換しますか？");
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefCurrentLevel, 2);
  EXPECT_EQ(st.RefWorkFileBase, st.AppPath + "/WORK2/A");
  EXPECT_EQ(Work2Files(), before);
  ExpectShowing(first, {"基礎", "柱"});

  // Yes, then the conversion window is closed other than by its OK (and a
  // program without that window abandons the same way).
  ui.AnswerOpenDialog(other).AnswerMsgBox(vbYes).AnswerModal(kRefLinkWindow, [] {});
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  ui.missingWindows.insert(kRefLinkWindow);
  ui.AnswerOpenDialog(other).AnswerMsgBox(vbYes);
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Work2Files(), before);
  EXPECT_EQ(st.RefFilePath, first);
  EXPECT_EQ(st.RefCurrentLevel, 2);

  // Through a rule, the window cancelled.
  ui.AnswerOpenDialog(second);
  win->RefM1Sub_Click(1);
  EXPECT_EQ(Work2Files(), before);
  EXPECT_EQ(st.RefFilePath, first);

  // No: shown unconverted, and the copies will refuse it.
  ui.AnswerOpenDialog(other).AnswerMsgBox(vbNo);
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  ExpectShowing(other, {"other"});
  EXPECT_FALSE(CheckRefSystem(st));
  // The previous set is gone from WORK2, set aside or not.
  EXPECT_EQ(Work2Files(), (std::vector<std::string>{"C.Y$", "C.Y1"}));
}

TEST_F(RefOpen, AFileThatIsNotAnEstimateIsRefusedAndTheReferenceStays) {
  Open(first);
  const std::vector<std::string> before = Work2Files();
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"text.YZH", "これは見積ではありません"}, {"empty.YZH", ""}, {"cut.YZH", Bytes(second).substr(0, 40)}};
  for (const auto& [name, bytes] : bad) {
    SCOPED_TRACE(name);
    std::ofstream(app.path() / "DATA" / name, std::ios::binary) << bytes;
    ui.AnswerOpenDialog((app.path() / "DATA" / name).string()).AnswerMsgBox(vbOK, "開けません");
    win->RefM1Sub_Click(0);
    ui.ExpectAllAnswered();
    EXPECT_EQ(Work2Files(), before);
    ExpectShowing(first, {"工事", "躯体"});
    EXPECT_EQ(st.RefWorkFileBase, st.AppPath + "/WORK2/A");
  }
}

TEST_F(RefOpen, RefusalsAndTheShownFileChangeNothing) {
  Open(first);
  const size_t recent = ui.Prompts().size();
  std::ofstream(st.KvTextPath) << "base";
  std::filesystem::create_directories(app.path() / "WORK2" / "sub");
  std::ofstream(app.path() / "NETWORK.YZH") << "x";
  ui.AnswerOpenDialog(st.KvTextPath).AnswerMsgBox(vbOK, "基本テキストファイルは参考で開けません。");
  win->RefM1Sub_Click(0);
  ui.AnswerOpenDialog(st.AppPath + "/WORK/EST.YZH").AnswerMsgBox(vbOK, "Korvane作業用フォルダから参考ファイルは開けません。");
  win->RefM1Sub_Click(0);
  ui.AnswerOpenDialog(st.AppPath + "/WORK2/sub/../A.Y1").AnswerMsgBox(vbOK, "作業用フォルダ");
  win->RefM1Sub_Click(0);
  ui.AnswerOpenDialog(first);  // already shown
  win->RefM1Sub_Click(0);
  ui.AnswerOpenDialog(std::nullopt);
  win->RefM1Sub_Click(0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().size(), recent + 8);
  ExpectShowing(first, {"工事", "躯体"});
  // Every road raised the floating windows it lowered.
  EXPECT_TRUE(ui.TopMost(kRefWindow));
  EXPECT_TRUE(levelButtonsEnabled);
}

TEST_F(RefOpen, TheEstimateBeingEditedIsCopiedAndWorkIsNeverTouched) {
  // EST's recorded work files and an object file of its own and of "ESTX".
  std::ofstream(app.path() / "WORK" / "EST$1.MOD", std::ios::binary) << "obj";
  std::ofstream(app.path() / "WORK" / "ESTX$1.MOD", std::ios::binary) << "not ours";
  std::map<std::string, std::string> work;
  for (const auto& e : std::filesystem::directory_iterator(app.path() / "WORK"))
    work[e.path().filename().string()] = Bytes(e.path());
  const auto expectWorkUntouched = [&] {
    std::map<std::string, std::string> now;
    for (const auto& e : std::filesystem::directory_iterator(app.path() / "WORK"))
      now[e.path().filename().string()] = Bytes(e.path());
    EXPECT_EQ(now, work);
  };
  std::ofstream(st.CurrentFilePath) << "";  // the packed file is not read
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    Open(st.CurrentFilePath);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.RefWorkFileBase, st.AppPath + "/WORK2/EST");
    ExpectShowing(st.CurrentFilePath, {"工事", "躯体"});
    EXPECT_EQ(Bytes(Work2() / "EST$1.MOD"), "obj");
    EXPECT_FALSE(std::filesystem::exists(Work2() / "ESTX$1.MOD"));
    expectWorkUntouched();
    // Closed and opened again.
    win->RefM1Sub_Click(9);
    EXPECT_FALSE(std::filesystem::exists(Work2()));
    expectWorkUntouched();
    Load();
  }
}

TEST_F(RefOpen, ObjectFilesBelongToABaseOnlyByTheirWholeName) {
  std::filesystem::create_directories(Work2());
  for (const char* f : {"A$1.MOD", "A$22.mod", "AB$1.MOD", "XA$1.MOD", "A$1x.MOD", "A.Y1"})
    std::ofstream(Work2() / f) << f;
  st.RefWorkFileBase = (Work2() / "A").string();
  RefWorkFilesStash(st, st.RefWorkFileBase);
  EXPECT_EQ(Work2Files(), (std::vector<std::string>{"%$KV_TMP$%$1.MOD", "%$KV_TMP$%$22.mod", "%$KV_TMP$%.Y1",
                                                    "A$1x.MOD", "AB$1.MOD", "XA$1.MOD"}));
  RefWorkFilesRestore(st, st.RefWorkFileBase);
  EXPECT_EQ(Work2Files(),
            (std::vector<std::string>{"A$1.MOD", "A$1x.MOD", "A$22.mod", "A.Y1", "AB$1.MOD", "XA$1.MOD"}));
  REF_WorkFileDel(st, st.RefWorkFileBase, false);
  EXPECT_EQ(Work2Files(), (std::vector<std::string>{"A$1x.MOD", "AB$1.MOD", "XA$1.MOD"}));
  EXPECT_TRUE(IsRefObjectFileName("A$7.MOD", "A"));
  EXPECT_FALSE(IsRefObjectFileName("a$7.MOD", "A"));
  EXPECT_FALSE(IsRefObjectFileName("A$.MOD", "A"));
}

TEST_F(RefOpen, RecentEntriesOpenAndAMissingOneLeavesTheList) {
  Open(second);
  Open(first);
  EXPECT_EQ(st.RecentRefFiles[1], "1 " + first);
  EXPECT_EQ(st.RecentRefFiles[2], "2 " + second);
  win->RefM1Sub_Click(4);
  ui.ExpectAllAnswered();
  ExpectShowing(second, {"second"});
  EXPECT_EQ(st.RecentRefFiles[1], "1 " + second);

  st.RecentRefFiles = {"", "1 " + second, "2 /gone/X.YZH", "3 " + first, "4 /gone/Y.YZH", "5"};
  ui.AnswerMsgBox(vbOK, "参考データを開くことが出来ません (X)");
  win->RefM1Sub_Click(4);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RecentRefFiles, (std::array<std::string, 6>{"", "1 " + second, "2 " + first, "3 /gone/Y.YZH", "4", "5"}));
  EXPECT_EQ(win->Menus().At("RefM1Sub", 6).caption, "4");
}

TEST_F(RefOpen, CheckRefSystemComparesEveryLevel) {
  st.LevelCount = 8;
  struct Case {
    const char* name;
    std::function<void()> change;
    bool fits;
  };
  const Case cases[] = {
      {"same", [] {}, true},
      {"level-2 width", [this] { st.RefColWidth[2][1] = 11; }, false},
      {"level-5 start", [this] { st.RefColStart[5][2] = 31; }, false},
      {"level-8 count", [this] { st.RefColCount[8] = 3; }, false},
      {"unconverted other geometry", [this] { st.RefFitsEditor = false; }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Load();
    c.change();
    EXPECT_EQ(CheckRefSystem(st), c.fits);
  }
}

TEST_F(RefOpen, ClosingRemovesWork2AndWritesTheWindowKeys) {
  Open(first);
  const std::string ini = st.AppPath + "/KVSSYS.INI";
  win->RefM1Sub_Click(9);
  EXPECT_FALSE(std::filesystem::exists(Work2()));
  EXPECT_EQ(st.RefFilePath, "");
  EXPECT_FALSE(st.RefWindowOpen);
  EXPECT_FALSE(st.RefSheetLoaded);
  EXPECT_EQ(calls.back(), "Hiinsatu(0)");
  // The port's bounds: 100, 200, 9000 x 6000.
  EXPECT_EQ(IniGetInt("参考画面", "Width", ini), 9000);
  EXPECT_EQ(IniGetInt("RefSizer", "Pos", ini), 2500);
  std::string entry;
  IniGetString("PreviasFile", "RDataP1", entry, ini);
  EXPECT_EQ(entry, "1 " + first);
  IniGetString("PreviasFile", "RDataP2", entry, ini);
  EXPECT_EQ(entry, "2");

  // Opened again: the recent list offers the file; a small window closed
  // minimised keeps the place it was loaded with, and no splitter position.
  IniPutString("参考画面", "Width", "4000", ini);
  IniPutString("参考画面", "Height", "3800", ini);
  IniPutString("RefSizer", "Pos", "1700", ini);
  Load();
  EXPECT_EQ(win->Menus().At("RefM1Sub", 3).caption.substr(0, 2), "1 ");
  ui.windowStates[std::string(kRefWindow)] = WindowState::Minimized;
  measures.sizerLeft = 3000;
  EXPECT_TRUE(win->Form_QueryUnload());
  EXPECT_EQ(IniGetInt("参考画面", "Width", ini), 4200);
  EXPECT_EQ(IniGetInt("参考画面", "Height", ini), 4200);
  EXPECT_EQ(IniGetInt("RefSizer", "Pos", ini), 1700);

  // Refused while the equipment totals are recalculated.
  Load();
  st.EquipRecalcRunning = true;
  EXPECT_FALSE(win->Form_QueryUnload());
  EXPECT_TRUE(std::filesystem::exists(Work2()));
}

TEST_F(RefOpen, LoadingEmptiesWork2AndShowsTheUntitledReferenceInTheEditorsColumns) {
  std::ofstream(Work2() / "stale.Y1") << "old";
  std::filesystem::remove(LayoutFilePath(st, st.WorkFileBase));
  st.RefColCount[1] = 0;
  Load();
  EXPECT_EQ(Work2Files(), std::vector<std::string>{});
  EXPECT_EQ(st.RefFilePath, st.AppPath + "/WORK2/無題");
  EXPECT_EQ(st.RefColCount[1], 2);
  EXPECT_EQ(grid.ColCount(), 2);
  EXPECT_EQ(calls.front(), "Bounds(0,0,12000,8000)");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "Hiinsatu(1)"), 2);  // SetUp loaded it once
  EXPECT_TRUE(ui.TopMost(kRefWindow));
  EXPECT_EQ(win->Menus().At("RefZoomSub", 1).caption, "ｽﾞｰﾑ設定値= 100%");

  // Settings that make no sense: a zoom outside 30..200, an unknown display
  // mode, a negative size and a place off the screen.
  st.RefZoom = 500;
  st.RefDisp = "斜";
  const std::string ini = st.AppPath + "/KVSSYS.INI";
  IniPutString("参考画面", "Width", "-5", ini);
  IniPutString("参考画面", "Height", "7000", ini);
  IniPutString("参考画面", "Left", "90000", ini);
  IniPutString("参考画面", "Top", "100", ini);
  calls.clear();
  Load();
  EXPECT_EQ(st.RefZoom, 100);
  EXPECT_EQ(st.RefDisp, "縦");
  EXPECT_TRUE(win->Menus().At("DM_Disp", 1).checked);
  EXPECT_EQ(calls.front(), "Bounds(7200,100,12000,8000)");
}

}  // namespace
}  // namespace kv::test
