// The work folders are emptied when the program ends: an estimate saved
// there is lost. The test must see through letter case, ".." and links, and
// must not refuse a folder whose name merely contains the letters.
#include "storage/work_folder_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

class WorkFolderCheck : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* f : {"WORK", "WORK2", "NETWORK", "WORKS", "DATA"})
      std::filesystem::create_directory(app.path() / f);
    std::filesystem::create_directory_symlink(app.path() / "WORK", app.path() / "DATA" / "link");
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
  }
  std::string P(const std::string& rel) const { return app.path().string() + "/" + rel; }

  test::TempFolder app;
  test::ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(WorkFolderCheck, RefusesTheWorkFolderHoweverWritten) {
  for (const char* rel :
       {"WORK/a.YZH", "work/a.YZH", "Work/new/a.YZH", "DATA/../WORK/a.YZH", "DATA/link/a.YZH",
        "none/../WORK/a.YZH", "none/deeper/../../Work/a.YZH", "./WORK/a.YZH"})
    EXPECT_TRUE(IsInWorkFolder(st, P(rel))) << rel;
}

TEST_F(WorkFolderCheck, AcceptsFoldersThatOnlyContainTheLetters) {
  for (const char* rel : {"NETWORK/a.YZH", "WORKS/a.YZH", "DATA/WORK.YZH", "a.YZH", "DATA/../NETWORK/a.YZH",
                          "none/../NETWORK/a.YZH"})
    EXPECT_FALSE(IsInWorkFolder(st, P(rel))) << rel;
  EXPECT_FALSE(IsInWorkFolder(st, P("WORK2/a.YZH")));
}

TEST_F(WorkFolderCheck, TheReferenceWorkFolderIsItsOwn) {
  EXPECT_TRUE(IsInRefWorkFolder(st, P("WORK2/a.YZH")));
  EXPECT_TRUE(IsInRefWorkFolder(st, P("work2/a.YZH")));
  EXPECT_FALSE(IsInRefWorkFolder(st, P("WORK/a.YZH")));
}

TEST_F(WorkFolderCheck, AFileLinkedIntoTheWorkFolderIsInIt) {
  test::TempFolder other;
  std::ofstream(app.path() / "WORK" / "x.YZH") << "x";
  std::filesystem::create_symlink(app.path() / "WORK" / "x.YZH", other.path() / "x.YZH");
  EXPECT_TRUE(IsInWorkFolder(st, (other.path() / "x.YZH").string()));
}

}  // namespace
}  // namespace kv
