// cCommonDlg carries the reference window's file choice: the filter it passes,
// the name buffer it cuts and what a cancel leaves behind decide which file is
// opened. Its colour, font, print and help actions hand their properties to
// the UI seam and take the user's choice back into them.
#include "platform/common_dlg.h"

#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::ScriptedUi;

TEST(cCommonDlg, FilterListHasNulEndedParts) {
  ScriptedUi ui;
  cCommonDlg d(ui);
  EXPECT_EQ(d.Filter(), "");
  EXPECT_EQ(d.FilterList(), std::string("All Files (*.*)\0*.*\0", 20));

  d.Filter("参考|*.YZH");
  EXPECT_EQ(d.Filter(), "参考|*.YZH");
  EXPECT_EQ(d.FilterList(), std::string("参考\0*.YZH\0", 13));

  d.Filter("a|b|");  // already ends with a separator: one NUL only
  EXPECT_EQ(d.FilterList(), std::string("a\0b\0", 4));
  EXPECT_EQ(FilterListToBars(d.FilterList()), "a|b");
}

TEST(cCommonDlg, OpenPassesTheSettingsAndTakesTheChosenPath) {
  ScriptedUi ui;
  ui.AnswerOpenDialog("/data/参考/見本.YZH");
  cCommonDlg d(ui);
  d.CancelError(true);
  d.DialogTitle("参考ﾌｧｲﾙを開く");
  d.Filter("参考ﾌｧｲﾙ (*.YZH)|*.YZH|全て|*.*");
  d.FilterIndex(1);
  d.Flags(4100);
  d.InitDir("/data");
  d.FileName("");
  d.ShowOpen();

  ASSERT_EQ(ui.Prompts().size(), 1u);
  const FileDialogRequest& req = ui.Prompts()[0].dialog;
  EXPECT_EQ(req.title, "参考ﾌｧｲﾙを開く");
  EXPECT_EQ(req.filter, "参考ﾌｧｲﾙ (*.YZH)|*.YZH|全て|*.*");
  EXPECT_EQ(req.filterIndex, 1);
  EXPECT_EQ(req.flags, 4100);
  EXPECT_EQ(req.initDir, "/data");
  EXPECT_EQ(req.defaultExt, "");  // the start value is a NUL alone
  EXPECT_EQ(d.FileName(), "/data/参考/見本.YZH");
  EXPECT_FALSE(d.CancelButton());
  EXPECT_EQ(d.Action(), 1);
}

TEST(cCommonDlg, DefaultsOfANewInstance) {
  ScriptedUi ui;
  ui.AnswerSaveDialog(std::nullopt);
  cCommonDlg d(ui);
  d.ShowSave();
  const FileDialogRequest& req = ui.Prompts()[0].dialog;
  EXPECT_EQ(req.title, "Open File");
  EXPECT_EQ(req.filter, "All Files (*.*)|*.*");
  EXPECT_FALSE(req.initDir.empty());  // the current folder
  EXPECT_EQ(d.Action(), 2);
}

TEST(cCommonDlg, CancelKeepsOrClearsTheNameByCancelError) {
  ScriptedUi ui;
  ui.AnswerOpenDialog(std::nullopt).AnswerOpenDialog(std::nullopt).AnswerOpenDialog("/x/y.YZH");
  cCommonDlg d(ui);
  d.FileName("keep.YZH");
  d.ShowOpen();
  EXPECT_EQ(d.FileName(), "keep.YZH");
  EXPECT_FALSE(d.CancelButton());

  d.CancelError(true);
  d.ShowOpen();
  EXPECT_EQ(d.FileName(), "");
  EXPECT_TRUE(d.CancelButton());

  // The cancel flag is not cleared by a later choice on the same instance.
  d.ShowOpen();
  EXPECT_EQ(d.FileName(), "/x/y.YZH");
  EXPECT_TRUE(d.CancelButton());
}

TEST(cCommonDlg, NameIsCutToTheBufferBeforeTheDialog) {
  ScriptedUi ui;
  ui.AnswerSaveDialog(std::nullopt);
  cCommonDlg d(ui);
  d.MaxFileSize(5);
  d.FileName("あいうえおか");
  d.ShowSave();
  EXPECT_EQ(ui.Prompts()[0].dialog.fileName, "あいうえ");
  EXPECT_EQ(d.FileName(), "あいうえおか");
}

