// The View commands that lay the sheet out again: a zoom change from the
// toolbar's combo and a mask-screen switch of one level, against the grid work
// they must do (the grid set up for the level and its 1000 rows repainted),
// all on the same 1000-row, 8-column sheet of a named estimate.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/view_menu.h"
#include "large_estimate.h"
#include "platform/codepage.h"
#include "platform/grid/grid_model.h"
#include "sheet/sheet_engine.h"
#include "state/column_numbers.h"
#include "state/menu_model.h"
#include "state/program_state.h"

namespace {

using kv::bench::QuietUi;
using kv::bench::ScratchFolder;

// The window's parts: menus, the zoom list, nothing else.
class BenchPort : public kv::ViewMenuPort {
 public:
  kv::EditorMenus menus = kv::EditorMenuTree();
  int zoomIndex = 10;
  kv::EditorMenus& Menus() override { return menus; }
  void MenusChanged() override {}
  void StatusPanelSet(int, const std::string&) override {}
  bool SheetVisible() const override { return true; }
  void SheetFocus() override {}
  int ZoomComboIndex() const override { return zoomIndex; }
  std::string ZoomComboText(int index) const override { return " " + std::to_string(200 - 10 * index) + "%"; }
  int PaperComboIndex() const override { return 0; }
  void PaperComboSelect(int) override {}
  void FloatingZoomSelect(int) override {}
  void FloatingPaperSelect(int) override {}
  bool Toolbar2Visible() const override { return true; }
  void Toolbar2Customise() override {}
};

// A named estimate's sheet of 1000 item rows over eight columns, in memory,
// with the sheet engine over its grid.
struct ViewSheet {
  ScratchFolder folder{"korvane-view"};
  QuietUi ui;
  kv::ProgramState st{ui};
  kv::GridModel grid;
  kv::SheetEngine engine{grid, nullptr};
  BenchPort port;
  kv::ViewMenu v{st, grid, port};

  ViewSheet() {
    kv::bench::LargeEstimateSpec spec;
    spec.levels = 2;
    spec.calculating = true;
    kv::bench::ConfigureLargeEstimate(st, folder.path(), spec);
    st.CurrentLevel = 1;
    st.MemoRowMax = 80;
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 50;
    st.KVZoom = 100;
    st.LevelsDifferInCols = true;  // one level switched, without the question
    st.UsesCurrentSettings = false;
    st.LevelCaption[1] = std::string(size_t(st.DataLen), ' ');
    st.SheetTotalRecord = std::string(size_t(st.DataLen), ' ');
    const std::string name = kv::ToSjis("鉄筋コンクリート工事");
    for (int r = 1; r <= 1000; ++r) {
      std::string rec(size_t(st.DataLen), ' ');
      rec.replace(size_t(st.ColStart[1][1] - 1), name.size(), name);
      rec.replace(size_t(st.ColStart[1][4] - 1), 12, "      120.00");
      rec.replace(size_t(st.ColStart[1][6] - 1), 12, "       35000");
      st.SheetRows[size_t(r)] = rec;
    }
    st.UsedRows = 1000;
    st.sheetEngine = &engine;
    grid.SetTotalsLine(true);
    grid.SetViewportSize(1600, 900);
    engine.SheetGridInit(st, 1);
  }
};

void BM_ViewGridReLayBaseline(benchmark::State& state) {
  ViewSheet s;
  for (auto _ : state) {
    s.engine.SheetGridInit(s.st, 1);
    s.engine.SheetRedisplay(s.st, 1, 1000);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewGridReLayBaseline)->Unit(benchmark::kMillisecond);

void BM_ViewZoomCombo(benchmark::State& state) {
  ViewSheet s;
  int i = 0;
  for (auto _ : state) {
    s.port.zoomIndex = (i++ % 2 == 0) ? 12 : 10;  // 80 % and 100 % in turn
    kv::cmbZoom_Click(s.v);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewZoomCombo)->Unit(benchmark::kMillisecond);

void BM_ViewMaskScreen(benchmark::State& state) {
  ViewSheet s;
  int i = 0;
  for (auto _ : state) {
    kv::MaskGamen_Click(s.v, i++ % 2);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_ViewMaskScreen)->Unit(benchmark::kMillisecond);

}  // namespace
