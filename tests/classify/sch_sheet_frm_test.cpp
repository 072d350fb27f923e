// The search window over the scripted UI, on a three-level estimate in a
// temporary program folder: the search and its ways out, the close while
// hits are read, the window's settings, the result grid's keys, the jump to
// a hit, and the opening from the reference window.
#include "classify/sch_sheet_frm.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classify/frm_kensaku.h"
#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "storage/level_fixture.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

std::string J(const char* text) { return ToAnsiBytes(text); }

// A name in column A (10 bytes) and an amount in column B (12 bytes).
std::string Row(const char* name, const char* amount = "") {
  std::string t = J(name);
  t.resize(10, ' ');
  const std::string a = amount;
  return t + std::string(12 - a.size(), ' ') + a;
}

std::string Trimmed(std::string s) {
  s.erase(s.find_last_not_of(' ') + 1);
  return s;
}

class SchSheetTest : public LevelFixture {
 protected:
  GridModel grid;
  RecordingSheet sheet;
  RecordingEditor editor;
  std::vector<std::string> port;  // what the logic asked of its window
  std::unique_ptr<SchSheet_Frm> frm;

  void SetUp() override {
    LevelFixture::SetUp();
    st.sheetEngine = &sheet;
    st.editor = &editor;
    st.FontName = "ＭＳ 明朝";
    st.CaptionColmun1 = 1;
    st.CaptionColmun2 = 1;
    for (int l = 1; l <= 8; ++l) {
      std::string caption(static_cast<size_t>(st.DataLen), ' ');
      caption.replace(19, 4, J("名称"));
      caption.replace(29, 4, J("金額"));
      st.LevelCaption[l] = caption;
      st.FormatMasks[l] = MakeColumnMasks(st, l);
    }
    // Level 1: 工事 (1), 躯体 (2, breakdown at level-2 record 1), closing.
    // Level 2: 基礎 (1), 柱 (2, breakdown at level-3 record 1), closing.
    // Level 3: 型枠 (1), 柱型枠 (2), closing.
    WriteLevel(1, {{' ', 0, 2, kNoRecord, Row("工事", "1234567")}, {' ', 0, 3, 1, Row("躯体")}, {'G'}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, Row("基礎")}, {' ', 0, 3, 1, Row("柱")}, {'G'}});
    WriteLevel(3, {{' ', 0, 2, kNoRecord, Row("型枠")}, {' ', 0, 3, kNoRecord, Row("柱型枠")}, {'G'}});
    // The top sheet in memory.
    st.CurrentLevel = 1;
    st.CurrentCol = 1;
    st.UsedRows = 2;
    for (int r = 1; r <= 2; ++r) st.SheetRows[r] = ReadLevel(1)[static_cast<size_t>(r - 1)];
  }

  SchSheet_Frm& Open(bool reference = false) {
    st.SearchTitle = reference ? std::string(kRefSearchCaption) : std::string();
    SchSheetPort p;
    p.Bounds = [] { return WindowRect{120, 240, 7000, 4000}; };
    p.SetBounds = [this](const WindowRect& r) {
      port.push_back("SetBounds(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                     std::to_string(r.width) + "," + std::to_string(r.height) + ")");
    };
    p.SetCaption = [this](const std::string& c) { port.push_back("SetCaption(" + c + ")"); };
    p.HiinsatuStateSet = [this](bool on) { port.push_back(on ? "Hiinsatu(1)" : "Hiinsatu(0)"); };
    p.Close = [this] { port.push_back("Close()"); };
    p.EditorLevelCaption = [this](int level, const std::string& c) {
      port.push_back("Label(" + std::to_string(level) + "," + c + ")");
    };
    p.EditorGridFocus = [this] { port.push_back("EditorGridFocus()"); };
    frm = std::make_unique<SchSheet_Frm>(st, grid, std::move(p));
    frm->Form_Load();
    return *frm;
  }

  // A search of `text` answered with the end message.
  void Search(const std::string& text, const std::string& end = "検索が終了しました") {
    frm->SearchText = text;
    ui.AnswerMsgBox(vbOK, end);
    frm->CommandSearch_Click();
  }

  std::string Ini(const char* key, const char* file = "KENSAKU.INI") const {
    std::string v;
    IniGetString("検索条件", key, v, app.path() / file);
    return v;
  }

  bool CondEmpty() const {
    for (int i = 0; i < 5; ++i) {
      const KensakuCondEntry& e = st.KensakuCond[static_cast<size_t>(i)];
      if (!e.ColumnNo.empty() || !e.Pattern.empty() || !e.WithBlanks.empty()) return false;
    }
    return true;
  }

  // The hit rows as "name|number line".
  std::vector<std::string> Hits() const {
    std::vector<std::string> out;
    for (int h = 1; h <= frm->Hits.HitCount; ++h) {
      std::string nums;
      for (int v : frm->Hits.HitNums[static_cast<size_t>(h)]) nums += std::to_string(v) + ",";
      std::string name = GetTextData32(grid, 1, h);
      name.erase(name.find_last_not_of(' ') + 1);
      out.push_back(name + "|" + nums);
    }
    return out;
  }
};

