// The recalculation of all levels on a generated three-level estimate of the
// default layout (D 数量, F 単価, G 金額 = [[D*[[F, total SUM, carried
// "->[$F" into the parent's unit price):
//
//   level 1: 1 "A" 1 x (breakdown)      2 "B" 2 x 100      3 合計
//   level 2 (of A): 1 "A1" 2 x (breakdown)  2 "A2" 1 x 50   3 合計
//   level 3 (of A1): 1 "x" 3 x 10      2 合計
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>

#include "calc/calc_engine.h"
#include "calc/recalc_all_levels.h"
#include "core/number_text.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "sheet/sheet_fields.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/layout_file.h"
#include "storage/file_command_fixture.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/level_write.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

constexpr int kQuantity = 4, kPrice = 6, kAmount = 7, kNote = 8;

class RecalcAllLevelsTest : public ::testing::Test {
 public:
  Program program{"MACHINE-A"};
  ProgramState& st = program.st;
  CalcEngine engine;

  void SetUp() override {
    st.calc = &engine;
    st.LevelCount = 8;
    st.ReCalcFlag = true;
    // As from the menu: every item row's definitions are computed too.
    st.RecalcAllRunning = true;
    ASSERT_TRUE(SumColumnFind(st));
    std::filesystem::create_directories(program.folder.path() / "DATA");
    st.WorkFileBase = program.Work() + "/EST";
    st.CurrentFilePath = (program.folder.path() / "DATA/EST.YZH").string();
    Build();
  }

  std::string Typed(int level, char kind, const std::string& name, const std::string& quantity = "",
                    const std::string& price = "") const {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    FieldStore(st, rec, 1, level, ToSjis(name));
    for (const auto& [col, text] : {std::pair{kQuantity, quantity}, std::pair{kPrice, price}}) {
      std::string fitted = text;
      NumFitColumn(st, level, fitted, col);
      FieldStore(st, rec, col, level, fitted);
    }
    return rec;
  }

  // Writes the sheet of `level` below the parent row `parent` (level 1: none).
  void Write(int level, const std::string& parent, const std::vector<std::string>& rows) {
    st.CurrentLevel = level;
    if (level > 1) st.ParentRows[size_t(level - 1)] = parent;
    ASSERT_TRUE(LevelRowsRead(st, level));
    program.ClearSheet();
    for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
    st.UsedRows = static_cast<int>(rows.size());
    ASSERT_TRUE(LevelWrite(st, level));
  }

  void Rewrite(int level, const std::string& parent) {
    st.CurrentLevel = level;
    if (level > 1) st.ParentRows[size_t(level - 1)] = parent;
    ASSERT_TRUE(LevelRowsRead(st, level));
    ASSERT_TRUE(LevelWrite(st, level));
  }

  void Build() {
    Write(1, "", {Typed(1, ' ', "A", "1"), Typed(1, ' ', "B", "2", "100"), Typed(1, '%', "合計")});
    Write(2, Record(1, 1), {Typed(2, ' ', "A1", "2"), Typed(2, ' ', "A2", "1", "50"), Typed(2, '%', "合計")});
    Write(3, Record(2, 1), {Typed(3, ' ', "x", "3", "10"), Typed(3, '%', "合計")});
    // Level 2 and level 1 recorded again with what was carried into them.
    Rewrite(2, Record(1, 1));
    Rewrite(1, "");
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
  }

