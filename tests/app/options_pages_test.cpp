// The options dialog's pages: what each list offers for a layout, what the
// fills select and when a page counts as changed, and the reactions of the
// link lists and the width complement box.
#include "app/options_pages.h"

#include <gtest/gtest.h>

#include "options_fixture.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;
using test::OptionsTest;

class OptionPagesTest : public OptionsTest {};

TEST_F(OptionPagesTest, ListsOfferTheColumnsOfTheirKind) {
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  Tabs_Click(st, d, 4);
  const Strings text{"名称", "規格", "単位", "備考"};
  for (OptCombo id : {OptCombo::MidasiSrc, OptCombo::MidasiDsc, OptCombo::UtiwakeSrc, OptCombo::UtiwakeDsc,
                      OptCombo::GMeisyo})
    EXPECT_EQ(Headings(d.List(id)), text) << OptComboName(id);
  EXPECT_EQ(d.List(OptCombo::GMeisyo).columns, (std::vector<int>{1, 2, 4, 7}));
  // Links: every column without a total definition.
  EXPECT_EQ(Headings(d.List(OptCombo::AbDsc3)), (Strings{"(なし)", "名称", "規格", "数量", "単位", "単価", "備考"}));
  EXPECT_EQ(d.List(OptCombo::AbSrc1).columns, (std::vector<int>{0, 1, 2, 3, 4, 5, 7}));
  // Cover amount: the numeric SUM columns.
  EXPECT_EQ(Headings(d.List(OptCombo::Hyosi)), (Strings{"(なし)", "金額", "原価"}));
  EXPECT_EQ(Headings(d.List(OptCombo::Suryo2)), (Strings{"(なし)", "数量", "単価", "金額", "原価"}));
  EXPECT_EQ(Headings(d.List(OptCombo::Tani3)), (Strings{"(なし)", "名称", "規格", "単位", "備考"}));
  EXPECT_EQ(d.List(OptCombo::CalcMethod).entries, (Strings{"切り上げ", "切り捨て", "四捨五入"}));
  EXPECT_EQ(d.List(OptCombo::keihiMethketa).entries.back(), "10000000");
  ASSERT_EQ(d.List(OptCombo::Zoom).entries.size(), 18u);
  EXPECT_EQ(d.List(OptCombo::Zoom).entries.front(), "200%");
  EXPECT_EQ(d.List(OptCombo::Zoom).entries.back(), "30%");
}

TEST_F(OptionPagesTest, HeadingsComeFromTheLevelCaptionWithoutLeadingBlanks) {
  st.LevelCaption[1].replace(static_cast<size_t>(st.ColStart[1][2] - 1), 6, ToSjis("  規格"));
  EXPECT_EQ(ColumnHeading(st, 2).substr(0, 6), "規格");
}

struct Edit1Case {
  const char* name;
  int caption1, caption2, copy1, copy2, totalName;
  int src, dst, copySrc, copyDst, gmeisyo;  // selected entries
  bool changed;
};

class Edit1FillTest : public OptionsTest, public ::testing::WithParamInterface<Edit1Case> {};

TEST_P(Edit1FillTest, SelectsTheStoredColumnsAndCountsEntriesPassedOver) {
  const Edit1Case& c = GetParam();
  st.CaptionColmun1 = c.caption1;
  st.CaptionColmun2 = c.caption2;
  st.DownCopyColmun1 = c.copy1;
  st.DownCopyColmun2 = c.copy2;
  st.ToTalNameColmun = c.totalName;
  OptionFormLoad(st, d, 100);
  EXPECT_EQ(d.List(OptCombo::MidasiSrc).index, c.src);
  EXPECT_EQ(d.List(OptCombo::MidasiDsc).index, c.dst);
  EXPECT_EQ(d.List(OptCombo::UtiwakeSrc).index, c.copySrc);
  EXPECT_EQ(d.List(OptCombo::UtiwakeDsc).index, c.copyDst);
  EXPECT_EQ(d.List(OptCombo::GMeisyo).index, c.gmeisyo);
  EXPECT_EQ(d.List(OptCombo::MidasiDsc).PrevIndex, c.dst);
  EXPECT_EQ(d.Edit1PageChanged, c.changed);
}