TEST(cCommonDlg, ActionRunsTheDialogOfItsNumberAndStoresAnyOther) {
  ScriptedUi ui;
  ui.AnswerSaveDialog("/s.YZH").AnswerColorDialog(0x00FF00).AnswerPrintDialog(std::nullopt);
  cCommonDlg d(ui);
  d.Action(7);
  EXPECT_EQ(d.Action(), 7);
  EXPECT_TRUE(ui.Prompts().empty());
  d.Action(2);
  EXPECT_EQ(d.FileName(), "/s.YZH");
  d.Action(3);
  EXPECT_EQ(d.Color(), 0x00FF00);
  d.Action(5);
  d.HelpFile("/opt/kv/help_v.chm");
  d.HelpCommand(3);
  d.Action(6);
  EXPECT_EQ(d.Action(), 6);
  EXPECT_EQ(ui.openedDocuments.size(), 1u);
}

TEST(cCommonDlg, ColorStartsFromColorAndCancelAlwaysSetsCancelButton) {
  ScriptedUi ui;
  ui.AnswerColorDialog(0x123456).AnswerColorDialog(std::nullopt);
  cCommonDlg d(ui);
  d.Color(0x0000FF);  // red
  d.Flags(2);
  d.ShowColor();
  EXPECT_EQ(ui.Prompts()[0].color.color, 0x0000FF);
  EXPECT_EQ(ui.Prompts()[0].color.flags, 2);
  EXPECT_EQ(d.Color(), 0x123456);
  EXPECT_EQ(d.Action(), 3);
  EXPECT_FALSE(d.CancelButton());

  d.ShowColor();  // CancelError is off
  EXPECT_TRUE(d.CancelButton());
  EXPECT_EQ(d.Color(), 0x123456);
}

// The owner window: every dialog is shown over it, and its font seeds the
// font properties.
TEST(cCommonDlg, FormOwnsTheDialogsAndSeedsTheFont) {
  ScriptedUi ui;
  ui.AnswerOpenDialog(std::nullopt).AnswerColorDialog(std::nullopt).AnswerFontDialog(std::nullopt)
      .AnswerPrintDialog(std::nullopt);
  cCommonDlg d(ui);
  EXPECT_EQ(d.Form(), "");
  d.Form({"RefSheet_Frm", "ＭＳ ゴシック", 10.5, true, false, true, false});
  EXPECT_EQ(d.Form(), "RefSheet_Frm");
  EXPECT_EQ(d.FontName(), "ＭＳ ゴシック");
  EXPECT_EQ(d.FontSize(), 10);  // a half goes to the even neighbour
  EXPECT_TRUE(d.FontBold());
  EXPECT_FALSE(d.FontItalic());
  EXPECT_TRUE(d.FontStrikethru());
  EXPECT_FALSE(d.FontUnderline());
  d.ShowOpen();
  d.ShowColor();
  d.ShowFont();
  d.ShowPrinter();
  ASSERT_EQ(ui.Prompts().size(), 4u);
  EXPECT_EQ(ui.Prompts()[2].font.font.name, "ＭＳ ゴシック");
  EXPECT_EQ(ui.CallsStartingWith("ActivateWindow("), std::vector<std::string>(4, "ActivateWindow(RefSheet_Frm)"));
}

