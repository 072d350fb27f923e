// The classification master window's logic over a plain grid beside the
// editor's sheet: opening (settings checks, long and unreadable masters),
// the save (atomic, in code order, the lookup reloaded), the File menu's edit
// mode and close questions, the hand-off of a code from an "I" and a "D"
// column, and the editing commands with their duplicate checks.
#include "classify/kv_siwa_frm.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "editor/editor_grid_fixture.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "sheet/cell_commit.h"
#include "state/float_windows.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

const std::vector<int> kWidths{6, 10, 4};

std::string Pad(std::string s, size_t n) {
  s.resize(n, ' ');
  return s;
}

// A master file of (code, name) rows in the order given.
std::string Master(const std::vector<std::pair<std::string, std::string>>& rows) {
  std::string out;
  for (size_t i = 0; i < rows.size(); ++i)
    out += MasterRecordBuild(int(i) + 1, i + 1 < rows.size() ? int(i) + 2 : 0,
                             {ToSjis(rows[i].first), ToSjis(rows[i].second), ""}, kWidths);
  return out;
}

class SiwaTest : public test::EditorGridFixture {
 protected:
  void SetUp() override {
    EditorGridFixture::SetUp();
    st.AppPath = dir.path().string();
    st.ColType[1][7] = "D";   // the name column of the "I1" code column 6
    st.ColType[1][8] = "I2";  // a column of the other master
    Ini("SIWAKE1", "SIWAKE1.DAT");
    Ini("SIWAKE2", "SIWAKE2.DAT");
    Ini("ROWSMAX", "8");
    Ini("ITEMCNT", "3");
    Ini("ITEM1", "6");
    Ini("ITEM2", "10");
    Ini("ITEM3", "4");
    port.Bounds = [this] { return rect; };
    port.SetBounds = [this](const WindowRect& r) { rect = r; };
    port.CenterAt = [this](int w, int h) {
      rect.width = w, rect.height = h;
      calls.push_back("CenterAt");
    };
    port.ScreenTwips = [] { return TextSize{19200, 14400}; };
    port.State = [this] { return state; };
    port.SetState = [this](WindowState s) {
      state = s;
      calls.push_back("SetState");
    };
    port.SetCaption = [this](const std::string& c) { caption = c; };
    port.HiinsatuStateSet = [this](bool locked) {
      calls.push_back(std::string("Hiinsatu(") + (locked ? "T" : "F") + (st.SiwakeWindowOpen ? ",open)" : ",closed)"));
    };
    port.EditorSheet = [this] { return &grid; };
    port.EditorSheetFocus = [this] { calls.push_back("EditorFocus"); };
    port.Unload = [this] { calls.push_back("Unload"); };
  }

  void Ini(const char* key, const char* value) { IniPutString("仕訳画面", key, value, dir / "KVSSYS.INI"); }

  // Opens the window with the estimate cursor on (col, row) of level 1.
  bool Open(int col = 6, int row = 1) {
    MoveTo(col, row);
    st.SiwakeWindowOpen = true;
    frm = std::make_unique<KvSiwa_Frm>(st, sheet, port);
    return frm->Form_Load();
  }
  std::string Shown(int col, int row) { return GetTextData32(sheet, col, row); }
  void Type(int col, int row, const std::string& text) {
    sheet.SetCursor(col, row);
    sheet.BeginEdit(0);
    sheet.CommitEdit(text);
  }
  void Select(int c1, int r1, int c2, int r2) {
    sheet.SetCursor(c1, r1);
    SetSelect32(sheet, c1, r1, c2, r2);
  }
  std::string File() { return test::ReadAll(dir / "SIWAKE1.DAT"); }
  std::string Code(int row) { return FromSjis(frm->MasterRows[1][size_t(row)]); }

  test::TempFolder dir;
  GridModel sheet;
  SiwaWindowPort port;
  WindowRect rect{100, 200, 3000, 6000};
  WindowState state = WindowState::Normal;
  std::vector<std::string> calls;
  std::string caption;
  std::unique_ptr<KvSiwa_Frm> frm;
};

