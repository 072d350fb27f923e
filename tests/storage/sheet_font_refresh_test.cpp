// The sheet font named in the status bar follows the settings that File >
// Open and File > New load.
#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"

namespace kv {
namespace {

class SheetFontRefresh : public test::FileCommandTest {
 protected:
  test::RecordingSheet sheet;
  void SetUp() override {
    FileCommandTest::SetUp();
    st.sheetEngine = &sheet;
  }
};

TEST_F(SheetFontRefresh, TheStatusBarNamesTheFontOfTheSettingsLoaded) {
  {
    test::Program maker("MAKER");
    maker.StartNamed(data, "SRC", {"一"});
    ASSERT_TRUE(IniPutString("Font", "Name", "IPAGothic", maker.Work() + "/SRC.INI"));
    ASSERT_EQ(PackEstimateFile(maker.st, Data("SRC.YZH"), false), kEstimatePacked);
    LanLockRelease(maker.st);
  }
  ui.AnswerOpenDialog(Data("SRC.YZH"));
  FileOpen(st);
  ASSERT_EQ(st.FontName, "IPAGothic");
  EXPECT_TRUE(sheet.Has("StatusPanelSet(6,IPAGothic)"));

  sheet.calls.clear();
  FileNew(st);
  ASSERT_NE(st.FontName, "IPAGothic");
  EXPECT_TRUE(sheet.Has("StatusPanelSet(6," + st.FontName + ")"));
}

}  // namespace
}  // namespace kv
