// cCommonDlg carries the reference window's file choice: the filter it passes,
// the name buffer it cuts and what a cancel leaves behind decide which file is
// opened.
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

TEST(cCommonDlg, ActionRunsOpenOrSaveOnlyForOneAndTwo) {
  ScriptedUi ui;
  ui.AnswerSaveDialog("/s.YZH");
  cCommonDlg d(ui);
  d.Action(7);
  EXPECT_EQ(d.Action(), 7);
  EXPECT_TRUE(ui.Prompts().empty());
  d.Action(2);
  EXPECT_EQ(d.FileName(), "/s.YZH");
}

}  // namespace
}  // namespace kv
