// The mask set-up window's logic: the grid it loads, the mark toggles, and
// registration with its refusals, the name prompt, the levels question and
// what each path stores.
#include "editor/mask_setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/help_recorder.h"
#include "core/ini_file.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "state/base_text.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using test::TestColumn;

const TestColumn kName{"名称", "C", 8, "", "", "", "", "M     "};
const TestColumn kSpec{"  規格寸法", "W", 12, "", "", "", "", "      "};
const TestColumn kQty{"数量", "A2", 6, "", "", "", "", "      "};
const TestColumn kAmount{"金額", "A", 10, "", "SUM", "", "", "M     "};

class MaskSetupTest : public ::testing::Test {
 protected:
  MaskSetupTest() {
    stdfs::create_directories(app.path() / "WORK");
    stdfs::create_directories(app.path() / "基本TEXT");
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
    st.WorkFileBase = st.AppPath + "/WORK/EST";
    for (int i = 1; i <= 8; ++i) st.LevelExt[i] = ".Y" + std::to_string(i);
    st.CompFileCount = 2;
    st.CompFileExt[1] = ".Y1";
    st.CompFileExt[2] = ".Y2";
    st.PackedExt = ".YZH";
    st.DataLen = 256;
    st.calc = &calc;
    st.sheetEngine = &sheet;
    st.editor = &editor;
    st.FontName = "ＭＳ 明朝";
    st.CurrentLevel = 1;
    st.ToTalNameColmun = 2;
    st.EditCursor = 3;
    st.MASK_NAME[0] = "全項目";
    test::SetDefaultItemLayout(st);
    st.KvTextPath = st.AppPath + "/基本TEXT/基本TEXT.Y1";
    grid.SetFontMetrics(&metrics);
  }

  void Levels(const std::vector<std::vector<TestColumn>>& levels) {
    st.LevelCount = static_cast<int>(levels.size());
    test::WriteBaseText(st, st.AppPath + "/基本TEXT/基本TEXT", levels);
    st.UsesCurrentSettings = false;
    ASSERT_TRUE(ColumnDefRead(st, st.AppPath + "/基本TEXT/基本TEXT"));
  }
  // Three levels of the same four columns, loaded into the window's grid.
  void Loaded() {
    Levels({{kName, kSpec, kQty, kAmount}, {kName, kSpec, kQty, kAmount}, {kName, kSpec, kQty, kAmount}});
    MskSheetLoad(st, grid);
  }
  // The name box answered with `text` (nullopt: Cancel).
  void Name(std::optional<std::string> text) {
    ui.AnswerModal("Z_InputBox", [this, text] {
      prompt = st.InputPrompt;
      EXPECT_EQ(st.InputTitle, "画面名入力");
      EXPECT_EQ(st.InputText, st.MASK_NAME[0]);
      EXPECT_EQ(st.InputMaxLen, 20);
      st.InputOk = text.has_value();
      if (text) st.InputText = *text;
    });
  }
  std::string Marks() const {
    std::string s;
    for (int c = 1; c <= grid.ColCount(); ++c) s += grid.CellText(c, 1).empty() ? '?' : grid.CellText(c, 1)[0];
    return s;
  }
  std::string Codes(int level) const {
    std::string s;
    for (int c = 1; c <= st.ColCount[level]; ++c) s += st.MaskDef[level][c][0];
    return s;
  }
  static std::string Ini(const std::string& key, const std::string& file) {
    std::string value;
    IniGetString("マスク情報", key, value, file);
    return value;
  }
  std::string EstIni(const std::string& key) const { return Ini(key, st.WorkFileBase + ".INI"); }

  test::TempFolder app;
  test::ScriptedUi ui;
  test::RecordingCalc calc;
  test::RecordingSheet sheet;
  test::RecordingEditor editor;
  ProgramState st{ui};
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  std::string prompt;
};

TEST_F(MaskSetupTest, LoadShowsCaptionsAndTheMarksOfTheLevelsScreen) {
  Loaded();
  EXPECT_EQ(MskSheetCaption(st), "マスク設定画面 [ 全項目 ]");
  ASSERT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(grid.RowCount(), 1);
  EXPECT_EQ(grid.CellText(1, 0), "名称    ");
  std::string spec = "  規格寸法";  // a two-line column's caption fitted to one line
  CaptionWidthFit(spec, 12);
  EXPECT_EQ(grid.CellText(2, 0), spec);
  EXPECT_EQ(grid.CellText(1, 1), "XXXXXXXX");
  EXPECT_EQ(grid.CellText(2, 1), std::string(12, ' '));
  EXPECT_EQ(grid.CellText(4, 1), std::string(10, 'X'));
  EXPECT_EQ(grid.Zoom(), 100);
  EXPECT_EQ(grid.MouseMode(), 3);
  EXPECT_EQ(grid.CurrentCol(), 2);
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_LT(grid.ColWidth(2), grid.ColWidth(4));  // one line of 12 bytes is 5 characters
}

TEST_F(MaskSetupTest, EnterAndASecondClickToggleDeleteIsSwallowed) {
  Loaded();
  int key = gridkey::kReturn;
  MskSheetKeyDown(st, grid, key);  // column 2, row 1
  EXPECT_EQ(Marks(), "XX X");
  EXPECT_EQ(grid.CellText(2, 1), std::string(12, 'X'));
  MskSheetKeyDown(st, grid, key);
  EXPECT_EQ(Marks(), "X  X");

  key = gridkey::kDelete;
  MskSheetKeyDown(st, grid, key);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(Marks(), "X  X");

  bool ignore = false;
  MskSheetLButtonDown(st, grid, 3, 1, ignore);  // not the current cell: the grid moves there
  EXPECT_FALSE(ignore);
  EXPECT_EQ(Marks(), "X  X");
  grid.SetCurrentCol(3);
  MskSheetLButtonDown(st, grid, 3, 1, ignore);
  EXPECT_TRUE(ignore);
  EXPECT_EQ(Marks(), "X XX");

  MaskOpen_Click(st, grid);
  EXPECT_EQ(Marks(), "    ");
  EXPECT_EQ(st.MaskDef[1][1][0], 'M');  // nothing stored
}

