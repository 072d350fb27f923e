// The classification file build on small estimates written as level files:
// the walk (coded rows indexed, uncoded breakdowns descended into, closing
// records and breakdowns of coded rows left alone), the groups and their
// split at Imax, the rows copied into level 2, the limits and refusals, and
// damaged level files. The index database is checked through SQLite itself.
#include "classify/siwake_build.h"
#include "classify/siwake_make_frm.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/index_db.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// Layout (every level): 1 name 40/30, 2 quantity 70/12, 3 unit 82/6,
// 4 code "I1" 20/6, 5 its name "D" 26/10, 6 formula "S" 100/10.
constexpr int kCodeStart = 20, kCodeWidth = 6, kNameStart = 26, kNameWidth = 10;

struct Row {
  std::string code;
  std::string name;
  char kind = ' ';
  int child = kNoRecord;
  std::string formula;
};

class SiwakeBuildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    st.AppPath = dir.path().string();
    st.DataLen = 256;
    st.LevelCount = 3;
    st.Imax = 200;
    st.SystemKind = 1;
    for (int l = 1; l <= 3; ++l) {
      st.LevelExt[size_t(l)] = ".Y" + std::to_string(l);
      const struct {
        const char* type;
        int start, width;
      } cols[] = {{"C", 40, 30}, {"0", 70, 12}, {"C", 82, 6}, {"I1", 20, 6}, {"D", 26, 10}, {"S", 100, 10}};
      for (int c = 1; c <= 6; ++c) {
        st.ColType[size_t(l)][size_t(c)] = cols[c - 1].type;
        st.ColStart[size_t(l)][size_t(c)] = cols[c - 1].start;
        st.ColWidth[size_t(l)][size_t(c)] = cols[c - 1].width;
      }
      st.ColCount[size_t(l)] = 6;
      st.TotalRecordDefaults[size_t(l)] = std::string(256, ' ').replace(39, 4, "TOTL");
      st.FormulaColumn[size_t(l)] = 6;
    }
    st.ToTalNameColmun = 1;
  }

  bool Hex() const { return IsHexBase(st.H_Link); }

  // A level file: the rows numbered 1.. in order, each chained to the next,
  // then a closing record; `sheets` start where a row list begins anew.
  void Level(int level, const std::vector<std::vector<Row>>& sheets) {
    std::string file;
    int n = 0;
    for (const auto& sheet : sheets) {
      for (size_t i = 0; i <= sheet.size(); ++i) {
        ++n;
        std::string rec(256, ' ');
        rec.replace(3, 4, StoredNumberField(n, Hex()));
        rec.replace(7, 4, i < sheet.size() ? StoredNumberField(n + 1, Hex()) : std::string(kNoneField));
        if (i < sheet.size()) {
          const Row& row = sheet[i];
          rec[2] = row.kind;
          rec.replace(11, 4, StoredNumberField(row.child, Hex()));
          Put(rec, kCodeStart, kCodeWidth, ToSjis(row.code));
          Put(rec, kNameStart, kNameWidth, ToSjis(row.name));
          Put(rec, 100, 10, row.formula);
          Put(rec, 200, 8, "ROW" + std::to_string(n));
        } else {
          rec[2] = 'G';
          rec.replace(11, 4, kNoneField);
        }
        file += rec;
      }
    }
    dir.Write("SRC.Y" + std::to_string(level), file);
  }
  static void Put(std::string& rec, int start, int width, std::string bytes) {
    bytes.resize(size_t(width), ' ');
    rec.replace(size_t(start - 1), size_t(width), bytes);
  }
  static std::string At(const std::string& rec, int start, int width) {
    return rec.substr(size_t(start - 1), size_t(width));
  }

  bool Build() {
    const std::string src = (dir / "SRC").string();
    return CreateIndexDb(st, kCodeWidth, kNameWidth) &&
           BuildSiwakeIndex(st, src, kCodeStart, kCodeWidth, kNameStart, kNameWidth, progress) &&
           MakeSiwakeFile(st, (dir / "NEW").string(), src, progress);
  }
  std::vector<std::string> Out(int level) {
    const std::string bytes = test::ReadAll(dir / ("NEW.Y" + std::to_string(level)));
    std::vector<std::string> recs;
    for (size_t i = 0; i + 256 <= bytes.size(); i += 256) recs.push_back(bytes.substr(i, 256));
    return recs;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st{ui};
  SiwakeProgress progress;
};