TEST(SchSheetLayout, FillsTheWindowBelowTheTwoLinesOfControls) {
  struct Case {
    const char* name;
    SchSheetMeasures m;
    SchSheetLayout want;
  };
  // window w, h; inner left, top, w, h; search box h, path h, jump w, button w, label w
  const Case cases[] = {
      {"a roomy window", {9000, 6000, 0, 0, 8880, 5200, 375, 345, 1350, 900, 1200},
       {0, 0, 0, 720, 8880, 4480, 7530, 7675, 6780}},
      {"narrower than 3000 twips: it grows, and the inside with it", {2000, 6000, 0, 0, 1880, 5200, 375, 345, 1350,
                                                                      900, 1200},
       {3000, 6000, 0, 720, 2880, 4480, 1530, 1675, 780}},
      {"lower than 3000 twips", {9000, 1000, 0, 0, 8880, 200, 375, 345, 1350, 900, 1200},
       {9000, 3000, 0, 720, 8880, 1480, 7530, 7675, 6780}},
      {"controls wider than the window: nothing below 0", {3000, 3000, 0, 0, 100, 100, 375, 345, 1350, 900, 1200},
       {0, 0, 0, 720, 100, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const SchSheetLayout l = SchSheetLayoutOf(c.m);
    EXPECT_EQ(l.growWidth, c.want.growWidth);
    EXPECT_EQ(l.growHeight, c.want.growHeight);
    EXPECT_EQ(l.gridTop, c.want.gridTop);
    EXPECT_EQ(l.gridWidth, c.want.gridWidth);
    EXPECT_EQ(l.gridHeight, c.want.gridHeight);
    EXPECT_EQ(l.linkLabelWidth, c.want.linkLabelWidth);
    EXPECT_EQ(l.label1Left, c.want.label1Left);
    EXPECT_EQ(l.searchTextWidth, c.want.searchTextWidth);
  }
}

TEST(SchSheetHitLevel, CountsTheParentsOfTheNumberLine) {
  struct Case {
    std::array<int, kHitNumberCount> nums;
    int levelCount;
    int want;
  };
  const Case cases[] = {
      {{5, 0}, 8, 1},                          // a level-1 hit on row 5
      {{1, 0}, 8, 1},                          // row 1
      {{0, 3, 7}, 8, 2},                       // row 7 under record 3
      {{0, 12, 40, 5}, 8, 3},                  // the path 12, 40, row 5
      {{0, 1, 2, 3, 4, 5, 6, 7, 0}, 8, 7},     // level 7
      {{0, 1, 2, 3, 4, 5, 6, 7, 9}, 8, 8},     // level 8: nine numbers
      {{0, 1, 2, 3, 4, 5, 6, 7, 9}, 3, 3},     // never past the level count
      {{0, 0, 5}, 8, 0},                       // no level: no jump
      {{0}, 8, 0},                             // the header row's empty line
  };
  for (const Case& c : cases) EXPECT_EQ(HitLevel(c.nums, c.levelCount), c.want);
}

TEST_F(SchSheetTest, ASearchListsItsHitsInReadingOrder) {
  Open();
  Search("柱");
  EXPECT_EQ(Hits(), (std::vector<std::string>{"柱|0,2,2,0,0,0,0,0,0,", "柱型枠|0,2,2,2,0,0,0,0,0,"}));
  EXPECT_EQ(frm->Label1, " 2");
  EXPECT_EQ(Trimmed(frm->DMLinkLabel), "躯体 > 2行目");
  EXPECT_TRUE(frm->CommandSearchEnabled);
  EXPECT_FALSE(frm->SearchBusy);
  EXPECT_EQ(editor.calls, (std::vector<std::string>{"ToolBarStateSet(1)", "ToolBarStateSet(0)"}));
  // The amount of a level-1 hit with its separators.
  Search("工事");
  EXPECT_NE(GetTextData32(grid, 2, 1).find("1,234,567"), std::string::npos);
  // The path label follows the cursor.
  Search("柱");
  SetSheetLocate32(grid, 1, 2);
  EXPECT_EQ(Trimmed(frm->DMLinkLabel), "躯体 > 柱 > 2行目");
  SetSheetLocate32(grid, 1, 5);
  EXPECT_EQ(frm->DMLinkLabel, "");
}

// Every way out of a search empties the compound conditions and releases
// the locks; a sheet that was not recorded is never searched.
TEST_F(SchSheetTest, EveryWayOutEndsTheCompoundConditionsAndTheLocks) {
  struct Case {
    const char* name;
    bool modified;
    int answer;         // to "記録後に検索を実行します"
    bool recorded;      // LevelSheetRecord's result
    int usedRows;
    std::string text;
    bool searched;      // KENSAKU.INI was written
    const char* end;    // the closing message, "" for none
  };
  const Case cases[] = {
      {"Cancel at the save question", true, vbCancel, true, 2, "柱", false, ""},
      {"the recording refused", true, vbOK, false, 2, "柱", false, ""},
      {"recorded, then searched", true, vbOK, true, 2, "柱", true, "検索が終了しました"},
      {"an empty top sheet", false, 0, true, 0, "柱", false, ""},
      {"an empty text", false, 0, true, 2, "", false, "検索が終了しました"},
      {"a normal search", false, 0, true, 2, "柱", true, "検索が終了しました"},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(app.path() / "KENSAKU.INI");
    editor.calls.clear();
    st.SheetModified = c.modified;
    st.UsedRows = c.usedRows;
    sheet.recordResult = c.recorded;
    st.KensakuCond[0] = {" 1", "柱", "1"};
    st.KensakuCond[1] = {" 2", "9", ""};
    frm->SearchText = c.text;
    if (c.modified) ui.AnswerMsgBox(c.answer, "記録後に検索を実行します");
    if (*c.end) ui.AnswerMsgBox(vbOK, c.end);
    frm->CommandSearch_Click();
    ui.ExpectAllAnswered();
    EXPECT_TRUE(CondEmpty());
    EXPECT_FALSE(frm->SearchBusy);
    EXPECT_TRUE(frm->CommandSearchEnabled);
    EXPECT_FALSE(ui.Busy());
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"ToolBarStateSet(1)", "ToolBarStateSet(0)"}));
    EXPECT_EQ(std::filesystem::exists(app.path() / "KENSAKU.INI"), c.searched);
    EXPECT_EQ(st.SheetModified, c.modified && !(c.answer == vbOK && c.recorded));
  }
  // After a compound search, a simple one searches the typed text.
  Search("基礎");
  EXPECT_EQ(Ini("検索条件件数"), "1");
  EXPECT_EQ(Hits(), (std::vector<std::string>{"基礎|0,2,1,0,0,0,0,0,0,"}));
}