TEST_F(SiwaTest, OpensOnTheMasterOfTheCurrentColumn) {
  dir.Write("SIWAKE1.DAT", Master({{"10", "十"}, {"20", "二十"}}));
  ASSERT_TRUE(Open(7));  // from the "D" column: master 1
  EXPECT_EQ(frm->MasterNo, 1);
  EXPECT_EQ(caption, "< SIWAKE1.DAT > 内訳書");
  EXPECT_EQ(frm->RowsMax, 8);
  EXPECT_EQ(sheet.RowCount(), 8);
  EXPECT_EQ(sheet.ColCount(), 3);
  EXPECT_EQ(Shown(1, 1), "10    ");
  EXPECT_EQ(Shown(2, 2), Pad("二十", 10 - 4 + std::string("二十").size()));
  EXPECT_EQ(Shown(1, 3), "      ");
  EXPECT_EQ(Shown(1, 0), "ｺｰﾄﾞ");
  EXPECT_FALSE(frm->EditMode);
  EXPECT_EQ(frm->Menus().At("mnuFItem", 0).caption, "追加変更(&A) OFF");
  EXPECT_FALSE(frm->Menus().At("mnuFItem", 1).enabled);
  EXPECT_FALSE(frm->Menus().At("mnuEItem", 0).enabled);
  EXPECT_EQ(calls.front(), "CenterAt");  // no rectangle kept yet
  EXPECT_EQ(rect.width, 9000);
  EXPECT_NE(std::find(calls.begin(), calls.end(), "Hiinsatu(T,open)"), calls.end());
  EXPECT_TRUE(ui.Prompts().empty());

  // Another master from an "I2" column; a plain column opens nothing.
  ASSERT_TRUE(Open(8));
  EXPECT_EQ(frm->MasterNo, 2);
  EXPECT_EQ(Shown(1, 1), "      ");  // SIWAKE2.DAT does not exist: empty
  EXPECT_FALSE(Open(1));
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(SiwaTest, RefusesUnusableSettingsAndUnreadableMasters) {
  Ini("ITEMCNT", "1");
  ui.AnswerMsgBox(vbOK, "仕訳画面の設定 [ ITEMCNT ] が正しくありません。");
  EXPECT_FALSE(Open());
  EXPECT_EQ(ui.Prompts().back().title, "仕訳");
  Ini("ITEMCNT", "3");
  stdfs::create_directory(dir / "SIWAKE1.DAT");
  ui.AnswerMsgBox(vbOK, "仕訳ﾌｧｲﾙ [ SIWAKE1.DAT ] を読み込むことが出来ません。");
  EXPECT_FALSE(Open());
  ui.ExpectAllAnswered();
}

TEST_F(SiwaTest, LongMasterIsShownButNeverEdited) {
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 1; i <= 10; ++i) rows.push_back({std::to_string(i * 10), "n"});
  dir.Write("SIWAKE1.DAT", Master(rows));
  const std::string before = File();
  ui.AnswerMsgBox(vbOK, "仕訳ﾌｧｲﾙ [ SIWAKE1.DAT ] のレコード件数が 8件を越えています。\r追加変更はできません。");
  ASSERT_TRUE(Open());
  EXPECT_EQ(Shown(1, 8), "80    ");
  frm->mnuFItem_Click(0);
  EXPECT_FALSE(frm->EditMode);
  EXPECT_EQ(frm->Menus().At("mnuFItem", 0).caption, "追加変更(&A) OFF");
  sheet.SetCursor(1, 1);
  EXPECT_EQ(sheet.EditMode(), 0);
  ui.ExpectAllAnswered();
  EXPECT_EQ(File(), before);
}

