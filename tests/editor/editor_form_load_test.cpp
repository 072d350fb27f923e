// The load turns the settings into what the user sees first: the window's
// place, the menus of the edition, the captions and check marks, the tree
// pane. A wrong order shows as a progress bar jumping back; a missing rule
// shows a menu the customer's edition has no use for.
#include "editor/editor_form_load.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "editor/editor_state.h"
#include "platform/codepage.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using test::CallLog;
using test::RecordingPrint;
using test::ScriptedUi;
using Calls = std::vector<std::string>;

class RecordingPort : public EditorFormPort, public CallLog {
 public:
  int treeWidth = 0;  // what the splitter leaves the tree
  bool sizerFails = false;
  void SplashProgress(int step) override { Add("Splash(" + std::to_string(step) + ")"); }
  void PlaceWindow(int l, int t, int w, int h) override {
    Add("PlaceWindow(" + std::to_string(l) + ", " + std::to_string(t) + ", " + std::to_string(w) +
        ", " + std::to_string(h) + ")");
  }
  void StatusBarInit() override { Add("StatusBarInit()"); }
  void StatusPanelSet(int panel, const std::string& text) override {
    Add("StatusPanelSet(" + std::to_string(panel) + ", " + text + ")");
  }
  void Toolbar1DockIfLoose() override { Add("Toolbar1DockIfLoose()"); }
  int SizerPlace(int pos) override {
    Add("SizerPlace(" + std::to_string(pos) + ")");
    if (sizerFails) throw std::runtime_error("splitter out of reach");
    return treeWidth;
  }
  void GridPlace() override { Add("GridPlace()"); }
  void DentakuHide() override { Add("DentakuHide()"); }
  void MenusChanged() override { Add("MenusChanged()"); }
};

class EditorFormLoad : public ::testing::Test {
 protected:
  EditorFormLoad() {
    st.AppPath = folder.path().string();
    st.print = &print;
    st.SystemKind = 2;
    st.FontName = "ＭＳ 明朝";
    st.EditWinLeft = 1500;
    st.EditWinTop = 750;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 9000;
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.RecentFiles[1] = "1 /data/a.YZH";
  }

  void Load() { Form_Load(st, ed, menus, port); }

  test::TempFolder folder;
  ScriptedUi ui;
  ProgramState st{ui};
  RecordingPrint print;
  EditorState ed;
  EditorMenus menus = EditorMenuTree();
  RecordingPort port;
};

TEST_F(EditorFormLoad, StepsRunInOrderAndAdvanceTheProgressBar) {
  st.RefWindowOpen = st.SearchWindowOpen = st.SiwakeWindowOpen = true;
  st.ToolBar1Floating = st.ToolBar2Floating = st.RefSearchOpen = st.SbMsgShown = true;

  Load();

  EXPECT_EQ(port.calls, (Calls{
                            "Splash(15)",     "PlaceWindow(1500, 750, 15000, 9000)",
                            "Splash(16)",     "StatusBarInit()",
                            "Splash(17)",     "Splash(17)",
                            "Splash(18)",     "StatusPanelSet(3, 全項目)",
                            "Splash(19)",     "Splash(20)",
                            "Splash(21)",     "Splash(22)",
                            "Splash(23)",     "Toolbar1DockIfLoose()",
                            "Splash(24)",     "Splash(25)",
                            "SizerPlace(0)",  "GridPlace()",
                            "Splash(26)",     "StatusPanelSet(6, ＭＳ 明朝)",
                            "Splash(26)",     "Splash(27)",
                            "Splash(28)",     "DentakuHide()",
                            "MenusChanged()",
                        }));
  EXPECT_EQ(print.calls, (Calls{"UpdatePaperMenu()"}));
  EXPECT_EQ(ed.HelpFile, st.AppPath + "/help_v.chm");
  EXPECT_FALSE(st.RefWindowOpen || st.SearchWindowOpen || st.SiwakeWindowOpen ||
               st.ToolBar1Floating || st.ToolBar2Floating || st.RefSearchOpen || st.SbMsgShown);
}