TEST_F(SchSheetTest, ATextShiftJisCannotHoldIsRefused) {
  Open();
  frm->SearchText = "柱\xF0\x9F\x98\x80";  // an emoji
  ui.AnswerMsgBox(vbOK, "検索できない文字が含まれています: 「\xF0\x9F\x98\x80」");
  frm->CommandSearch_Click();
  EXPECT_FALSE(std::filesystem::exists(app.path() / "KENSAKU.INI"));
  EXPECT_FALSE(frm->SearchBusy);
  EXPECT_EQ(editor.calls.back(), "ToolBarStateSet(0)");
}

TEST_F(SchSheetTest, ADamagedLevelFileIsToldWithItsOwnMessage) {
  Open();
  Search("柱");
  ASSERT_EQ(frm->Hits.HitCount, 2);
  // The level-2 file damaged: a link past its end.
  WriteLevel(2, {{' ', 0, 2, kNoRecord, Row("基礎")}, {' ', 0, 9, 1, Row("柱")}, {'G'}});
  frm->SearchText = "柱";
  ui.AnswerMsgBox(vbOK, "EST.Y2");
  frm->CommandSearch_Click();
  ui.ExpectAllAnswered();
  EXPECT_FALSE(frm->SearchBusy);
  EXPECT_EQ(editor.calls.back(), "ToolBarStateSet(0)");
}