TEST_F(SiwaTest, SaveWritesCodeOrderAndReloadsTheLookup) {
  dir.Write("SIWAKE1.DAT", Master({{"30", "三十"}}));
  ASSERT_TRUE(Open());
  frm->mnuFItem_Click(0);
  ASSERT_TRUE(frm->EditMode);
  EXPECT_EQ(frm->Menus().At("mnuFItem", 0).caption, "追加変更(&A) ON");
  Type(1, 3, "10");
  Type(2, 3, "十");
  Type(1, 4, "a1");
  Type(1, 5, "A1");
  Type(3, 6, "xx");  // no code: dropped by the save
  EXPECT_TRUE(frm->MasterModified);
  frm->mnuFItem_Click(1);
  EXPECT_FALSE(frm->MasterModified);
  EXPECT_FALSE(frm->EditMode);
  const std::string file = File();
  ASSERT_EQ(file.size(), 4u * 256);
  const char* order[] = {"10", "30", "A1", "a1"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(file.substr(size_t(i) * 256 + 19, 6), Pad(order[i], 6)) << i;
  EXPECT_EQ(file.substr(3 * 256 + 7, 4), " -99");
  // The grid shows the saved rows in code order, and the lookup finds them.
  EXPECT_EQ(Shown(1, 1), "10    ");
  EXPECT_EQ(Shown(1, 5), "      ");
  EXPECT_EQ(st.CodeTableCounts[1], 4);
  std::string name;
  EXPECT_TRUE(SiwakeItemFind(st, 1, "10", name));
  EXPECT_EQ(name, ToSjis("十"));
  EXPECT_TRUE(SiwakeItemFind(st, 1, "a1", name));
}

TEST_F(SiwaTest, FailedSaveKeepsFileGridAndModifiedFlag) {
  dir.Write("SIWAKE1.DAT", Master({{"30", "三十"}}));
  ASSERT_TRUE(Open());
  const std::string before = File();
  frm->mnuFItem_Click(0);
  Type(1, 2, "10");
  // The master cannot be written: a read-only file.
  stdfs::permissions(dir / "SIWAKE1.DAT", stdfs::perms::owner_read);
  ui.AnswerMsgBox(vbOK, "仕訳ﾌｧｲﾙ [ SIWAKE1.DAT ] を保存することが出来ませんでした。\r");
  frm->mnuFItem_Click(1);
  ASSERT_FALSE(ui.Prompts().empty());
  EXPECT_EQ(ui.Prompts().back().title, "仕訳");
  EXPECT_EQ(File(), before);
  EXPECT_TRUE(frm->MasterModified);
  EXPECT_TRUE(frm->EditMode);
  EXPECT_EQ(Shown(1, 2), "10");
  EXPECT_EQ(Code(2), "10    ");
  EXPECT_EQ(Code(1), "30    ");
  EXPECT_EQ(st.CodeTableCounts[1], 0);  // not reloaded
  // The close question's Yes with a save that fails keeps the window open.
  ui.AnswerMsgBox(vbYes, "仕訳ﾌｧｲﾙを保存して終了しますか？");
  ui.AnswerMsgBox(vbOK, "を保存することが出来ませんでした。");
  EXPECT_FALSE(frm->Form_QueryUnload());
  EXPECT_TRUE(st.SiwakeWindowOpen);
  ui.ExpectAllAnswered();
}

TEST_F(SiwaTest, EditModeSwitchAndCloseQuestions) {
  ASSERT_TRUE(Open());
  frm->mnuFItem_Click(0);
  Type(1, 1, "10");
  // Off with changes: No keeps them unsaved.
  ui.AnswerMsgBox(vbNo, "仕訳ﾌｧｲﾙが変更されています変更を保存しますか？");
  frm->mnuFItem_Click(0);
  EXPECT_EQ(ui.Prompts().back().title, "変更");
  EXPECT_FALSE(frm->EditMode);
  EXPECT_TRUE(frm->MasterModified);
  EXPECT_FALSE(stdfs::exists(dir / "SIWAKE1.DAT"));
  // Close: Cancel keeps the window open, its place and zoom still written.
  frm->mnuVZItem_Click(2);
  EXPECT_TRUE(frm->Menus().At("mnuVZItem", 2).checked);
  EXPECT_EQ(sheet.Zoom(), 80);
  ui.AnswerMsgBox(vbCancel, "仕訳ﾌｧｲﾙを保存して終了しますか？");
  EXPECT_FALSE(frm->Form_QueryUnload());
  EXPECT_TRUE(st.SiwakeWindowOpen);
  EXPECT_EQ(IniGetInt("ズーム倍率", "SiwakeZoom", dir / "KVSSYS.INI"), 80);
  EXPECT_EQ(IniGetInt("仕訳画面", "Width", dir / "KVSSYS.INI"), 9000);
  // Yes saves (a new master file) and closes; the lock goes after the flag.
  ui.AnswerMsgBox(vbYes, "仕訳ﾌｧｲﾙを保存して終了しますか？");
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_FALSE(st.SiwakeWindowOpen);
  EXPECT_EQ(calls.back(), "Hiinsatu(F,closed)");
  EXPECT_EQ(File().substr(19, 6), "10    ");
  // The stored zoom comes back at the next opening.
  ASSERT_TRUE(Open());
  EXPECT_EQ(frm->ZoomPercent, 80);
  EXPECT_EQ(sheet.Zoom(), 80);
  EXPECT_TRUE(frm->Menus().At("mnuVZItem", 2).checked);
  // And a No drops the changes.
  frm->mnuFItem_Click(0);
  Type(1, 2, "20");
  ui.AnswerMsgBox(vbNo);
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_EQ(File().size(), 256u);
  ui.ExpectAllAnswered();
}

TEST_F(SiwaTest, HandOffFromCodeAndNameColumns) {
  dir.Write("SIWAKE1.DAT", Master({{"105", "基礎"}, {"", ""}}));
  st.CodeTables[1] = {{ToSjis("105   "), ToSjis("基礎      ")}};
  st.CodeTableCounts[1] = 1;
  struct Case {
    const char* name;
    int col;
    int siwaRow;
    bool handed;
  } cases[] = {{"code column", 6, 1, true},
               {"name column moves the cursor to the code column", 7, 1, true},
               {"another master's column", 8, 1, false},
               {"a plain column", 1, 1, false},
               {"a blank code", 6, 2, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (auto& row : st.SheetRows) row = Record({});
    ASSERT_TRUE(Open(6, 3));
    MoveTo(c.col, 3);
    calls.clear();
    frm->SiwaSheet_DblClk(1, c.siwaRow);
    EXPECT_EQ(test::SheetFixture::Bytes(st.SheetRows[3], 106, 4), c.handed ? "105 " : "    ");
    EXPECT_EQ(test::SheetFixture::Bytes(st.SheetRows[3], 110, 10), c.handed ? "基礎      " : Pad("", 10));
    if (c.handed) {
      // The estimate's cursor and current column stay together.
      EXPECT_EQ(st.CurrentCol, grid.CurrentCol());
      EXPECT_NE(std::find(calls.begin(), calls.end(), "EditorFocus"), calls.end());
    }
  }
  // In edit mode a double click edits the master's cell instead.
  for (auto& row : st.SheetRows) row = Record({});
  frm->mnuFItem_Click(0);
  sheet.SetCursor(1, 1);
  frm->SiwaSheet_DblClk(1, 1);
  EXPECT_TRUE(sheet.Editing());
  EXPECT_EQ(test::SheetFixture::Bytes(st.SheetRows[3], 106, 4), "    ");
}

TEST_F(SiwaTest, DuplicateCodesAreRefusedAsTheyStand) {
  dir.Write("SIWAKE1.DAT", Master({{"10", "a"}, {"20", "b"}, {"30", "c"}}));
  ASSERT_TRUE(Open());
  frm->mnuFItem_Click(0);
  const char* typedDup = "既に同じコードが入力されているのでこのコードは入力できません";
  const char* pastedDup = "既に同じコードが入力されているのでコードは貼り付けできません";
  // Typed: another row's code, with a trailing blank, the row's own code.
  struct Typed {
    int row;
    const char* text;
    bool refused;
  } typed[] = {{4, "10", true}, {4, "10 ", true}, {2, "20", true}, {4, "40", false}, {5, " ", false}};
  for (const Typed& t : typed) {
    SCOPED_TRACE(t.text);
    const std::string before = Code(t.row);
    if (t.refused) ui.AnswerMsgBox(vbOK, typedDup);
    Type(1, t.row, t.text);
    EXPECT_EQ(Code(t.row), t.refused ? before : Pad(t.text, 6));
    if (t.refused) {
      EXPECT_EQ(Shown(1, t.row), before);
    }
  }
  ui.ExpectAllAnswered();
  // Cut rows 1-2, paste them lower: their codes go with them, no message.
  Select(1, 1, 2, 2);
  frm->mnuEItem_Click(0);
  EXPECT_EQ(Code(1), "      ");
  Select(1, 6, 1, 6);
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(6), "10    ");
  EXPECT_EQ(Code(7), "20    ");
  EXPECT_EQ(FromSjis(frm->MasterRows[2][7]), Pad("b", 10));
  // Pasted twice in one paste: the second is refused; onto itself: kept.
  ui.clipboard = "50\r\n50\r\n";
  ui.AnswerMsgBox(vbOK, pastedDup);
  Select(1, 1, 1, 1);
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(1), "50    ");
  EXPECT_EQ(Code(2), "      ");
  ui.clipboard = "50";
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(1), "50    ");
  ui.ExpectAllAnswered();
  // A refused edit in view mode after a cut does not bring the cut code back.
  Select(1, 6, 1, 6);
  frm->mnuEItem_Click(0);
  ui.AnswerMsgBox(vbNo, "仕訳ﾌｧｲﾙが変更されています変更を保存しますか？");
  frm->mnuFItem_Click(0);  // edit mode off, the changes kept unsaved
  sheet.SetCursor(1, 3);   // a filled cell: view mode cannot change it
  EXPECT_EQ(sheet.EditMode(), 0);
  sheet.BeginEdit(0);
  sheet.CommitEdit("99");
  EXPECT_EQ(Code(3), "30    ");
  EXPECT_EQ(Shown(1, 3), "30    ");
  EXPECT_EQ(Shown(1, 6), "      ");
  EXPECT_EQ(Shown(1, 7), "20    ");
  ui.ExpectAllAnswered();
}

