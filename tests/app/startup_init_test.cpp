// The start-up initialisation on a copy of the default program folder: the
// edition, the work folder, the untitled estimate, the tax mode, the font
// test, the defaults, the base text checks and the progress steps.
#include "app/startup_init.h"

#include <gtest/gtest.h>

#include <map>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "startup_fixture.h"
#include "state/base_text.h"
#include "state/layout_file.h"

namespace kv {
namespace {

class StartupInitTest : public test::StartupFixture {
 protected:
  // Runs the initialisation; true when it ended the program.
  bool Init() {
    try {
      StartupInit(st, prog);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }
};

TEST_F(StartupInitTest, DefaultFolderGivesTheUntitledEstimate) {
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  const std::string untitled = prog + "/WORK/無題";
  EXPECT_EQ(st.AppPath, prog);
  EXPECT_EQ(st.WorkFolderName, "/WORK");
  EXPECT_EQ(st.WorkFileBase, untitled);
  EXPECT_EQ(st.CurrentFilePath, untitled);
  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_TRUE(std::filesystem::is_directory(prog + "/WORK"));
  // The untitled layout file, from the column definitions just read.
  EXPECT_TRUE(std::filesystem::exists(LayoutFilePath(st, untitled)));
  EXPECT_EQ(LayoutFilePath(st, untitled), untitled + ".Y$");
  EXPECT_EQ(st.ColCount[1], 8);
  // The base text's masks are the current ones (計算式 is hidden in screens
  // 1 to 3), in the untitled layout too.
  EXPECT_EQ(std::string(st.MaskDef[1][3].data(), kMaskScreens), " MMM  ");
  EXPECT_NE(test::ReadAll(untitled + ".Y$").find("\t MMM  "), std::string::npos);
  EXPECT_EQ(st.SystemKind, 2);
  EXPECT_FALSE(st.SpecialPrintSpec);
  EXPECT_FALSE(st.CustomerVariant2);
  EXPECT_FALSE(st.GovTaxMode);
  EXPECT_EQ(st.H_Link, "16");
  EXPECT_EQ(st.Imax, 200);
  EXPECT_TRUE(ui.Calls().back() == "TouchWindow(EDTSHEET_FRM)");
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(StartupInitTest, ProgressStepsTwoToFourteen) {
  ASSERT_FALSE(Init());
  std::vector<int> expected;
  for (int step = 2; step <= 14; ++step) expected.push_back(step * 10);
  EXPECT_EQ(ProgressValues(), expected);
}

TEST_F(StartupInitTest, NoSplashTouchesNoTitleScreen) {
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  EXPECT_TRUE(ui.CallsStartingWith("SetWindowText(ST_Gamen").empty());
  SplashProgress(st, 5);
  EXPECT_TRUE(ui.CallsStartingWith("SetWindowText(ST_Gamen").empty());
  st.NoSplash = false;
  SplashProgress(st, 64);
  EXPECT_EQ(ProgressValues(), std::vector<int>{640});
}

TEST_F(StartupInitTest, GovernmentTaxModeOnlyForOnInCapitals) {
  struct Case {
    std::optional<std::string> value;  // nullopt: no GSTAX.INI
    bool mode;
  };
  const Case cases[] = {{"ON", true},   {"\" ON \"", true}, {"on", false},
                        {"OFF", false}, {"", false},        {std::nullopt, false}};
  for (const Case& c : cases) {
    test::ScriptedUi caseUi;
    ProgramState s(caseUi);
    s.NoSplash = true;
    std::filesystem::remove(prog + "/GSTAX.INI");
    if (c.value) SetKey("GSTAX.INI", "官庁用消費税仕様", "GSTAX", *c.value);
    s.GovTaxMode = !c.mode;
    StartupInit(s, prog);
    EXPECT_EQ(s.GovTaxMode, c.mode) << (c.value ? *c.value : "(no file)");
  }
}

TEST_F(StartupInitTest, SheetSizeAndNumberBaseDefaults) {
  SetKey("DAVIROV.INI", "Boot", "Imax", "0");
  SetKey("DAVIROV.INI", "Boot", "H_Link", "");
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  EXPECT_EQ(st.Imax, 200);
  EXPECT_EQ(st.H_Link, "10");

  test::ScriptedUi ui2;
  ProgramState s(ui2);
  s.NoSplash = true;
  SetKey("DAVIROV.INI", "Boot", "Imax", "150");
  SetKey("DAVIROV.INI", "Boot", "H_Link", "8");
  StartupInit(s, prog);
  EXPECT_EQ(s.Imax, 150);
  EXPECT_EQ(s.H_Link, "10");
}

TEST_F(StartupInitTest, BaseTextNotNamedEndsWithTheFirstMessage) {
  SetKey("DAVIROV.INI", "Boot", "KVtext", "");
  ui.AnswerMsgBox(vbOK, "KVSYSTEM.INIのKVTEXTの記述に誤りがあります。\n<TheKorvane>を起動できません!");
  EXPECT_TRUE(Init());
  EXPECT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  EXPECT_EQ(ui.EndedWith(), 1);
  // Nothing after the check ran.
  EXPECT_FALSE(std::filesystem::exists(prog + "/WORK/無題.Y$"));
}

TEST_F(StartupInitTest, BaseTextMissingEndsWithTheSecondMessage) {
  SetKey("DAVIROV.INI", "Boot", "KVtext", "NOTHERE.Y1");
  ui.AnswerMsgBox(vbOK, prog + "/NOTHERE.Y1がありません。\n<TheKorvane>を起動できません!");
  EXPECT_TRUE(Init());
  EXPECT_EQ(ui.EndedWith(), 1);
}

TEST_F(StartupInitTest, BaseTextInASubfolderIsReadWhereItWasFound) {
  std::filesystem::create_directory(prog + "/base");
  std::filesystem::rename(prog + "/KVTEXT.Y1", prog + "/base/KVTEXT.Y1");
  std::filesystem::rename(prog + "/KVTEXT.Y2", prog + "/base/KVTEXT.Y2");
  SetKey("DAVIROV.INI", "Boot", "KVtext", "base/KVTEXT.Y1");
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  EXPECT_EQ(st.ColCount[1], 8);
  EXPECT_TRUE(ui.Prompts().empty());
}

// Settings the program cannot work with: the start ends after the one message
// that names the fault, before anything is written.
struct Refusal {
  const char* name;
  void (*spoil)(const std::string& prog);  // the default program folder made faulty
  std::string (*message)(const std::string& prog);
};

void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

class StartupRefusal : public StartupInitTest, public ::testing::WithParamInterface<Refusal> {
 protected:
  // Every file below the program folder with its bytes; the test's own lock
  // and per-user folder aside.
  std::map<std::string, std::string> Files() const {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir.path())) {
      const std::string rel = std::filesystem::relative(e.path(), dir.path()).string();
      if (e.is_regular_file() && rel != "instance.lock" && rel.rfind("config", 0) != 0)
        files[rel] = test::ReadAll(e.path());
    }
    return files;
  }
};

TEST_P(StartupRefusal, EndsWithOneMessageAndWritesNothing) {
  GetParam().spoil(prog);
  const auto before = Files();
  ui.AnswerMsgBox(vbOK, GetParam().message(prog));

  EXPECT_TRUE(RunMain());

  EXPECT_EQ(ui.EndedWith(), 1);
  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].text, GetParam().message(prog));
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(Files(), before);
}

