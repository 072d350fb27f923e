// The total-row names window's logic over a plain one-row grid: its layout
// and contents, edits and their refusal on computed columns, the keys, the
// cursor passing over masked columns, save, discard and the close question.
#include "editor/total_names.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/ui.h"
#include "sheet/sheet_fixture.h"

namespace kv {
namespace {

constexpr const char* kQuestion = "名称が変更されています。保存しますか？";

class TotalNamesTest : public test::SheetFixture {
 protected:
  GridModel names;
  GridModel editor;
  std::string caption;
  int menuEnables = 0;
  bool menuEnabled = true;
  int unloads = 0;
  std::unique_ptr<TotalNames> tn;

  void SetUp() override {
    SheetFixture::SetUp();
    names.SetFontMetrics(&metrics);
    editor.SetFontMetrics(&metrics);
    editor.SetTotalsLine(true);
    editor.SetRowCount(st.Imax + 1);
    editor.SetColCount(4);
    st.ToTalNameColmun = 1;
    st.SheetTotalRecord = Record({{20, "小計"}, {30, "仕様の合計名称です"}, {70, "数"}, {82, "12345"}});
  }
  void TearDown() override {
    tn.reset();
    names.SetFontMetrics(nullptr);
    editor.SetFontMetrics(nullptr);
    SheetFixture::TearDown();
  }

  void Load() {
    TotalNamesPort port;
    port.SetCaption = [this](const std::string& c) { caption = c; };
    port.MenuEnable = [this](bool on) {
      menuEnabled = on;
      ++menuEnables;
    };
    port.Unload = [this] { ++unloads; };
    tn = std::make_unique<TotalNames>(st, names, &editor, std::move(port));
    tn->Form_Load();
  }

  // Types a text into the cursor cell and ends the edit, as the view does.
  void EditCell(int col, const std::string& text) {
    names.SetCursor(col, 1);
    names.BeginEdit(0);
    names.CommitEdit(text);
  }

