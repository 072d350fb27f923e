// Sheet object files: loading into the grid's object layer only when the file
// fits the sheet, and saving with object-number allocation, the counters of
// the estimate settings file and the closing record on disk.
#include "storage/sheet_objects.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/grid/grid_model.h"
#include "state/program_state.h"
#include "storage/check_object_file.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

class SheetObjects : public ::testing::Test {
 protected:
  test::TempFolder app;
  test::ScriptedUi ui;
  ProgramState st{ui};
  GridModel grid;
  stdfs::path work = app.path() / "WORK";
  std::string base = (work / "EST").string();
  std::string ini = base + ".INI";

  void SetUp() override {
    stdfs::create_directories(work);
    st.AppPath = app.path().string();
    st.WorkFileBase = base;
    st.DataLen = 256;
    st.Imax = 200;
    st.H_Link = "10";
    st.SystemKind = 2;
    st.OleFileMax = 5;
    st.LevelCount = 3;
    for (int i = 1; i <= 3; ++i) st.LevelExt[i] = ".Y" + std::to_string(i);
    st.CurrentLevel = 2;
    st.ColCount[2] = 8;
    grid.SetColCount(8);
    grid.SetRowCount(st.Imax);
    // Level 2: an unrelated sheet in records 1-2, the sheet in memory in
    // records 3 (row), 4 (row), 5 (closing record).
    WriteLevel({Rec(' ', 1, 2), Rec('G', 2, kNoRecord), Rec(' ', 3, 4), Rec(' ', 4, 5),
                Rec('G', 5, kNoRecord)});
    st.UsedRows = 2;
    st.SheetRows[1] = Rec(' ', 3, 4);
    st.SheetRows[2] = Rec(' ', 4, 5);
    st.SheetRows[3] = Rec('G', 5, kNoRecord);
    st.SheetTotalRecord = st.SheetRows[3];
  }

  std::string Rec(char kind, int own, int next) const {
    std::string r(256, ' ');
    r[2] = kind;
    r.replace(3, 4, StoredNumberField(own, false));
    r.replace(7, 4, StoredNumberField(next, false));
    r.replace(11, 4, std::string(kNoneField));
    r.replace(19, 6, "amount");
    return r;
  }
  stdfs::path LevelPath() const { return work / "EST.Y2"; }
  void WriteLevel(const std::vector<std::string>& recs) const {
    RecordFile f(LevelPath(), 256);
    for (size_t i = 0; i < recs.size(); ++i) f.PutRecordText(int(i) + 1, recs[i]);
    f.Close();
  }
  std::string DiskRecord(int n) const {
    RecordFile f(LevelPath(), 256, RecordFileMode::ReadOnly);
    std::string r;
    EXPECT_TRUE(f.GetRecordText(n, r));
    return r;
  }
  static std::string ObjField(const std::string& rec) { return rec.substr(15, 4); }
  void Ini(const std::string& text) const { app.Write("WORK/EST.INI", "[OLE]\r\n" + text); }
  int Counter(const char* key) const { return IniGetInt("OLE", key, ini); }

  void AddObject(int row = 3, std::string data = "object bytes") {
    grid.CreateItem(2, row, std::move(data));
    st.OleObjectsChanged = true;
  }
};

// ---------------------------------------------------------------------------
// Saving

TEST_F(SheetObjects, NewFileTakesTheNumberAfterOleFileNoAndLinksTheClosingRecord) {
  struct Case {
    const char* counters;  // [OLE] keys present
    std::string number;    // number given
    int countAfter;        // OleFileCnt afterwards
  };
  for (const Case& c : {Case{"OleFileNo=41\r\nOleFileCnt=2\r\n", "42", 3},
                        Case{"OleFileNo=9999\r\nOleFileCnt=2\r\n", "1", 3},
                        // missing keys: number 0 (-1 + 1), count from 0
                        Case{"", "0", 1}, Case{"OleFileNo=7\r\n", "8", 1}}) {
    SCOPED_TRACE(c.counters);
    for (auto& e : stdfs::directory_iterator(work))
      if (e.path().extension() == ".MOD") stdfs::remove(e.path());
    SetUp();
    Ini(c.counters);
    st.SheetObjNo = "";
    grid.ClearItems();
    AddObject();

    EXPECT_TRUE(SaveSheetObjects(st, base, grid));
    EXPECT_EQ(st.SheetObjNo, c.number);
    EXPECT_TRUE(stdfs::exists(work / ("EST$" + c.number + ".MOD")));
    EXPECT_EQ(Counter("OleFileNo"), std::stoi(c.number));
    EXPECT_EQ(Counter("OleFileCnt"), c.countAfter);
    const std::string field = std::string(4 - c.number.size(), ' ') + c.number;
    EXPECT_EQ(ObjField(st.SheetTotalRecord), field);
    EXPECT_EQ(ObjField(st.SheetRows[3]), field);
    EXPECT_EQ(ObjField(DiskRecord(5)), field);
    EXPECT_EQ(DiskRecord(5).substr(19, 6), "amount");  // only the object field changes
    EXPECT_EQ(ObjField(DiskRecord(2)), "    ");        // the other sheet's closing record
    EXPECT_FALSE(st.OleObjectsChanged);
  }
}

