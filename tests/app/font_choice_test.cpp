// The offered-font file and the two font dialogs' logic: which fonts are
// offered, what OK and ｷｬﾝｾﾙ change, and what FONT.DAT holds afterwards.
#include "app/font_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/ini_file.h"
#include "options_fixture.h"

namespace kv {
namespace {

using Strings = std::vector<std::string>;

class FontChoiceTest : public test::OptionsTest {
 protected:
  std::string FontDat() const { return (dir / "FONT.DAT").string(); }
  void WriteFontDat(const std::string& lines) { test::WriteSjisFile(FontDat(), lines); }
};

TEST_F(FontChoiceTest, FontDatLinesEndWithCrLfCrOrLf) {
  test::WriteBytes(FontDat(), ToSjis("ＭＳ 明朝\r\nIPAGothic\rIPAMincho\n\r\nlast"));
  EXPECT_EQ(FontDatRead(FontDat()), (Strings{"ＭＳ 明朝", "IPAGothic", "IPAMincho", "", "last"}));
  EXPECT_EQ(FontDatRead((dir / "missing.dat").string()), std::nullopt);
  ASSERT_TRUE(FontDatWrite(FontDat(), {"標準明朝", "IPAGothic"}));
  EXPECT_EQ(test::ReadBytes(FontDat()), ToSjis("標準明朝\r\nIPAGothic\r\n"));
}

TEST_F(FontChoiceTest, ActivationFindsTheSheetFontInTheSortedList) {
  WriteFontDat("ＭＳ 明朝\nIPAGothic\nipamincho\n");
  st.FontName = "ipamincho";
  int choice = 7;
  FontFrmState f;
  FontComboLoad(st, f, choice);
  EXPECT_EQ(f.Combo1, (Strings{"IPAGothic", "ipamincho", "ＭＳ 明朝"}));
  EXPECT_EQ(choice, 1);
  EXPECT_EQ(f.selected, 1);
}

TEST_F(FontChoiceTest, OkAppliesRecordsAndShowsTheFont) {
  WriteFontDat("ＭＳ 明朝\nIPAGothic\n");
  test::WriteSjisFile(Davirov(), "[Font]\nName=ＭＳ 明朝\n");
  st.FontName = "ＭＳ 明朝";
  st.UsedRows = 4;
  int choice = -1;
  FontFrmState f;
  FontComboLoad(st, f, choice);
  f.selected = 0;
  bool reloaded = false;
  FontFrmOk(st, f, choice, [&] { reloaded = true; });
  EXPECT_EQ(st.FontName, "IPAGothic");
  EXPECT_EQ(choice, 0);
  EXPECT_TRUE(reloaded);
  EXPECT_EQ(sheet.calls, (Strings{"SheetGridInit(1)", "SheetRedisplay(1,4)"}));
  EXPECT_FALSE(st.SheetLoading);
  EXPECT_EQ(editor.menus.At("Menu_7Sub", 2).caption, "ﾌｫﾝﾄ=IPAGothic");
  for (const std::string& file : {Davirov(), EstimateIni()}) {
    std::string name;
    IniGetString("Font", "Name", name, file);
    EXPECT_EQ(name, "IPAGothic") << file;
  }
  FontStatusShow(st);
  EXPECT_EQ(sheet.calls.back(), "StatusPanelSet(6,IPAGothic)");
}

TEST_F(FontChoiceTest, CancelRestoresTheActivationValuesAndWritesNothing) {
  // FontName is not offered: the entry at the old numbering is shown.
  WriteFontDat("IPAGothic\nIPAMincho\n");
  st.FontName = "Sazanami Mincho";
  int choice = 9;  // beyond the list
  FontFrmState f;
  FontComboLoad(st, f, choice);
  EXPECT_EQ(f.selected, 0);
  f.selected = 1;
  FontFrmCancel(st, f, choice);
  EXPECT_EQ(st.FontName, "Sazanami Mincho");
  EXPECT_EQ(choice, 9);
  EXPECT_TRUE(sheet.calls.empty());
  EXPECT_FALSE(std::filesystem::exists(Davirov()));
  EXPECT_FALSE(std::filesystem::exists(EstimateIni()));
  EXPECT_EQ(editor.menus.At("Menu_7Sub", 2).caption, "ﾌｫﾝﾄ=Sazanami Mincho");
}

TEST_F(FontChoiceTest, MissingFontDatOffersTheFixedFaces) {
  int choice = -1;
  st.FontName = "標準ゴシック";
  FontFrmState f;
  FontComboLoad(st, f, choice);
  EXPECT_EQ(f.Combo1.size(), 4u);
  EXPECT_EQ(f.Combo1[static_cast<size_t>(choice)], "標準ゴシック");
}

TEST_F(FontChoiceTest, SystemListsSplitOfferedFromInstalled) {
  WriteFontDat("IPAGothic\nGone Font\nＭＳ ゴシック\n");
  SelectFontState s;
  FontListFillSystem(st, s, {"@IPAGothic", "IPAGothic", "DejaVu Sans", "IPAMincho", "나눔고딕", "@Vertical"});
  EXPECT_EQ(s.LstSrcFont, (Strings{"IPAGothic", "ＭＳ ゴシック", "ＭＳ 明朝", "標準ゴシック", "標準明朝"}));
  EXPECT_EQ(s.LstDscFont, (Strings{"DejaVu Sans", "IPAMincho"}));
}

TEST_F(FontChoiceTest, OkRewritesFontDatSortedWithoutUninstalledNames) {
  WriteFontDat("IPAMincho\nGone Font\nIPAGothic\n");
  SelectFontState s;
  FontListFillSystem(st, s, {"IPAGothic", "IPAMincho"});
  ASSERT_TRUE(FontListSave(st, s));
  EXPECT_EQ(FontDatRead(FontDat()),
            (Strings{"IPAGothic", "IPAMincho", "ＭＳ ゴシック", "ＭＳ 明朝", "標準ゴシック", "標準明朝"}));
}

TEST_F(FontChoiceTest, MovingNamesBetweenTheLists) {
  WriteFontDat("IPAGothic\n");
  st.FontName = "IPAGothic";
  SelectFontState s;
  FontListFillSystem(st, s, {"IPAGothic", "IPAMincho"});
  ASSERT_EQ(s.LstDscFont, (Strings{"IPAMincho"}));
  s.dscIndex = 0;
  FontListAdd(s);  // the only entry: the right list is left empty, nothing selected
  EXPECT_TRUE(s.LstDscFont.empty());
  EXPECT_EQ(s.dscIndex, -1);
  EXPECT_EQ(s.LstSrcFont[1], "IPAMincho");

  s.srcIndex = 1;
  FontListRemove(st, s);
  EXPECT_EQ(s.LstDscFont, (Strings{"IPAMincho"}));
  EXPECT_EQ(s.srcIndex, 1);

  // A fixed face stays, silently.
  s.srcIndex = static_cast<int>(std::find(s.LstSrcFont.begin(), s.LstSrcFont.end(), "ＭＳ ゴシック") - s.LstSrcFont.begin());
  FontListRemove(st, s);
  EXPECT_EQ(s.LstSrcFont.size(), 5u);

  // The font the sheet uses stays, with a message.
  s.srcIndex = 0;
  ui.AnswerMsgBox(vbOK, "現在使用中のため削除出来ません!");
  FontListRemove(st, s);
  EXPECT_EQ(s.LstSrcFont.front(), "IPAGothic");
  EXPECT_EQ(ui.Prompts().back().title, "削除出来ません");
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
}

TEST_F(FontChoiceTest, FailedWriteKeepsTheOldFile) {
  WriteFontDat("IPAGothic\n");
  std::filesystem::permissions(FontDat(), std::filesystem::perms::owner_read);
  SelectFontState s;
  FontListFillSystem(st, s, {"IPAGothic"});
  ui.AnswerMsgBox(vbOK, "FONT.DAT");
  EXPECT_FALSE(FontListSave(st, s));
  EXPECT_EQ(FontDatRead(FontDat()), (Strings{"IPAGothic"}));
}

}  // namespace
}  // namespace kv
