// The editor window with a small estimate: level 1 read from its level work
// file, laid out and painted by the sheet engine the window made, shows its
// rows, memo row and totals line. The window is saved as a picture to look at
// (KORVANE_SHEET_PICTURE, or /tmp/korvane_edtsheet_sheet.png).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QStatusBar>
#include <cstdlib>
#include <filesystem>

#include "core/number_text.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/codepage.h"
#include "platform/grid/qt/grid_font.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_engine.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

struct Col {
  const char* type;
  int start;
  int width;
  const char* caption;
  bool total;
};

// Level 1: name, a two-line 規格 (grade and size), quantity, unit, unit price, amount.
constexpr Col kCols[] = {
    {"C", 20, 24, "名称", false}, {"W", 44, 40, "  仕様・規格", false},
    {"2", 84, 10, "数量", false}, {"C", 94, 4, "単位", false},
    {"0", 98, 12, "単価", false}, {"0", 110, 14, "金額", true},
};

// Dark pixels (text) inside a rectangle, away from its lines.
int Ink(const QImage& img, const GridRect& r) {
  int n = 0;
  const QRect in = QRect(r.left, r.top, r.right - r.left, r.bottom - r.top)
                       .adjusted(2, 2, -3, -3)
                       .intersected(img.rect());
  for (int y = in.top(); y <= in.bottom(); ++y)
    for (int x = in.left(); x <= in.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.red() + c.green() + c.blue() < 3 * 140) ++n;
    }
  return n;
}

class EdtSheetWithEstimate : public test::EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    st.AppPath = app.path().string();
    std::filesystem::create_directories(app.path() / "WORK");
    st.WorkFileBase = st.AppPath + "/WORK/港北ビル改修";
    st.CurrentFilePath = st.AppPath + "/DATA/港北ビル改修.YZH";
    st.DataLen = 256;
    st.Imax = 200;
    st.H_Link = "10";
    st.LevelCount = 3;
    for (int l = 1; l <= 8; ++l) st.LevelExt[l] = ".Y" + std::to_string(l);
    st.MemoRowMax = 80;
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.ToTalNameColmun = 1;
    st.KVZoom = 100;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 3;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 7000;
    st.CurrentLevel = 1;
    st.LevelCaption[1] = Blank();
    for (size_t i = 0; i < std::size(kCols); ++i) {
      const int c = static_cast<int>(i) + 1;
      st.ColType[1][c] = kCols[i].type;
      st.ColStart[1][c] = kCols[i].start;
      st.ColWidth[1][c] = kCols[i].width;
      st.ColTotalKind[1][c] = kCols[i].total ? "SUM" : "";
      Put(st.LevelCaption[1], kCols[i].start, kCols[i].caption);
    }
    st.ColCount[1] = static_cast<int>(std::size(kCols));
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
  }

  std::string Blank() const { return std::string(size_t(st.DataLen), ' '); }
  static void Put(std::string& rec, int pos, const std::string& text) {
    const std::string bytes = ToSjis(text);
    rec.replace(size_t(pos - 1), bytes.size(), bytes);
  }
  static std::string Right(const std::string& s, size_t width) {
    return std::string(width - s.size(), ' ') + s;
  }

  std::string Row(char kind, const std::string& name, const std::string& spec,
                  const std::string& qty, const std::string& unit, const std::string& price,
                  const std::string& amount) const {
    std::string rec = Blank();
    rec[2] = kind;
    Put(rec, 20, name);
    Put(rec, 44, spec);
    Put(rec, 84, Right(qty, 10));
    Put(rec, 94, unit);
    Put(rec, 98, Right(price, 12));
    Put(rec, 110, Right(amount, 14));
    return rec;
  }

  // Writes the level 1 file: the rows in record order, then the closing
  // record.
  void WriteLevel1(std::vector<std::string> rows, std::string closing) {
    rows.push_back(std::move(closing));
    RecordFile f(st.WorkFileBase + st.LevelExt[1], st.DataLen);
    for (size_t i = 0; i < rows.size(); ++i) {
      const int n = static_cast<int>(i) + 1;
      SetLinkField(rows[i], kOwnPos, n, false);
      SetLinkField(rows[i], kNextPos, i + 1 < rows.size() ? n + 1 : kNoRecord, false);
      if (LinkField(rows[i], kChildPos) == "    ")
        SetLinkField(rows[i], kChildPos, kNoRecord, false);
      f.PutRecordText(n, rows[i]);
    }
    f.Close();
  }

  test::TempFolder app;
};

