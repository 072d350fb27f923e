#include "state/data_ini.h"

#include <gtest/gtest.h>

#include "core/ini_file.h"
#include "settings_fixture.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

// Every key the loader reads, with values in range.
const char* const kDavirov =
    "[OLE]\nOleFileMax=100\nOleFilePicMax=20\n"
    "[Boot]\nKVtext=KVTEXT.Y1\nDataLen=512\nImax=300\nH_Link=16\n"
    "CaptionColmun1=1\nCaptionColmun2=2\nDownCopyColmun1=1\nDownCopyColmun2=3\nDownCopyColmunSw=-1\n"
    "ToTalColmun=7\nToTalNameColmun=1\nToTalNameColmun2=0\nCodeColmun=0\nZero=space\n"
    "ABLinkCount=2\nABLinkSrc1=1\nABLinkDst1=2\nABLinkSrc2=3\nABLinkDst2=4\n"
    "STax=8.5\nSTaxMethod=1\nSTaxMethodKeta=2\nSKeihiMethod=2\nSKeihiMethodKeta=4\n"
    "SiwakeSuu1=4\nSiwakeUni1=5\nSiwakeSuu2=4\nSiwakeUni2=5\nSiwakeSuu3=4\nSiwakeUni3=5\n"
    "[マスク情報]\nXMASK1=0\nXMASK2=3\nXMASK3=5\nMASK_NAME0=\"全項目\"\nMASK_NAME1=\" 計算式 "
    "\"\nMASK_NAME2=\"画面３\"\n"
    "MASK_NAME3=\nMASK_NAME4=\"画面５\"\nMASK_NAME5=\"画面６\"\n"
    "[設備行]\n諸経費=\"諸経費\"\n消耗品=\"消耗品雑材\"\n経費行=\"経費\"\n"
    "[Font]\nName=ＭＳ 明朝\n"
    "[合計行文字列]\nSUBTOTALNAME1=\"小計\"\nSUBTOTALNAME2=\"中計\"\nSUBTOTALNAME3=\"大計\"\n"
    "SUBTOTALNAME4=\"大大計\"\nSUBTOTALNAME5=\"大大大計\"\nSUBTOTALNAME6=\"消費税\"\n"
    "[ﾒﾓ行]\nMAX=120abc\n"
    "[PrintInformation]\nCompanyNameFlag=0\nPrnPageNoFlag=0\nKoujiNameFlag=0\nKoujiNamePos=\n"
    "CompanyName=株式会社コルヴァン\nPageFormat=- P -\nNamePosition=右\n"
    "[枠線スタイル]\n項目欄隔線非描画=1\n項目欄下線幅=2\n合計行上線幅=3\nSp999w=4\nTop=5\n"
    "[印刷タイプ]\nPrnTypeNo=2\n"
    "[印刷書式]\n1=A4縦\n2=A4横\n"
    "[印刷名称]\nA4縦=Ａ４縦\nA4横=Ａ４横\n[印刷桁数]\nA4縦=96\nA4横=136\n[印刷件数]\nA4縦=25\nA4横=16\n"
    "[左マージン]\nA4縦=4\nA4横=5\n[上マージン]\nA4縦=6\nA4横=7\n[最左スペーシング]\nA4縦=2\nA4横=3\n"
    "[ページフォーマット]\nA4縦=A4縦\nA4横=A4横\n";

class DataIniTest : public ::testing::Test {
 protected:
  DataIniTest() : st(ui) {
    st.AppPath = dir.path().string();
    st.WorkFolderName = "/WORK";
    st.LevelCount = 3;
    st.LevelExt[1] = ".Y1";
    std::filesystem::create_directory(dir / "WORK");
    test::WriteSjisFile(Davirov(), kDavirov);
  }