TEST_F(OptionPagesTest, StoredColumnPastEntry0CountsAsAChange) {
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 4);  // quantity column 数量 is entry 1
  EXPECT_TRUE(d.SiwakePageChanged);
  EXPECT_EQ(d.List(OptCombo::Suryo3).Column(), 3);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Edit1FillTest,
    ::testing::Values(
        Edit1Case{"AllFirst", 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, false},
        Edit1Case{"SecondAndThird", 2, 4, 1, 1, 1, 1, 2, 0, 0, 0, true},
        // The heading start is searched without counting.
        Edit1Case{"StartOnly", 7, 1, 1, 1, 1, 3, 0, 0, 0, 0, false},
        // No heading range (-1): the first text column for both ends; changed.
        Edit1Case{"NoRange", -1, -1, 1, 1, 1, 0, 0, 0, 0, 0, true},
        // A numeric column is not offered: entry 0, changed.
        Edit1Case{"NumericTotalName", 1, 1, 1, 1, 6, 0, 0, 0, 0, 0, true}),
    [](const auto& info) { return info.param.name; });

TEST_F(OptionPagesTest, Edit1ChecksFollowTheSettings) {
  st.DownCopyColmunSw = -1;
  st.Zero = " ";
  OptionFormLoad(st, d, 100);
  EXPECT_EQ(d.ChkWrite, 1);
  EXPECT_EQ(d.ChkZero, 0);
  OptionCheckClick(d, 1, 1);
  EXPECT_TRUE(d.Edit1PageChanged);
  d.Edit1PageChanged = false;
  OptionCheckClick(d, 1, 0);  // back to what it was given
  EXPECT_FALSE(d.Edit1PageChanged);
}

TEST_F(OptionPagesTest, LastSumColumnIsFoundForTheCoverAmount) {
  st.ToTalColmun = 8;
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  EXPECT_EQ(d.List(OptCombo::Hyosi).index, 2);
  EXPECT_EQ(d.List(OptCombo::Hyosi).Column(), 8);
}

struct TaxCase {
  std::int64_t raw;  // STax in ten-thousandths
  const char* shown;
};

class TaxShownTest : public OptionsTest, public ::testing::WithParamInterface<TaxCase> {};

TEST_P(TaxShownTest, RateIsShownInFull) {
  st.STax = Currency::FromRaw(GetParam().raw);
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  EXPECT_EQ(d.txtZei, GetParam().shown);
  EXPECT_TRUE(d.Edit2PageChanged);  // the box's first text counts as a change
}

INSTANTIATE_TEST_SUITE_P(Rates, TaxShownTest,
                         ::testing::Values(TaxCase{500, "5"}, TaxCase{850, "8.5"}, TaxCase{10000, "100"},
                                           TaxCase{1225, "12.25"}, TaxCase{0, "0"}, TaxCase{50, "0.5"}));

TEST_F(OptionPagesTest, Edit2SelectsLinksAndRoundingCodes) {
  st.ABLinkCount = 2;
  st.ABLinkSrc = {0, 1, 6, 0};  // column 6 has a total definition: not offered
  st.ABLinkDst = {0, 2, 7, 0};
  st.STaxMethod = 2;
  st.STaxMethodKeta = 9;  // outside 0..7
  st.SKeihiMethodKeta = 7;
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  EXPECT_EQ(d.List(OptCombo::AbSrc1).Column(), 1);
  EXPECT_EQ(d.List(OptCombo::AbDsc1).Column(), 2);
  EXPECT_EQ(d.List(OptCombo::AbSrc2).index, 0);
  EXPECT_EQ(d.List(OptCombo::AbDsc2).Column(), 7);
  EXPECT_EQ(d.List(OptCombo::CalcMethod).index, 2);
  EXPECT_EQ(d.List(OptCombo::CalcMethketa).index, 0);
  EXPECT_EQ(d.List(OptCombo::keihiMethketa).PrevIndex, 7);
}

