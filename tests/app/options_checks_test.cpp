// The options dialog's checks: their messages (title "オプション"), the focus
// they leave, and that a refusal stops a tab switch.
#include "app/options_checks.h"

#include <gtest/gtest.h>

#include "app/options_pages.h"
#include "options_fixture.h"

namespace kv {
namespace {

using test::OptionsTest;

class OptionChecksTest : public OptionsTest {
 protected:
  void OpenPage(int tab) {
    OptionFormLoad(st, d, 100);
    Tabs_Click(st, d, tab);
  }
  void Pick(OptCombo id, const std::string& heading) { OptionListPick(st, d, id, EntryOf(d.List(id), heading)); }
  // Sets a list's selection as the dialog shows it, without its reactions.
  void Select(OptCombo id, const std::string& heading) {
    OptionList& list = d.List(id);
    list.index = list.PrevIndex = heading.empty() ? 0 : EntryOf(list, heading);
  }
  void ExpectMessage(const std::string& text) {
    ASSERT_FALSE(ui.Prompts().empty());
    EXPECT_EQ(ui.Prompts().back().text, text);
    EXPECT_EQ(ui.Prompts().back().title, "オプション");
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
  }
};

struct TaxCheckCase {
  const char* typed;
  const char* message;  // "" passes
  const char* shownAfter;
};

class TaxCheckTest : public OptionChecksTest, public ::testing::WithParamInterface<TaxCheckCase> {};

TEST_P(TaxCheckTest, RateIsANumberFrom0To100) {
  const TaxCheckCase& c = GetParam();
  OpenPage(2);
  OptionZeiChange(d, c.typed);
  if (*c.message) ui.AnswerMsgBox(vbOK, c.message);
  OptionCheckTaxRate(st, d);
  EXPECT_EQ(d.OptionCheckFailed, *c.message != '\0');
  if (*c.message) {
    ExpectMessage(c.message);
    EXPECT_EQ(d.Focus, "txtZei");
  }
  EXPECT_EQ(d.txtZei, c.shownAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TaxCheckTest,
    ::testing::Values(TaxCheckCase{"abc", "数値を入力して下さい", "abc"}, TaxCheckCase{"", "数値を入力して下さい", ""},
                      TaxCheckCase{"8%", "数値を入力して下さい", "8%"},
                      TaxCheckCase{"101", "消費税の範囲を超えています", "101"},
                      TaxCheckCase{"-1", "消費税の範囲を超えています", "-1"},
                      TaxCheckCase{"100.01", "消費税の範囲を超えています", "100.01"},
                      TaxCheckCase{"0", "", "0"}, TaxCheckCase{"100", "", "100"}, TaxCheckCase{" 8 ", "", "8"},
                      TaxCheckCase{"12.25", "", "12.25"}, TaxCheckCase{"12.345", "", "12.34"},
                      TaxCheckCase{"08.50", "", "8.5"}));

TEST_F(OptionChecksTest, EnterOnAValidRateGoesToOk) {
  OpenPage(2);
  OptionZeiChange(d, "8");
  EXPECT_TRUE(OptionTaxEnter(st, d));
  EXPECT_EQ(d.Focus, "SetOPButton(0)");
}

TEST_F(OptionChecksTest, RangeEndBeforeStartIsRefusedAtOnceAndKeepsPrevIndex) {
  OpenPage(1);
  Pick(OptCombo::MidasiSrc, "規格");
  ui.AnswerMsgBox(vbOK);
  Pick(OptCombo::MidasiDsc, "名称");
  ExpectMessage("範囲指定が間違っています");
  EXPECT_EQ(d.Focus, "CmbMidasiDsc");
  EXPECT_EQ(d.List(OptCombo::MidasiDsc).PrevIndex, 0);
  EXPECT_EQ(d.List(OptCombo::MidasiDsc).index, 0);
  EXPECT_TRUE(d.Edit1PageChanged);
  // OK and leaving the tab refuse it again.
  ui.AnswerMsgBox(vbOK, "範囲指定が間違っています");
  EXPECT_TRUE(Tabs_BeforeClick(st, d));
  EXPECT_FALSE(d.OptionCheckFailed);
}

TEST_F(OptionChecksTest, RangeOverANumericColumnIsRefused) {
  OpenPage(1);
  ui.AnswerMsgBox(vbOK);
  Pick(OptCombo::UtiwakeDsc, "単位");  // 名称 .. 単位 spans 数量
  ExpectMessage("数値属性が範囲内に指定されています");
  EXPECT_EQ(d.Focus, "CmbUtiwakeDsc");
  Pick(OptCombo::UtiwakeDsc, "規格");
  EXPECT_EQ(d.List(OptCombo::UtiwakeDsc).PrevIndex, 1);
  OptionCheckRanges(st, d);
  EXPECT_FALSE(d.OptionCheckFailed);
}

struct LinkCase {
  const char* name;
  const char* src[3];
  const char* dst[3];
  const char* message;  // "" passes
  const char* focus;
};

class LinkCheckTest : public OptionChecksTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(LinkCheckTest, PairsNeedBothEndsOfOneKind) {
  const LinkCase& c = GetParam();
  OpenPage(2);
  for (int n = 1; n <= 3; ++n) {
    Select(AbSrc(n), c.src[n - 1]);
    Select(AbDsc(n), c.dst[n - 1]);
  }
  if (*c.message) ui.AnswerMsgBox(vbOK, c.message);
  OptionCheckABLinks(st, d);
  EXPECT_EQ(d.OptionCheckFailed, *c.message != '\0');
  EXPECT_EQ(d.Focus, c.focus);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, LinkCheckTest,
    ::testing::Values(
        LinkCase{"Empty", {"", "", ""}, {"", "", ""}, "", ""},
        LinkCase{"TextToText", {"名称", "", ""}, {"規格", "", ""}, "", ""},
        LinkCase{"NumberToNumber", {"数量", "", ""}, {"単価", "", ""}, "", ""},
        LinkCase{"SourceWithoutDestination", {"名称", "規格", ""}, {"備考", "", ""}, "ﾘﾝｸ先を指定して下さい",
                 "CmbAbDsc2"},
        LinkCase{"DestinationWithoutSource", {"", "", ""}, {"", "", "備考"}, "ﾘﾝｸ元を指定して下さい", "CmbAbSrc3"},
        LinkCase{"TextToNumber", {"名称", "", ""}, {"数量", "", ""}, "属性が違います", "CmbAbDsc1"}),
    [](const auto& info) { return info.param.name; });

TEST_F(OptionChecksTest, LinksAreCheckedBeforeTheRate) {
  OpenPage(2);
  Select(AbSrc(1), "名称");
  OptionZeiChange(d, "abc");
  ui.AnswerMsgBox(vbOK, "ﾘﾝｸ先を指定して下さい");
  OptionCheckLinksAndTax(st, d);
  EXPECT_TRUE(d.OptionCheckFailed);
  EXPECT_EQ(ui.Prompts().size(), 1u);
}

TEST_F(OptionChecksTest, RefusalOnAPageNotShownHasNoMessage) {
  OpenPage(2);
  OptionZeiChange(d, "abc");
  Tabs_Click(st, d, 3);
  OptionCheckTaxRate(st, d);
  EXPECT_TRUE(d.OptionCheckFailed);
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(d.Focus, "");
}

TEST_F(OptionChecksTest, EmptyMaskNameIsRefusedWithTheMaskNamesShown) {
  OpenPage(3);
  OptionNamesSelect(st, d, NamesFrame::Gokei);
  OptionTotalNameChange(d, 2, "");  // total-row names may be empty
  OptionMaskNameChange(d, 3, " ");
  ui.AnswerMsgBox(vbOK);
  OptionCheckMaskNames(st, d);
  EXPECT_TRUE(d.OptionCheckFailed);
  ExpectMessage("名称が空白です");
  EXPECT_EQ(d.Focus, "txtMasuku(3)");
  EXPECT_EQ(d.Frame(), NamesFrame::Masuku);
}

TEST_F(OptionChecksTest, UnchangedPagesPassUnchecked) {
  st.DownCopyColmun2 = 1;  // every stored column at entry 0
  OpenPage(1);
  ASSERT_FALSE(d.Edit1PageChanged);
  d.List(OptCombo::MidasiDsc).index = -5;  // would fail if checked
  OptionCheckRanges(st, d);
  EXPECT_FALSE(d.OptionCheckFailed);
  EXPECT_FALSE(Tabs_BeforeClick(st, d));
}

}  // namespace
}  // namespace kv