// A search that could not run lists nothing, not the hits of the search
// before it, and says so instead of "検索が終了しました".
TEST_F(SchSheetTest, ASearchThatCouldNotRunListsNothing) {
  Open();
  Search("柱");
  ASSERT_EQ(frm->Hits.HitCount, 2);
  std::filesystem::remove(app.path() / "KENSAKU.INI");
  std::filesystem::create_directory(app.path() / "KENSAKU.INI");  // cannot be written
  frm->SearchText = "柱";
  ui.AnswerMsgBox(vbOK, "検索できませんでした。");
  frm->CommandSearch_Click();
  ui.ExpectAllAnswered();
  EXPECT_EQ(frm->Hits.HitCount, 0);
  EXPECT_EQ(frm->Label1, " 0");
  EXPECT_EQ(frm->DMLinkLabel, "");
  EXPECT_EQ(GetTextData32(grid, 1, 1), "");
  EXPECT_EQ(GetTextData32(grid, 1, 2), "");
}

// A close while the hits are read is put off: the reading stops at the next
// hit and the window closes when the search has ended.
TEST_F(SchSheetTest, ACloseWhileHitsAreReadWaitsForTheSearch) {
  Open();
  bool asked = false;
  ui.onProcessEvents = [&] {
    if (frm->SearchBusy && frm->Hits.HitCount == 1 && !asked) {
      asked = true;
      EXPECT_FALSE(frm->Form_QueryUnload());
      EXPECT_TRUE(st.SearchSheetLoaded);
    }
  };
  st.SearchWindowOpen = true;
  frm->SearchText = "柱";
  frm->CommandSearch_Click();  // no end message: the window is closing
  EXPECT_TRUE(asked);
  EXPECT_EQ(frm->Hits.HitCount, 1);
  EXPECT_EQ(port.back(), "Close()");
  EXPECT_FALSE(frm->SearchBusy);
  EXPECT_EQ(editor.calls.back(), "ToolBarStateSet(0)");
  // The close then goes through.
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_FALSE(st.SearchWindowOpen);
}

TEST_F(SchSheetTest, TheZoomAndTheRectangleAreKeptInTheSettings) {
  const std::filesystem::path ini = app.path() / "KVSSYS.INI";
  // No zoom stored: no item checked, the grid at 100 %, the value written back.
  Open();
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(frm->Menus().At("RefZoomSub", i).checked);
  EXPECT_EQ(grid.Zoom(), 100);
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_EQ(IniGetInt("ズーム倍率", "KensakuZoom", ini), -1);
  EXPECT_EQ(st.SearchWinLeft, 120);
  EXPECT_EQ(st.SearchWinHeight, 4000);
  frm->Form_Unload();
  EXPECT_FALSE(st.SearchSheetLoaded);

  IniPutString("ズーム倍率", "KensakuZoom", "80", ini);
  port.clear();
  Open();
  EXPECT_EQ(port.front(), "SetBounds(120,240,7000,4000)");
  EXPECT_TRUE(frm->Menus().At("RefZoomSub", 2).checked);
  EXPECT_EQ(grid.Zoom(), 80);
  frm->RefZoomSub_Click(4);
  EXPECT_EQ(grid.Zoom(), 60);
  EXPECT_TRUE(frm->Menus().At("RefZoomSub", 4).checked);
  EXPECT_FALSE(frm->Menus().At("RefZoomSub", 2).checked);
  // Minimised, the rectangle is left as it was.
  st.SearchWinLeft = 1;
  ui.windowStates[std::string(kSearchWindow)] = WindowState::Minimized;
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_EQ(st.SearchWinLeft, 1);
  EXPECT_EQ(IniGetInt("ズーム倍率", "KensakuZoom", ini), 60);
  EXPECT_EQ(port.back(), "Hiinsatu(0)");
  EXPECT_EQ(ui.Unloaded().back(), std::string(kKensakuWindow));
}