TEST_F(OptionPagesTest, NamesPageShowsNamesWithoutTrailingBlanks) {
  st.SystemKind = 1;
  st.MASK_NAME[2] = "提出用  ";
  st.SetubiRowNames[1] = "消耗品 ";
  OptionFormLoad(st, d, 100);
  d.OptGokei = true;
  d.OptMasuku = false;
  Tabs_Click(st, d, 3);
  EXPECT_TRUE(d.OptMasuku);
  EXPECT_FALSE(d.OptGokei);
  EXPECT_EQ(d.txtMasuku[2], "提出用");
  EXPECT_EQ(d.txtGokei[5], "消費税");
  EXPECT_EQ(d.txtSName[1], "消耗品");
  EXPECT_EQ(NamesTabCaption(1), "ﾏｽｸ画面・合計行名称・設備計算行名称");
  EXPECT_EQ(NamesTabCaption(2), "ﾏｽｸ画面名称・合計行名称");
}

TEST_F(OptionPagesTest, EquipmentRowsAndExpenseRoundingByKind) {
  st.SystemKind = 2;
  OptionFormLoad(st, d, 100);
  OptionNamesSelect(st, d, NamesFrame::Setubi);
  EXPECT_EQ(d.Frame(), NamesFrame::Masuku);  // no equipment rows outside kind 1
  EXPECT_FALSE(KeihiControlsShown(1));
  EXPECT_FALSE(KeihiControlsShown(2));
  EXPECT_TRUE(KeihiControlsShown(3));
  EXPECT_TRUE(KeihiControlsShown(4));
}

TEST_F(OptionPagesTest, ZoomOf75ShowsRow7) {
  st.CellHabaAdjust[7] = 5;
  st.SiwakeSuu = st.SiwakeUni = {};  // all "(なし)": the fill marks nothing
  OptionFormLoad(st, d, 75);
  Tabs_Click(st, d, 4);
  EXPECT_EQ(d.ZoomRow, 7);
  EXPECT_EQ(d.List(OptCombo::Zoom).entries[static_cast<size_t>(d.List(OptCombo::Zoom).index)], "70%");
  EXPECT_EQ(d.txtHaba, "   5");
  EXPECT_FALSE(d.SiwakePageChanged);
  OptionListPick(st, d, OptCombo::Zoom, 0);  // 200 %
  EXPECT_EQ(d.ZoomRow, 20);
  EXPECT_EQ(d.txtHaba, "   0");
  EXPECT_FALSE(d.SiwakePageChanged);  // the zoom list marks nothing
}

TEST_F(OptionPagesTest, SpinButtonAndBoxKeepTheComplementInRange) {
  st.CellHabaAdjust[10] = 50;
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 4);
  SpinButton1_SpinUp(d);  // at the top: nothing but the mark
  EXPECT_EQ(d.HabaWork[10], 50);
  EXPECT_EQ(d.txtHaba, "  50");
  EXPECT_TRUE(d.SiwakePageChanged);

  OptionHabaEdit(d, "");
  SpinButton1_SpinDown(d);  // an empty box is "1" first
  EXPECT_EQ(d.HabaWork[10], 0);
  EXPECT_EQ(d.txtHaba, "   0");

  OptionHabaEdit(d, "70");
  OptionHabaLostFocus(d);
  EXPECT_EQ(d.txtHaba, "50");
  EXPECT_EQ(d.HabaWork[10], 50);

  OptionHabaEdit(d, "-4");
  OptionHabaLostFocus(d);
  EXPECT_EQ(d.txtHaba, "-4");  // kept as typed
  EXPECT_EQ(d.HabaWork[10], -4);

  OptionHabaEdit(d, "-10");
  OptionHabaLostFocus(d);
  SpinButton1_SpinDown(d);  // at the bottom: nothing
  EXPECT_EQ(d.HabaWork[10], -10);
  EXPECT_EQ(d.txtHaba, "-10");
  OptionHabaEdit(d, "-25");
  SpinButton1_SpinUp(d);
  EXPECT_EQ(d.HabaWork[10], -9);
  EXPECT_EQ(st.CellHabaAdjust[10], 50);  // the settings wait for OK
}

