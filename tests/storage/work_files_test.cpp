#include "storage/work_files.h"

#include "storage/level_fixture.h"

namespace kv::test {
namespace {

class WorkFilesTest : public LevelFixture {
 protected:
  void SetUp() override {
    LevelFixture::SetUp();
    st.LevelCount = 3;
    st.CompFileCount = 4;
    st.CompFileExt[1] = ".Y1";
    st.CompFileExt[2] = ".Y2";
    st.CompFileExt[3] = ".Y3";
    st.CompFileExt[4] = ".INI";
  }
};

// Files of index below LevelCount count 80 %: 800 + 1600 + 500 + 100.
TEST_F(WorkFilesTest, SizeOfTheWorkSetForPacking) {
  app.Write("WORK/EST.Y1", std::string(1000, 'a'));
  app.Write("WORK/EST.Y2", std::string(2000, 'a'));
  app.Write("WORK/EST.Y3", std::string(500, 'a'));
  app.Write("WORK/est.ini", std::string(100, 'a'));
  EXPECT_EQ(WorkFilesSize(st, "EST"), 3000);

  app.Write("WORK/EST$7.MOD", std::string(4000, 'o'));
  app.Write("WORK/AEST$1.MOD", std::string(999, 'o'));  // another estimate's
  EXPECT_EQ(WorkFilesSize(st, "EST"), 3000 + 4000 + 12000);

  app.Write("WORK/EST.Y1", std::string(3, 'a'));  // 2.4 rounds to 2
  app.Write("WORK/EST.Y2", std::string(4, 'a'));  // 3.2 rounds to 3
  EXPECT_EQ(WorkFilesSize(st, "EST"), 2 + 3 + 500 + 100 + 4000 + 12000);
}

TEST_F(WorkFilesTest, ObjectFilesAreTheNameDollarDigitsDotMod) {
  struct Case {
    const char* file;
    const char* name;
    bool match;
  };
  for (Case c : {Case{"EST$1.MOD", "EST", true}, Case{"est$12.mod", "EST", true},
                 Case{"A$1.MOD", "1", false},  // "contains 1, $ after one character" is not enough
                 Case{"AN$1.MOD", "N", false}, Case{"EST$.MOD", "EST", false},
                 Case{"EST$1A.MOD", "EST", false}, Case{"EST$1.MOD.bak", "EST", false},
                 Case{"ESTX$1.MOD", "EST", false}, Case{"1$3.MOD", "1", true}}) {
    EXPECT_EQ(IsObjectFileOf(c.file, c.name), c.match) << c.file << " of " << c.name;
  }
}

TEST_F(WorkFilesTest, DeleteRemovesTheWorkSetOfOneEstimateOnly) {
  for (const char* f : {"EST.Y1", "EST.Y3", "est.ini", "EST$2.MOD", "EST.txt", "A$1.MOD", "AEST.Y1"})
    app.Write(std::string("WORK/") + f, "x");
  WorkFilesDelete(st, "EST");
  for (const char* gone : {"EST.Y1", "EST.Y3", "est.ini", "EST$2.MOD"})
    EXPECT_FALSE(std::filesystem::exists(app.path() / "WORK" / gone)) << gone;
  for (const char* kept : {"EST.txt", "A$1.MOD", "AEST.Y1"})
    EXPECT_TRUE(std::filesystem::exists(app.path() / "WORK" / kept)) << kept;

  app.Write("WORK/無題.Y1", "x");
  WorkFilesDelete(st, "無題");
  EXPECT_TRUE(std::filesystem::exists(app.path() / "WORK/無題.Y1"));
}

}  // namespace
}  // namespace kv::test
