// The master file: records written and read back as a table of the layouts a
// master can have, the one order of codes shared by the save, the table load
// and the estimate's lookup, the settings checks, and the lookup table load.
#include "classify/siwake_master.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "platform/codepage.h"
#include "sheet/cell_commit.h"
#include "state/program_state.h"
#include "state/siwake_code.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;
using Rows = std::vector<std::vector<std::string>>;

const std::vector<int> kWidths{6, 10, 4};

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

TEST(SiwakeCodeCompare, TrimmedBytesInUnsignedOrder) {
  struct Case {
    std::string a, b;
    int sign;
  } cases[] = {
      {"10", "10   ", 0},        {"  10", "10", 0},         {"A1", "a1", -1},     {"a1", "B1", 1},
      {"1", "10", -1},           {"", "0", -1},              {"   ", "", 0},       {"Z", "\xB1", -1},  // ｱ above ASCII
      {ToSjis("Ａ"), "A", 1},    {"10", "9", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a + "|" + c.b);
    const int r = SiwakeCodeCompare(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign);
    const int back = SiwakeCodeCompare(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign);
  }
}

TEST(MasterFile, RecordsOfEachLayoutAsTheSaveWritesThem) {
  struct Case {
    const char* name;
    Rows rows;                       // grid rows: code, name, item 3
    std::vector<std::string> codes;  // codes of the records written, in order
  } cases[] = {
      {"three codes and a blank row", {{"30", "c", ""}, {"", "x", "y"}, {"10", "a", ""}, {"20", "b", ""}},
       {"10", "20", "30"}},
      {"no code at all", {{"", "n", ""}, {" ", "", ""}}, {""}},
      {"every row coded", {{"b", "", ""}, {"a", "", ""}, {"c", "", ""}}, {"a", "b", "c"}},
      {"letter case and width are two codes", {{"a1", "", ""}, {"B1", "", ""}, {"A1", "", ""}, {ToSjis("Ａ1"), "", ""}},
       {"A1", "B1", "a1", ToSjis("Ａ1")}},
      {"equal codes keep their order", {{"5 ", "first", ""}, {"5", "second", ""}}, {"5", "5"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Rows sorted = MasterRowsSorted(c.rows);
    const std::string file = MasterFileBytes(sorted, kWidths);
    ASSERT_EQ(file.size(), c.codes.size() * 256);
    for (size_t i = 0; i < c.codes.size(); ++i) {
      const std::string rec = MasterRecordAt(file, int(i));
      const int n = int(i) + 1;
      EXPECT_EQ(rec.substr(0, 3), "   ");
      EXPECT_EQ(rec.substr(3, 4), MasterNumberField(n));
      EXPECT_EQ(rec.substr(7, 4), i + 1 == c.codes.size() ? " -99" : MasterNumberField(n + 1));
      EXPECT_EQ(rec.substr(11, 4), " -99");
      EXPECT_EQ(rec.substr(15, 4), "    ");
      EXPECT_EQ(rec.substr(19, 6), Pad(c.codes[i], 6));
      EXPECT_EQ(rec.substr(35), std::string(256 - 35, ' '));
    }
  }
  EXPECT_EQ(MasterNumberField(1), "   1");
  EXPECT_EQ(MasterNumberField(25), "  25");
  EXPECT_EQ(MasterNumberField(1000), "1000");
  // The second row of one code keeps its place behind the first.
  const Rows same = MasterRowsSorted({{"5 ", "first", ""}, {"5", "second", ""}});
  EXPECT_EQ(same[0][1], "first");
}

TEST(MasterFile, ItemsCutAndPaddedAndReadBack) {
  const std::string rec = MasterRecordBuild(7, 8, {"1234567", ToSjis("a名称名称名"), "ab"}, kWidths);
  ASSERT_EQ(rec.size(), 256u);
  const std::vector<std::string> items = MasterRecordItems(rec, kWidths);
  EXPECT_EQ(items[0], "123456");
  // 11 bytes into 10: the last character would be split, a blank takes its place.
  EXPECT_EQ(items[1], ToSjis("a名称名称") + " ");
  EXPECT_EQ(items[2], "ab  ");
  // File lengths: whole records, a short one, a half that rounds to even.
  struct Len {
    std::int64_t bytes;
    int records;
  } lens[] = {{0, 0}, {100, 0}, {128, 0}, {129, 1}, {256, 1}, {300, 1}, {384, 2}, {640, 2}, {896, 4}};
  for (const Len& l : lens) EXPECT_EQ(MasterRecordCount(l.bytes), l.records) << l.bytes;
  // The missing end of a short record reads as blanks.
  const std::string shortFile = rec.substr(0, 25);
  EXPECT_EQ(MasterRecordItems(MasterRecordAt(shortFile, 0), kWidths)[1], std::string(10, ' '));
}

class SiwakeSettingsTest : public ::testing::Test {
 protected:
  void Put(const char* key, const char* value) { IniPutString("仕訳画面", key, value, ini); }
  void Good() {
    Put("SIWAKE1", "SIWAKE1.DAT");
    Put("SIWAKE2", "SIWAKE2.DAT");
    Put("ROWSMAX", "1000");
    Put("ITEMCNT", "3");
    Put("ITEM1", "6");
    Put("ITEM2", "10");
    Put("ITEM3", "4");
  }
  test::TempFolder dir;
  stdfs::path ini = dir / "KVSSYS.INI";
};

TEST_F(SiwakeSettingsTest, EveryUnusableKeyIsNamed) {
  struct Case {
    const char* key;
    const char* value;  // nullptr: the key is missing
    int master;
    const char* bad;
  } cases[] = {
      {"SIWAKE1", "", 1, "SIWAKE1"},   {"SIWAKE2", nullptr, 2, "SIWAKE2"}, {"ROWSMAX", nullptr, 1, "ROWSMAX"},
      {"ROWSMAX", "abc", 1, "ROWSMAX"}, {"ROWSMAX", "0", 1, "ROWSMAX"},    {"ROWSMAX", "12x", 1, "ROWSMAX"},
      {"ITEMCNT", "1", 1, "ITEMCNT"},   {"ITEMCNT", "", 1, "ITEMCNT"},     {"ITEMCNT", "4", 1, "ITEM4"},
      {"ITEM2", "0", 1, "ITEM2"},       {"ITEM3", "-1", 1, "ITEM3"},       {"ITEM3", "221", 1, "ITEM3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + (c.value ? c.value : "(none)"));
    stdfs::remove(ini);
    Good();
    if (c.value) {
      Put(c.key, c.value);
    } else {
      IniDeleteSection("仕訳画面", ini);
      for (const char* k : {"SIWAKE1", "SIWAKE2", "ROWSMAX", "ITEMCNT", "ITEM1", "ITEM2", "ITEM3"})
        if (std::string(k) != c.key) Good(), IniPutString("仕訳画面", k, "", ini);
      stdfs::remove(ini);
      Good();
      // Write the section again without the key.
      std::string text = test::ReadAll(ini);
      const size_t at = text.find(std::string(c.key) + "=");
      text.erase(at, text.find('\n', at) - at + 1);
      dir.Write("KVSSYS.INI", text);
    }
    SiwakeLayout layout;
    EXPECT_EQ(SiwakeLayoutRead(ini, c.master, layout), c.bad);
  }
  stdfs::remove(ini);
  Good();
  Put("ROWSMAX", "5000");
  Put("ITEM3", "220");  // 6 + 10 + 220 = 236 exactly
  SiwakeLayout layout;
  ASSERT_EQ(SiwakeLayoutRead(ini, 2, layout), "");
  EXPECT_EQ(layout.fileName, "SIWAKE2.DAT");
  EXPECT_EQ(layout.rowsMax, 1001);
  EXPECT_EQ(layout.itemWidth, (std::vector<int>{6, 10, 220}));
  EXPECT_EQ(SiwakeSettingsMessage("ITEM3"), "仕訳画面の設定 [ ITEM3 ] が正しくありません。");
}

TEST_F(SiwakeSettingsTest, LookupFindsEverySavedCodeAlsoInAMasterOfAnotherOrder) {
  Good();
  test::ScriptedUi ui;
  ProgramState st(ui);
  st.AppPath = dir.path().string();
  // Written in the order of a case-blind collation: a1, A2, b1, B2.
  Rows rows{{"a1", ToSjis("名a1"), ""}, {"A2", "n-A2", ""}, {"b1", "n-b1", ""}, {"B2", "n-B2", ""}};
  std::string file;
  for (size_t i = 0; i < rows.size(); ++i) file += MasterRecordBuild(int(i) + 1, int(i) + 2, rows[i], kWidths);
  const stdfs::path master = dir.Write("SIWAKE1.DAT", file);
  SiwakeMasters services;
  st.classify = &services;
  st.classify->SiwakeItemRead(st, master.string(), 1);
  ASSERT_EQ(st.CodeTableCounts[1], 4);
  EXPECT_EQ(st.CodeTables[1][0].code, "A2    ");
  EXPECT_EQ(st.CodeTables[1][0].name, Pad("n-A2", 10));
  for (const auto& row : rows) {
    std::string name;
    EXPECT_TRUE(SiwakeItemFind(st, 1, row[0], name)) << row[0];
    EXPECT_EQ(name, row[1]);
  }
  std::string name;
  EXPECT_FALSE(SiwakeItemFind(st, 1, "A1", name));

  // And a master the save wrote: every code found.
  const Rows saved = MasterRowsSorted({{"30", "c", ""}, {"10", "a", ""}, {"A", "x", ""}, {"a", "y", ""}});
  dir.Write("SIWAKE1.DAT", MasterFileBytes(saved, kWidths));
  SiwakeItemRead(st, master.string(), 1);
  ASSERT_EQ(st.CodeTableCounts[1], 4);
  for (const auto& row : saved) EXPECT_TRUE(SiwakeItemFind(st, 1, row[0], name)) << row[0];

  // A missing file, a folder, unusable widths: an empty table, no message.
  struct Empty {
    const char* name;
    std::string path;
    const char* item1;
  } empties[] = {{"missing file", (dir / "NONE.DAT").string(), "6"},
                 {"a folder", dir.path().string(), "6"},
                 {"ITEM1 unusable", master.string(), "x"},
                 {"ITEM1 zero", master.string(), "0"}};
  for (const Empty& e : empties) {
    SCOPED_TRACE(e.name);
    Put("ITEM1", e.item1);
    SiwakeItemRead(st, e.path, 1);
    EXPECT_EQ(st.CodeTableCounts[1], 0);
    EXPECT_FALSE(SiwakeItemFind(st, 1, "10", name));
  }
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(SiwakeSettingsTest, LookupLoadsAtMost1001Records) {
  Good();
  test::ScriptedUi ui;
  ProgramState st(ui);
  st.AppPath = dir.path().string();
  Rows rows;
  for (int i = 0; i < 1010; ++i) rows.push_back({std::to_string(10000 + i), "n", ""});
  const stdfs::path master = dir.Write("M.DAT", MasterFileBytes(rows, kWidths));
  SiwakeItemRead(st, master.string(), 2);
  EXPECT_EQ(st.CodeTableCounts[2], 1001);
  std::string name;
  EXPECT_TRUE(SiwakeItemFind(st, 2, "11000", name));
  EXPECT_FALSE(SiwakeItemFind(st, 2, "11001", name));
}

}  // namespace
}  // namespace kv