TEST_F(OptionPagesTest, LinkSlotsStayPackedFromTheTop) {
  st.ABLinkCount = 3;
  st.ABLinkSrc = {0, 1, 2, 3};  // A, B, C
  st.ABLinkDst = {0, 4, 5, 7};
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  OptionListPick(st, d, OptCombo::AbSrc1, 0);
  EXPECT_EQ(d.List(OptCombo::AbSrc1).Column(), 2);
  EXPECT_EQ(d.List(OptCombo::AbSrc2).Column(), 3);
  EXPECT_EQ(d.List(OptCombo::AbSrc3).Column(), 0);
  EXPECT_EQ(d.List(OptCombo::AbSrc2).PrevIndex, d.List(OptCombo::AbSrc2).index);
  // The destinations stay where they were.
  EXPECT_EQ(d.List(OptCombo::AbDsc1).Column(), 4);
  EXPECT_EQ(d.List(OptCombo::AbDsc3).Column(), 7);
}

TEST_F(OptionPagesTest, ColumnPickedInTheLastEmptySlotMovesToTheFirst) {
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 2);
  OptionListPick(st, d, OptCombo::AbDsc3, EntryOf(d.List(OptCombo::AbDsc3), "単価"));
  EXPECT_EQ(d.List(OptCombo::AbDsc1).Column(), 5);
  EXPECT_EQ(d.List(OptCombo::AbDsc2).index, 0);
  EXPECT_EQ(d.List(OptCombo::AbDsc3).index, 0);
}

TEST_F(OptionPagesTest, UnchangedPagesAreFilledAgainChangedOnesKeepTheirWork) {
  st.SiwakeSuu = st.SiwakeUni = {};
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 4);
  OptionListPick(st, d, OptCombo::Zoom, 5);  // marks nothing
  d.List(OptCombo::Suryo1).index = 2;        // shown, never picked
  Tabs_Click(st, d, 1);
  Tabs_Click(st, d, 4);
  EXPECT_EQ(d.List(OptCombo::Suryo1).index, 0);  // filled again from the settings
  EXPECT_EQ(d.List(OptCombo::Zoom).index, 5);    // the zoom row picked stays
  OptionListPick(st, d, OptCombo::Suryo1, 2);
  EXPECT_TRUE(d.SiwakePageChanged);
  Tabs_Click(st, d, 1);
  Tabs_Click(st, d, 4);
  EXPECT_EQ(d.List(OptCombo::Suryo1).index, 2);

  OptionListPick(st, d, OptCombo::Suryo2, d.List(OptCombo::Suryo2).PrevIndex);
  d.SiwakePageChanged = false;
  OptionListPick(st, d, OptCombo::Suryo2, d.List(OptCombo::Suryo2).PrevIndex);
  EXPECT_FALSE(d.SiwakePageChanged);  // the same entry again is no change
}

TEST_F(OptionPagesTest, MaskNameEnterCutsTo20BytesOrRefusesAnEmptyName) {
  OptionFormLoad(st, d, 100);
  Tabs_Click(st, d, 3);
  OptionMaskNameChange(d, 1, "あいうえおかきくけこさ");  // 22 bytes
  EXPECT_TRUE(OptionMaskNameEnter(st, d, 1));
  EXPECT_EQ(d.txtMasuku[1], "あいうえおかきくけこ");

  ui.AnswerMsgBox(vbOK, "名称が空白です");
  OptionMaskNameChange(d, 4, "  ");
  EXPECT_FALSE(OptionMaskNameEnter(st, d, 4));
  EXPECT_EQ(d.Focus, "txtMasuku(4)");
  EXPECT_EQ(ui.Prompts().back().title, "オプション");
}

TEST(OptionForms, FourCharacterIntegers) {
  EXPECT_EQ(FourCharForm(5), "   5");
  EXPECT_EQ(FourCharForm(-10), " -10");
  EXPECT_EQ(FourCharForm(50), "  50");
}

}  // namespace
}  // namespace kv