TEST_F(SiwakeBuildTest, WalksCodedRowsAndGroupsThemByCode) {
  Level(1, {{{"", "top", ' ', 1}, {"B", "bee", ' ', 4}, {"A", "ay", '#'}}});
  Level(2, {{{"A", "memo", '\xD2'}, {"", "mid", ' ', 1}}, {{"A", "hidden"}}});
  Level(3, {{{"B1", "deep", 'Q'}, {"   ", "blank"}}});
  std::vector<std::string> label0, label1;
  progress.Show = [&](int label, const std::string& text) { (label == 0 ? label0 : label1).push_back(text); };
  ASSERT_TRUE(Build());
  EXPECT_TRUE(ui.Prompts().empty());

  // The index, through SQLite: walk order, stored bytes as BLOBs.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir / "SYSIDX.MDB").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* q = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(db, "SELECT \"レコード\", \"階層\", CODE, typeof(CODE) FROM \"インデックス\" ORDER BY rowid",
                               -1, &q, nullptr),
            SQLITE_OK);
  std::vector<std::string> index;
  while (sqlite3_step(q) == SQLITE_ROW)
    index.push_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(q, 0))) + "|" +
                    reinterpret_cast<const char*>(sqlite3_column_text(q, 1)) + "|" +
                    std::string(static_cast<const char*>(sqlite3_column_blob(q, 2)), size_t(sqlite3_column_bytes(q, 2))) +
                    "|" + reinterpret_cast<const char*>(sqlite3_column_text(q, 3)));
  sqlite3_finalize(q);
  sqlite3_close(db);
  EXPECT_EQ(index, (std::vector<std::string>{"   1| 2|A     |blob", "   1| 3|B1    |blob", "   2| 1|B     |blob",
                                             "   3| 1|A     |blob"}));

  // Level 1: a group row per code, then the closing record.
  const std::vector<std::string> l1 = Out(1);
  ASSERT_EQ(l1.size(), 4u);
  const char* groups[] = {"A     :memo      ", "B     :bee       ", "B1    :deep      "};
  const int firstOfSheet[] = {1, 5, 8};
  for (int g = 0; g < 3; ++g) {
    SCOPED_TRACE(g);
    EXPECT_EQ(At(l1[size_t(g)], 1, 3), "   ");
    EXPECT_EQ(At(l1[size_t(g)], 4, 12),
              StoredNumberField(g + 1, false) + StoredNumberField(g + 2, false) + StoredNumberField(firstOfSheet[g], false));
    EXPECT_EQ(At(l1[size_t(g)], 40, 30), std::string(groups[g]) + std::string(30 - 17, ' '));
  }
  EXPECT_EQ(At(l1[3], 1, 15), "  G   4 -99 -99");
  EXPECT_EQ(At(l1[3], 40, 4), "TOTL");

  // Level 2: heading, the rows of the code, closing; kinds made item rows
  // except the memo kinds.
  const std::vector<std::string> l2 = Out(2);
  ASSERT_EQ(l2.size(), 10u);
  EXPECT_EQ(At(l2[0], 1, 15), "      1   2 -99");
  EXPECT_EQ(At(l2[0], 40, 17), "A     :memo      ");
  EXPECT_EQ(At(l2[1], 1, 15), "  \xD2   2   3 -99");
  EXPECT_EQ(At(l2[1], 200, 8), "ROW1    ");  // the level-2 memo row, byte for byte
  EXPECT_EQ(At(l2[2], 1, 15), "      3   4 -99");  // the subtotal row of level 1
  EXPECT_EQ(At(l2[2], 200, 8), "ROW3    ");
  EXPECT_EQ(At(l2[3], 1, 15), "  G   4 -99 -99");
  EXPECT_EQ(At(l2[6], 1, 3), "  G");
  EXPECT_EQ(At(l2[8], 1, 15), "  Q   9  10 -99");
  EXPECT_EQ(At(l2[9], 1, 15), "  G  10 -99 -99");
  EXPECT_FALSE(label0.empty());
  EXPECT_EQ(label1.size(), 10u);
}