TEST_F(MaskSetupTest, EveryColumnMarkedIsRefused) {
  Loaded();
  for (int c : {2, 3}) MskSheetToggle(st, grid, c);
  ui.AnswerMsgBox(vbOK, "全項目のﾏｽｸは無効です.");
  const MaskRecOutcome out = MaskRec_Click(st, grid);
  EXPECT_FALSE(out.unload);
  EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"全項目のﾏｽｸは無効です."});
  EXPECT_FALSE(stdfs::exists(st.WorkFileBase + ".INI"));
}

TEST_F(MaskSetupTest, EmptyOrCancelledNameStoresNothing) {
  for (std::optional<std::string> answer : {std::optional<std::string>(), std::optional<std::string>("   ")}) {
    Loaded();
    Name(answer);
    EXPECT_FALSE(MaskRec_Click(st, grid).unload);
    EXPECT_EQ(prompt, "現在の画面番号  0\n現在の画面名 全項目です\n画面名を入力して下さい");
    EXPECT_EQ(st.MASK_NAME[0], "全項目");
    EXPECT_FALSE(stdfs::exists(st.WorkFileBase + ".INI"));
    EXPECT_FALSE(st.PackPending);
  }
  ui.ExpectAllAnswered();
}

// Yes gives every level the current level's screen and marks; the name is cut
// to 20 bytes without its leading blanks; the named estimate will be packed.
TEST_F(MaskSetupTest, RegisterForEveryLevel) {
  Loaded();
  st.XMASK = {0, 0, 3, 4};
  MaskOpen_Click(st, grid);
  MskSheetToggle(st, grid, 3);
  Name("  見積用画面ABCDEFGHI規格");  // the cut at 20 bytes halves 規
  ui.AnswerMsgBox(vbYes, "全階層のﾏｽｸを指定しますか?");
  const MaskRecOutcome out = MaskRec_Click(st, grid);
  EXPECT_TRUE(out.unload);
  EXPECT_EQ(out.caption, "**全階層のﾏｽｸ設定**");
  EXPECT_EQ(st.MASK_NAME[0], "見積用画面ABCDEFGHI ");
  EXPECT_EQ(EstIni("MASK_NAME0"), "見積用画面ABCDEFGHI");  // read back without the blank
  for (int level = 1; level <= 3; ++level) {
    EXPECT_EQ(st.XMASK[size_t(level)], 0);
    EXPECT_EQ(Codes(level), "  M ");
  }
  EXPECT_TRUE(st.PackPending);
  EXPECT_TRUE(editor.Has("MaskMenuCaptionSet()"));
  EXPECT_TRUE(sheet.Has("StatusPanelSet(3,見積用画面ABCDEFGHI )"));
  EXPECT_TRUE(sheet.Has("SheetGridInit(1)"));
  EXPECT_FALSE(stdfs::exists(st.AppPath + "/DAVIROV.INI"));  // the estimate has its own settings
  ui.ExpectAllAnswered();
}

TEST_F(MaskSetupTest, NoAndCancelAtTheLevelsQuestion) {
  Loaded();
  MskSheetToggle(st, grid, 2);
  Name("画面A");
  ui.AnswerMsgBox(vbNo);
  EXPECT_TRUE(MaskRec_Click(st, grid).unload);
  EXPECT_EQ(Codes(1), "MM M");
  EXPECT_EQ(Codes(2), "M  M");

  // Cancel: the name stays stored (and is packed), the marks do not.
  st.PackPending = false;
  for (int c : {2, 3}) MskSheetToggle(st, grid, c);
  Name("画面B");
  ui.AnswerMsgBox(vbCancel);
  EXPECT_FALSE(MaskRec_Click(st, grid).unload);
  EXPECT_EQ(EstIni("MASK_NAME0"), "画面B");
  EXPECT_EQ(Codes(1), "MM M");
  EXPECT_TRUE(st.PackPending);
  ui.ExpectAllAnswered();
}

// Levels of different column counts: no question, the current level alone.
// An untitled estimate with the current settings writes them and is not packed.
TEST_F(MaskSetupTest, DifferingLevelsUntitledWithCurrentSettings) {
  Levels({{kName, kSpec, kQty, kAmount}, {kName, kQty}});
  st.CurrentLevel = 2;
  st.UsesCurrentSettings = true;
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  MskSheetLoad(st, grid);
  for (int c : {1, 2}) MskSheetToggle(st, grid, c);
  Name("二階層");
  EXPECT_TRUE(MaskRec_Click(st, grid).unload);
  EXPECT_EQ(Codes(2), " M");
  EXPECT_EQ(Codes(1), "M  M");
  EXPECT_FALSE(st.PackPending);
  EXPECT_EQ(Ini("MASK_NAME0", st.AppPath + "/DAVIROV.INI"), "二階層");
  EXPECT_EQ(IniGetInt("マスク情報", "XMASK2", st.AppPath + "/DAVIROV.INI"), 0);
  ui.ExpectAllAnswered();
}

TEST_F(MaskSetupTest, HelpOpensTheManualAtItsPage) {
  test::HelpRecorder help(st);
  MaskHelp_Click(st);
  EXPECT_EQ(help.Pages(), std::vector<std::string>{"options.html"});
}

}  // namespace
}  // namespace kv
