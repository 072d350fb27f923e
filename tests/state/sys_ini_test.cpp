#include "state/sys_ini.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "settings_fixture.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

const char* const kSys =
    "[PathDir]\nKVData=/home/user/見積\n"
    "[PreviasFile]\nMDataP1=1 /home/user/見積/A.YZH\nMDataP2=2 /home/user/見積/B.YZH\n"
    "[自動改行]\nAutoDownFlag=2\n[再計算]\nReCalcFlag=0\n"
    "[ズーム倍率]\nKVZoom=120\nRefZoom=80\n[編集開始キャレット位置]\nEditCellPosition=1\n[MouseCursor]\nEditCursor=3\n"
    "[画面分割]\nGamenX1=10\nGamenY1=11\nGamenCX1=12\nGamenCY1=13\nGamenX4=40\nGamenX5=50\n"
    "[編集画面]\nLeft=30000\nTop=17000\nWidth=3000\nHeight=9000\n"
    "[検索画面]\nLeft=1\nTop=2\nWidth=3\nHeight=4\n"
    "[仕訳画面]\nSIWAKE1=SIWAKE1.DAT\nSIWAKE2=NONE.DAT\n"
    "[Sizer]\nPos=2400\n[階層表示]\nKVDisp=縦計\nRefDisp=横\n[ページ設定]\nSheetPageLineStyle=2\n"
    "[階層計表示]\nDMTotalFlag=-1\n"
    "[セル幅微調整補数]\nCELLHABA_100=4\nCELLHABA_110=60\nCELLHABA_120=-12\nCELLHABA_130=-11\n"
    "[システム設定用基本TEXT]\n項目数=7\n1=a,C,20\n2=a,C,4\n3=a,N,3\n4=a,C,40\n5=a,C,40\n6=a,C,10\n7=a,C,20\n";