TEST_F(SchSheetTest, TheCloseClearsTheFlagOfItsPurpose) {
  st.SearchWindowOpen = st.RefSearchOpen = true;
  Open(true);
  EXPECT_EQ(port.back().substr(0, 11), "SetCaption(");
  EXPECT_EQ(grid.SelectionColour(), 11);
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_FALSE(st.RefSearchOpen);
  EXPECT_TRUE(st.SearchWindowOpen);
  Open(false);
  EXPECT_TRUE(frm->Form_QueryUnload());
  EXPECT_FALSE(st.SearchWindowOpen);
}

TEST_F(SchSheetTest, TheGridIsReadOnlyAndItsKeysStepAsTheTableSays) {
  Open();
  Search("柱");
  int key = 'A';
  grid.events.PreEdit(key);
  EXPECT_EQ(key, 0);
  bool ignore = false;
  grid.events.RButtonDown(1, 1, ignore);
  EXPECT_TRUE(ignore);
  for (int k : {13, 46}) {
    int kk = k;
    frm->SchSheet_KeyDown2(kk, false, false);
    EXPECT_EQ(kk, 0);
  }
  // Ctrl+Down: one short of the last hit, Ctrl+Home row 1 (the grid's own
  // move for the key ends there).
  SetSheetLocate32(grid, 1, 5);
  key = 40;
  frm->SchSheet_KeyDown2(key, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);  // HitCount - 1
  EXPECT_EQ(key, 40);
  SetSheetLocate32(grid, 1, 5);
  key = 36;
  frm->SchSheet_KeyDown2(key, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  // With Shift the keys are the grid's own.
  SetSheetLocate32(grid, 1, 5);
  key = 40;
  frm->SchSheet_KeyDown2(key, true, true);
  EXPECT_EQ(grid.CurrentRow(), 5);
  // Esc closes the window while no search runs.
  key = 27;
  frm->SchSheet_KeyDown2(key, false, false);
  EXPECT_EQ(port.back(), "Close()");
}

TEST_F(SchSheetTest, TheCursorPassesHiddenColumnsOneByOne) {
  for (int l = 1; l <= 8; ++l) {
    st.ColCount[l] = 4;
    for (int c = 3; c <= 4; ++c) {
      st.ColStart[l][c] = 40 + (c - 3) * 10;
      st.ColWidth[l][c] = 10;
      st.ColType[l][c] = "C";
    }
    st.MaskDef[l][2][0] = 'M';
    st.MaskDef[l][3][0] = 'M';
  }
  Open();
  SetSheetLocate32(grid, 1, 1);
  SetSheetLocate32(grid, 2, 1);  // right onto hidden 2 and 3: on to 4
  EXPECT_EQ(grid.CurrentCol(), 4);
  SetSheetLocate32(grid, 3, 1);  // left onto hidden 3 and 2: back to 1
  EXPECT_EQ(grid.CurrentCol(), 1);
  // With only hidden columns to the right the cursor steps back.
  st.MaskDef[1][4][0] = 'M';
  SetSheetLocate32(grid, 2, 1);
  EXPECT_EQ(grid.CurrentCol(), 1);
}

// ---- The jump ----

TEST_F(SchSheetTest, AJumpOpensTheSheetOfTheHitUnderItsParents) {
  Open();
  Search("柱型枠");
  ASSERT_EQ(frm->Hits.HitCount, 1);
  st.CurrentCol = 2;
  port.clear();
  frm->SchSheet_DblClk(1, 1);
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(Text(st.ParentRows[1], 4), J("躯体"));
  EXPECT_EQ(Text(st.ParentRows[2], 2), J("柱"));
  EXPECT_EQ(Text(st.SheetRows[2], 6), J("柱型枠"));
  EXPECT_EQ(st.CurrentRow, 2);
  EXPECT_EQ(st.CurrentCol, 2);
  EXPECT_EQ(port, (std::vector<std::string>{"Label(1,躯体      :)", "Label(2,柱        :)", "EditorGridFocus()"}));
  EXPECT_TRUE(sheet.Has("SheetGridInit(3)"));
  EXPECT_EQ(sheet.calls.back(), "UndoSave()");

  // A level-1 hit on row 1 (the simple search reads the cursor column).
  st.CurrentCol = 1;
  Search("工事");
  frm->CommandJump_Click();
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.CurrentRow, 1);
  EXPECT_EQ(Text(st.SheetRows[1], 4), J("工事"));
}

