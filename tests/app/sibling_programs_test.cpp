// The title screen's refusal while a sibling program runs, and the help file.
#include "app/sibling_programs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/help_file.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

class SiblingProgramsTest : public ::testing::Test {
 protected:
  SiblingProgramsTest() : st(ui) {}
  bool Check(const std::vector<std::string>& titles) {
    try {
      SiblingProgramCheck(st, titles);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
  test::ScriptedUi ui;
  ProgramState st;
};

TEST_F(SiblingProgramsTest, PrefixAtTheStartInItsOwnCaseStopsTheStart) {
  ui.AnswerMsgBox(vbOK, "ユーティリティが動作中の為、Korvaneの起動を中止します。");
  EXPECT_TRUE(Check({"Terminal", "KVUTL - 保守", "DI32DUVADODAZ"}));
  EXPECT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "DI32DODA");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  EXPECT_EQ(ui.EndedWith(), 0);
}

TEST_F(SiblingProgramsTest, FirstMatchingWindowDecides) {
  ui.AnswerMsgBox(vbOK, "システム設定が動作中の為、Korvaneの起動を中止します。");
  EXPECT_TRUE(Check({"DI32DUVADODAZ 設定", "KVUTL"}));
}

TEST_F(SiblingProgramsTest, OtherTitlesLetTheStartGoOn) {
  EXPECT_FALSE(Check({"kvutl", "My KVUTL", "DI32DUVADODA", ""}));
  EXPECT_TRUE(ui.Prompts().empty());
  // No window list on this platform: no sibling is ever found.
  EXPECT_TRUE(ListTopWindows().empty());
}

TEST_F(SiblingProgramsTest, HelpOpensTheManualOnlyWhenThere) {
  test::TempFolder dir;
  st.AppPath = dir.path().string();
  std::vector<std::string> pages;
  st.help.Show = [&](const std::string& page, bool) { pages.push_back(page); };
  ui.AnswerMsgBox(vbOK, "ヘルプファイル [ " + (dir / "help" / "korvane.qhc").string() + " ] がありません。");
  HelpOpen(st);
  EXPECT_TRUE(pages.empty());
  std::filesystem::create_directories(dir / "help");
  dir.Write("help/korvane.qhc", "collection");
  HelpOpen(st);
  EXPECT_EQ(pages, std::vector<std::string>{"index.html"});
  EXPECT_TRUE(ui.openedDocuments.empty()) << "no outside viewer";
}

}  // namespace
}  // namespace kv
