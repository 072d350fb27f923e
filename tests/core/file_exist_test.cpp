#include "core/file_exist.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include "state/file_exist_check.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using test::ScriptedUi;
using test::TempFolder;

class FileExistChkTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  TempFolder t;
};

TEST_F(FileExistChkTest, OrdinaryFilesMatchFoldersAndHiddenFilesDoNot) {
  t.Write("KVUTL.INI", "x");
  t.Write("見積$1.MOD", "x");
  t.Write(".hidden", "x");
  std::filesystem::create_directory(t / "WORK");
  struct Case {
    std::string path;
    bool exists;
  };
  const Case cases[] = {
      {(t / "KVUTL.INI").string(), true},
      {(t / "kvutl.ini").string(), true},  // found without letter case
      {(t / "*.ini").string(), true},
      {(t / "見積$?.mod").string(), true},
      {(t / "*.YZH").string(), false},
      {(t / "WORK").string(), false},      // a folder is not a file
      {(t / "WORK").string() + "/", false},
      {(t / "W*").string(), false},
      {(t / ".hidden").string(), false},
      {(t / "none.ini").string(), false},
      {(t / "no/folder/a.ini").string(), false},  // a missing folder holds no file
      {(t / "KVUTL.INI/x").string(), false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(FileExistChk(st, c.path), c.exists) << c.path;
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(FileExistChkTest, BadFileNameIsShown) {
  std::string path = (t / std::string(300, 'a')).string();
  ui.AnswerMsgBox(vbOK, "指定したファイルが見つかりません: " + path);
  EXPECT_FALSE(FileExistChk(st, path));
  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly | vbExclamation);
}

TEST_F(FileExistChkTest, DriveNotReadyOffersRetry) {
  int calls = 0;
  auto notReadyTwice = [&](std::string_view, std::error_code& ec) {
    if (++calls <= 2) {
      ec = std::error_code(EIO, std::generic_category());
      return false;
    }
    ec.clear();
    return true;
  };
  const std::string text =
      "ドライブ / の準備が出来てません。\nﾌﾛｯﾋﾟﾃﾞｨｽｸをﾄﾞﾗｲﾌﾞに挿入してください。";
  ui.AnswerMsgBox(vbRetry, text).AnswerMsgBox(vbRetry, text);
  EXPECT_TRUE(FileExistChk(st, "/media/floppy/a.ini", notReadyTwice));
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(ui.Prompts()[0].style, vbRetryCancel | vbExclamation);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");

  calls = 0;
  ui.AnswerMsgBox(vbCancel, text);
  EXPECT_FALSE(FileExistChk(st, "/media/floppy/a.ini", notReadyTwice));
  EXPECT_EQ(calls, 1);
}

TEST_F(FileExistChkTest, OtherFailuresAreShownAndGiveFalse) {
  auto failWith = [](int e) {
    return [e](std::string_view, std::error_code& ec) {
      ec = std::error_code(e, std::generic_category());
      return true;
    };
  };
  ui.AnswerMsgBox(vbOK, "ﾄﾞﾗｲﾌﾞまたはﾊﾟｽが見つかりません: /mnt/x/a.ini");
  EXPECT_FALSE(FileExistChk(st, "/mnt/x/a.ini", failWith(ENODEV)));
  ui.AnswerMsgBox(vbOK, "予期しないエラー # 13 が発生しました。 ");
  EXPECT_FALSE(FileExistChk(st, "/a.ini", failWith(EACCES)));
  ASSERT_EQ(ui.Prompts().size(), 2u);
  EXPECT_EQ(ui.Prompts()[1].style, vbOKOnly | vbCritical);
}

TEST_F(FileExistChkTest, FloatingWindowsAreLoweredAroundTheMessage) {
  st.UnitWindowOpen = true;
  ui.loaded["UNIT2_Frm"] = true;
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(FileExistChk(st, "/a.ini", [](std::string_view, std::error_code& ec) {
    ec = std::error_code(EACCES, std::generic_category());
    return true;
  }));
  std::vector<std::string> seen;
  for (const std::string& c : ui.Calls())
    if (c.rfind("SetWindowTopMost(UNIT2_Frm", 0) == 0 || c.rfind("MsgBox", 0) == 0) seen.push_back(c);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], "SetWindowTopMost(UNIT2_Frm, false)");
  EXPECT_EQ(seen[1].rfind("MsgBox", 0), 0u);
  EXPECT_EQ(seen[2], "SetWindowTopMost(UNIT2_Frm, true)");
}

class MakeFolderPathTest : public FileExistChkTest {};

TEST_F(MakeFolderPathTest, CreatesEveryMissingFolderAndKeepsTheCurrentFolder) {
  const auto cwd = std::filesystem::current_path();
  EXPECT_TRUE(MakeFolderPath(st, (t / "DATA/KV1RECOVER/sub").string()));
  EXPECT_TRUE(std::filesystem::is_directory(t / "DATA/KV1RECOVER/sub"));
  EXPECT_EQ(std::filesystem::current_path(), cwd);
}

TEST_F(MakeFolderPathTest, ExistingFoldersGiveTrueWithOrWithoutTrailingSeparator) {
  std::filesystem::create_directories(t / "A/B");
  auto before = std::filesystem::last_write_time(t / "A");
  EXPECT_TRUE(MakeFolderPath(st, (t / "A/B").string()));
  EXPECT_TRUE(MakeFolderPath(st, (t / "A/B").string() + "/"));
  EXPECT_EQ(std::filesystem::last_write_time(t / "A"), before);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(MakeFolderPathTest, FileInTheWayIsShown) {
  t.Write("DATA", "a file, not a folder");
  ui.AnswerMsgBox(vbOK);
  EXPECT_FALSE(MakeFolderPath(st, (t / "DATA/sub").string()));
  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "プログラム論理エラーです");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly | vbCritical);
  EXPECT_FALSE(ui.Prompts()[0].text.empty());
}

}  // namespace
}  // namespace kv