TEST_F(SchSheetTest, AModifiedSheetIsRecordedAndSearchedAgainInsteadOfAJump) {
  Open();
  Search("柱型枠");
  st.SheetModified = true;
  ui.AnswerMsgBox(vbOK, "データが変更されているので記録後に再検索を実行します。");
  ui.AnswerMsgBox(vbOK, "検索が終了しました");
  frm->SchSheet_DblClk(1, 1);
  ui.ExpectAllAnswered();
  EXPECT_TRUE(sheet.Has("LevelSheetRecord()"));
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(st.PackPending);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(frm->Hits.HitCount, 1);
  // The header row and the rows below the hits: no jump, the snapshot and
  // the focus all the same; past the hits nothing at all.
  sheet.calls.clear();
  st.SheetModified = false;
  frm->SchSheet_DblClk(1, 0);
  EXPECT_EQ(sheet.calls, (std::vector<std::string>{"UndoSave()"}));
  sheet.calls.clear();
  frm->SchSheet_DblClk(1, 2);
  EXPECT_TRUE(sheet.calls.empty());
}

// A hit the recorded changes made stale changes nothing; a sheet that cannot
// be read puts the editor back where it was.
TEST_F(SchSheetTest, AStaleHitOrAnUnreadableSheetChangesNothing) {
  Open();
  Search("柱型枠");
  const auto parents = st.ParentRows;
  const std::string row1 = st.SheetRows[1];
  struct Case {
    const char* name;
    std::vector<Rec> level2;
    const char* message;
  };
  const Case cases[] = {
      {"the parent lost its breakdown", {{' ', 0, 2, kNoRecord, Row("基礎")}, {' ', 0, 3, kNoRecord, Row("柱")}, {'G'}},
       "検索結果が現在のデータと一致しません。"},
      {"the parent is the closing record now", {{' ', 0, 2, kNoRecord, Row("基礎")}, {'G'}},
       "検索結果が現在のデータと一致しません。"},
      {"the parent is no longer on its parent's chain",
       {{' ', 0, 3, kNoRecord, Row("基礎")}, {' ', 0, kNoRecord, 1, Row("柱")}, {'G'}}, "検索結果が現在のデータと一致しません。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteLevel(2, c.level2);
    sheet.calls.clear();
    ui.AnswerMsgBox(vbOK, c.message);
    frm->SchSheet_DblClk(1, 1);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.CurrentLevel, 1);
    EXPECT_EQ(st.ParentRows, parents);
    EXPECT_EQ(st.SheetRows[1], row1);
    EXPECT_EQ(sheet.calls, (std::vector<std::string>{"UndoSave()"}));
  }
  // The path holds, but the hit's own sheet is damaged (a loop).
  WriteLevel(2, {{' ', 0, 2, kNoRecord, Row("基礎")}, {' ', 0, 3, 1, Row("柱")}, {'G'}});
  WriteLevel(3, {{' ', 0, 2, kNoRecord, Row("型枠")}, {' ', 0, 1, kNoRecord, Row("柱型枠")}, {'G'}});
  sheet.calls.clear();
  port.clear();
  ui.AnswerMsgBox(vbOK, "EST.Y3");
  frm->SchSheet_DblClk(1, 1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.ParentRows, parents);
  EXPECT_EQ(st.SheetRows[1], row1);
  EXPECT_TRUE(sheet.Has("ShowParentLevelPath()"));
  EXPECT_FALSE(sheet.Has("SheetGridInit(3)"));
}

// ---- Opening ----