  void Mask(int col) { st.MaskDef[1][col][size_t(st.XMASK[1])] = 'M'; }
};

TEST_F(TotalNamesTest, LoadLaysOutTheLevelsColumnsAndShowsTheNamesAndStarRuns) {
  Load();
  EXPECT_EQ(caption, "1.階層 合計名称");
  EXPECT_EQ(names.RowCount(), 1);
  EXPECT_EQ(names.ColCount(), 4);
  EXPECT_FALSE(names.TotalsLine());
  EXPECT_EQ(names.Zoom(), 90);
  EXPECT_EQ(names.CurrentCol(), 1);
  EXPECT_EQ(names.CurrentRow(), 1);
  // A "W" column on the level: rows are two text lines high.
  const int h = PointToHeight32(names, names.FontSize());
  EXPECT_EQ(names.RowHeight(1), 2 * h - 2);
  EXPECT_EQ(tn->GridHeightTwips(), ((2 * h - 2) * 2 + 11) * 20);
  EXPECT_EQ(names.CellText(1, 0), "名称      ");
  EXPECT_EQ(names.CellText(2, 0), "  仕様");  // "W" caption: trailing blanks removed only
  EXPECT_EQ(names.CellText(1, 1), "小計      ");
  EXPECT_EQ(names.CellText(2, 1), "仕様の合計名称です" + std::string(22, ' '));
  EXPECT_EQ(names.CellText(3, 1), "数          ");
  // The computed column: a "*" for each place of its number format.
  EXPECT_EQ(names.CellText(4, 1), std::string(st.FormatMasks[1][4].size(), '*'));
  EXPECT_FALSE(tn->Changed());
  EXPECT_FALSE(menuEnabled);
}

TEST_F(TotalNamesTest, RowsAreOneLineHighWithoutAWColumnAndMaskedColumnsAreNarrow) {
  st.ColType[1][2] = "C";
  Mask(3);
  Load();
  const int h = PointToHeight32(names, names.FontSize());
  EXPECT_EQ(names.RowHeight(0), h + 1);
  EXPECT_EQ(tn->GridHeightTwips(), ((h + 1) * 2 + 11) * 20);
  EXPECT_EQ(names.ColWidth(3), 2);
  EXPECT_EQ(names.CellText(3, 0), "");
  EXPECT_GT(names.ColWidth(1), 2);
}

TEST_F(TotalNamesTest, AnEditIsJoinedToOneLineAndCutToTheColumnsBytes) {
  struct Case {
    int col;
    std::string typed, shown;
  } cases[] = {
      {1, "ABCDEFGHIJKLM", "ABCDEFGHIJ"},
      {1, "AB\nCD", "ABCD"},
      {1, "AB\r\nCD", "ABCD"},
      {1, "あいうえおか", "あいうえお"},
      {1, "あいうえXおか", "あいうえX "},  // a split double-byte character is dropped
      {3, "合計", "合計"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Load();
    EditCell(c.col, c.typed);
    EXPECT_EQ(names.CellText(c.col, 1), c.shown);
    EXPECT_TRUE(tn->Changed());
    EXPECT_TRUE(menuEnabled);
  }
}

TEST_F(TotalNamesTest, AComputedColumnRefusesEdits) {
  Load();
  names.SetCursor(4, 1);
  EXPECT_EQ(names.EditMode(), 0);
  EXPECT_FALSE(names.StartEditByTyping('A', "A"));
  // A double click opens even a read-only cell; its end puts the run back.
  names.DoubleClick(4, 1);
  ASSERT_TRUE(names.Editing());
  names.CommitEdit("X");
  EXPECT_EQ(names.CellText(4, 1), std::string(st.FormatMasks[1][4].size(), '*'));
  EXPECT_FALSE(tn->Changed());
  names.SetCursor(1, 1);
  EXPECT_EQ(names.EditMode(), 9);
}

TEST_F(TotalNamesTest, F2OpensOnlyAnEditableCell) {
  st.EditCellPosition = 1;
  Load();
  names.SetCursor(4, 1);
  EXPECT_TRUE(names.KeyDown(gridkey::kF2, false, false));
  EXPECT_FALSE(names.Editing());
  EXPECT_FALSE(tn->Changed());
  names.SetCursor(1, 1);
  names.KeyDown(gridkey::kF2, false, false);
  EXPECT_TRUE(names.Editing());
  EXPECT_TRUE(tn->Changed());
  EXPECT_TRUE(menuEnabled);
}

TEST_F(TotalNamesTest, DeleteBlanksOneEditableCellAndIsAlwaysSwallowed) {
  Load();
  names.SetCursor(1, 1);
  EXPECT_TRUE(names.KeyDown(gridkey::kDelete, false, false));
  EXPECT_EQ(names.CellText(1, 1), std::string(10, ' '));
  EXPECT_TRUE(tn->Changed());

  Load();
  names.SetSelection(1, 1, 2, 1);
  EXPECT_TRUE(names.KeyDown(gridkey::kDelete, false, false));
  EXPECT_EQ(names.CellText(1, 1), "小計      ");
  EXPECT_FALSE(tn->Changed());

  names.ClearSelection();
  names.SetCursor(4, 1);
  EXPECT_TRUE(names.KeyDown(gridkey::kDelete, false, false));
  EXPECT_EQ(names.CellText(4, 1), std::string(st.FormatMasks[1][4].size(), '*'));
  EXPECT_FALSE(tn->Changed());
}

TEST_F(TotalNamesTest, TheCursorPassesOverMaskedColumnsInTheDirectionOfTheMove) {
  Mask(2);
  Load();
  names.KeyDown(gridkey::kRight, false, false);
  EXPECT_EQ(names.CurrentCol(), 3);
  names.KeyDown(gridkey::kLeft, false, false);
  EXPECT_EQ(names.CurrentCol(), 1);
  // Nothing shown further right: the cursor stays where it was.
  Mask(4);
  Load();
  names.SetCursor(3, 1);
  names.KeyDown(gridkey::kRight, false, false);
  EXPECT_EQ(names.CurrentCol(), 3);
  EXPECT_EQ(names.EditMode(), 9);
}

TEST_F(TotalNamesTest, NoRangeSelectionNoSplitNoPopup) {
  Load();
  names.SetSelection(1, 1, 3, 1);
  names.events.SelectEnd(3, 1);
  EXPECT_FALSE(names.HasSelection());
  names.SetDivide(40, 0);
  EXPECT_FALSE(names.Split());
  bool ignore = false;
  names.events.RButtonDown(1, 1, ignore);
  EXPECT_TRUE(ignore);
}

TEST_F(TotalNamesTest, SaveWritesTheWholeFieldsAndTheEditorsTotalsLine) {
  st.SheetModified = false;
  const std::string before = st.SheetTotalRecord;
  Load();
  EditCell(2, "新名称   ");
  EditCell(1, "計");
  tn->mnuSItem_Click(0);
  // "W": the trimmed text, nothing of the longer old name left behind.
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 30, 40), "新名称" + std::string(34, ' '));
  EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), "計        ");
  EXPECT_EQ(st.SheetTotalRecord.substr(69, 24), before.substr(69, 24));  // untouched columns
  EXPECT_EQ(st.SheetTotalRecord.size(), before.size());
  EXPECT_TRUE(st.SheetModified);
  // The totals line: a "W" column shows its first line's width only.
  EXPECT_EQ(editor.CellText(2, st.Imax + 1), "新名称" + std::string(13, ' '));
  EXPECT_EQ(editor.CellText(1, st.Imax + 1), "計        ");
  EXPECT_FALSE(tn->Changed());
  EXPECT_FALSE(menuEnabled);
}