TEST(cCommonDlg, FontChoiceFillsThePropertiesAndCancelClearsThem) {
  ScriptedUi ui;
  ui.AnswerFontDialog(FontDialogFont{"IPAGothic", 10.5, true, false, true, false, 0x0000FF})
      .AnswerFontDialog(std::nullopt)
      .AnswerFontDialog(FontDialogFont{"IPAMincho", 11.5, false, true, false, true, 0});
  cCommonDlg d(ui);
  d.FontName("ＭＳ 明朝");
  d.FontSize(12);
  d.FontItalic(true);
  d.Color(0x00FF00);
  d.Min(8);
  d.Max(72);
  d.Flags(0x2000);
  d.ShowFont();
  const FontDialogRequest& req = ui.Prompts()[0].font;
  EXPECT_EQ(req.font.name, "ＭＳ 明朝");
  EXPECT_EQ(req.font.pointSize, 12);
  EXPECT_TRUE(req.font.italic);
  EXPECT_EQ(req.font.color, 0x00FF00);
  EXPECT_EQ(req.minSize, 8);
  EXPECT_EQ(req.maxSize, 72);
  EXPECT_EQ(req.flags, 0x2000);
  EXPECT_EQ(d.FontName(), "IPAGothic");
  EXPECT_EQ(d.FontSize(), 10);  // a half goes to the even neighbour
  EXPECT_TRUE(d.FontBold());
  EXPECT_FALSE(d.FontItalic());
  EXPECT_TRUE(d.FontStrikethru());
  EXPECT_EQ(d.Color(), 0x0000FF);
  EXPECT_EQ(d.Action(), 0);  // the font dialog leaves Action alone

  d.ShowFont();  // cancelled, CancelError off
  EXPECT_TRUE(d.CancelButton());
  EXPECT_EQ(d.FontName(), "");
  EXPECT_EQ(d.FontSize(), 0);
  EXPECT_FALSE(d.FontBold());
  EXPECT_FALSE(d.FontStrikethru());
  EXPECT_EQ(d.Color(), 0);

  d.ShowFont();  // a choice clears the cancel again
  EXPECT_FALSE(d.CancelButton());
  EXPECT_EQ(d.FontSize(), 12);
  EXPECT_TRUE(d.FontUnderline());
}

TEST(cCommonDlg, PrinterTakesThePagesBackAndRefusesSixteenBitOverflow) {
  ScriptedUi ui;
  ui.AnswerPrintDialog(PrintDialogPages{2, 5, 1, 9, 3}).AnswerPrintDialog(std::nullopt);
  cCommonDlg d(ui);
  d.FromPage(1);
  d.ToPage(9);
  d.Min(1);
  d.Max(9);
  d.Copies(1);
  d.hdc(77);
  d.ShowPrinter();
  const PrintDialogRequest& req = ui.Prompts()[0].print;
  EXPECT_EQ(req.pages.fromPage, 1);
  EXPECT_EQ(req.pages.toPage, 9);
  EXPECT_EQ(req.pages.maxPage, 9);
  EXPECT_EQ(req.hdc, 77);
  EXPECT_EQ(d.FromPage(), 2);
  EXPECT_EQ(d.ToPage(), 5);
  EXPECT_EQ(d.Copies(), 3);
  EXPECT_EQ(d.hdc(), 77);
  EXPECT_EQ(d.Action(), 5);

  d.ShowPrinter();  // cancelled with CancelError off: nothing changes
  EXPECT_FALSE(d.CancelButton());
  EXPECT_EQ(d.FromPage(), 2);

  d.Copies(40000);  // beyond 16 bits: no dialog at all
  d.CancelError(true);
  d.ShowPrinter();
  EXPECT_EQ(ui.Prompts().size(), 2u);
  EXPECT_FALSE(d.CancelButton());
}

TEST(cCommonDlg, HelpOpensTheFileOnlyWithAFileAndACommand) {
  ScriptedUi ui;
  cCommonDlg d(ui);
  d.HelpFile("/opt/kv/help_v.chm");
  d.ShowHelp();  // HelpCommand 0
  d.HelpCommand(2);  // the quit command: nothing to open
  d.ShowHelp();
  EXPECT_TRUE(ui.openedDocuments.empty());
  d.HelpCommand(1);
  d.HelpContext(100);
  d.ShowHelp();
  EXPECT_EQ(ui.openedDocuments, std::vector<std::string>{"/opt/kv/help_v.chm"});
  EXPECT_EQ(d.Action(), 0);

  d.HelpKey(" 42 ");
  EXPECT_EQ(d.HelpKey(), "42");
  EXPECT_THROW(d.HelpKey("目次"), std::invalid_argument);
  EXPECT_THROW(d.HelpKey("4294967296"), std::invalid_argument);
  EXPECT_EQ(d.HelpKey(), "42");
  EXPECT_EQ(d.ErrNumber(), 0);
  EXPECT_EQ(d.ErrDescription(), "未知のｴﾗｰです。");
}

}  // namespace
}  // namespace kv
