// KVSYSTEM.INI for the print program: the printer's settings file copied
// whole with the job's keys set, and the fixed-mask list of the customer
// variant (all columns, a hidden column, a level of five columns), written
// or its section removed.
#include "print/kvsystem_ini.h"

#include <gtest/gtest.h>

#include <string>

#include "print/print_fixture.h"
#include "print/print_forms.h"

namespace kv::test {
namespace {

class KvSystemIniTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    app.Write("Test Printer.INI", PrintSettingsText("プリンタの会社") + ToSjis("[固定マスク]\r\nA4縦=old\r\n"));
    st.CompanyName = "本社";
    st.FontName = "ＭＳ ゴシック";
    st.ColCount[1] = 8;
  }
  std::string KvSystem() const { return st.AppPath + "/KVSYSTEM.INI"; }
  bool Write(bool fixedLayout) {
    std::error_code ec;
    return KvSystemIniWrite(st, PrinterIni(), PrintJobIniKeys(st, fixedLayout),
                            st.CustomerVariant && !fixedLayout ? "固定マスク" : "", ec);
  }
};

TEST_F(KvSystemIniTest, FixedMaskListTakesTheShownColumnsWithFiveAndSixTraded) {
  struct Case {
    const char* name;
    int columns;
    std::vector<int> hidden;
    const char* list;
  };
  const Case cases[] = {
      {"all of eight shown", 8, {}, "0,1,2,3,5,4,6,7"},
      {"column 3 hidden", 8, {3}, "0,1,3,5,4,6,7"},
      {"column 6 hidden", 8, {6}, "0,1,2,3,4,6,7"},
      {"five columns: no sixth to take", 5, {}, "0,1,2,3,4"},
      {"six columns", 6, {}, "0,1,2,3,5,4"},
      {"none shown", 2, {1, 2}, ""},
  };
  for (const Case& c : cases) {
    st.ColCount[2] = c.columns;
    st.CurrentLevel = 2;
    st.XMASK[2] = 3;
    for (int col = 1; col <= 8; ++col) st.MaskDef[2][size_t(col)][3] = ' ';
    for (int col : c.hidden) st.MaskDef[2][size_t(col)][3] = 'M';
    st.MaskDef[2][4][0] = 'M';  // another screen's mark counts for nothing
    EXPECT_EQ(FixedMaskList(st), c.list) << c.name;
  }
}

TEST_F(KvSystemIniTest, CopyOfThePrinterFileWithTheJobKeys) {
  st.CustomerVariant = true;
  st.PrnTypeNo = 2;
  st.MaskDef[1][2][0] = 'M';
  ASSERT_TRUE(Write(true));
  EXPECT_EQ(Get(KvSystem(), "PrintInformation", "CompanyName"), "本社");
  EXPECT_EQ(Get(KvSystem(), "Font", "Name"), "ＭＳ ゴシック");
  EXPECT_EQ(Get(KvSystem(), "Boot", "DataLen"), "256");
  EXPECT_EQ(Get(KvSystem(), "印刷件数", "A4横"), "3");  // the rest as copied
  EXPECT_EQ(Get(KvSystem(), "固定マスク", "A4横"), "0,2,3,5,4,6,7");
  EXPECT_EQ(Get(KvSystem(), "固定マスク", "A4縦"), "old");

  // The fixed layout not chosen: the section goes.
  ASSERT_TRUE(Write(false));
  EXPECT_FALSE(IniHasSection("固定マスク", KvSystem()));

  // Outside the customer variant the section is left as the printer has it.
  st.CustomerVariant = false;
  ASSERT_TRUE(Write(true));
  EXPECT_EQ(Get(KvSystem(), "固定マスク", "A4縦"), "old");
  EXPECT_EQ(Get(KvSystem(), "固定マスク", "A4横"), "");
}

TEST_F(KvSystemIniTest, AFileThatCannotBeWrittenIsSaid) {
  std::filesystem::create_directory(KvSystem());  // in the way of the file
  std::error_code ec;
  EXPECT_FALSE(KvSystemIniWrite(st, PrinterIni(), PrintJobIniKeys(st, false), "", ec));
  EXPECT_TRUE(ec);
}

}  // namespace
}  // namespace kv::test