  std::filesystem::path Path(int level) const { return LevelFilePath(st, st.WorkFileBase, level); }
  std::string Bytes(int level) const {
    std::ifstream in(Path(level), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  std::string Record(int level, int n) const {
    return Bytes(level).substr(static_cast<size_t>((n - 1) * st.DataLen), static_cast<size_t>(st.DataLen));
  }
  void PutRecord(int level, int n, const std::string& rec) {
    RecordFile f(Path(level), st.DataLen);
    f.PutRecordText(n, rec);
    f.Close();
  }
  int Records(int level) const { return static_cast<int>(Bytes(level).size()) / st.DataLen; }
  std::string Cell(const std::string& rec, int level, int col) const {
    std::string s(FieldBytes(st, rec, col, level));
    const size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? "" : s.substr(a, s.find_last_not_of(' ') - a + 1);
  }
  // A record with the quantity (or another column) set as typed.
  std::string WithCell(std::string rec, int level, int col, const std::string& value) const {
    std::string fitted = value;
    NumFitColumn(st, level, fitted, col);
    FieldStore(st, rec, col, level, fitted);
    return rec;
  }
  // Where the sheets lie: level 2's sheet of A and level 3's sheet of A1.
  int Level2Row1() const { return BaseStrToNum(LinkField(Record(1, 1), kChildPos), false); }
  int Level3Row1() const { return BaseStrToNum(LinkField(Record(2, Level2Row1()), kChildPos), false); }
  // Price and amount of a record.
  std::pair<std::string, std::string> PriceAmount(const std::string& rec, int level) const {
    return {Cell(rec, level, kPrice), Cell(rec, level, kAmount)};
  }
  // The closing record of a chain from `first`.
  std::string ClosingOf(int level, int first) const {
    int n = first;
    for (int guard = 0; guard < 100; ++guard) {
      const std::string rec = Record(level, n);
      const int next = BaseStrToNum(LinkField(rec, kNextPos), false);
      if (next < 1) return rec;
      n = next;
    }
    return {};
  }
};

using P = std::pair<std::string, std::string>;

TEST_F(RecalcAllLevelsTest, AChangedBreakdownReachesEveryTotalUpThePath) {
  // The deepest row changed in its file only: 3 -> 5 at 10.
  const int l3 = Level3Row1();
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));

  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));

  EXPECT_EQ(PriceAmount(Record(3, l3), 3), (P{"10", "50"}));
  EXPECT_EQ(Cell(ClosingOf(3, l3), 3, kAmount), "50");
  // A1 got 50 as its unit price and was read back as written: 2 x 50.
  const int l2 = Level2Row1();
  EXPECT_EQ(PriceAmount(Record(2, l2), 2), (P{"50", "100"}));
  EXPECT_EQ(Cell(ClosingOf(2, l2), 2, kAmount), "150");
  // Level 1: A at 150, the total 150 + 200, in the file and in memory.
  EXPECT_EQ(PriceAmount(Record(1, 1), 1), (P{"150", "150"}));
  EXPECT_EQ(Cell(ClosingOf(1, 1), 1, kAmount), "350");
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), "350");
}

// An estimate that already adds up is read, calculated and left as it is: no
// level file and no layout file is replaced (a rename would give it another
// inode). A subtotal row with a breakdown takes its carried price first and
// its subtotal after: its record changes on the way and back.
TEST_F(RecalcAllLevelsTest, AnEstimateThatAddsUpIsNotWrittenAgain) {
  Write(1, "", {Record(1, 1), Record(1, 2), Typed(1, '#', "小計"), Record(1, 3)});
  Write(2, Record(1, 3), {Typed(2, ' ', "S1", "1", "7"), Typed(2, '%', "合計")});
  Rewrite(1, "");
  const int l3 = Level3Row1();
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));  // now it adds up
  std::vector<std::filesystem::path> files = {std::filesystem::path(LayoutFilePath(st, st.WorkFileBase))};
  for (int level = 1; level <= 3; ++level) files.push_back(Path(level));
  auto identities = [&] {
    std::vector<std::pair<ino_t, size_t>> ids;  // the inode and a hash of the bytes
    for (const auto& p : files) {
      struct stat info {};
      EXPECT_EQ(::stat(p.c_str(), &info), 0) << p;
      std::ifstream in(p, std::ios::binary);
      ids.emplace_back(info.st_ino, std::hash<std::string>{}(std::string(std::istreambuf_iterator<char>(in), {})));
    }
    return ids;
  };
  const auto before = identities();
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  EXPECT_EQ(identities(), before);
  EXPECT_EQ(PriceAmount(Record(1, 1), 1), (P{"150", "150"}));
}