TEST_F(SiwakeBuildTest, QuantityUnitAndFormulaColumnsBySystemKind) {
  st.SiwakeSuu[1] = 2;
  st.SiwakeUni[1] = 3;
  Level(1, {{{"A", "ay", ' ', kNoRecord, "=1+2"}}});
  for (int kind : {1, 2, 3, 4}) {
    SCOPED_TRACE(kind);
    st.SystemKind = kind;
    ASSERT_TRUE(Build());
    const std::vector<std::string> l1 = Out(1);
    EXPECT_EQ(At(l1[0], 70, 12), std::string(11, ' ') + "1");
    EXPECT_EQ(At(l1[0], 82, 3), " " + ToSjis("式"));
    const bool blanked = kind == 2 || kind == 4;
    EXPECT_EQ(At(Out(2)[1], 100, 10), blanked ? std::string(10, ' ') : "=1+2      ");
  }
}

TEST_F(SiwakeBuildTest, SplitsAFullSheetAndRefusesMoreGroupsThanImax) {
  std::vector<Row> rows(250, Row{"A", "ay"});
  Level(1, {rows});
  ASSERT_TRUE(Build());
  const std::vector<std::string> l1 = Out(1);
  ASSERT_EQ(l1.size(), 3u);
  EXPECT_EQ(At(l1[0], 40, 3), "A  ");
  EXPECT_EQ(At(l1[1], 40, 3), "A  ");
  EXPECT_EQ(At(l1[1], 12, 4), " 202");  // heading + 199 rows + closing before it
  EXPECT_EQ(Out(2).size(), size_t(1 + 199 + 1 + 1 + 51 + 1));

  // 201 codes with Imax 200: refused before anything is written.
  std::vector<Row> codes;
  for (int i = 0; i < 201; ++i) codes.push_back({"C" + std::to_string(1000 + i), "n"});
  Level(1, {codes});
  stdfs::remove(dir / "NEW.Y1");
  ui.AnswerMsgBox(vbOK, "仕訳ファイル１階層目の行数が  200を越えるため、仕訳ファイル作成が出来ません。");
  EXPECT_FALSE(Build());
  EXPECT_FALSE(stdfs::exists(dir / "NEW.Y1"));
  ui.ExpectAllAnswered();
}

TEST_F(SiwakeBuildTest, RowLimitAndLevel2CapacityInDecimal) {
  // 9800 rows in 50 codes: exactly the limit, accepted.
  std::vector<Row> rows;
  for (int i = 0; i < 9800; ++i) rows.push_back({"K" + std::to_string(i % 50), "n"});
  Level(1, {rows});
  ASSERT_TRUE(Build());
  // One more row: the limit message.
  rows.push_back({"K1", "n"});
  Level(1, {rows});
  ui.AnswerMsgBox(vbOK, "仕訳ファイル２階層目のレコード件数が  9800を越えるため、仕訳ファイル作成が出来ません。");
  EXPECT_FALSE(Build());
  // 9800 rows in 150 codes: rows and a heading and closing record per group
  // pass 9999.
  rows.clear();
  for (int i = 0; i < 9800; ++i) rows.push_back({"K" + std::to_string(i % 150), "n"});
  Level(1, {rows});
  ui.AnswerMsgBox(vbOK, "仕訳ファイル２階層目のレコード件数が  9999を越えるため、仕訳ファイル作成が出来ません。");
  EXPECT_FALSE(Build());
  ui.ExpectAllAnswered();
}

TEST_F(SiwakeBuildTest, HexadecimalLinks) {
  st.H_Link = "16";
  std::vector<Row> rows(12, Row{"A", "ay"});
  Level(1, {rows});
  ASSERT_TRUE(Build());
  const std::vector<std::string> l2 = Out(2);
  ASSERT_EQ(l2.size(), 14u);
  EXPECT_EQ(At(l2[9], 4, 8), "   A   B");
  EXPECT_EQ(At(l2[13], 4, 4), "   E");
}