// KVUTL.INI's level count and the extension of level 2.
void SetLevels(const std::string& prog, const std::string& count, const std::string& ext2) {
  ASSERT_TRUE(IniPutString("階層表現拡張子", "階層レベル", count, prog + "/KVUTL.INI"));
  ASSERT_TRUE(IniPutString("階層表現拡張子", "2", ext2, prog + "/KVUTL.INI"));
}

std::string LevelRefusal(const std::string& prog, const std::string& fault) {
  return prog + "/KVUTL.INI の階層の定義は使用できません。\n[階層表現拡張子] " + fault +
         "\n<TheKorvane>を起動できません!";
}

const Refusal kRefusals[] = {
    {"RecordLengthOfDavirov",
     [](const std::string& prog) { ASSERT_TRUE(IniPutString("Boot", "DataLen", "300", prog + "/DAVIROV.INI")); },
     [](const std::string& prog) {
       return "設定ファイル " + prog +
              "/DAVIROV.INI の [Boot] DataLen (300) は 256 か 512 でなければなりません。\n"
              "この設定ファイルは読み込みません。";
     }},
    {"FileSetDefinitionMissing", [](const std::string& prog) { std::filesystem::remove(prog + "/KVUTL.INI"); },
     [](const std::string& prog) { return prog + "/KVUTL.INIがありません。\n<TheKorvane>を起動できません!"; }},
    {"ProgramSettingsMissing", [](const std::string& prog) { std::filesystem::remove(prog + "/KVSSYS.INI"); },
     [](const std::string& prog) { return prog + "/KVSSYS.INIがありません。\n<TheKorvane>を起動できません!"; }},
    {"ItemLayoutSectionMissing",
     [](const std::string& prog) { ASSERT_TRUE(IniDeleteSection(kDefItemSection, prog + "/KVSSYS.INI")); },
     [](const std::string& prog) {
       return prog + "/KVSSYS.INI に [システム設定用基本TEXT] がありません。\n<TheKorvane>を起動できません!";
     }},
    {"LevelCountZero", [](const std::string& prog) { SetLevels(prog, "0", "Y2"); },
     [](const std::string& prog) { return LevelRefusal(prog, "階層レベル (0) は 1 から 8 の数でなければなりません。"); }},
    {"LevelCountNotANumber", [](const std::string& prog) { SetLevels(prog, "abc", "Y2"); },
     [](const std::string& prog) {
       return LevelRefusal(prog, "階層レベル (abc) は 1 から 8 の数でなければなりません。");
     }},
    {"LevelCountNine", [](const std::string& prog) { SetLevels(prog, "9", "Y2"); },
     [](const std::string& prog) { return LevelRefusal(prog, "階層レベル (9) は 1 から 8 の数でなければなりません。"); }},
    {"LevelExtensionOutsideTheWorkFolder", [](const std::string& prog) { SetLevels(prog, "8", "../../Y2"); },
     [](const std::string& prog) { return LevelRefusal(prog, "2 (../../Y2) は拡張子として使用できません。"); }},
    {"LevelExtensionTwice", [](const std::string& prog) { SetLevels(prog, "8", "Y1"); },
     [](const std::string& prog) { return LevelRefusal(prog, "2 (Y1) は 1 と同じ拡張子です。"); }},
    {"ColumnDefinitionsUnreadable", [](const std::string& prog) { std::filesystem::remove(prog + "/KVTEXT.Y2"); },
     [](const std::string& prog) {
       return "基本TEXTファイル " + prog + "/KVTEXT.Y2 を読み込めません。\n<TheKorvane>を起動できません!";
     }},
};