TEST_F(RecalcAllLevelsTest, WithoutAutomaticRecalculationTheStoredTotalsStillCarry) {
  // The key path with automatic recalculation off.
  st.ReCalcFlag = false;
  st.RecalcAllRunning = false;
  const int l3 = Level3Row1();
  // The breakdown's stored closing record says 70; its row says 3 x 10.
  const int closing = BaseStrToNum(LinkField(ClosingOf(3, l3), kOwnPos), false);
  PutRecord(3, closing, WithCell(Record(3, closing), 3, kAmount, "70"));

  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));

  EXPECT_EQ(PriceAmount(Record(3, l3), 3), (P{"10", "30"}));  // not recalculated
  const int l2 = Level2Row1();
  // Carried and its row definition recomputed; level 2's totals as stored.
  EXPECT_EQ(PriceAmount(Record(2, l2), 2), (P{"70", "140"}));
  EXPECT_EQ(Cell(ClosingOf(2, l2), 2, kAmount), "110");
  // Level 1 goes through the level writer, which calculates whatever the flag.
  EXPECT_EQ(PriceAmount(Record(1, 1), 1), (P{"110", "110"}));
  EXPECT_EQ(Cell(ClosingOf(1, 1), 1, kAmount), "310");
}

TEST_F(RecalcAllLevelsTest, AConvertedEstimateCarriesNothing) {
  const int l3 = Level3Row1();
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));
  st.RecordLinkState = -99;
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  // Every level is calculated, nothing is carried up.
  EXPECT_EQ(Cell(ClosingOf(3, l3), 3, kAmount), "50");
  EXPECT_EQ(PriceAmount(Record(2, Level2Row1()), 2), (P{"30", "60"}));
  EXPECT_EQ(PriceAmount(Record(1, 1), 1), (P{"110", "110"}));
}

TEST_F(RecalcAllLevelsTest, AChainWithoutClosingRecordGetsAFreshOneAppendedAndLinked) {
  // Level 3's sheet loses its closing record: its row ends the chain.
  const int l3 = Level3Row1();
  std::string row = Record(3, l3);
  SetLinkField(row, kNextPos, kNoRecord, false);
  PutRecord(3, l3, row);
  const int before = Records(3);
  // What another sheet left in memory: an object file number and a note.
  st.SheetTotalRecord.replace(kObjectPos - 1, 4, "  12");
  FieldStore(st, st.SheetTotalRecord, kNote, 1, "stale");

  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));

  ASSERT_EQ(Records(3), before + 1);
  const std::string added = Record(3, before + 1);
  EXPECT_EQ(added[2], 'G');
  EXPECT_EQ(BaseStrToNum(LinkField(added, kOwnPos), false), before + 1);
  EXPECT_EQ(LinkField(added, kNextPos), " -99");
  EXPECT_EQ(LinkField(added, kChildPos), " -99");
  EXPECT_EQ(added.substr(kObjectPos - 1, 4), "    ");
  EXPECT_EQ(Cell(added, 3, kNote), "");
  EXPECT_EQ(Cell(added, 3, kAmount), "30");
  EXPECT_EQ(BaseStrToNum(LinkField(Record(3, l3), kNextPos), false), before + 1);
  EXPECT_EQ(PriceAmount(Record(2, Level2Row1()), 2), (P{"30", "60"}));
}

TEST_F(RecalcAllLevelsTest, ANextLinkOfZeroEndsTheChain) {
  const int l3 = Level3Row1();
  std::string row = Record(3, l3);
  row.replace(kNextPos - 1, 4, "   0");
  PutRecord(3, l3, row);
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  EXPECT_EQ(BaseStrToNum(LinkField(Record(3, l3), kNextPos), false), Records(3));
}

// A record whose next link names itself ends its chain, as the level reader
// reads it: a sheet that opens is recalculated.
TEST_F(RecalcAllLevelsTest, ASelfLinkEndsTheChain) {
  const int l3 = Level3Row1();
  const int closing = BaseStrToNum(LinkField(ClosingOf(3, l3), kOwnPos), false);
  std::string rec = WithCell(Record(3, closing), 3, kAmount, "70");
  SetLinkField(rec, kNextPos, closing, false);
  PutRecord(3, closing, rec);
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  EXPECT_EQ(Cell(Record(3, closing), 3, kAmount), "50");
  EXPECT_EQ(PriceAmount(Record(2, Level2Row1()), 2), (P{"50", "100"}));
}