class SysIniTest : public ::testing::Test {
 protected:
  SysIniTest() : st(ui) {
    st.AppPath = dir.path().string();
    st.LevelCount = 5;
    st.classify = &classify;
    test::WriteSjisFile(Sys(), kSys);
    test::WriteBytes((dir / "SIWAKE1.DAT").string(), "x");
  }
  std::string Sys() const { return (dir / "KVSSYS.INI").string(); }
  std::string Get(const std::string& section, const std::string& key) {
    std::string v;
    IniGetString(section, key, v, Sys());
    return v;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  test::RecordingClassify classify;
  ProgramState st;
};

TEST_F(SysIniTest, LoadsWithTheClamps) {
  ASSERT_TRUE(SysIniLoad(st));
  EXPECT_EQ(st.KVData, "/home/user/見積");
  EXPECT_EQ(st.RecentFiles[2], "2 /home/user/見積/B.YZH");
  EXPECT_EQ(st.RecentFiles[3], "");
  EXPECT_EQ(st.AutoDownFlag, 2);
  EXPECT_FALSE(st.ReCalcFlag);
  EXPECT_EQ(st.KVZoom, 120);
  EXPECT_EQ(st.EditCursor, 3);
  EXPECT_EQ(st.GamenCY[1], 13);
  EXPECT_EQ(st.GamenX[4], 40);
  EXPECT_EQ(st.GamenX[5], 0);  // the deepest level's split is not read
  EXPECT_EQ(st.EditWinLeft, 24000);
  EXPECT_EQ(st.EditWinTop, 16000);
  EXPECT_EQ(st.EditWinWidth, 3000);
  EXPECT_EQ(st.SearchWinHeight, 4);
  EXPECT_EQ(st.SizerPos, 2400);
  EXPECT_EQ(st.KVDisp, "縦計");
  EXPECT_EQ(st.SheetPageLineStyle, 2);
  EXPECT_TRUE(st.DMTotalFlag);
  EXPECT_EQ(st.CellHabaAdjust[10], 5);  // stored 4 = correction 5
  EXPECT_EQ(st.CellHabaAdjust[11], 0);  // 61: out of range
  EXPECT_EQ(st.CellHabaAdjust[12], 0);  // -11: out of range
  EXPECT_EQ(st.CellHabaAdjust[13], -10);
  EXPECT_EQ(st.CellHabaAdjust[1], 0);  // missing: no correction
  EXPECT_EQ(st.DefItemPos[7], 137);
  // Only the master that exists is loaded.
  EXPECT_EQ(classify.calls, (std::vector<std::string>{"SiwakeItemRead(" + (dir / "SIWAKE1.DAT").string() + ",1)"}));
}

// Values no control takes are brought into its range as they are read; a
// missing key keeps its meaning.
TEST_F(SysIniTest, ValuesOutOfRangeAreClampedAsTheyAreRead) {
  ui.screen = {1280, 1024};  // 19200 x 15360 twips
  struct Case {
    const char* section;
    const char* key;
    const char* value;
    int ProgramState::*field;
    int expected;
  } cases[] = {
      {"ズーム倍率", "KVZoom", "99999", &ProgramState::KVZoom, 100},
      {"ズーム倍率", "RefZoom", "29", &ProgramState::RefZoom, 100},
      {"Sizer", "Pos", "-2147483648", &ProgramState::SizerPos, 0},
      {"編集画面", "Left", "-2147483648", &ProgramState::EditWinLeft, 0},
      {"編集画面", "Width", "2147483647", &ProgramState::EditWinWidth, 19200},
      {"編集画面", "Height", "2147483647", &ProgramState::EditWinHeight, 15360},
      {"検索画面", "Width", "2147483647", &ProgramState::SearchWinWidth, 19200},
      {"検索画面", "Top", "-5", &ProgramState::SearchWinTop, 0},
      {"ページ設定", "SheetPageLineStyle", "77", &ProgramState::SheetPageLineStyle, 0},
  };
  for (const Case& c : cases) ASSERT_TRUE(IniPutString(c.section, c.key, c.value, Sys()));
  ASSERT_TRUE(SysIniLoad(st));
  for (const Case& c : cases) EXPECT_EQ(st.*c.field, c.expected) << c.section << " " << c.key;

  // The splitter within the window; a missing corner still says "centre".
  ASSERT_TRUE(IniPutString("Sizer", "Pos", "2147483647", Sys()));
  ASSERT_TRUE(IniPutString("編集画面", "Width", "9000", Sys()));
  ASSERT_TRUE(IniPutString("編集画面", "Top", "-1", Sys()));
  ASSERT_TRUE(SysIniLoad(st));
  EXPECT_EQ(st.SizerPos, 9000);
  EXPECT_EQ(st.EditWinTop, -1);
}

TEST_F(SysIniTest, SavesWhatWasLoaded) {
  ASSERT_TRUE(SysIniLoad(st));
  st.KVZoom = 90;
  MainWindowPlacement window{false, 100, 200, 3000, 9000, 1800};
  ASSERT_TRUE(SysIniSave(st, window));
  EXPECT_EQ(Get("ズーム倍率", "KVZoom"), "90");
  EXPECT_EQ(Get("再計算", "ReCalcFlag"), "0");
  EXPECT_EQ(Get("階層計表示", "DMTotalFlag"), "-1");
  EXPECT_EQ(Get("編集画面", "Left"), "100");
  EXPECT_EQ(Get("編集画面", "Width"), "4200");
  EXPECT_EQ(Get("編集画面", "Height"), "9000");
  EXPECT_EQ(Get("Sizer", "Pos"), "1800");
  EXPECT_EQ(Get("画面分割", "GamenX5"), "0");  // written for every level
  EXPECT_EQ(Get("画面分割", "GamenX6"), "");
  EXPECT_EQ(Get("セル幅微調整補数", "CELLHABA_100"), "4");
  EXPECT_EQ(Get("セル幅微調整補数", "CELLHABA_110"), "-1");
  EXPECT_EQ(Get("PreviasFile", "MDataP1"), "1 /home/user/見積/A.YZH");
}

TEST_F(SysIniTest, MinimisedWindowKeepsItsRectangle) {
  ASSERT_TRUE(SysIniLoad(st));
  ASSERT_TRUE(SysIniSave(st, MainWindowPlacement{true, 1, 2, 5000, 5000, 7}));
  EXPECT_EQ(Get("編集画面", "Left"), "30000");
  EXPECT_EQ(Get("編集画面", "Width"), "3000");
  EXPECT_EQ(Get("Sizer", "Pos"), "2400");
}

TEST_F(SysIniTest, UnwritableFileIsReported) {
  std::filesystem::permissions(Sys(), std::filesystem::perms::owner_read);
  ui.AnswerMsgBox(vbOK, "KVSSYS.INI");
  EXPECT_FALSE(SysIniSave(st, MainWindowPlacement{}));
}

TEST_F(SysIniTest, MaskNamesReachTheMenuAndTheStatusBar) {
  test::RecordingEditor editor;
  test::RecordingSheet sheet;
  st.editor = &editor;
  st.sheetEngine = &sheet;
  st.MASK_NAME[0] = "全項目";
  MaskMenuCaptionSet(st);
  EXPECT_TRUE(editor.Has("MaskMenuCaptionSet()"));
  EXPECT_TRUE(sheet.Has("StatusPanelSet(3,全項目)"));
  st.editor = nullptr;
  st.sheetEngine = nullptr;
  MaskMenuCaptionSet(st);  // nothing to show it on yet
}

}  // namespace
}  // namespace kv