TEST_F(SiwaTest, ClipboardFormatsAndPasteParsing) {
  dir.Write("SIWAKE1.DAT", Master({{"12", "名"}}));
  ASSERT_TRUE(Open());
  frm->mnuFItem_Click(0);
  Select(1, 1, 1, 1);
  frm->mnuEItem_Click(1);
  EXPECT_EQ(ui.clipboard, "12    \r\n");
  Select(1, 1, 2, 1);
  frm->mnuEItem_Click(1);
  EXPECT_EQ(ui.clipboard, "12    \t" + Pad("名", 8 + std::string("名").size()) + "\t\r\n");
  // "A" Tab "B" CR LF "C" at (1, 5): A and C pasted, B not (the last line
  // has one cell).
  ui.clipboard = "A\tB\r\nC";
  Select(1, 5, 1, 5);
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(5), "A     ");
  EXPECT_EQ(Code(6), "C     ");
  EXPECT_EQ(FromSjis(frm->MasterRows[2][5]), Pad("", 10));
  // Clipped at the grid's last row and last item; cut to the width.
  ui.clipboard = "x1\ty\tz\tw\r\nx2\ty\tz\tw\r\nx3\ty\tz\tw\r\n";
  Select(2, 7, 2, 7);
  frm->mnuEItem_Click(2);
  EXPECT_EQ(FromSjis(frm->MasterRows[2][7]), Pad("x1", 10));
  EXPECT_EQ(FromSjis(frm->MasterRows[3][8]), "y   ");
  ui.clipboard = "toolongcode";
  Select(1, 4, 1, 4);
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(4), "toolon");
  ui.clipboard = "";
  frm->mnuEItem_Click(2);
  EXPECT_EQ(Code(4), "toolon");
}