TEST_F(SchSheetTest, TheReferenceSearchOpensOnlyOnAReferenceItCanSearch) {
  bool closed = false;
  const auto close = [&] { closed = true; };
  st.RefWorkFileBase = st.AppPath + "/WORK2/REF";
  st.RefFitsEditor = true;
  for (int l = 1; l <= 3; ++l) {
    st.RefColCount[l] = st.ColCount[l];
    for (int c = 1; c <= 2; ++c) {
      st.RefColStart[l][c] = st.ColStart[l][c];
      st.RefColWidth[l][c] = st.ColWidth[l][c];
    }
  }
  st.RefSelStart = 2;
  st.RefCurrentLevel = 1;

  // The estimate's search window is loaded.
  st.SearchSheetLoaded = true;
  ui.AnswerMsgBox(vbOK, "編集画面検索で実行中です");
  Ref_Sch_Click(st, close);
  st.SearchSheetLoaded = false;
  // No reference file open.
  st.RefWorkFileBase = st.AppPath + "/WORK2/無題";
  ui.AnswerMsgBox(vbOK, "参考ﾌｧｲﾙを呼出し後に実行して下さい.");
  Ref_Sch_Click(st, close);
  st.RefWorkFileBase = st.AppPath + "/WORK2/REF";
  // Levels of different widths (in the editor and the reference alike): the
  // cursor column must be on every level, at one place.
  st.RefLayoutDiffers = true;
  st.RefColCount[2] = st.ColCount[2] = 1;
  ui.AnswerMsgBox(vbOK, "検索の位置が無効です");
  Ref_Sch_Click(st, close);
  st.RefColCount[2] = st.ColCount[2] = 2;
  st.RefColStart[3][2] = st.ColStart[3][2] = 31;
  ui.AnswerMsgBox(vbOK, "各階層の整合が異なります");
  Ref_Sch_Click(st, close);
  st.RefColStart[3][2] = st.ColStart[3][2] = 30;
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.RefSearchOpen);
  EXPECT_TRUE(ui.ModelessShown().empty());
  EXPECT_FALSE(closed);

  Ref_Sch_Click(st, close);
  EXPECT_EQ(st.SearchTitle, kRefSearchCaption);
  EXPECT_TRUE(st.RefSearchOpen);
  EXPECT_EQ(ui.ModelessShown(), (std::vector<std::string>{std::string(kSearchWindow)}));

  // A reference whose layout is not the editor's: the reference window closes.
  st.RefColCount[1] = 5;
  st.RefWindowOpen = st.RefSheetLoaded = true;
  ui.AnswerMsgBox(vbOK, "一旦参考画面を閉じます。");
  Ref_Sch_Click(st, close);
  EXPECT_TRUE(closed);
  EXPECT_FALSE(st.RefWindowOpen);
  EXPECT_FALSE(st.RefSheetLoaded);
}

// ---- The compound search dialog ----

// Three text columns on level 1: 名称 (A), 名称 again (C), 規格 (D); the
// amount B is no text column.
class KensakuDialogTest : public SchSheetTest {
 protected:
  std::unique_ptr<FrmKensaku> dlg;
  std::vector<std::string> dialog;

  void SetUp() override {
    SchSheetTest::SetUp();
    for (int l = 1; l <= 8; ++l) {
      st.ColCount[l] = 4;
      const int starts[] = {42, 52};
      for (int c = 3; c <= 4; ++c) {
        st.ColStart[l][c] = starts[c - 3];
        st.ColWidth[l][c] = 10;
        st.ColType[l][c] = c == 3 ? "C" : "W";
      }
      st.LevelCaption[l].replace(41, 4, J("名称"));
      st.LevelCaption[l].replace(51, 4, J("規格"));
    }
    Open();
    KensakuDialogPort p;
    p.Hide = [this] { dialog.push_back("Hide()"); };
    p.Unload = [this] { dialog.push_back("Unload()"); };
    dlg = std::make_unique<FrmKensaku>(st, *frm, std::move(p));
    dlg->Form_Load();
  }

  void SetRow(int i, int field, const std::string& text, bool blanks = false) {
    dlg->Rows[static_cast<size_t>(i)] = KensakuDialogRow{field, text, blanks};
  }
};

TEST_F(KensakuDialogTest, TheFieldsAreTheTextColumnsOfLevelOne) {
  ASSERT_EQ(dlg->FieldCaptions.size(), 4u);
  EXPECT_EQ(dlg->FieldCaptions[0], "(なし)");
  EXPECT_EQ(dlg->FieldCaptions[1].substr(0, 6), "名称");
  EXPECT_EQ(dlg->FieldCaptions[2].substr(0, 6), "名称");
  EXPECT_EQ(dlg->FieldColumns, (std::vector<int>{0, 1, 3, 4}));
}

