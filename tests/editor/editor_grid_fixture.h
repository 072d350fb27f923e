#pragma once
// The editor's grid events over plain grid models: the sheet fixture's level
// 1 with four more columns (a computed amount, a code column with its name
// column, an "A" rate column), the grids set up and wired to the editor's
// handlers, and doubles of the window's calculator box and memo editor.
#include <string>

#include "editor/grid_events.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "sheet/memo_editor.h"
#include "sheet/sheet_fixture.h"

namespace kv::test {

class CalcBoxDouble : public EditorGridPort {
 public:
  bool shown = false;
  std::string text;
  int boxFocus = 0;
  int sheetFocus = 0;
  int popups = 0;
  void CalcBoxShow(bool on) override { shown = on; }
  bool CalcBoxVisible() const override { return shown; }
  std::string CalcBoxText() const override { return text; }
  void SetCalcBoxText(const std::string& t) override { text = t; }
  void CalcBoxFocus() override { ++boxFocus; }
  void SheetFocus() override { ++sheetFocus; }
  void EditPopupShow() override { ++popups; }
};

class MemoDouble : public MemoEditorPort {
 public:
  bool visible = false;
  int placed = 0;
  void Place(const GridRect&) { visible = true, ++placed; }
  void Place(int, int, int, int, int) { visible = true, ++placed; }
  void Hide() override { visible = false; }
  bool Visible() const override { return visible; }
};

class EditorGridFixture : public SheetFixture {
 protected:
  CalcBoxDouble box;
  MemoDouble memo;
  GridModel rowSheet;
  EditorGrids g{st, grid, rowSheet, box, memo};

  // Columns 5..8 of level 1: E amount computed from the quantity, F code
  // (code table 1), G its name, H a rate ("A", 2 decimals).
  void SetUp() override {
    SheetFixture::SetUp();
    Column(1, "0", 94, 12);
    st.ColFormula[1][5] = "[[C*2";
    Column(1, "I1", 106, 4);
    Column(1, "C", 110, 10);
    Column(1, "A2", 120, 8);
    st.ColCount[1] = 8;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    st.ReCalcFlag = false;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    SheetGridInit(st, grid, 1);
    WireEditorGridEvents(g);
  }

  void Kind(int row, char kind) { st.SheetRows[size_t(row)][2] = kind; }
  // The cursor to a cell as the user moves it (the grid raises Locate).
  void MoveTo(int col, int row) { grid.SetCursor(col, row); }
};

}  // namespace kv::test
