// Laying the sheet grid out for a level, measured with the scripted UI's
// fixed-width text extent: 8 units a half-width character, 16 a full-width
// one, lines 16 high, at the grid's 10 points.
#include "sheet/grid_setup.h"

#include "platform/grid/grid_api.h"
#include "sheet/sheet_fixture.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

// The editor as far as the set-up uses it: the View menu's mask screens.
class MenuEditor : public RecordingEditor {
 public:
  EditorMenus menus = EditorMenuTree();
  EditorMenus* Menus() override { return &menus; }
  void MenusChanged(ProgramState&) override { Add("MenusChanged()"); }
};

class GridSetupTest : public SheetFixture {
 protected:
  MenuEditor editor;

  void SetUp() override {
    SheetFixture::SetUp();
    st.editor = &editor;
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    MaskMenuCaptions(editor.menus, st.MASK_NAME);
    st.ToTalNameColmun = 1;
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
  }

  int Width(bool numeric, int chars, int zoom = 100) {
    return CellTextExtent(st, numeric, chars, "ＭＳ 明朝", 10, zoom);
  }
};

TEST_F(GridSetupTest, LaysOutRowsHeadersCaptionsAndColumns) {
  st.GamenX[1] = 120;
  st.KVZoom = 90;
  SheetGridInit(st, grid, 1);

  EXPECT_TRUE(st.HasWideColumn);
  EXPECT_EQ(st.SheetFontSize, 10);
  EXPECT_EQ(grid.RowCount(), 201);
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(grid.FontName(), "ＭＳ 明朝");
  // A "W" column doubles every row: 2 x 16 - 2, the caption row and the
  // totals line too.
  for (int r : {0, 1, 200, 201}) EXPECT_EQ(grid.RowHeight(r), 30) << r;
  EXPECT_EQ(grid.ColWidth(0), 32);  // two full-width characters
  EXPECT_EQ(grid.CellText(0, 0), "  0 ");
  EXPECT_EQ(grid.CellColour(0, 0), 7);
  EXPECT_EQ(grid.CellText(0, 7), "  7 ");
  EXPECT_EQ(grid.CellColour(0, 200), 7);
  EXPECT_EQ(grid.CellText(0, 201), "計 ");
  EXPECT_EQ(grid.CellColour(0, 201), 0);

  // Text column of 10 characters: (80 + 80) / 2 x 1.15.
  EXPECT_EQ(grid.ColWidth(1), 92);
  EXPECT_EQ(grid.CellText(1, 0), "名称      ");
  EXPECT_EQ(grid.ColAlign(1), 0);
  // Two-line column: 19 characters, (152 + 152) / 2 x 1.06; its caption
  // fitted to one line of 19 bytes, leading blanks repeated at the end.
  EXPECT_EQ(grid.ColWidth(2), 161);
  EXPECT_EQ(grid.ColumnTextModeOf(2), 3);
  EXPECT_EQ(grid.CellText(2, 0), "  仕様" + std::string(13, ' '));
  // Numeric columns: right-aligned, measured by their mask.
  EXPECT_EQ(grid.ColAlign(3), 2);
  EXPECT_EQ(grid.ColAlign(4), 2);
  EXPECT_EQ(grid.ColumnTextModeOf(3), 0);

  EXPECT_EQ(grid.CurrentCol(), 1);
  EXPECT_EQ(grid.Zoom(), 90);
  EXPECT_EQ(grid.DivideX(), 120);
  EXPECT_TRUE(grid.Redraw());
  EXPECT_TRUE(grid.Visible());
  EXPECT_TRUE(grid.PageBreak(50));
  EXPECT_FALSE(grid.PageBreak(51));
}

TEST_F(GridSetupTest, TwoLineColumnWidthsRoundToEvenCharacters) {
  // 19 characters measure 161, 20 characters (160 + 160) / 2 x 1.06 = 169.
  for (auto [bytes, width] : {std::pair{40, 161}, {41, 169}, {43, 169}}) {
    st.ColWidth[1][2] = bytes;
    SheetGridInit(st, grid, 1);
    EXPECT_EQ(grid.ColWidth(2), width) << bytes;
  }
}

TEST_F(GridSetupTest, LevelWithoutTwoLineColumnHasSingleRows) {
  st.ColType[1][2] = "C";
  SheetGridInit(st, grid, 1);
  EXPECT_FALSE(st.HasWideColumn);
  EXPECT_EQ(grid.RowHeight(5), 17);
  EXPECT_EQ(grid.ColumnTextModeOf(2), 0);
}

