// The Qt seam shows what these pure readings say: a wrong button order,
// default or escape answer would make a user confirm what they meant to refuse.
#include "platform/dialog_codes.h"

#include <gtest/gtest.h>

#include "platform/font_substitute.h"
#include "platform/ui.h"

namespace kv {
namespace {

using Answers = std::vector<int>;

TEST(MsgBoxLayout, ButtonsDefaultEscapeAndIconOfEachStyle) {
  struct Case {
    int style;
    Answers buttons;
    size_t defaultIndex;
    std::optional<int> escape;
    MsgBoxIcon icon;
  };
  const Case cases[] = {
      {vbOKOnly, {vbOK}, 0, vbOK, MsgBoxIcon::None},
      {vbOKOnly + vbExclamation, {vbOK}, 0, vbOK, MsgBoxIcon::Exclamation},
      {vbOKCancel + vbQuestion + vbDefaultButton2, {vbOK, vbCancel}, 1, vbCancel, MsgBoxIcon::Question},
      {vbAbortRetryIgnore + vbCritical + vbDefaultButton3, {vbAbort, vbRetry, vbIgnore}, 2,
       std::nullopt, MsgBoxIcon::Critical},
      {vbYesNoCancel + vbDefaultButton2, {vbYes, vbNo, vbCancel}, 1, vbCancel, MsgBoxIcon::None},
      {vbYesNo + vbInformation, {vbYes, vbNo}, 0, std::nullopt, MsgBoxIcon::Information},
      {vbYesNo + vbDefaultButton3, {vbYes, vbNo}, 0, std::nullopt, MsgBoxIcon::None},
      {vbRetryCancel, {vbRetry, vbCancel}, 0, vbCancel, MsgBoxIcon::None},
      {7, {vbOK}, 0, vbOK, MsgBoxIcon::None},  // no such button set
  };
  for (const Case& c : cases) {
    MsgBoxLayout l = MsgBoxLayoutFor(c.style);
    EXPECT_EQ(l.buttons, c.buttons) << c.style;
    EXPECT_EQ(l.defaultIndex, c.defaultIndex) << c.style;
    EXPECT_EQ(l.escapeAnswer, c.escape) << c.style;
    EXPECT_EQ(l.icon, c.icon) << c.style;
  }
}

TEST(MsgBoxLayout, JapaneseButtonTexts) {
  EXPECT_EQ(MsgBoxButtonText(vbYes), "はい");
  EXPECT_EQ(MsgBoxButtonText(vbNo), "いいえ");
  EXPECT_EQ(MsgBoxButtonText(vbCancel), "キャンセル");
  EXPECT_EQ(MsgBoxButtonText(vbOK), "OK");
  EXPECT_EQ(MsgBoxButtonText(vbRetry), "再試行");
  EXPECT_EQ(MsgBoxButtonText(vbAbort), "中止");
  EXPECT_EQ(MsgBoxButtonText(vbIgnore), "無視");
}

TEST(NameFilters, FromTheSystemsFilter) {
  using Filters = std::vector<std::string>;
  // The open command's filter: descriptions already name their patterns.
  EXPECT_EQ(NameFiltersFromFilter("TheKorvaneWinFile (*.YZH)|*.YZH|TheKorvaneWin2(*.Y1 ) "
                                  "&Dosﾌｧｲﾙ(*.Y1 )|*.Y1|TheKorvane Dos仕訳ﾌｧｲﾙ(*.S1)|*.S1"),
            (Filters{"TheKorvaneWinFile (*.YZH)", "TheKorvaneWin2(*.Y1 ) &Dosﾌｧｲﾙ(*.Y1 )",
                     "TheKorvane Dos仕訳ﾌｧｲﾙ(*.S1)"}));
  EXPECT_EQ(NameFiltersFromFilter("表|*.txt;*.csv|全て|*.*"),
            (Filters{"表 (*.txt *.csv)", "全て (*.*)"}));
  // A description naming other patterns than it filters gets its own.
  EXPECT_EQ(NameFiltersFromFilter("古い (*.Y1)|*.Y2"), Filters{"古い (*.Y1) (*.Y2)"});
  EXPECT_EQ(NameFiltersFromFilter("|*.YZH"), Filters{"*.YZH"});
  EXPECT_EQ(NameFiltersFromFilter("全て|*.*|半端"), Filters{"全て (*.*)"});
  EXPECT_EQ(NameFiltersFromFilter("空|"), Filters{});
  EXPECT_EQ(NameFiltersFromFilter(""), Filters{});
}

TEST(DisplayFontFamily, FixedJapaneseFacesFindAnInstalledFamily) {
  std::vector<std::string> ipa{"DejaVu Sans", "IPAGothic", "IPAMincho"};
  EXPECT_EQ(DisplayFontFamily("ＭＳ 明朝", ipa), "IPAMincho");
  EXPECT_EQ(DisplayFontFamily("標準明朝", ipa), "IPAMincho");
  EXPECT_EQ(DisplayFontFamily("ＭＳ ゴシック", ipa), "IPAGothic");
  EXPECT_EQ(DisplayFontFamily("標準ゴシック", ipa), "IPAGothic");
  // Preference order, not the order installed.
  EXPECT_EQ(DisplayFontFamily("ＭＳ ゴシック", {"Noto Sans CJK JP", "IPAGothic"}), "IPAGothic");
  EXPECT_EQ(DisplayFontFamily("ＭＳ 明朝", {"Noto Serif CJK JP"}), "Noto Serif CJK JP");
  // An installed name is itself, found without case.
  EXPECT_EQ(DisplayFontFamily("ＭＳ 明朝", {"ＭＳ 明朝", "IPAMincho"}), "ＭＳ 明朝");
  EXPECT_EQ(DisplayFontFamily("ipamincho", ipa), "IPAMincho");
  // Nothing to offer: the stored name goes on to the toolkit.
  EXPECT_EQ(DisplayFontFamily("ＭＳ 明朝", {"DejaVu Sans"}), "ＭＳ 明朝");
  EXPECT_EQ(DisplayFontFamily("Arial", ipa), "Arial");
}

}  // namespace
}  // namespace kv
