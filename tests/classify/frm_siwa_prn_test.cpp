// The master print dialog: its lists from the installation's settings, and
// what OK hands the print program (the settings copy, the layout file beside
// the master, the job file) or why it refuses before writing anything.
#include "classify/frm_siwa_prn.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "print/print_fixture.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

class SiwaPrnTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    Items({10, 40, 40, 60, 14, 14, 20});
    app.Write("SIWAKE1.DAT", std::string(256, ' '));
    st.SiwakePrintPath = st.AppPath + "/SIWAKE1.DAT";
    // The stand-in print program keeps what it was handed.
    StandIn("DOZUR3.exe", "cp MP_INFO.dat job.copy; cp KVSYSTEM.INI ini.copy; cp SIWAKE1.DAT.Y$ layout.copy");
  }

  // KVSSYS.INI with both masters and these item widths.
  void Items(const std::vector<int>& widths, const std::string& master1 = "SIWAKE1.DAT") {
    std::string t = "[仕訳画面]\r\nSIWAKE1=" + master1 + "\r\nSIWAKE2=SIWAKE2.DAT\r\nROWSMAX=1000\r\nITEMCNT=" +
                    std::to_string(widths.size()) + "\r\n";
    for (size_t i = 0; i < widths.size(); ++i) t += "ITEM" + std::to_string(i + 1) + "=" + std::to_string(widths[i]) + "\r\n";
    app.Write("KVSSYS.INI", ToSjis(t));
  }

  std::unique_ptr<frmSiwaPrn> Open() {
    auto f = std::make_unique<frmSiwaPrn>(st, SiwaPrnPort{});
    f->Form_Load();
    return f;
  }

  bool Exists(const std::string& name) const { return stdfs::exists(app.path() / name); }
};

TEST_F(SiwaPrnTest, ListsOfTheInstallationsFormsAndTheCopies) {
  // A form whose display name is missing leaves its entry empty; the
  // printer's own settings file does not name the entries.
  IniPutString("印刷書式", "3", "名前のない書式", TemplateIni());
  app.Write("Test Printer.INI", ToSjis("[印刷書式]\r\n1=別の名前\r\n"));
  auto f = Open();
  EXPECT_EQ(f->Combo1.items,
            (std::vector<std::string>{"Ａ４縦", "Ａ４横", "", "Ｂ４横", "Ａ３縦", "連続", "Ｂ５縦"}));
  EXPECT_EQ(f->Combo1.index, 0);
  EXPECT_EQ(f->Combo2.items, (std::vector<std::string>{" 1", " 2", " 3", " 4", " 5", " 6", " 7", " 8", " 9", "10"}));
  EXPECT_EQ(f->Combo2.index, 0);
  EXPECT_EQ(f->Option1.value, 1);
  EXPECT_EQ(f->Option2.value, 0);
}

TEST_F(SiwaPrnTest, OkHandsThePrintProgramTheMasterListAndUnloads) {
  ASSERT_FALSE(Exists("Test Printer.INI"));
  auto f = Open();
  f->Combo1.index = 2;
  f->Combo2.index = 9;
  f->Option1.value = 0;
  f->Option2.value = 1;
  f->Command1_Click();
  ui.ExpectAllAnswered();
  EXPECT_TRUE(f->Unloaded());

  // The printer's settings file was made from the installation's before
  // KVSYSTEM.INI was copied from it.
  EXPECT_EQ(Get(PrinterIni(), "印刷書式", "3"), "B4縦");
  EXPECT_EQ(Get(st.AppPath + "/ini.copy", "印刷書式", "3"), "B4縦");
  EXPECT_EQ(Get(st.AppPath + "/ini.copy", "Boot", "DataLen"), "256");
  EXPECT_EQ(FileText("layout.copy"),
            ToSjis("DM=1\r\nｺｰﾄﾞ\tC\t0\t10\t\t\t\r\n  名    称  \tC\t0\t40\t\t\t\r\n  摘    要  \tC\t0\t40\t\t\t\r\n"
                   "  住    所  \tC\t0\t60\t\t\t\r\n    T E L     \tC\t0\t14\t\t\t\r\n"
                   "    F A X     \tC\t0\t14\t\t\t\r\n  担 当 者  \tC\t0\t20\t\t\t\r\n"));
  const std::string job = FromSjis(FileText("job.copy"));
  EXPECT_NE(job.find("PRNFILE=" + st.SiwakePrintPath + "\r\nKVTEXT=" + st.SiwakePrintPath + ".Y$\r\n"),
            std::string::npos)
      << job;
  EXPECT_NE(job.find("PAGE_NO=0\r\nPRN_FORM=3\r\nPRN_LOOP=10\r\n"), std::string::npos) << job;
  EXPECT_NE(job.find("PRN_MASTLIST=ON\r\n"), std::string::npos) << job;
}