// Damage of the chains: the command stops with its message before anything
// is written, and the sheet in memory is the one it had.
struct Damage {
  const char* name;
  std::function<void(RecalcAllLevelsTest&)> apply;
  const char* message;
};

TEST_F(RecalcAllLevelsTest, DamagedLevelFilesStopWithTheFilesAsTheyWere) {
  auto setNext = [](RecalcAllLevelsTest& t, int level, int n, int next) {
    std::string rec = t.Record(level, n);
    SetLinkField(rec, kNextPos, next, false);
    t.PutRecord(level, n, rec);
  };
  const std::vector<Damage> cases = {
      {"cycle", [&](RecalcAllLevelsTest& t) { setNext(t, 2, t.Level2Row1() + 1, t.Level2Row1()); },
       "[ EST.Y2 ] が壊れています。\rレコードのリンクが循環しています"},
      {"entered in its middle",
       [&](RecalcAllLevelsTest& t) {
         std::string a2 = t.Record(2, t.Level2Row1() + 1);
         SetLinkField(a2, kChildPos, t.Level3Row1() + 1, false);  // the closing record of A1's sheet
         t.PutRecord(2, t.Level2Row1() + 1, a2);
       },
       "[ EST.Y3 ] が壊れています。\r一つのレコードが二つのシートからつながっています (レコード 2)"},
      {"past the end", [&](RecalcAllLevelsTest& t) { setNext(t, 3, t.Level3Row1(), 900); },
       "[ EST.Y3 ] が壊れています。\rリンク先のレコードがファイルにありません (レコード 1)"},
      {"long chain",
       [&](RecalcAllLevelsTest& t) {
         // 1,500 linked records below A1.
         const int base = t.Records(3);
         RecordFile f(t.Path(3), t.st.DataLen);
         for (int i = 1; i <= 1500; ++i) {
           std::string rec = t.Typed(3, ' ', "r", "1", "1");
           SetLinkField(rec, kOwnPos, base + i, false);
           SetLinkField(rec, kNextPos, i == 1500 ? kNoRecord : base + i + 1, false);
           SetLinkField(rec, kChildPos, kNoRecord, false);
           f.PutRecordText(base + i, rec);
         }
         f.Close();
         std::string a1 = t.Record(2, t.Level2Row1());
         SetLinkField(a1, kChildPos, base + 1, false);
         t.PutRecord(2, t.Level2Row1(), a1);
       },
       "[ EST.Y3 ] が壊れています。"},
      {"damage down one breakdown told before damage of a later one",
       [&](RecalcAllLevelsTest& t) {
         setNext(t, 3, t.Level3Row1(), 900);
         // B's breakdown: two records of level 2 naming each other.
         const int base = t.Records(2);
         RecordFile f(t.Path(2), t.st.DataLen);
         for (int i = 1; i <= 2; ++i) {
           std::string rec = t.Typed(2, ' ', "b", "1", "1");
           SetLinkField(rec, kOwnPos, base + i, false);
           SetLinkField(rec, kNextPos, base + 3 - i, false);
           SetLinkField(rec, kChildPos, kNoRecord, false);
           f.PutRecordText(base + i, rec);
         }
         f.Close();
         std::string b = t.Record(1, 2);
         SetLinkField(b, kChildPos, base + 1, false);
         t.PutRecord(1, 2, b);
       },
       "[ EST.Y3 ] が壊れています。\rリンク先のレコードがファイルにありません (レコード 1)"},
      {"bad length",
       [](RecalcAllLevelsTest& t) {
         std::ofstream(t.Path(3), std::ios::binary | std::ios::app) << "xyz";
       },
       "壊れています"},
  };
  for (const Damage& d : cases) {
    SCOPED_TRACE(d.name);
    Build();
    d.apply(*this);
    const std::array<std::string, 4> files = {"", Bytes(1), Bytes(2), Bytes(3)};
    const auto rows = st.SheetRows;
    const int used = st.UsedRows;
    const std::string total = st.SheetTotalRecord;
    program.ui.AnswerMsgBox(vbOK, d.message);
    EXPECT_FALSE(RecalcFromTopLevel(st, st.WorkFileBase));
    program.ui.ExpectAllAnswered();
    for (int level = 1; level <= 3; ++level) EXPECT_EQ(Bytes(level), files[size_t(level)]) << level;
    EXPECT_EQ(st.SheetRows, rows);
    EXPECT_EQ(st.UsedRows, used);
    EXPECT_EQ(st.SheetTotalRecord, total);
    for (int level = 1; level <= 3; ++level) std::filesystem::remove(Path(level));
  }
}