TEST_F(EditorFormLoad, CaptionsAndChecksFollowTheSettings) {
  st.ReCalcFlag = true;
  st.KVZoom = 0;
  st.SheetPageLineStyle = 2;
  menus.At("MaskGamen", 3).checked = true;

  Load();

  EXPECT_EQ(menus.At("MaskGamen", 0).caption, "全項目");
  EXPECT_TRUE(menus.At("MaskGamen", 0).checked);
  EXPECT_FALSE(menus.At("MaskGamen", 3).checked);
  EXPECT_EQ(menus.At("Menu_1Sub", 17).caption, "1 /data/a.YZH");
  EXPECT_EQ(menus.At("Menu_1Sub", 18).caption, "2");
  EXPECT_EQ(menus.At("Menu_7Sub", 2).caption, "ﾌｫﾝﾄ=ＭＳ 明朝");
  EXPECT_EQ(st.KVZoom, 100);
  EXPECT_EQ(menus.At("ZoomSub", 1).caption, "ｽﾞｰﾑ設定値= 100%");
  EXPECT_TRUE(menus.At("Menu_3Sub", 0).checked);
  EXPECT_TRUE(menus.At("Line_Style", 3).checked);
  EXPECT_FALSE(menus.At("Line_Style", 1).checked);
  EXPECT_EQ(ed.FontChoice, 2);
  // Kind 2 at load: the Insert menu, none of the equipment rows.
  EXPECT_TRUE(menus.At("ObjectMenu").visible);
  EXPECT_FALSE(menus.At("Menu_3Sub", 19).visible);
}

TEST_F(EditorFormLoad, ZoomOutsideItsRangeStartsAtOneHundred) {
  for (int stored : {0, -1, 29, 201}) {
    st.KVZoom = stored;
    Load();
    EXPECT_EQ(st.KVZoom, 100) << stored;
  }
  st.KVZoom = 70;
  Load();
  EXPECT_EQ(st.KVZoom, 70);
  EXPECT_EQ(menus.At("ZoomSub", 1).caption, "ｽﾞｰﾑ設定値= 70%");
}

TEST_F(EditorFormLoad, LevelDisplayModeChecksItsItemAndSetsTheTotalsLine) {
  struct Case {
    const char* kvDisp;
    int item;
    bool totals;
    const char* after;
  };
  for (const Case& c : {Case{"縦", 1, false, "縦"}, Case{"縦計", 2, true, "縦計"},
                        Case{"横", 3, false, "横"}, Case{"", 1, false, "縦"}}) {
    SCOPED_TRACE(c.kvDisp);
    st.KVDisp = c.kvDisp;
    st.DMTotalFlag = !c.totals;
    Load();
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(menus.At("DM_DISP", i).checked, i == c.item) << i;
    EXPECT_EQ(st.DMTotalFlag, c.totals);
    EXPECT_EQ(st.KVDisp, c.after);
  }
  EXPECT_EQ(st.RefDisp, "縦");
}

TEST_F(EditorFormLoad, TreeWiderThanThirtyTwipsIsShown) {
  st.SizerPos = 2400;
  port.treeWidth = 30;
  Load();
  EXPECT_FALSE(st.TreeShown);
  EXPECT_TRUE(port.Has("SizerPlace(2400)"));
  port.treeWidth = 31;
  Load();
  EXPECT_TRUE(st.TreeShown);
}

TEST_F(EditorFormLoad, MissingLineStyleDrawsTheFirst) {
  st.SheetPageLineStyle = -1;
  Load();
  EXPECT_EQ(st.SheetPageLineStyle, 0);
  EXPECT_TRUE(menus.At("Line_Style", 1).checked);
}

TEST_F(EditorFormLoad, FontFoundNowhereBecomesTheMinchoFace) {
  st.FontName = "消えたフォント";
  Load();
  EXPECT_EQ(st.FontName, "ＭＳ 明朝");
  EXPECT_EQ(ed.FontChoice, 2);
  EXPECT_EQ(menus.At("Menu_7Sub", 2).caption, "ﾌｫﾝﾄ=ＭＳ 明朝");
  EXPECT_TRUE(port.Has("StatusPanelSet(6, ＭＳ 明朝)"));
}

TEST_F(EditorFormLoad, SpecialPrintReadsItsKeysFromTheSystemSettings) {
  folder.Write("DAVIROV.INI", ToSjis("[特殊仕様印刷]\r\nOrviKenPrn=1\r\nOrviSUU=4\r\n"));
  Load();
  EXPECT_EQ(st.OrviKenPrn, 0);  // not read without the special print

  st.SpecialPrintSpec = true;
  Load();
  EXPECT_EQ(st.OrviKenPrn, 1);
  EXPECT_EQ(st.OrviSUU, 4);
  EXPECT_EQ(st.OrviTANKA, -1);  // missing key
  EXPECT_TRUE(menus.At("Tokusyusub", 22).visible);
}

TEST_F(EditorFormLoad, FailingStepIsReportedAndTheLoadGoesOn) {
  port.sizerFails = true;
  ui.AnswerMsgBox(vbOK, "splitter out of reach\n(Form_loadErr ｴﾗｰNo 16)");

  Load();

  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_TRUE(port.Has("GridPlace()"));
  EXPECT_TRUE(port.Has("DentakuHide()"));
  EXPECT_TRUE(port.Has("MenusChanged()"));
}

}  // namespace
}  // namespace kv