TEST_F(SheetObjects, NewNumberSkipsFilesThatExist) {
  // After the number wrapped, or after the settings file was replaced by the
  // template, the next numbers may belong to other sheets' files.
  Ini("OleFileNo=9998\r\nOleFileCnt=1\r\n");
  app.Write("WORK/EST$9999.MOD", "other sheet");
  app.Write("WORK/est$1.mod", "another sheet");
  app.Write("WORK/EST$2.MOD.bak", "not an object file");
  AddObject();
  ASSERT_TRUE(SaveSheetObjects(st, base, grid));
  EXPECT_EQ(st.SheetObjNo, "2");
  EXPECT_EQ(Counter("OleFileNo"), 2);
  EXPECT_EQ(test::ReadAll(work / "EST$9999.MOD"), "other sheet");
  EXPECT_EQ(test::ReadAll(work / "est$1.mod"), "another sheet");
}

TEST_F(SheetObjects, LimitRefusesANewFileButNotASheetThatHasOne) {
  Ini("OleFileNo=3\r\nOleFileCnt=5\r\n");  // OleFileMax is 5
  AddObject();
  ui.AnswerMsgBox(vbOK, "もうこれ以上 OLE Data File は作れません。");
  EXPECT_FALSE(SaveSheetObjects(st, base, grid));
  EXPECT_TRUE(st.OleObjectsChanged);  // the objects wait in the grid
  EXPECT_EQ(st.SheetObjNo, "");
  EXPECT_EQ(Counter("OleFileNo"), 3);
  EXPECT_EQ(Counter("OleFileCnt"), 5);
  EXPECT_EQ(ObjField(DiskRecord(5)), "    ");
  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");

  st.SheetObjNo = "3";
  EXPECT_TRUE(SaveSheetObjects(st, base, grid));
  EXPECT_TRUE(stdfs::exists(work / "EST$3.MOD"));
  EXPECT_EQ(Counter("OleFileNo"), 3);
  EXPECT_EQ(Counter("OleFileCnt"), 5);
  EXPECT_EQ(ObjField(DiskRecord(5)), "   3");
}

TEST_F(SheetObjects, SavedObjectsLoadBackByteForByte) {
  Ini("OleFileNo=1\r\nOleFileCnt=1\r\n");
  AddObject(10, std::string("\x89PNG\r\n\x1A\n\0\xFF", 10));
  ASSERT_TRUE(SaveSheetObjects(st, base, grid));
  const std::string saved = test::ReadAll(work / "EST$2.MOD");

  GridModel other;
  other.SetColCount(8);
  other.SetRowCount(st.Imax);
  st.SelectedObjectItem = 4;
  EXPECT_TRUE(LoadSheetObjects(st, base, "2", other));
  EXPECT_EQ(st.SelectedObjectItem, -1);
  EXPECT_EQ(st.RefSelectedObjectItem, -1);
  EXPECT_EQ(st.SheetObjectCount, 1);
  EXPECT_EQ(other.Item(1).data, std::string("\x89PNG\r\n\x1A\n\0\xFF", 10));
  ASSERT_TRUE(other.SaveItems((work / "copy.MOD").string()));
  EXPECT_EQ(test::ReadAll(work / "copy.MOD"), saved);
}

TEST_F(SheetObjects, LastObjectRemovedReleasesTheFile) {
  Ini("OleFileNo=6\r\nOleFileCnt=4\r\n");
  app.Write("WORK/EST$6.MOD", "old objects");
  RecordFile(LevelPath(), 256).PutRecordText(5, [&] {
    std::string r = Rec('G', 5, kNoRecord);
    r.replace(15, 4, "   6");
    return r;
  }());
  st.SheetObjNo = "6";
  st.OleObjectsChanged = true;  // the grid holds no object any more
  EXPECT_TRUE(SaveSheetObjects(st, base, grid));
  EXPECT_FALSE(stdfs::exists(work / "EST$6.MOD"));
  EXPECT_EQ(Counter("OleFileCnt"), 3);
  EXPECT_EQ(Counter("OleFileNo"), 6);
  EXPECT_EQ(ObjField(DiskRecord(5)), "    ");
  EXPECT_EQ(ObjField(st.SheetTotalRecord), "    ");
  EXPECT_EQ(st.SheetObjNo, "");
  EXPECT_FALSE(st.OleObjectsChanged);
}