INSTANTIATE_TEST_SUITE_P(Settings, StartupRefusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupInitTest, WorkFolderThatCannotBeMadeEndsTheStart) {
  // A file holds the name of the work folder.
  dir.Write("WORK", "not a folder");
  ui.AnswerMsgBox(vbOK, "作業フォルダ " + prog + "/WORK を作成できません。");
  EXPECT_TRUE(Init());
  EXPECT_NE(ui.Prompts()[0].text.find("<TheKorvane>を起動できません!"), std::string::npos);
  EXPECT_EQ(ui.EndedWith(), 1);
}

TEST_F(StartupInitTest, HiddenOrExistingWorkFolderIsKept) {
  std::filesystem::create_directory(prog + "/WORK");
  dir.Write("WORK/.keep", "x");
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  EXPECT_TRUE(std::filesystem::exists(prog + "/WORK/.keep"));
}

TEST_F(StartupInitTest, FontNotInstalledIsReplacedAfterAMessage) {
  SetKey("DAVIROV.INI", "Font", "Name", "どこにもない書体");
  st.NoSplash = true;
  ui.AnswerMsgBox(vbOK, "指定のﾌｫﾝﾄ どこにもない書体が見つかりません.\nＭＳ 明朝を使用します");
  ASSERT_FALSE(Init());
  EXPECT_EQ(st.FontName, "ＭＳ 明朝");
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
}