TEST_F(SiwakeBuildTest, RefusalsAndDamagedFiles) {
  struct Case {
    const char* name;
    std::vector<std::vector<Row>> level1, level2;
    const char* message;
  } cases[] = {
      {"no code at all", {{{"", "x"}, {"   ", "y"}}}, {}, "選択された仕訳のコードが入力されている行がないため"},
      {"breakdown link past the end", {{{"", "x", ' ', 40}}}, {{{"A", "a"}}}, "SRC.Y2 ] が壊れています。"},
      {"breakdown in a missing file", {{{"", "x", ' ', 1}}}, {}, "SRC.Y2 ] が壊れています。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stdfs::remove(dir / "SRC.Y2");
    Level(1, c.level1);
    if (!c.level2.empty()) Level(2, c.level2);
    ui.AnswerMsgBox(vbOK, c.message);
    EXPECT_FALSE(Build());
    ui.ExpectAllAnswered();
  }
  // A loop in a breakdown chain: record 2 links back to record 1.
  Level(1, {{{"", "x", ' ', 1}}});
  Level(2, {{{"", "a"}, {"", "b"}}});
  std::string l2 = test::ReadAll(dir / "SRC.Y2");
  l2.replace(256 + 7, 4, "   1");
  dir.Write("SRC.Y2", l2);
  ui.AnswerMsgBox(vbOK, "SRC.Y2 ] が壊れています。");
  EXPECT_FALSE(Build());
  ui.ExpectAllAnswered();
}

TEST_F(SiwakeBuildTest, StopsWhenAsked) {
  Level(1, {{{"A", "a"}, {"B", "b"}, {"C", "c"}}});
  int records = 0;
  progress.StopAsked = [&] { return ++records == 2; };
  EXPECT_FALSE(Build());
  EXPECT_EQ(records, 2);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(SiwakeBuildTest, IndexDatabaseRefusesAValueLongerThanItsField) {
  const stdfs::path file = dir / "SYSIDX.MDB";
  std::string error;
  ASSERT_TRUE(IndexDbCreate(file, 4, 4, error));
  IndexDbWriter w(file);
  ASSERT_TRUE(w.HasField("CODE"));
  EXPECT_FALSE(w.HasField("code2"));
  EXPECT_TRUE(w.Append({"   1", " -99", " -99", " 1", "abcd", "n"}));
  EXPECT_FALSE(w.Append({"   1", " -99", " -99", " 1", "abcde", "n"}));
  EXPECT_TRUE(w.Commit());
  IndexDbQuery q(file);
  EXPECT_EQ(q.Count(), 1);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// The dialog over the same estimates: captions, the checks of OK, what
// SiwakeAbort tells the command, and Cancel during a build.
class SiwakeMakeTest : public SiwakeBuildTest {
 protected:
  void SetUp() override {
    SiwakeBuildTest::SetUp();
    st.WorkFileBase = (dir / "SRC").string();
    st.SiwakeFileName = (dir / "NEW").string();
    st.LevelCaption[1] = std::string(256, ' ').replace(25, 4, ToSjis("科目"));
    port.SetOption = [this](int i, const std::string& caption, bool shown) {
      calls.push_back("Option" + std::to_string(i) + "(" + caption + "," + (shown ? "shown" : "hidden") + ")");
    };
    port.SetLabel = [this](int i, const std::string& text) { labels[i] = text; };
    port.ShowProgress = [this] { calls.push_back("ShowProgress"); };
    port.Unload = [this] { calls.push_back("Unload"); };
  }
  std::vector<std::string> calls;
  std::string labels[2];
  SiwakeMakePort port;
};

TEST_F(SiwakeMakeTest, OptionsFollowTheCodeColumnsOfLevelOne) {
  dir.Write("NEW.Y1", "old");
  SiwakeMake_Frm frm(st, port);
  frm.Form_Load();
  EXPECT_EQ(calls, (std::vector<std::string>{"Option0(科目      ,shown)", "Option1(,hidden)"}));
  EXPECT_FALSE(stdfs::exists(dir / "NEW.Y1"));  // leftovers of the new name deleted
  // Classification 2 has no column: refused, the dialog stays, the flag untouched.
  frm.SiwakeOption_Click(1);
  ui.AnswerMsgBox(vbOK, "仕訳２の設定が有りません");
  frm.SiwakeOk_Click();
  EXPECT_FALSE(st.SiwakeAbort);
  EXPECT_EQ(calls.back(), "Option1(,hidden)");
  // Classification 1 builds; SiwakeAbort false afterwards.
  Level(1, {{{"A", "a"}}});
  frm.SiwakeOption_Click(0);
  st.SiwakeAbort = true;  // left over from before: cleared by the build's start
  frm.SiwakeOk_Click();
  EXPECT_FALSE(st.SiwakeAbort);
  EXPECT_EQ(calls.back(), "Unload");
  EXPECT_TRUE(stdfs::exists(dir / "NEW.Y2"));
  ui.ExpectAllAnswered();
}

TEST_F(SiwakeMakeTest, EveryLevelMustHoldTheCodeWhereLevelOneDoes) {
  Level(1, {{{"A", "a"}}});
  struct Case {
    const char* name;
    int column;  // where level 3's "I1" column stands
    int start;   // its byte start
    bool variant2;
    bool refused;
  } cases[] = {{"same place", 4, 20, false, false},
               {"another column", 6, 100, false, true},
               {"same column, other bytes", 4, 21, false, true},
               {"the customer switch skips the check", 6, 100, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Level(1, {{{"A", "a"}}});
    st.CustomerVariant2 = c.variant2;
    st.ColType[3][4] = "C";
    st.ColType[3][size_t(c.column)] = "I1";
    st.ColStart[3][size_t(c.column)] = c.start;
    SiwakeMake_Frm frm(st, port);
    frm.Form_Load();
    if (c.refused) ui.AnswerMsgBox(vbOK, "各階層ごとの仕訳位置が異なりますので\n仕訳ﾌｧｲﾙ作成を中止します.");
    frm.SiwakeOk_Click();
    EXPECT_EQ(st.SiwakeAbort, c.refused);
    EXPECT_EQ(stdfs::exists(dir / "NEW.Y1"), !c.refused);
    EXPECT_EQ(calls.back(), "Unload");
    ui.ExpectAllAnswered();
    stdfs::remove(dir / "NEW.Y1");
  }
}

// Level 1 cannot be read, by the build or only by the sheet reader afterwards
// (more rows than a sheet holds): the user stays on the breakdown shown, told
// once, no classification file is kept, and the estimate's files stay as
// they were.
TEST_F(SiwakeMakeTest, ALevelOneThatCannotBeReadLeavesTheUserWhereTheyWere) {
  struct Case {
    const char* name;
    std::function<void()> damage;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"cut short", [&] { stdfs::resize_file(dir / "SRC.Y1", stdfs::file_size(dir / "SRC.Y1") - 100); },
       "[ SRC.Y1 ] が壊れています。"},
      {"longer than a sheet", [&] { st.Imax = 2; }, "シートのレコードが一つのシートに入る数を超えています"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Level(1, {{{"A", "a"}, {"", "b"}, {"", "c"}}});
    Level(2, {{{"A", "memo"}}});
    c.damage();
    const std::string y1 = test::ReadAll(dir / "SRC.Y1"), y2 = test::ReadAll(dir / "SRC.Y2");
    st.CurrentLevel = 2;
    st.SheetRows[1] = std::string(256, ' ').replace(39, 5, "shown");
    st.UsedRows = 1;
    SiwakeMake_Frm frm(st, port);
    frm.Form_Load();
    const size_t shown = ui.Prompts().size();
    ui.AnswerMsgBox(vbOK, c.message);
    frm.SiwakeOk_Click();
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().size(), shown + 1);
    EXPECT_TRUE(st.SiwakeAbort);
    EXPECT_EQ(st.CurrentLevel, 2);
    EXPECT_EQ(st.SheetRows[1].substr(39, 5), "shown");
    EXPECT_EQ(st.UsedRows, 1);
    EXPECT_EQ(test::ReadAll(dir / "SRC.Y1"), y1);
    EXPECT_EQ(test::ReadAll(dir / "SRC.Y2"), y2);
  }
}

TEST_F(SiwakeMakeTest, CancelStopsTheBuildAndClosesAfterIt) {
  std::vector<Row> rows;
  for (int i = 0; i < 3000; ++i) rows.push_back({"K" + std::to_string(i % 7), "n"});
  // Under one row of level 1, which stays a sheet the editor can read.
  Level(1, {{{"", "top", ' ', 1}}});
  Level(2, {rows});
  SiwakeMake_Frm frm(st, port);
  frm.Form_Load();
  int events = 0;
  ui.onProcessEvents = [&] {
    ++events;
    EXPECT_TRUE(frm.Building());
    frm.SiwakeCancel_Click();
    // Not closed while the build's loop still runs.
    EXPECT_NE(calls.back(), "Unload");
  };
  frm.SiwakeOk_Click();
  EXPECT_GE(events, 1);
  EXPECT_TRUE(st.SiwakeAbort);
  EXPECT_FALSE(frm.Building());
  EXPECT_EQ(calls.back(), "Unload");
  // Cancel before any build closes at once.
  SiwakeMake_Frm again(st, port);
  again.Form_Load();
  st.SiwakeAbort = false;
  again.SiwakeCancel_Click();
  EXPECT_TRUE(st.SiwakeAbort);
  EXPECT_EQ(calls.back(), "Unload");
}

}  // namespace
}  // namespace kv