TEST_F(SheetObjects, ObjectsAddedAndRemovedOnASheetWithoutAFileChangeNoCounter) {
  Ini("OleFileNo=6\r\nOleFileCnt=4\r\n");
  AddObject();
  grid.DeleteItem(1);
  EXPECT_TRUE(SaveSheetObjects(st, base, grid));
  EXPECT_EQ(Counter("OleFileCnt"), 4);
  EXPECT_EQ(Counter("OleFileNo"), 6);
  EXPECT_FALSE(st.OleObjectsChanged);
}

TEST_F(SheetObjects, EquipmentEditionKeepsNoObjects) {
  st.SystemKind = 1;
  Ini("OleFileNo=6\r\nOleFileCnt=4\r\n");
  AddObject();
  EXPECT_TRUE(SaveSheetObjects(st, base, grid));
  EXPECT_EQ(st.SheetObjNo, "");
  EXPECT_EQ(Counter("OleFileCnt"), 4);
  EXPECT_FALSE(stdfs::exists(work / "EST$7.MOD"));

  app.Write("WORK/EST$6.MOD", "objects");
  GridModel other;
  other.SetColCount(8);
  other.SetRowCount(st.Imax);
  EXPECT_FALSE(LoadSheetObjects(st, base, "6", other));
  EXPECT_EQ(other.ItemCount(), 0);
}

TEST_F(SheetObjects, StaleClosingRecordNumberIsNotWrittenOverARow) {
  // The closing record in memory names record 3, which on disk is a row.
  Ini("OleFileNo=1\r\nOleFileCnt=1\r\n");
  st.SheetRows[3] = Rec('G', 3, kNoRecord);
  AddObject();
  const std::string before = DiskRecord(3);
  ui.AnswerMsgBox(vbOK, "EST.Y2");
  EXPECT_FALSE(SaveSheetObjects(st, base, grid));
  EXPECT_EQ(DiskRecord(3), before);
}

// ---------------------------------------------------------------------------
// Loading and checking

TEST_F(SheetObjects, CheckBoundsEveryCornerByColumnsAndRows) {
  struct Case {
    int col1, row1, col2, row2;
    bool fits;
  };
  for (const Case& c : {Case{1, 1, 7, 199, true}, Case{1, 1, 8, 5, false}, Case{8, 1, 2, 5, false},
                        Case{1, 200, 2, 5, false}, Case{1, 5, 2, 200, false}}) {
    GridItem it;
    it.col1 = c.col1, it.row1 = c.row1, it.col2 = c.col2, it.row2 = c.row2;
    it.data = "x";
    const std::string path = (work / "EST$1.MOD").string();
    ASSERT_TRUE(WriteItemFile(path, {it}));
    EXPECT_EQ(CheckObjectFile(st, path, st.Imax), c.fits) << c.col1 << "," << c.row1 << " " << c.col2 << ","
                                                          << c.row2;
    GridModel g;
    g.SetColCount(8);
    g.SetRowCount(st.Imax);
    EXPECT_EQ(LoadSheetObjects(st, base, "1", g), c.fits);
    EXPECT_EQ(g.ItemCount(), c.fits ? 1 : 0);
  }
}

TEST_F(SheetObjects, DamagedFilesAreLeftOut) {
  GridItem it;
  it.col1 = 1, it.row1 = 1, it.col2 = 2, it.row2 = 2;
  it.data = std::string(100, 'd');
  const std::string whole = FormatItemFile({it, it});
  const std::string path = (work / "EST$1.MOD").string();
  std::vector<std::string> damaged;
  for (size_t cut : {size_t(0), size_t(10), size_t(15), size_t(20), size_t(60), whole.size() - 1})
    damaged.push_back(whole.substr(0, cut));
  damaged.push_back("garbage that is no object file at all, long enough to pass 40 bytes");
  std::string negative = whole;
  negative[14] = '\xFF', negative[15] = '\xFF';  // item count -1
  damaged.push_back(negative);
  for (const std::string& bytes : damaged) {
    app.Write("WORK/EST$1.MOD", bytes);
    EXPECT_FALSE(CheckObjectFile(st, path, st.Imax)) << bytes.size();
    st.SheetObjectCount = 9;
    EXPECT_FALSE(LoadSheetObjects(st, base, "1", grid));
    EXPECT_EQ(st.SheetObjectCount, 9);
  }
  EXPECT_TRUE(ui.Prompts().empty());  // no message for a file left out
  EXPECT_FALSE(LoadSheetObjects(st, base, "", grid));
  EXPECT_FALSE(LoadSheetObjects(st, base, "44", grid));  // no such file
}

TEST_F(SheetObjects, FileFoundWithoutLetterCase) {
  GridItem it;
  it.col1 = 1, it.row1 = 1, it.col2 = 2, it.row2 = 2;
  ASSERT_TRUE(WriteItemFile((work / "est$3.mod").string(), {it}));
  EXPECT_TRUE(LoadSheetObjects(st, base, "3", grid));
  EXPECT_EQ(st.SheetObjectCount, 1);
}

}  // namespace
}  // namespace kv