TEST_F(KensakuDialogTest, OkRefusesRowsItCannotSearchInItsOrder) {
  struct Case {
    const char* name;
    std::vector<KensakuDialogRow> rows;
    const char* message;
  };
  const Case cases[] = {
      {"no field chosen", {{0, "", false}}, "検索ﾌｨｰﾙﾄﾞを指定してください。"},
      {"an asterisk alone, whatever its field", {{1, "ABC", false}, {0, "", false}, {0, " ＊ ", false}},
       "＊のみの入力はできません"},
      {"a half-width one", {{1, "*", false}}, "*のみの入力はできません"},
      {"a text without a field, before a valid row", {{0, "ABC", false}, {1, "DEF", false}},
       "検索ﾌｨｰﾙﾄﾞが(なし)で検索文字は入力できません"},
      {"a checked box without a field", {{1, "DEF", false}, {0, "", true}},
       "検索ﾌｨｰﾙﾄﾞが(なし)で空白含むはチェックできません \""},
      {"a field without a text", {{1, "ABC", false}, {3, "  ", false}, {2, "DEF", false}}, "検索文字を入力してください"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dlg->Rows = {};
    for (size_t i = 0; i < c.rows.size(); ++i) dlg->Rows[i] = c.rows[i];
    ui.AnswerMsgBox(vbOK, c.message);
    dlg->Command1_Click();
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, "検索");
    EXPECT_EQ(ui.Prompts().back().text, c.message);
    EXPECT_TRUE(dialog.empty());
    EXPECT_FALSE(std::filesystem::exists(app.path() / "KENSAKU.INI"));
  }
}

TEST_F(KensakuDialogTest, OkMovesTheUsedRowsUpAndSearchesThem) {
  SetRow(1, 1, "＊柱＊");
  SetRow(3, 3, " 型　枠 ", true);
  ui.AnswerMsgBox(vbOK, "検索が終了しました");
  dlg->Command1_Click();
  ui.ExpectAllAnswered();
  // The rows as the dialog shows them next time.
  EXPECT_EQ(dlg->Rows[0].field, 1);
  EXPECT_EQ(dlg->Rows[0].text, "*柱*");
  EXPECT_EQ(dlg->Rows[1].field, 3);
  EXPECT_TRUE(dlg->Rows[1].withBlanks);
  EXPECT_EQ(dlg->Rows[3].field, 0);
  EXPECT_FALSE(dlg->Rows[3].withBlanks);
  EXPECT_EQ(dialog, (std::vector<std::string>{"Hide()"}));
  // The summary stays in the search box; the conditions were written and
  // are gone with the search.
  EXPECT_EQ(frm->SearchText, "*柱*,型　枠");
  EXPECT_EQ(Ini("検索条件件数"), "2");
  EXPECT_EQ(Ini("1"), "19,10,*柱*,0,0");
  EXPECT_EQ(Ini("2"), "51,10,型　枠,1,0");
  EXPECT_TRUE(CondEmpty());
  EXPECT_EQ(Hits(), (std::vector<std::string>{}));
}

// Each field searches its own column, also when two share a caption.
TEST_F(KensakuDialogTest, TwoColumnsWithOneCaptionEachSearchTheirOwn) {
  // Column C holds 柱 on the row whose column A holds 基礎.
  std::vector<std::string> l2 = ReadLevel(2);
  l2[0].replace(41, 2, J("柱"));
  {
    RecordFile f(LevelPath(2), st.DataLen);
    f.PutRecordText(1, l2[0]);
  }
  SetRow(0, 2, "柱");
  ui.AnswerMsgBox(vbOK, "検索が終了しました");
  dlg->Command1_Click();
  EXPECT_EQ(Ini("1"), "41,10,柱,0,0");
  EXPECT_EQ(Hits(), (std::vector<std::string>{"基礎|0,2,1,0,0,0,0,0,0,"}));
  SetRow(0, 1, "柱");
  ui.AnswerMsgBox(vbOK, "検索が終了しました");
  dlg->Command1_Click();
  EXPECT_EQ(Ini("1"), "19,10,柱,0,0");
  EXPECT_EQ(Hits(), (std::vector<std::string>{"柱|0,2,2,0,0,0,0,0,0,", "柱型枠|0,2,2,2,0,0,0,0,0,"}));
}

TEST_F(KensakuDialogTest, ATextShiftJisCannotHoldIsRefusedAtOk) {
  SetRow(0, 1, "柱\xF0\x9F\x98\x80");
  ui.AnswerMsgBox(vbOK, "検索できない文字が含まれています");
  dlg->Command1_Click();
  ui.ExpectAllAnswered();
  EXPECT_TRUE(dialog.empty());
  EXPECT_TRUE(CondEmpty());
  dlg->Command2_Click();
  EXPECT_EQ(dialog, (std::vector<std::string>{"Unload()"}));
}

}  // namespace
}  // namespace kv::test
