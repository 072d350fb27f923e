// Opening the estimate the recovery restored: it becomes the current
// estimate under its own settings, as any estimate opened from the File menu.
#include "storage/recover_file_open.h"

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/packing.h"
#include "state/program_state.h"
#include "storage/program_copy.h"
#include "storage/row_record.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

namespace rfs = std::filesystem;

class RecoverFileOpenTest : public ::testing::Test {
 protected:
  TempFolder app;
  ScriptedUi ui;
  ProgramState st{ui};
  RecordingCalc calc;
  RecordingSheet sheet;
  RecordingEditor editor;
  RecordingPrint print;
  std::vector<std::string> recent;

  void SetUp() override {
    CopyProgramFolder(app.path());
    st.calc = &calc;
    StartProgram(st, app.path());
    st.sheetEngine = &sheet;
    st.editor = &editor;
    st.print = &print;
    rfs::create_directories(app / "DATA");
    rfs::create_directories(app / "made");
  }

  std::string Row(int own, int next, char kind, const std::string& text) const {
    const bool hex = IsHexBase(st.H_Link);
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    SetLinkField(rec, kOwnPos, own, hex);
    SetLinkField(rec, kNextPos, next, hex);
    SetLinkField(rec, kChildPos, kNoRecord, hex);
    const std::string bytes = ToSjis(text);
    rec.replace(static_cast<size_t>(st.ColStart[1][1] - 1), bytes.size(), bytes);
    return rec;
  }

  // Packs a restored estimate DATA/FILE001.YZH: two rows, its own settings
  // file (tax 8 %) and its layout file as the current tables give it.
  void MakeRestoredFile(int levelOneColumns = 0) {
    const std::string base = (app / "made" / "FILE001").string();
    {
      RecordFile y1(base + ".Y1", st.DataLen);
      y1.PutRecordText(1, Row(1, 2, ' ', "基礎工事"));
      y1.PutRecordText(2, Row(2, 3, ' ', "躯体工事"));
      y1.PutRecordText(3, Row(3, kNoRecord, 'G', ""));
      y1.Close();
    }
    rfs::copy_file(app / "DAVIROV.INI", base + ".INI");
    ASSERT_TRUE(IniPutString("Boot", "STax", "8", base + ".INI"));
    const int columns = st.ColCount[1];
    if (levelOneColumns) st.ColCount[1] = levelOneColumns;
    ASSERT_TRUE(WriteLayoutFile(st, base));
    st.ColCount[1] = columns;
    const PackFileSet set = PackFileSetFrom(st);
    ASSERT_EQ(MCompress(app / "DATA", app / "made", "FILE001", app.path(), set), kPackOk);
    ASSERT_EQ(MCompOLEData(app / "DATA", app / "made", "FILE001", app.path(), set), kPackOk);
    st.RecoveredFilePath = st.AppPath + "/DATA/FILE001.YZH";
  }

  bool Open() {
    return RecoverFileOpen(st, [this](ProgramState&, const std::string& path) { recent.push_back(path); });
  }

  std::string Text(int row) const {
    std::string t = FromSjis(st.SheetRows[row].substr(static_cast<size_t>(st.ColStart[1][1] - 1), 8));
    return t;
  }
};

TEST_F(RecoverFileOpenTest, RestoredFileOpensUnderItsOwnSettings) {
  MakeRestoredFile();

  ASSERT_TRUE(Open());

  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(st.CurrentFilePath, st.AppPath + "/DATA/FILE001.YZH");
  EXPECT_EQ(st.WorkFileBase, st.AppPath + "/WORK/FILE001");
  EXPECT_EQ(st.KVData, st.AppPath + "/DATA");
  EXPECT_TRUE(st.UsesCurrentSettings);
  // Its own settings file, although its layout agrees with the current one.
  EXPECT_EQ(st.STax, Currency::FromRaw(800));
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Text(1), "基礎工事");
  EXPECT_EQ(Text(2), "躯体工事");
  EXPECT_EQ(recent, (std::vector<std::string>{st.AppPath + "/DATA/FILE001.YZH"}));
  EXPECT_TRUE(editor.Has("MaskMenuCaptionSet()"));
  EXPECT_TRUE(print.Has("FillPaperCombo()"));
  for (const char* call : {"SheetGridInit(1)", "SheetRedisplay(1,2)", "EditTreeBuild()", "UndoSave()"})
    EXPECT_TRUE(sheet.Has(call)) << call;
  EXPECT_TRUE(editor.Has("ToolBarStateSet(0)"));
  EXPECT_FALSE(ui.Busy());
}

TEST_F(RecoverFileOpenTest, DifferentLayoutTakenOverWithYes) {
  const int columns = st.ColCount[1];
  MakeRestoredFile(columns - 1);
  ui.AnswerMsgBox(vbYes, "復旧した見積ファイル [ FILE001 ] は、現在使用しているシステム設定と形式が異なります。");

  ASSERT_TRUE(Open());

  EXPECT_EQ(ui.Prompts().at(0).title, "復旧ファイル");
  EXPECT_EQ(ui.Prompts().at(0).style, vbYesNo + vbQuestion);
  EXPECT_FALSE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColCount[1], columns - 1);
  EXPECT_EQ(st.STax, Currency::FromRaw(800));
}

TEST_F(RecoverFileOpenTest, DifferentLayoutRefusedWithNoTakesTheCurrentSettings) {
  const int columns = st.ColCount[1];
  MakeRestoredFile(columns - 1);
  ui.AnswerMsgBox(vbNo, "[ いいえ ] を選ぶと、現在のシステム設定の形式のままの状態で、復旧した見積ファイル [ FILE001 ] を開きます。");

  ASSERT_TRUE(Open());

  EXPECT_TRUE(st.UsesCurrentSettings);
  EXPECT_EQ(st.ColCount[1], columns);
  EXPECT_EQ(st.STax, Currency::FromRaw(1000));
  EXPECT_EQ(ReadAll(app / "WORK" / "FILE001.INI"), ReadAll(app / "DAVIROV.INI"));
  EXPECT_EQ(ReadAll(app / "WORK" / "FILE001.Y$"), ReadAll(app / "WORK" / "無題.Y$"));
}

TEST_F(RecoverFileOpenTest, FileThatDoesNotUnpackLeavesTheUntitledEstimate) {
  std::ofstream(app / "DATA" / "FILE001.YZH") << "not a packed estimate";
  st.RecoveredFilePath = st.AppPath + "/DATA/FILE001.YZH";
  ui.AnswerMsgBox(vbOK, "FILE001.YZH ] は壊れているため開けません。");

  EXPECT_FALSE(Open());

  EXPECT_EQ(st.CurrentFilePath, st.AppPath + "/WORK/無題");
  EXPECT_EQ(st.WorkFileBase, st.AppPath + "/WORK/無題");
  EXPECT_TRUE(recent.empty());
  EXPECT_FALSE(sheet.Has("UndoSave()"));
}

}  // namespace
}  // namespace kv::test
