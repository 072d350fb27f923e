// Repainting a sheet against Qt's own table, offscreen, both 1600 x 900:
//
//   - SheetRepaint: the 1,000-row sheet of twelve columns of paint_sheet.h
//     painted into the editor grid's model (SheetRedisplay) shown in the
//     sheet grid widget (GridView), then the widget's visible part painted.
//   - QTableViewRepaint: the same 12,000 texts, as the sheet shows them, set
//     into a QStandardItemModel shown in a QTableView, then its visible part
//     painted.
//
// Goal: SheetRepaint <= 0.5 x QTableViewRepaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStandardItemModel>
#include <QTableView>
#include <vector>

#include "paint_sheet.h"
#include "platform/grid/qt/grid_view.h"
#include "sheet/sheet_painting.h"

namespace {

using kv::bench::PaintSheet;

QApplication& App() {
  static int argc = 1;
  static char name[] = "korvane_paint_bench";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

void SheetRepaint(benchmark::State& state) {
  App();
  PaintSheet s;
  kv::GridView view(s.grid);
  view.resize(1600, 900);
  view.show();
  kv::SheetRedisplay(s.st, s.grid, 1, s.st.UsedRows);
  QApplication::processEvents();
  for (auto _ : state) {
    s.Toggle();
    kv::SheetRedisplay(s.st, s.grid, 1, s.st.UsedRows);
    view.viewport()->repaint();
    benchmark::ClobberMemory();
  }
}

void QTableViewRepaint(benchmark::State& state) {
  App();
  // The texts the sheet shows, of both its forms, taken from the painted
  // grid model.
  PaintSheet s;
  std::vector<QString> texts[2];
  for (std::vector<QString>& t : texts) {
    s.Toggle();
    kv::SheetRedisplay(s.st, s.grid, 1, s.st.UsedRows);
    t.reserve(PaintSheet::kRows * PaintSheet::kCols);
    for (int r = 1; r <= PaintSheet::kRows; ++r)
      for (int c = 1; c <= PaintSheet::kCols; ++c) t.push_back(QString::fromStdString(s.grid.CellText(c, r)));
  }

  QStandardItemModel model(PaintSheet::kRows, PaintSheet::kCols);
  QTableView view;
  view.setModel(&model);
  view.resize(1600, 900);
  view.show();
  QApplication::processEvents();
  int n = 0;
  for (auto _ : state) {
    const std::vector<QString>& t = texts[n++ % 2];
    size_t i = 0;
    for (int r = 0; r < PaintSheet::kRows; ++r)
      for (int c = 0; c < PaintSheet::kCols; ++c) model.setData(model.index(r, c), t[i++], Qt::DisplayRole);
    view.viewport()->repaint();
    benchmark::ClobberMemory();
  }
}

BENCHMARK(SheetRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(QTableViewRepaint)->Unit(benchmark::kMillisecond);

}  // namespace
