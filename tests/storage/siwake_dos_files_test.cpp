#include "storage/siwake_dos_files.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class SiwakeDosFilesTest : public ::testing::Test {
 protected:
  SiwakeDosFilesTest() {
    st.AppPath = "/opt/kv";
    st.WorkFolderName = "/WORK";
    st.PackedExt = ".YZH";
    st.CompFileCount = 4;
  }
  std::string Dos() const { return (dos.path()).string(); }
  bool Has(const std::string& name) const { return stdfs::exists(dos / name); }

  test::TempFolder dos;
  test::ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(SiwakeDosFilesTest, NamesOfTheConvertedEstimate) {
  EXPECT_EQ(SiwakeName("KOJI"), "KOJI(仕訳)");
  const SiwakeOpenNames n = SiwakeOpenNamesOf(st, "/home/u/dos", "KOJI");
  EXPECT_EQ(n.workFileBase, "/opt/kv/WORK/KOJI(仕訳)");
  EXPECT_EQ(n.currentFilePath, "/home/u/dos/KOJI(仕訳).YZH");
  EXPECT_EQ(n.lockPath, "/home/u/dos/KOJI(仕訳)");
}

TEST_F(SiwakeDosFilesTest, CopiesBesideTheDosFilesAndDeletesOnlyTheCopies) {
  dos.Write("KOJI.S1", "one");
  dos.Write("koji.s2", "two");  // found whatever its letter case
  dos.Write("KOJI.S4", "four");
  dos.Write("KOJI(仕訳).S1", "stale copy");
  dos.Write("KOJI.S9", "beyond the component count");
  dos.Write("OTHER.S1", "other");

  ASSERT_TRUE(SiwakeComponentsCopy(st, Dos(), "KOJI"));
  EXPECT_EQ(test::ReadAll(dos / "KOJI(仕訳).S1"), "one");
  EXPECT_EQ(test::ReadAll(dos / "KOJI(仕訳).S2"), "two");
  EXPECT_FALSE(Has("KOJI(仕訳).S3"));
  EXPECT_EQ(test::ReadAll(dos / "KOJI(仕訳).S4"), "four");
  EXPECT_FALSE(Has("KOJI(仕訳).S9"));

  SiwakeComponentCopiesDelete(st, Dos(), "KOJI");
  for (const char* copy : {"KOJI(仕訳).S1", "KOJI(仕訳).S2", "KOJI(仕訳).S4"})
    EXPECT_FALSE(Has(copy)) << copy;
  // The DOS files themselves are as they were.
  EXPECT_EQ(test::ReadAll(dos / "KOJI.S1"), "one");
  EXPECT_EQ(test::ReadAll(dos / "koji.s2"), "two");
  EXPECT_EQ(test::ReadAll(dos / "KOJI.S4"), "four");
  EXPECT_TRUE(Has("KOJI.S9"));
  EXPECT_TRUE(Has("OTHER.S1"));
}

TEST_F(SiwakeDosFilesTest, ACopyThatCannotBeMadeIsReported) {
  dos.Write("KOJI.S1", "one");
  stdfs::create_directories(dos / "KOJI(仕訳).S1");  // the copy's name is taken by a folder
  ui.AnswerMsgBox(vbOK, "コピーできませんでした");
  EXPECT_FALSE(SiwakeComponentsCopy(st, Dos(), "KOJI"));
  EXPECT_EQ(test::ReadAll(dos / "KOJI.S1"), "one");
}

}  // namespace
}  // namespace kv