TEST_F(GridSetupTest, HiddenColumnIsTwoUnitsWithoutCaption) {
  st.XMASK[1] = 2;
  st.MaskDef[1][3][2] = 'M';
  grid.SetColCount(4);
  SetTextData32(grid, 3, 0, "old caption");
  SheetGridInit(st, grid, 1);
  EXPECT_EQ(grid.ColWidth(3), 2);
  EXPECT_EQ(grid.CellText(3, 0), "");
  EXPECT_EQ(grid.CellText(4, 0), "金額        ");
}

TEST_F(GridSetupTest, ExactlyTheLevelsMaskScreenIsCheckedAndNamedInPanelThree) {
  st.XMASK[1] = 3;
  editor.menus.At("MaskGamen", 1).checked = true;
  SheetGridInit(st, grid, 1);
  int checked = 0;
  for (MenuItem* item : editor.menus.Array("MaskGamen")) checked += item->checked ? 1 : 0;
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(editor.menus.At("MaskGamen", 3).checked);
  EXPECT_EQ(bar.panels[3], "単価");
  EXPECT_TRUE(editor.Has("MenusChanged()"));
}

TEST_F(GridSetupTest, ALayoutChangeLeavesNoStaleColumnState) {
  SheetGridInit(st, grid, 1);
  // Level 2: the numeric and two-line columns of level 1 become text.
  st.ColCount[2] = 3;
  for (int c = 1; c <= 3; ++c) {
    st.ColType[2][c] = "C";
    st.ColStart[2][c] = 20 + 10 * (c - 1);
    st.ColWidth[2][c] = 10;
  }
  st.LevelCaption[2] = Record({});
  SheetGridInit(st, grid, 2);
  for (int c = 1; c <= 3; ++c) {
    EXPECT_EQ(grid.ColAlign(c), 0) << c;
    EXPECT_EQ(grid.ColumnTextModeOf(c), 0) << c;
  }
}

TEST_F(GridSetupTest, NumericWidthBands) {
  EXPECT_EQ(Width(true, 4), 40);    // 32 x 1.25
  EXPECT_EQ(Width(true, 5), 48);    // 40 x 1.2
  EXPECT_EQ(Width(true, 12), 105);  // 96 x 1.1
  EXPECT_EQ(Width(true, 20), 168);  // 160 x 1.05
  EXPECT_EQ(Width(true, 30), 240);
  EXPECT_EQ(Width(true, 1), 20);  // 10, raised to the least width
}

TEST_F(GridSetupTest, TextWidthDependsOnZoomAndTwoLineLevels) {
  // Three characters: D 24, K one full-width digit and "H" = 24, A = 24.
  EXPECT_EQ(Width(false, 3, 110), 31);  // x 1.3
  st.HasWideColumn = true;
  EXPECT_EQ(Width(false, 3, 110), 30);  // x 1.25
  st.HasWideColumn = false;
  // 30 characters: A = 240; 240 x 1.02 = 244, then by zoom.
  EXPECT_EQ(Width(false, 30, 80), 247);
  EXPECT_EQ(Width(false, 30, 90), 243);
  EXPECT_EQ(Width(false, 30, 100), 242);
  EXPECT_EQ(Width(false, 30, 120), 244);
}

TEST_F(GridSetupTest, WidthCorrectionByZoomStepClampedToItsTable) {
  st.CellHabaAdjust[10] = 3;
  st.CellHabaAdjust[20] = 7;
  EXPECT_EQ(Width(false, 10, 100), 95);
  EXPECT_EQ(Width(false, 10, 200), 99);
  // 210 % and more: the last step of the table.
  EXPECT_EQ(Width(false, 10, 250), 99);
  grid.SetZoom(300);
  SheetGridInit(st, grid, 1);
  EXPECT_EQ(grid.ColWidth(1), 99);
}

TEST(CaptionWidthFitTest, PadsOrCutsToOneLine) {
  std::string text = "  仕様";
  CaptionWidthFit(text, 40);
  EXPECT_EQ(text, "  仕様" + std::string(13, ' '));
  text = "工事名称明細内訳書";  // 18 bytes, one line of 10
  CaptionWidthFit(text, 22);
  EXPECT_EQ(text, "工事名称明");
  text = "a工事名称明細";  // 13 bytes, 10: never half a character
  CaptionWidthFit(text, 22);
  EXPECT_EQ(text, "a工事名称");
  text = "ABC";  // width 41: 19.5 - 3 = 16.5 blanks, to even: 16
  CaptionWidthFit(text, 41);
  EXPECT_EQ(text, "ABC" + std::string(16, ' '));
}

}  // namespace
}  // namespace kv::test