  std::string Davirov() const { return (dir / "DAVIROV.INI").string(); }
  std::string Work(const std::string& name) const { return (dir / "WORK" / name).string(); }
  std::string Get(const std::string& section, const std::string& key, const std::string& file) {
    std::string v;
    IniGetString(section, key, v, file);
    return v;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st;
};

TEST_F(DataIniTest, LoadsEveryValue) {
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(st.OleFileMax, 100);
  EXPECT_EQ(st.KvTextPath, st.AppPath + "/KVTEXT.Y1");
  EXPECT_EQ(st.DataLen, 512);
  EXPECT_EQ(st.Imax, 300);
  EXPECT_EQ(st.H_Link, "16");
  EXPECT_EQ(st.CaptionColmun2, 2);
  EXPECT_EQ(st.DownCopyColmunSw, -1);
  EXPECT_EQ(st.ToTalColmun, 7);
  EXPECT_EQ(st.Zero, " ");  // "SPACE" in any letter case
  EXPECT_EQ(st.ABLinkCount, 2);
  EXPECT_EQ(st.ABLinkDst[2], 4);
  EXPECT_EQ(st.STax, Currency::FromRaw(850));  // 8.5 % stays 8.5 %
  EXPECT_EQ(st.STaxMethodKeta, 2);
  EXPECT_EQ(st.SKeihiMethodKeta, 4);
  EXPECT_EQ(st.SiwakeUni[3], 5);
  EXPECT_EQ(st.XMASK[2], 3);
  EXPECT_EQ(st.MASK_NAME[1], " 計算式 ");
  EXPECT_EQ(st.MASK_NAME[2], "画面３");
  EXPECT_EQ(st.MASK_NAME[3], "");
  EXPECT_EQ(st.FontName, "ＭＳ 明朝");
  EXPECT_EQ(st.SUBTOTALNAME[6], "消費税");
  EXPECT_EQ(st.MemoRowMax, 120);
  EXPECT_EQ(st.CompanyNameFlag, 0);
  EXPECT_EQ(st.KoujiNamePos, "左");  // empty gives 左
  EXPECT_EQ(st.CompanyName, "株式会社コルヴァン");
  EXPECT_EQ(st.FrameWidth, 5);
  EXPECT_EQ(st.PrnTypeNo, 2);
  EXPECT_EQ(st.PrintFormSections[2], "A4横");
  EXPECT_EQ(st.PrintFormNames[2], "Ａ４横");
  EXPECT_EQ(st.PrintRows[2], 16);
  EXPECT_EQ(st.LeftSpacings[2], 3);
  EXPECT_EQ(st.PageFormats[1], "A4縦");
  EXPECT_EQ(st.PrintFormSections[3], "");
  EXPECT_EQ(st.PrintRows[3], -1);
}

TEST_F(DataIniTest, AFileInRangeIsNotWritten) {
  const std::string before = test::ReadBytes(Davirov());
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(test::ReadBytes(Davirov()), before);
}

TEST_F(DataIniTest, OutOfRangeRoundingIsCorrectedAndWrittenBack) {
  IniPutString("Boot", "STaxMethodKeta", "9", Davirov());
  IniPutString("Boot", "SKeihiMethodKeta", "9", Davirov());
  IniPutString("Boot", "SKeihiMethod", "7", Davirov());
  IniPutString("Boot", "STaxMethod", "", Davirov());  // missing value
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(st.STaxMethodKeta, 0);
  EXPECT_EQ(st.SKeihiMethodKeta, 3);
  EXPECT_EQ(st.SKeihiMethod, 0);
  EXPECT_EQ(st.STaxMethod, 0);
  EXPECT_EQ(Get("Boot", "STaxMethodKeta", Davirov()), "0");
  EXPECT_EQ(Get("Boot", "SKeihiMethodKeta", Davirov()), "3");
  EXPECT_EQ(Get("Boot", "SKeihiMethod", Davirov()), "0");
  EXPECT_EQ(Get("Boot", "STaxMethod", Davirov()), "0");
}

TEST_F(DataIniTest, EquipmentEditionFillsEmptyRowNames) {
  st.SystemKind = 1;
  IniPutString("設備行", "消耗品", "", Davirov());
  IniPutString("Boot", "SKeihiMethodKeta", "9", Davirov());
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(st.SetubiRowNames[1], "消耗品雑材");
  EXPECT_NE(test::ReadSjisFile(Davirov()).find("消耗品=\"消耗品雑材\""), std::string::npos);
  // The expense rounding is not read in the equipment edition.
  EXPECT_EQ(Get("Boot", "SKeihiMethodKeta", Davirov()), "9");
  EXPECT_EQ(st.SKeihiMethodKeta, 3);
}

TEST_F(DataIniTest, ColumnLinksHeldToThree) {
  IniPutString("Boot", "ABLinkCount", "5", Davirov());
  IniPutString("Boot", "ABLinkSrc3", "6", Davirov());
  IniPutString("Boot", "ABLinkSrc4", "7", Davirov());
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(st.ABLinkCount, 3);
  EXPECT_EQ(st.ABLinkSrc[3], 6);
}

TEST_F(DataIniTest, OutOfRangeValuesTakeTheirDefaultsWithoutWrites) {
  IniPutString("マスク情報", "XMASK1", "9", Davirov());
  IniPutString("Boot", "CaptionColmun1", "60", Davirov());
  IniPutString("印刷タイプ", "PrnTypeNo", "0", Davirov());
  const std::string before = test::ReadBytes(Davirov());
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  EXPECT_EQ(st.XMASK[1], 0);
  EXPECT_EQ(st.CaptionColmun1, -1);
  EXPECT_EQ(st.PrnTypeNo, 1);
  EXPECT_EQ(test::ReadBytes(Davirov()), before);
}

TEST_F(DataIniTest, PrintFlagsOnlyFromDavirov) {
  test::WriteSjisFile(Work("EST.INI"), kDavirov);
  IniPutString("PrintInformation", "KoujiNamePos", "右", Work("EST.INI"));
  IniPutString("PrintInformation", "CompanyName", "別会社", Work("EST.INI"));
  ASSERT_TRUE(DataIniLoad(st, Work("EST.INI")));
  EXPECT_EQ(st.CompanyNameFlag, -1);
  EXPECT_EQ(st.PrnPageNoFlag, -1);
  EXPECT_EQ(st.KoujiNameFlag, -1);
  EXPECT_EQ(st.KoujiNamePos, "左");
  EXPECT_EQ(st.CompanyName, "別会社");
  ASSERT_TRUE(DataIniLoad(st, (dir / "davirov.ini").string()));  // found without letter case
  EXPECT_EQ(st.CompanyNameFlag, 0);
}

TEST_F(DataIniTest, MissingEstimateSettingsAreCopiedFromTheTemplateFirst) {
  ASSERT_TRUE(DataIniLoad(st, Work("NEW.INI")));
  EXPECT_EQ(test::ReadBytes(Work("NEW.INI")), test::ReadBytes(Davirov()));
  EXPECT_EQ(st.DataLen, 512);
  EXPECT_EQ(st.Imax, 300);
}

TEST_F(DataIniTest, UnusableFilesAreRefusedAndNothingIsLoaded) {
  struct Case {
    std::string name;
    std::string key;
    std::string value;
    std::string expect;
  } cases[] = {
      {"record length 300", "DataLen", "300", "DataLen"},
      {"record length missing", "DataLen", "", "DataLen"},
      {"rows missing", "Imax", "", "Imax"},
      {"rows beyond the sheet", "Imax", "5000", "Imax"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    test::WriteSjisFile(Work("BAD.INI"), kDavirov);
    IniPutString("Boot", c.key, c.value, Work("BAD.INI"));
    IniPutString("Boot", "STaxMethod", "9", Work("BAD.INI"));
    const std::string before = test::ReadBytes(Work("BAD.INI"));
    ui.AnswerMsgBox(vbOK, c.expect);
    EXPECT_FALSE(DataIniLoad(st, Work("BAD.INI")));
    EXPECT_EQ(st.DataLen, 256);
    EXPECT_EQ(st.FontName, "");
    EXPECT_EQ(test::ReadBytes(Work("BAD.INI")), before);  // no write-back either
  }
}

TEST_F(DataIniTest, MissingDavirovIsRefused) {
  std::filesystem::remove(Davirov());
  ui.AnswerMsgBox(vbOK, "DAVIROV.INI");
  EXPECT_FALSE(DataIniLoad(st, Davirov()));
  EXPECT_FALSE(std::filesystem::exists(Davirov()));
  // Without the template a missing estimate settings file is not made up.
  ui.AnswerMsgBox(vbOK, "DAVIROV.INI");
  EXPECT_FALSE(DataIniLoad(st, Work("NEW.INI")));
  EXPECT_FALSE(std::filesystem::exists(Work("NEW.INI")));
  EXPECT_EQ(st.DataLen, 256);
}

TEST_F(DataIniTest, SavedOptionsLoadBack) {
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  st.STax = Currency::FromRaw(850);
  st.Zero = "0";
  st.MASK_NAME[0] = " 前後に空白 ";
  st.SUBTOTALNAME[1] = "小　計";
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = 8;
  st.STaxMethod = 2;
  st.SKeihiMethodKeta = 5;
  st.MemoRowMax = 180;
  st.CaptionColmun1 = 3;
  ASSERT_TRUE(SheetOptionsSave(st, Work("EST.INI")));
  EXPECT_EQ(Get("Boot", "STax", Work("EST.INI")), "8.5");
  EXPECT_EQ(Get("Boot", "DataLen", Work("EST.INI")), "");  // not the writer's
  // The saved file lacks DataLen and Imax: add them and load it back.
  IniPutString("Boot", "DataLen", "256", Work("EST.INI"));
  IniPutString("Boot", "Imax", "0", Work("EST.INI"));

  test::ScriptedUi ui2;
  ProgramState back(ui2);
  back.AppPath = st.AppPath;
  back.LevelCount = 3;
  ASSERT_TRUE(DataIniLoad(back, Work("EST.INI")));
  EXPECT_EQ(back.STax, st.STax);
  EXPECT_EQ(back.Zero, "0");
  EXPECT_EQ(back.MASK_NAME[0], " 前後に空白 ");
  EXPECT_EQ(back.MASK_NAME[3], "");
  EXPECT_EQ(back.SUBTOTALNAME[1], "小　計");
  EXPECT_EQ(back.ABLinkCount, 1);
  EXPECT_EQ(back.ABLinkSrc[1], 8);
  EXPECT_EQ(back.STaxMethod, 2);
  EXPECT_EQ(back.SKeihiMethodKeta, 5);
  EXPECT_EQ(back.MemoRowMax, 180);
  EXPECT_EQ(back.CaptionColmun1, 3);

  st.Zero = " ";
  ASSERT_TRUE(SheetOptionsSave(st, Work("EST.INI")));
  EXPECT_EQ(Get("Boot", "Zero", Work("EST.INI")), "SPACE");
  EXPECT_NE(test::ReadSjisFile(Work("EST.INI")).find("MASK_NAME3=\"\""), std::string::npos);
}

TEST_F(DataIniTest, OptionsWriterLeavesOtherKeysAlone) {
  ASSERT_TRUE(DataIniLoad(st, Davirov()));
  st.DataLen = 256;
  st.KvTextPath = "/elsewhere";
  st.CompanyName = "変更";
  ASSERT_TRUE(SheetOptionsSave(st, Davirov()));
  EXPECT_EQ(Get("Boot", "DataLen", Davirov()), "512");
  EXPECT_EQ(Get("Boot", "KVtext", Davirov()), "KVTEXT.Y1");
  EXPECT_EQ(Get("PrintInformation", "CompanyName", Davirov()), "株式会社コルヴァン");
  // The equipment edition writes the row names instead of the expense rounding.
  st.SystemKind = 1;
  st.SetubiRowNames = {"A", "B", "C"};
  st.SKeihiMethodKeta = 6;
  ASSERT_TRUE(SheetOptionsSave(st, Davirov()));
  EXPECT_EQ(Get("設備行", "経費行", Davirov()), "C");
  EXPECT_EQ(Get("Boot", "SKeihiMethodKeta", Davirov()), "4");
}

TEST_F(DataIniTest, UnwritableFileIsReported) {
  test::WriteSjisFile(Work("RO.INI"), "[Boot]\nDataLen=256\n");
  std::filesystem::permissions(Work("RO.INI"), std::filesystem::perms::owner_read);
  ui.AnswerMsgBox(vbOK, "RO.INI");
  EXPECT_FALSE(SheetOptionsSave(st, Work("RO.INI")));
  EXPECT_EQ(test::ReadSjisFile(Work("RO.INI")), "[Boot]\nDataLen=256\n");
}

TEST_F(DataIniTest, TemplateGivesMissingSettingsAndLayout) {
  test::WriteBytes(Work("無題.Y$"), "DM=1\r\n");
  ASSERT_TRUE(MakeNewFromTemplate(st, Work("EST")));
  EXPECT_EQ(test::ReadBytes(Work("EST.INI")), test::ReadBytes(Davirov()));
  EXPECT_EQ(test::ReadBytes(Work("EST.Y$")), "DM=1\r\n");
  // Both present: nothing changes.
  test::WriteBytes(Work("EST.INI"), "own");
  test::WriteBytes(Work("EST.Y$"), "own layout");
  ASSERT_TRUE(MakeNewFromTemplate(st, Work("EST")));
  EXPECT_EQ(test::ReadBytes(Work("EST.INI")), "own");
  EXPECT_EQ(test::ReadBytes(Work("EST.Y$")), "own layout");
}

}  // namespace
}  // namespace kv
