// The help commands: each opens the manual at its window's page, the pages
// named exist in the manual and in its contents, a missing collection is
// told once per command, the window goes with the program, and the window's
// kept place is read back only when it fits a screen.
#include "app/help_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "app/font_choice.h"
#include "app/help_manual_files.h"
#include "app/help_recorder.h"
#include "app/options_store.h"
#include "core/ini_file.h"
#include "editor/mask_setup.h"
#include "print/p1_setup.h"
#include "print/p2_setup.h"
#include "print/p3_setup.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

using test::ContentsPages;
const stdfs::path& kManual = test::kManualFolder;

class HelpFileTest : public ::testing::Test {
 protected:
  HelpFileTest() : st(ui) { st.AppPath = dir.path().string(); }
  test::ScriptedUi ui;
  ProgramState st;
  test::TempFolder dir;
};

TEST_F(HelpFileTest, EveryHelpCommandOpensAPageOfTheManual) {
  test::HelpRecorder help(st);
  struct Case {
    const char* caller;
    std::function<void()> call;
    std::string page;
    bool index;
  };
  const Case cases[] = {
      {"Help > 目次", [&] { HelpOpen(st); }, "index.html", false},
      {"Help > ｷｰﾜｰﾄﾞで検索", [&] { HelpIndexOpen(st); }, "index.html", true},
      {"options", [&] { OptionHelp(st); }, "options.html", false},
      {"font dialogs", [&] { OpenHelpFile(st); }, "options.html", false},
      {"masks", [&] { MaskHelp_Click(st); }, "options.html", false},
      {"print", [&] { P1SetUpForm(st).cmndHelp_Click(); }, "print.html", false},
      {"print settings", [&] { P2SetUpForm(st).cmdHelp_Click(); }, "print.html", false},
      {"print details", [&] { P3SetUpForm(st).cmdHelp_Click(); }, "print.html", false},
      {"a window the table does not name", [&] { HelpOpen(st, "NoSuchWindow"); }, "index.html", false},
  };
  for (const Case& c : cases) {
    help.shown.clear();
    c.call();
    ASSERT_EQ(help.shown.size(), 1u) << c.caller;
    EXPECT_EQ(help.shown[0].first, c.page) << c.caller;
    EXPECT_EQ(help.shown[0].second, c.index) << c.caller;
  }
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(HelpFileTest, TheWindowTableNamesOnlyPagesOfTheContents) {
  const std::set<std::string> contents = ContentsPages();
  ASSERT_TRUE(contents.count(std::string(kHelpContentsPage)));
  for (const auto& [window, page] : HelpPageTable()) {
    EXPECT_TRUE(stdfs::is_regular_file(kManual / page)) << window << ": " << page;
    EXPECT_TRUE(contents.count(std::string(page))) << window << ": " << page;
    EXPECT_EQ(HelpPageOf(window), page);
  }
}

TEST_F(HelpFileTest, AMissingCollectionIsToldOncePerCommand) {
  std::vector<std::string> shown;
  st.help.Show = [&](const std::string& page, bool) { shown.push_back(page); };
  const std::string text = "ヘルプファイル [ " + (dir / "help" / "korvane.qhc").string() + " ] がありません。";
  ui.AnswerMsgBox(vbOK, text).AnswerMsgBox(vbOK, text);
  HelpOpen(st);
  HelpIndexOpen(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.MessageTexts(), (std::vector<std::string>{text, text}));
  EXPECT_TRUE(shown.empty());

  // Found whatever the case of its name.
  stdfs::create_directories(dir / "help");
  dir.Write("help/KORVANE.QHC", "collection");
  HelpOpen(st, "frmP3SetUp");
  EXPECT_EQ(shown, std::vector<std::string>{"print.html"});
  EXPECT_EQ(ui.Prompts().size(), 2u);
}

TEST_F(HelpFileTest, TheWindowGoesWithTheProgram) {
  HelpClose(st);
  EXPECT_TRUE(ui.Unloaded().empty()) << "nothing to close";
  ui.loaded[std::string(kHelpWindow)] = true;
  HelpClose(st);
  EXPECT_EQ(ui.Unloaded(), std::vector<std::string>{std::string(kHelpWindow)});
}

TEST_F(HelpFileTest, TheKeptPlaceIsUsedWhenItFitsTheScreen) {
  const TextSize screen{15000, 12000};
  struct Case {
    const char* what;
    const char* left;  // nullptr: key missing
    const char* top;
    const char* width;
    const char* height;
    std::optional<WindowRect> place;
  };
  const Case cases[] = {
      {"kept", "300", "450", "9000", "7000", WindowRect{300, 450, 9000, 7000}},
      {"partly off the left edge", "-2000", "0", "9000", "7000", WindowRect{-2000, 0, 9000, 7000}},
      {"larger than the screen", "0", "0", "20000", "30000", WindowRect{0, 0, 15000, 12000}},
      {"nothing kept", nullptr, nullptr, nullptr, nullptr, std::nullopt},
      {"no size", "100", "100", nullptr, "7000", std::nullopt},
      {"not a number", "100", "100", "wide", "7000", std::nullopt},
      {"beyond the right edge", "15000", "100", "9000", "7000", std::nullopt},
      {"above the top edge", "100", "-7000", "9000", "7000", std::nullopt},
  };
  const stdfs::path ini = dir / "KVSSYS.INI";
  for (const Case& c : cases) {
    stdfs::remove(ini);
    std::ofstream(ini) << "[ZOOM]\r\n";
    const char* values[] = {c.left, c.top, c.width, c.height};
    const char* keys[] = {"Left", "Top", "Width", "Height"};
    for (int i = 0; i < 4; ++i)
      if (values[i]) IniPutString("ヘルプ画面", keys[i], values[i], ini);
    std::optional<WindowRect> got = HelpWindowPlaceRead(st, screen);
    ASSERT_EQ(got.has_value(), c.place.has_value()) << c.what;
    if (got) {
      EXPECT_EQ(got->left, c.place->left) << c.what;
      EXPECT_EQ(got->top, c.place->top) << c.what;
      EXPECT_EQ(got->width, c.place->width) << c.what;
      EXPECT_EQ(got->height, c.place->height) << c.what;
    }
  }
  // What is saved is read back.
  HelpWindowPlaceSave(st, {1200, 900, 8000, 6000});
  std::optional<WindowRect> back = HelpWindowPlaceRead(st, screen);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->left, 1200);
  EXPECT_EQ(back->height, 6000);
}

}  // namespace
}  // namespace kv
