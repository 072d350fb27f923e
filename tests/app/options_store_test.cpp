// OK of the options dialog stores the changed pages and writes both settings
// files; a refused check or Cancel stores and writes nothing; the View
// command sets the grid up again only when the complement of its zoom row
// changed.
#include "app/options_store.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/help_recorder.h"
#include "app/options_pages.h"
#include "core/ini_file.h"
#include "options_fixture.h"

namespace kv {
namespace {

using test::OptionsTest;

std::string IniText(const std::string& section, const std::string& key, const std::string& file) {
  std::string v;
  IniGetString(section, key, v, file);
  return v;
}

class OptionStoreTest : public OptionsTest {
 protected:
  void SetUp() override {
    test::WriteSjisFile(Davirov(), "[Boot]\nKVtext=KVTEXT.Y1\nSTax=10\n[Font]\nName=ＭＳ 明朝\n");
    test::WriteSjisFile(EstimateIni(), "[Boot]\nSTax=10\n");
    OptionFormLoad(st, d, 100);
  }
  void Pick(OptCombo id, const std::string& heading) { OptionListPick(st, d, id, EntryOf(d.List(id), heading)); }

  // Changes something on every page.
  void ChangeEveryPage() {
    Pick(OptCombo::GMeisyo, "備考");
    Tabs_Click(st, d, 2);
    Pick(OptCombo::AbSrc1, "名称");
    Pick(OptCombo::AbDsc1, "規格");
    Pick(OptCombo::Hyosi, "原価");
    OptionZeiChange(d, "12.25");
    OptionListPick(st, d, OptCombo::CalcMethod, 2);
    Tabs_Click(st, d, 3);
    OptionMaskNameChange(d, 5, "見積用  ");
    OptionTotalNameChange(d, 0, "小計額");
    Tabs_Click(st, d, 4);
    Pick(OptCombo::Tani2, "備考");
    SpinButton1_SpinUp(d);
  }
};

TEST_F(OptionStoreTest, OkStoresEveryChangedPageAndWritesBothFiles) {
  ChangeEveryPage();
  ASSERT_TRUE(OptionOk(st, d));

  EXPECT_EQ(st.ToTalNameColmun, 7);
  EXPECT_EQ(st.ABLinkCount, 1);
  EXPECT_EQ(st.ABLinkSrc[1], 1);
  EXPECT_EQ(st.ABLinkDst[1], 2);
  EXPECT_EQ(st.ToTalColmun, 8);
  EXPECT_EQ(st.STax, Currency::FromRaw(1225));
  EXPECT_EQ(st.STaxMethod, 2);
  EXPECT_EQ(st.MASK_NAME[5], "見積用");
  EXPECT_EQ(st.SUBTOTALNAME[1], "小計額");
  EXPECT_EQ(st.SiwakeUni[2], 7);
  EXPECT_EQ(st.CellHabaAdjust[10], 1);
  EXPECT_TRUE(st.SheetModified);

  for (const std::string& f : {Davirov(), EstimateIni()}) {
    EXPECT_EQ(IniGetInt("Boot", "ToTalNameColmun", f), 7) << f;
    EXPECT_EQ(IniGetInt("Boot", "ABLinkCount", f), 1) << f;
    EXPECT_EQ(IniGetInt("Boot", "ABLinkDst1", f), 2) << f;
    EXPECT_EQ(IniGetInt("Boot", "ToTalColmun", f), 8) << f;
    EXPECT_EQ(IniText("Boot", "STax", f), "12.25") << f;
    EXPECT_EQ(IniText("マスク情報", "MASK_NAME5", f), "見積用") << f;
    EXPECT_EQ(IniText("合計行文字列", "SUBTOTALNAME1", f), "小計額") << f;
    EXPECT_EQ(IniGetInt("Boot", "SiwakeUni2", f), 7) << f;
  }
  // Keys the options do not own stay.
  EXPECT_EQ(IniText("Boot", "KVtext", Davirov()), "KVTEXT.Y1");
  // The complements wait for the program settings at the end of the run.
  EXPECT_FALSE(std::filesystem::exists(dir / "KVSSYS.INI"));

  EXPECT_EQ(editor.menus.At("MaskGamen", 5).caption, "見積用");
  EXPECT_TRUE(editor.Has("MenusChanged()"));
  EXPECT_EQ(sheet.calls, (std::vector<std::string>{"DMButtonsLayout()", "EdtSheet_Pos()", "ShowParentLevelPath()"}));
}

TEST_F(OptionStoreTest, DavirovIsWrittenBeforeTheEstimateFile) {
  std::filesystem::remove(Davirov());
  std::filesystem::create_directory(Davirov());  // cannot be written as a file
  std::filesystem::remove_all(dir / "WORK");     // nor can the estimate's
  ui.AnswerMsgBox(vbOK, "DAVIROV.INI");
  ui.AnswerMsgBox(vbOK, "EST.INI");
  EXPECT_TRUE(OptionOk(st, d));
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(OptionStoreTest, NothingChangedStillWritesBothFiles) {
  const std::string before = test::ReadBytes(EstimateIni());
  ASSERT_TRUE(OptionOk(st, d));
  EXPECT_NE(test::ReadBytes(EstimateIni()), before);
  EXPECT_EQ(IniGetInt("Boot", "CaptionColmun1", Davirov()), 1);
  EXPECT_EQ(IniGetInt("Boot", "SiwakeSuu3", EstimateIni()), 3);
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(OptionStoreTest, EstimateWithItsOwnSettingsWritesOnlyItsFile) {
  st.UsesCurrentSettings = false;
  const std::string davirov = test::ReadBytes(Davirov());
  Pick(OptCombo::GMeisyo, "規格");
  ASSERT_TRUE(OptionOk(st, d));
  EXPECT_EQ(test::ReadBytes(Davirov()), davirov);
  EXPECT_EQ(IniGetInt("Boot", "ToTalNameColmun", EstimateIni()), 2);
}

TEST_F(OptionStoreTest, RefusedCheckStoresAndWritesNothing) {
  const std::string davirov = test::ReadBytes(Davirov());
  const std::string estimate = test::ReadBytes(EstimateIni());
  Tabs_Click(st, d, 2);
  OptionZeiChange(d, "101");
  ui.AnswerMsgBox(vbOK, "消費税の範囲を超えています");
  EXPECT_FALSE(OptionOk(st, d));
  EXPECT_FALSE(d.OptionCheckFailed);
  EXPECT_EQ(st.STax, Currency::FromRaw(1000));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(test::ReadBytes(Davirov()), davirov);
  EXPECT_EQ(test::ReadBytes(EstimateIni()), estimate);
  EXPECT_TRUE(sheet.calls.empty());
}

TEST_F(OptionStoreTest, CancelAfterChangingEveryPageLeavesSettingsAndFiles) {
  const std::string davirov = test::ReadBytes(Davirov());
  const std::string estimate = test::ReadBytes(EstimateIni());
  ChangeEveryPage();
  // Cancel closes the dialog: its state is dropped, nothing else happens.
  d = OptionDialogState{};
  EXPECT_EQ(st.ToTalNameColmun, 1);
  EXPECT_EQ(st.ToTalColmun, 6);
  EXPECT_EQ(st.STax, Currency::FromRaw(1000));
  EXPECT_EQ(st.MASK_NAME[5], "画面６");
  EXPECT_EQ(st.CellHabaAdjust[10], 0);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_EQ(test::ReadBytes(Davirov()), davirov);
  EXPECT_EQ(test::ReadBytes(EstimateIni()), estimate);
}

TEST_F(OptionStoreTest, PagesNeverShownAreNotStored) {
  st.ToTalColmun = 99;  // not offered: page 2 would store "(なし)"
  ASSERT_TRUE(OptionOk(st, d));
  EXPECT_EQ(st.ToTalColmun, 99);
}

TEST_F(OptionStoreTest, HeadingRangeStoredAsNoneBecomesTheFirstTextColumn) {
  st.CaptionColmun1 = st.CaptionColmun2 = -1;
  OptionFormLoad(st, d, 100);
  ASSERT_TRUE(OptionOk(st, d));
  EXPECT_EQ(st.CaptionColmun1, 1);
  EXPECT_EQ(st.CaptionColmun2, 1);
}

TEST_F(OptionStoreTest, ChecksStoreTheZeroAndHeadingFlags) {
  OptionCheckClick(d, 0, 1);
  OptionCheckClick(d, 1, 0);
  ASSERT_TRUE(OptionOk(st, d));
  EXPECT_EQ(st.DownCopyColmunSw, -1);
  EXPECT_EQ(st.Zero, " ");
  EXPECT_EQ(IniText("Boot", "Zero", EstimateIni()), "SPACE");
}

TEST_F(OptionStoreTest, HelpOpensTheManualAtTheOptionsPage) {
  test::HelpRecorder help(st);
  OptionHelp(st);
  EXPECT_EQ(help.Pages(), std::vector<std::string>{"options.html"});
}

// The three buttons: Help and a refused OK keep the dialog, Cancel closes it
// having stored nothing, OK closes it with everything stored.
TEST_F(OptionStoreTest, TheButtonsOkCancelAndHelp) {
  const std::string estimate = test::ReadBytes(EstimateIni());
  Pick(OptCombo::GMeisyo, "規格");
  test::HelpRecorder help(st);
  EXPECT_EQ(SetOPButton_Click(st, d, 2), OptionButtonEnd::Stay);
  EXPECT_EQ(help.Pages(), std::vector<std::string>{"options.html"});
  EXPECT_EQ(SetOPButton_Click(st, d, 1), OptionButtonEnd::Cancelled);
  EXPECT_EQ(st.ToTalNameColmun, 1);
  EXPECT_EQ(test::ReadBytes(EstimateIni()), estimate);

  Tabs_Click(st, d, 2);
  OptionZeiChange(d, "101");
  ui.AnswerMsgBox(vbOK, "消費税の範囲を超えています");
  EXPECT_EQ(SetOPButton_Click(st, d, 0), OptionButtonEnd::Stay);
  EXPECT_EQ(test::ReadBytes(EstimateIni()), estimate);
  OptionZeiChange(d, "8");
  EXPECT_EQ(SetOPButton_Click(st, d, 0), OptionButtonEnd::Stored);
  EXPECT_EQ(st.ToTalNameColmun, 2);
  EXPECT_TRUE(st.SheetModified);
}

class ViewOptionsTest : public OptionsTest {
 protected:
  // The command with a grid at zoom 100 % whose objects and focus are logged.
  void Run() {
    st.UsedRows = 12;
    ViewOptionsCommand(
        st, [] { return 100; }, [this] { sheet.Add("LoadSheetObjects()"); }, [this] { sheet.Add("SetFocus()"); });
  }
};

TEST_F(ViewOptionsTest, ComplementOfTheGridsZoomRowChangedSetsTheGridUpAgain) {
  ui.AnswerModal("SetOption", [this] { st.CellHabaAdjust[10] = 3; });
  Run();
  EXPECT_EQ(sheet.calls,
            (std::vector<std::string>{"SheetGridInit(1)", "SheetRedisplay(1,12)", "LoadSheetObjects()", "SetFocus()"}));
  EXPECT_FALSE(st.SheetLoading);
  EXPECT_FALSE(ui.Busy());
}

TEST_F(ViewOptionsTest, ComplementOfAnotherRowOnlyLeavesTheGrid) {
  ui.AnswerModal("SetOption", [this] { st.CellHabaAdjust[9] = 3; });
  Run();
  EXPECT_TRUE(sheet.calls.empty());
}

}  // namespace
}  // namespace kv
