#pragma once
// The sheet engine against a plain grid model: a program state with one
// level laid out (a name column, a two-line "W" column, a quantity and an
// amount with a total), the grid measured through the scripted UI's
// fixed-width text extent, and a status bar that keeps its panels' texts.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "platform/codepage.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/sheet_engine.h"
#include "sheet/status_bar.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv::test {

class PanelsDouble : public StatusBarPort {
 public:
  std::array<std::string, 7> panels;
  std::string held;
  int repaints = 0;
  void StatusPanelSet(int panel, const std::string& text) override {
    if (panel >= 1 && panel <= 6) panels[size_t(panel)] = text;
    ++repaints;
  }
  std::string HeldCellText() const override { return held; }
};

class SheetFixture : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  PanelsDouble bar;
  SheetEngine engine{grid, &bar};

  // Columns of level 1: A name (C, 10 bytes at 20), B spec (W, 40 at 30),
  // C quantity (2 decimals, 12 at 70), D amount (whole number, 12 at 82,
  // with a total).
  void SetUp() override {
    grid.SetFontMetrics(&metrics);
    grid.SetTotalsLine(true);
    st.sheetEngine = &engine;
    st.DataLen = 256;
    st.Imax = 200;
    st.MemoRowMax = 60;
    st.CurrentLevel = 1;
    st.FontName = "ＭＳ 明朝";
    Column(1, "C", 20, 10);
    Column(1, "W", 30, 40);
    Column(1, "2", 70, 12);
    Column(1, "0", 82, 12, "SUM");
    st.ColCount[1] = 4;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    st.LevelCaption[1] = Record({{20, "名称"}, {30, "  仕様"}, {70, "数量"}, {82, "金額"}});
    st.SheetTotalRecord = Record({});
    for (auto& row : st.SheetRows) row = Record({});
  }
  void TearDown() override { grid.SetFontMetrics(nullptr); }

  // Adds the next column of a level (ColCount is set by the caller).
  void Column(int level, const std::string& type, int start, int width,
              const std::string& total = {}) {
    const int c = ++columnsMade_[size_t(level)];
    st.ColType[level][c] = type;
    st.ColStart[level][c] = start;
    st.ColWidth[level][c] = width;
    st.ColTotalKind[level][c] = total;
  }

  // A DataLen-byte record with display texts placed at byte positions.
  std::string Record(std::initializer_list<std::pair<int, std::string>> fields) const {
    std::string rec(size_t(st.DataLen), ' ');
    for (const auto& [pos, text] : fields) {
      std::string bytes = ToSjis(text);
      rec.replace(size_t(pos - 1), bytes.size(), bytes);
    }
    return rec;
  }

  // Bytes of a record as display text.
  static std::string Bytes(const std::string& rec, int pos, int len) {
    return FromSjis(rec.substr(size_t(pos - 1), size_t(len)));
  }

 private:
  std::array<int, 9> columnsMade_{};
};

}  // namespace kv::test