TEST_F(StartupInitTest, FontTestAcceptsTheFamilyItselfAndTheStandIns) {
  const std::vector<std::string> ipa{"DejaVu Sans", "IPAMincho", "IPAGothic"};
  EXPECT_TRUE(SheetFontInstalled("IPAMincho", ipa));
  EXPECT_TRUE(SheetFontInstalled("DejaVu Sans", {"@DejaVu Sans"}));
  // The view finds a family whatever the letter case of the stored name.
  EXPECT_TRUE(SheetFontInstalled("ipamincho", ipa));
  EXPECT_FALSE(SheetFontInstalled("Noto Serif", ipa));
  // The fixed Japanese faces count when the view has a family to draw them with.
  EXPECT_TRUE(SheetFontInstalled("ＭＳ 明朝", ipa));
  EXPECT_TRUE(SheetFontInstalled("標準ゴシック", ipa));
  EXPECT_FALSE(SheetFontInstalled("ＭＳ 明朝", {"DejaVu Sans"}));
}

TEST_F(StartupInitTest, EditionFromTheInstallationFile) {
  SetKey("KVEDITION.INI", "Edition", "SystemKind", "1");
  SetKey("KVEDITION.INI", "Edition", "SpecialPrintSpec", "1");
  SetKey("KVEDITION.INI", "Edition", "CustomerVariant2", "1");
  st.NoSplash = true;
  ASSERT_FALSE(Init());
  EXPECT_EQ(st.SystemKind, 1);
  EXPECT_TRUE(st.SpecialPrintSpec);
  EXPECT_TRUE(st.CustomerVariant2);
  // The equipment edition loads its definitions.
  EXPECT_TRUE(calc.Has("SbClearDefinitions()"));
  EXPECT_TRUE(calc.Has("SbLoadDefinitions(" + prog + "/VEZ_SIKI.DAT)"));
}

TEST_F(StartupInitTest, EditionDefaultsWithoutTheFileAndForBadValues) {
  std::filesystem::remove(prog + "/KVEDITION.INI");
  st.NoSplash = true;
  st.SystemKind = 3;
  st.SpecialPrintSpec = true;
  ASSERT_FALSE(Init());
  EXPECT_EQ(st.SystemKind, 2);
  EXPECT_FALSE(st.SpecialPrintSpec);
  EXPECT_FALSE(calc.Has("SbClearDefinitions()"));

  test::ScriptedUi ui2;
  ProgramState s(ui2);
  s.NoSplash = true;
  SetKey("KVEDITION.INI", "Edition", "SystemKind", "5");
  SetKey("KVEDITION.INI", "Edition", "SpecialPrintSpec", "yes");
  ui2.AnswerMsgBox(vbOK,
                   "[Edition] SystemKind の値 (5) は 1 から 4 でなければなりません。\n2 を使用します。");
  ui2.AnswerMsgBox(vbOK, "[Edition] SpecialPrintSpec の値 (yes)");
  StartupInit(s, prog);
  EXPECT_EQ(s.SystemKind, 2);
  EXPECT_FALSE(s.SpecialPrintSpec);
}

}  // namespace
}  // namespace kv