TEST_F(SiwaTest, RowCommandsKeysAndCursor) {
  dir.Write("SIWAKE1.DAT", Master({{"10", "a"}, {"20", "b"}, {"30", "c"}, {"40", "d"}, {"50", "e"}, {"60", "f"}}));
  ASSERT_TRUE(Open());
  frm->mnuFItem_Click(0);
  // Last used row 6 of 8: three rows refused, two done.
  Select(1, 2, 1, 4);
  ui.AnswerMsgBox(vbOK, "挿入行が多すぎます");
  frm->mnuEItem_Click(6);
  EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
  EXPECT_TRUE(frm->MasterModified);
  EXPECT_EQ(Code(2), "20    ");
  Select(1, 2, 1, 3);
  frm->mnuEItem_Click(6);
  EXPECT_EQ(Code(2), "      ");
  EXPECT_EQ(Code(4), "20    ");
  EXPECT_EQ(Code(8), "60    ");
  // Row delete takes them out again.
  frm->mnuEItem_Click(5);
  EXPECT_EQ(Code(2), "20    ");
  EXPECT_EQ(Code(7), "      ");
  // Ctrl+End: the row above the last filled row; Ctrl+Home: row 1.
  int key = gridkey::kEnd;
  frm->SiwaSheet_KeyDown2(key, false, true);
  EXPECT_EQ(sheet.CurrentRow(), 5);
  EXPECT_EQ(key, 0);
  key = gridkey::kHome;
  frm->SiwaSheet_KeyDown2(key, false, true);
  EXPECT_EQ(sheet.CurrentRow(), 1);
  // The Delete key blanks one cell, in the grid and the row table.
  sheet.SetCursor(1, 3);
  ClearSelect32(sheet);
  key = gridkey::kDelete;
  frm->SiwaSheet_KeyDown2(key, false, false);
  EXPECT_EQ(key, 0);
  EXPECT_EQ(Code(3), "      ");
  EXPECT_EQ(Shown(1, 3), "      ");
  // AutoDownFlag 1: an entry moves down, except on the last row.
  st.AutoDownFlag = 1;
  Type(1, 7, "70");
  EXPECT_EQ(sheet.CurrentRow(), 8);
  Type(1, 8, "80");
  EXPECT_EQ(sheet.CurrentRow(), 8);
  // Japanese input follows the column.
  sheet.SetCursor(2, 1);
  EXPECT_TRUE(sheet.ImeOn());
  sheet.SetCursor(1, 1);
  EXPECT_FALSE(sheet.ImeOn());
  ui.ExpectAllAnswered();
}

TEST_F(SiwaTest, CoverToolKeepsTheWindowMinimised) {
  ASSERT_TRUE(Open());
  st.CoverToolPid = 42;
  frm->Form_Resize();
  EXPECT_EQ(state, WindowState::Minimized);
}

}  // namespace
}  // namespace kv