// The links of the level files are kept from one run to the next and read
// again where the file differs: a loop made in the file after a run, its
// length unchanged, stops the next run, and the file put back runs again.
TEST_F(RecalcAllLevelsTest, LinksChangedAfterARunAreSeenByTheNext) {
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  const std::string level2 = Bytes(2);
  std::string rec = Record(2, Level2Row1() + 1);
  SetLinkField(rec, kNextPos, Level2Row1(), false);
  PutRecord(2, Level2Row1() + 1, rec);
  ASSERT_EQ(Bytes(2).size(), level2.size());
  program.ui.AnswerMsgBox(vbOK, "[ EST.Y2 ] が壊れています。\rレコードのリンクが循環しています");
  EXPECT_FALSE(RecalcFromTopLevel(st, st.WorkFileBase));
  program.ui.ExpectAllAnswered();

  std::ofstream(Path(2), std::ios::binary | std::ios::trunc) << level2;
  EXPECT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  EXPECT_EQ(Bytes(2), level2);
}

// A level file that cannot be written (read-only, which binds the superuser
// too) stops the command before any file is rewritten; the user stays on the
// sheet they were on, and is told that no file was changed. A read-only file
// that the recalculation does not change is not written at all.
TEST_F(RecalcAllLevelsTest, AnUnwritableLevelFileLeavesEveryFileAndTheSheetOnScreen) {
  struct Case {
    const char* name;
    int readOnly;
    const char* amount;  // level 3's row amount as stored (its right value is 30)
    const char* quantity;
    bool refused;
  };
  const Case cases[] = {
      {"level 1 read-only, its totals change", 1, "30", "5", true},
      {"level 2 read-only", 2, "30", "5", true},
      {"level 1 read-only, only level 3 changes", 1, "31", "3", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int level = 1; level <= 3; ++level) std::filesystem::remove(Path(level));
    Build();
    // On level 2, the sheet of A.
    st.ParentRows[1] = Record(1, 1);
    st.CurrentLevel = 2;
    ASSERT_TRUE(LevelRowsRead(st, 2));
    const int l3 = Level3Row1();
    PutRecord(3, l3, WithCell(WithCell(Record(3, l3), 3, kAmount, c.amount), 3, kQuantity, c.quantity));
    const std::array<std::string, 4> files = {"", Bytes(1), Bytes(2), Bytes(3)};
    const auto rows = st.SheetRows;
    const auto recNos = st.RowRecNos;
    const std::string total = st.SheetTotalRecord;
    std::filesystem::permissions(Path(c.readOnly), std::filesystem::perms(0444));
    if (c.refused) program.ui.AnswerMsgBox(vbOK, "作業ファイル [ EST.Y" + std::to_string(c.readOnly) + " ] を書き込めませんでした。");

    RecalcAllLevels(st);

    program.ui.ExpectAllAnswered();
    std::filesystem::permissions(Path(c.readOnly), std::filesystem::perms(0644));
    EXPECT_EQ(st.CurrentLevel, 2);
    if (c.refused) {
      EXPECT_NE(program.ui.MessageTexts().back().find("作業ファイルは一つも書き換えていません"), std::string::npos);
      for (int level = 1; level <= 3; ++level) EXPECT_EQ(Bytes(level), files[size_t(level)]) << level;
      EXPECT_EQ(st.SheetRows, rows);
      EXPECT_EQ(st.RowRecNos, recNos);
      EXPECT_EQ(st.SheetTotalRecord, total);
      EXPECT_FALSE(st.SheetModified);
    } else {
      EXPECT_EQ(Bytes(1), files[1]);
      EXPECT_EQ(Cell(Record(3, l3), 3, kAmount), "30");
      EXPECT_EQ(st.UsedRows, 3);
      EXPECT_EQ(Cell(st.SheetRows[1], 2, 1), Cell(rows[1], 2, 1));
      EXPECT_EQ(Cell(st.SheetRows[2], 2, 1), Cell(rows[2], 2, 1));
    }
    for (const auto& e : std::filesystem::directory_iterator(program.Work()))
      EXPECT_NE(e.path().filename().string().front(), '.') << e.path();
  }
}