TEST_F(TotalNamesTest, SaveWithoutAChangeAndDiscardLeaveTheRecord) {
  st.SheetModified = false;
  const std::string before = st.SheetTotalRecord;
  Load();
  tn->mnuSItem_Click(0);
  EXPECT_FALSE(st.SheetModified);
  EditCell(1, "XYZ");
  tn->mnuSItem_Click(1);
  EXPECT_EQ(names.CellText(1, 1), "小計      ");
  EXPECT_FALSE(tn->Changed());
  EXPECT_FALSE(menuEnabled);
  tn->mnuSItem_Click(0);
  EXPECT_EQ(st.SheetTotalRecord, before);
  EXPECT_FALSE(st.SheetModified);
  tn->mnuSItem_Click(3);
  EXPECT_EQ(unloads, 1);
}

TEST_F(TotalNamesTest, EveryColumnComputedShowsOnlyStarsAndSavesNothing) {
  for (int c = 1; c <= 4; ++c) st.ColTotalKind[1][c] = "SUM";
  st.SheetModified = false;
  const std::string before = st.SheetTotalRecord;
  Load();
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(names.CellText(c, 1).find_first_not_of('*'), std::string::npos);
  names.KeyDown(gridkey::kDelete, false, false);
  tn->TotalNameSave();
  EXPECT_EQ(st.SheetTotalRecord, before);
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(TotalNamesTest, ClosingAfterAnEditAsksWhetherToSave) {
  for (int answer : {vbNo, vbYes}) {
    SCOPED_TRACE(answer);
    st.SheetTotalRecord = Record({{20, "小計"}});
    Load();
    EditCell(1, "合計額");
    ui.AnswerMsgBox(answer, kQuestion);
    tn->Form_Unload();
    ui.ExpectAllAnswered();
    EXPECT_EQ(Bytes(st.SheetTotalRecord, 20, 10), answer == vbYes ? "合計額    " : "小計      ");
  }
  // Nothing changed: no question.
  Load();
  const size_t shown = ui.Prompts().size();
  tn->Form_Unload();
  EXPECT_EQ(ui.Prompts().size(), shown);
}

}  // namespace
}  // namespace kv