TEST_F(EdtSheetWithEstimate, ShowsTheLevelItReadWithItsTotalsLine) {
  std::string memo = Blank();
  memo[2] = '\xD2';  // ﾒ
  Put(memo, 20, "※ 数量は設計図書による。既存部分の撤去を含む。");
  std::string withBreakdown =
      Row(' ', "躯体工事", "RC造 3階建", "1.00", "式", "5400000", "5400000");
  SetLinkField(withBreakdown, kChildPos, 1, false);
  std::string closing = Row('G', "合計", "", "", "", "", "7469000");
  WriteLevel1({Row(' ', "仮設工事", "足場架払い\r\n枠組本足場", "1.00", "式", "1250000", "1250000"),
               Row(' ', "基礎工事", "ベタ基礎", "45.50", "m3", "18000", "819000"), memo,
               withBreakdown, Row('#', "小計", "", "", "", "", "7469000")},
              closing);

  EDTSHEET_FRM& w = ShowEditor();
  ASSERT_EQ(st.sheetEngine, static_cast<SheetServices*>(&w.Engine()));
  GridModel& g = w.EdtSheet();
  EXPECT_EQ(&w.Engine().EdtSheet(), &g);
  EXPECT_TRUE(g.TotalsLine());

  ASSERT_TRUE(LevelRead(st, 1));
  ASSERT_EQ(st.UsedRows, 5);
  st.SheetLoading = true;
  st.sheetEngine->SheetGridInit(st, 1);
  st.SheetLoading = false;
  st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
  test::Settle();

  EXPECT_EQ(g.CellText(1, 0), "名称                    ");
  EXPECT_EQ(g.CellText(1, 1), "仮設工事                ");
  EXPECT_EQ(g.CellText(2, 1), "足場架払い\r\n枠組本足場");
  EXPECT_EQ(g.CellText(3, 2), "45.50");
  EXPECT_EQ(g.CellText(6, 1), "1,250,000");
  EXPECT_TRUE(g.MemoRow(3));
  EXPECT_EQ(g.CellColour(0, 4), 14);
  EXPECT_EQ(g.CellColour(6, 5), 3);
  EXPECT_EQ(g.CellText(0, 201), "計 ");
  EXPECT_EQ(g.CellText(6, 201), "7,469,000");
  EXPECT_EQ(g.CellText(1, 201), "合計                    ");
  EXPECT_TRUE(g.PageBreak(3));
  EXPECT_EQ(w.StatusPanelText(2), " 5 行");
  EXPECT_EQ(w.StatusPanelText(3), "全項目");
  EXPECT_EQ(g.ColAlign(6), 2);

  // Columns measured from the real font are wide enough for their texts.
  QFontMetrics fm(GridFont(g.FontName(), g.FontSize(), 100));
  EXPECT_GE(g.ColWidth(1), fm.horizontalAdvance(QString::fromUtf8("仮設工事")));
  EXPECT_GE(g.ColWidth(6), fm.horizontalAdvance(QStringLiteral("7,469,000")));
  // The header column is two full-width characters: "  5#" fits.
  EXPECT_GE(g.ColWidth(0), fm.horizontalAdvance(QStringLiteral("  5#")));

  // The picture: text drawn in the first row, the memo row, the totals line.
  w.resize(1100, 520);
  test::Settle();
  const QImage img = w.EdtSheetView()->viewport()->grab().toImage();
  const char* path = std::getenv("KORVANE_SHEET_PICTURE");
  img.save(QString::fromUtf8(path ? path : "/tmp/korvane_edtsheet_sheet.png"));
  GridRect cell;
  ASSERT_TRUE(g.CellRect(1, 1, 1, cell));
  EXPECT_GT(Ink(img, cell), 20);
  ASSERT_TRUE(g.CellRect(1, 6, 1, cell));
  EXPECT_GT(Ink(img, cell), 20);
  ASSERT_TRUE(g.CellRect(1, 1, 3, cell));
  EXPECT_GT(Ink(img, cell), 20);
  ASSERT_TRUE(g.CellRect(1, 6, 201, cell));
  EXPECT_GT(Ink(img, cell), 20);
  ASSERT_TRUE(g.CellRect(1, 1, 8, cell));
  EXPECT_EQ(Ink(img, cell), 0);
}