TEST_F(RecalcAllLevelsTest, TheDeepestLevelsBreakdownLinksAreNotFollowed) {
  st.LevelCount = 2;
  const int l3 = Level3Row1();
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));
  const std::string level3 = Bytes(3);
  ASSERT_TRUE(RecalcFromTopLevel(st, st.WorkFileBase));
  EXPECT_EQ(Bytes(3), level3);
  EXPECT_EQ(PriceAmount(Record(2, Level2Row1()), 2), (P{"30", "60"}));
}

TEST_F(RecalcAllLevelsTest, TheCommandAsksFirstAndReadsThePathAgain) {
  // On level 2 (the sheet of A), with the path's rows in memory.
  st.ParentRows[1] = Record(1, 1);
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  const int l3 = Level3Row1();
  PutRecord(3, l3, WithCell(Record(3, l3), 3, kQuantity, "5"));

  // A modified sheet: No leaves everything as it was.
  st.SheetModified = true;
  const std::string level1 = Bytes(1);
  program.ui.AnswerMsgBox(vbNo, "記録後に全階層の再計算を実行します.");
  RecalcAllLevels(st);
  EXPECT_EQ(Bytes(1), level1);

  st.SheetModified = false;
  RecalcAllLevels(st);
  program.ui.ExpectAllAnswered();
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(PriceAmount(st.SheetRows[1], 2), (P{"50", "100"}));
  EXPECT_EQ(PriceAmount(st.ParentRows[1], 1), (P{"150", "150"}));
  EXPECT_EQ(Cell(st.PathTotalRecords[1], 1, kAmount), "350");
  EXPECT_EQ(program.ui.Unloaded().back(), "Msg_Frm");
}

TEST_F(RecalcAllLevelsTest, TheKeyRunsOnceAndNotWhileACommandIsBusy) {
  auto runs = [&] {
    const auto& shown = program.ui.ModelessShown();
    return std::count(shown.begin(), shown.end(), "Msg_Frm");
  };
  st.CommandBusy = true;
  RecalcAllLevelsKeyCommand(st);
  EXPECT_EQ(runs(), 0);
  st.CommandBusy = false;
  RecalcAllLevelsKeyCommand(st);
  EXPECT_EQ(runs(), 1);

  // The menu switches automatic recalculation on and lets the flag go after.
  st.ReCalcFlag = false;
  st.RecalcAllRunning = false;
  st.SheetModified = false;
  RecalcAllLevelsMenuCommand(st);
  EXPECT_EQ(runs(), 2);
  EXPECT_TRUE(st.ReCalcFlag);
  EXPECT_FALSE(st.RecalcAllRunning);
}

TEST_F(RecalcAllLevelsTest, AnUntitledEstimateIsRefused) {
  st.WorkFileBase = program.Untitled();
  program.ui.AnswerMsgBox(vbOK, "ﾌｧｲﾙを保存後に実行して下さい.");
  RecalcAllLevels(st);
  program.ui.ExpectAllAnswered();
  EXPECT_EQ(program.ui.Prompts().back().title, "再計算");
}

}  // namespace
}  // namespace kv::test