TEST_F(SiwaPrnTest, TenItemsAtMostTheLastCaptionRepeated) {
  Items({10, 20, 1, 1, 1, 1, 1, 5, 6, 7}, "");  // master 1 unset: the item settings still serve master 2
  st.SiwakePrintPath = st.AppPath + "/SIWAKE1.DAT";
  Open()->Command1_Click();
  ui.ExpectAllAnswered();
  const std::string layout = FileText("layout.copy");
  EXPECT_NE(layout.find(ToSjis("  担 当 者  \tC\t0\t1\t\t\t\r\n  担 当 者  \tC\t0\t5\t\t\t\r\n"
                               "  担 当 者  \tC\t0\t6\t\t\t\r\n  担 当 者  \tC\t0\t7\t\t\t\r\n")),
            std::string::npos);
}

// What is refused or cannot be written stops the print before the program
// starts, with the dialog open.
TEST_F(SiwaPrnTest, RefusalsWriteNothingAndStartNothing) {
  struct Case {
    const char* name;
    std::function<void()> set;
    std::string message, title;
    std::vector<const char*> absent;
  };
  const Case cases[] = {
      {"eleven items", [this] { Items({10, 20, 1, 1, 1, 1, 1, 1, 1, 1, 1}); },
       "仕訳ﾏｽﾀの項目数が10を越えているため、印刷できません。", "仕訳マスタ印刷",
       {"KVSYSTEM.INI", "SIWAKE1.DAT.Y$", "MP_INFO.dat"}},
      {"an item without its width",
       [this] {
         app.Write("KVSSYS.INI", ToSjis("[仕訳画面]\r\nSIWAKE1=SIWAKE1.DAT\r\nROWSMAX=10\r\nITEMCNT=3\r\nITEM1=10\r\n"
                                        "ITEM2=20\r\n"));
       },
       "仕訳画面の設定 [ ITEM3 ] が正しくありません。", "仕訳", {"KVSYSTEM.INI", "SIWAKE1.DAT.Y$", "MP_INFO.dat"}},
      {"a layout file that cannot be written",
       [this] { st.SiwakePrintPath = st.AppPath + "/NOFOLDER/SIWAKE1.DAT"; },
       "印刷用のファイル [ " + st.AppPath + "/NOFOLDER/SIWAKE1.DAT.Y$ ] を書き込めません。", "印刷",
       {"MP_INFO.dat"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Items({10, 40, 40, 60, 14, 14, 20});
    st.SiwakePrintPath = st.AppPath + "/SIWAKE1.DAT";
    c.set();
    auto f = Open();
    ui.AnswerMsgBox(vbOK, c.message);
    f->Command1_Click();
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, c.title);
    EXPECT_FALSE(f->Unloaded());
    for (const char* name : c.absent) EXPECT_FALSE(Exists(name)) << name;
    EXPECT_FALSE(Exists("job.copy"));
  }
}

TEST_F(SiwaPrnTest, AProgramThatCannotStartIsToldAndTheDialogCloses) {
  stdfs::remove(app.path() / "DOZUR3.exe");
  auto f = Open();
  ui.AnswerMsgBox(vbOK, "印刷プログラム [ " + st.AppPath + "/DOZUR3.exe ] を起動できません。");
  f->Command1_Click();
  ui.ExpectAllAnswered();
  EXPECT_TRUE(f->Unloaded());
}

TEST_F(SiwaPrnTest, CancelWritesNothingAndStartsNothing) {
  auto f = Open();
  f->Command2_Click();
  EXPECT_TRUE(f->Unloaded());
  for (const char* name : {"KVSYSTEM.INI", "SIWAKE1.DAT.Y$", "MP_INFO.dat", "job.copy", "Test Printer.INI"})
    EXPECT_FALSE(Exists(name)) << name;
}

}  // namespace
}  // namespace kv::test