// The engine's status panels are the window's; panel 1 cleared shows a
// held cell text; a number other than 1..6 changes nothing.
// An amount as long as its field (an "A" column, whose numbers end in a blank
// where a point would stand) shows whole in its cell, on a row and on the
// totals line: none of its digits falls outside the column.
TEST_F(EdtSheetWithEstimate, AnAmountAsLongAsItsFieldShowsWhole) {
  st.ColType[1][6] = "A";
  st.FormatMasks[1] = MakeColumnMasks(st, 1);
  WriteLevel1({Row(' ', "躯体工事", "", "10000", "式", "999999999", "9999999990000"),
               Row(' ', "仮設工事", "", "1", "式", "115872200", "115872200")},
              Row('G', "合計", "", "", "", "", "10000115862200"));
  EDTSHEET_FRM& w = ShowEditor();
  GridModel& g = w.EdtSheet();
  ASSERT_TRUE(LevelRead(st, 1));
  st.SheetLoading = true;
  st.sheetEngine->SheetGridInit(st, 1);
  st.SheetLoading = false;
  st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
  w.resize(1100, 520);
  test::Settle();

  QFontMetrics fm(GridFont(g.FontName(), g.FontSize(), 100));
  for (const auto& [row, shown] : {std::pair{1, "9,999,999,990,000 "}, std::pair{201, "10,000,115,862,200"}}) {
    EXPECT_EQ(g.CellText(6, row), shown);
    EXPECT_LE(fm.horizontalAdvance(QString::fromUtf8(shown)), g.ColWidth(6)) << shown;
  }
  const char* path = std::getenv("KORVANE_SHEET_PICTURE");
  w.EdtSheetView()->viewport()->grab().toImage().save(
      QString::fromUtf8(path ? path : "/tmp/korvane_edtsheet_long_amount.png"));
}

TEST_F(EdtSheetWithEstimate, EngineStatusPanelsAreTheWindows) {
  EDTSHEET_FRM& w = ShowEditor();
  st.sheetEngine->StatusPanelSet(st, 4, " 5P");
  EXPECT_EQ(w.StatusPanelText(4), " 5P");
  st.HeldCellText = "12,500";
  st.sheetEngine->StatusPanelClear(st, 1);
  EXPECT_EQ(w.StatusPanelText(1), "[12,500]");
  st.sheetEngine->StatusPanelSet(st, 7, "ignored");
  for (int i = 1; i <= 6; ++i) EXPECT_NE(w.StatusPanelText(i), "ignored");
  EXPECT_EQ(
      w.statusBar()->findChild<QLabel*>(QStringLiteral("Panel(2)"))->alignment() & Qt::AlignHCenter,
      Qt::AlignHCenter);
}

// Embedded objects of the window's grid count towards the last used row.
TEST_F(EdtSheetWithEstimate, ObjectsOfTheGridCountAsUsedRows) {
  EDTSHEET_FRM& w = ShowEditor();
  st.sheetEngine->SheetGridInit(st, 1);
  for (auto& row : st.SheetRows) row = Blank();
  st.SheetRows[25][2] = '#';
  EXPECT_EQ(LastUsedRow(st), 25);
  w.EdtSheet().CreateItem(2, 40, "picture");
  EXPECT_EQ(LastUsedRow(st), 40);
}

}  // namespace
}  // namespace kv
