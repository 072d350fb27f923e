// The sample estimate of the program folder, opened as the README says (the
// program started with its path): the main window shows its top sheet, with
// the amounts and totals the sample's rows agree on, and paints them. The
// program ends the process, so the run happens in a child process. The sheet
// is saved as a picture to look at (KORVANE_SAMPLE_PICTURE, or
// /tmp/korvane_sample_estimate.png).
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/qt/grid_view.h"
#include "storage/program_copy.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"
#include "support/whole_program.h"

namespace kv {
namespace {

// Exit codes of the child for what it found wrong.
enum : int {
  kBoxShown = 3,
  kNoMainWindow,
  kWrongEstimate,
  kWrongRows,
  kWrongTotals,
  kNotPainted,
};

// Dark pixels (text) inside a cell, away from its lines.
int Ink(const QImage& img, const GridRect& r) {
  int n = 0;
  const QRect in = QRect(r.left, r.top, r.right - r.left, r.bottom - r.top).adjusted(2, 2, -3, -3).intersected(img.rect());
  for (int y = in.top(); y <= in.bottom(); ++y)
    for (int x = in.left(); x <= in.right(); ++x) {
      const QColor c = img.pixelColor(x, y);
      if (c.red() + c.green() + c.blue() < 3 * 140) ++n;
    }
  return n;
}

[[noreturn]] void OpenSample(const std::string& prog, const std::string& sample) {
  test::WholeProgram program(prog, sample);
  ProgramState& st = program.st;
  program.Watch();
  program.Start();
  if (program.boxesShown > 0) std::_Exit(kBoxShown);
  EDTSHEET_FRM* w = LoadedEditWindow(program.qt);
  if (w == nullptr || !w->isVisible()) std::_Exit(kNoMainWindow);
  if (st.CurrentFilePath != sample || !w->windowTitle().contains(QString::fromUtf8("サンプル見積")))
    std::_Exit(kWrongEstimate);

  // Top sheet: the work sections, the subtotal, the overheads, the total and
  // a memo row; the totals line holds the estimate's total.
  GridModel& g = w->EdtSheet();
  const auto cell = [&g](int col, int row) {
    const std::string t = g.CellText(col, row);
    const size_t b = t.find_first_not_of(' ');
    return b == std::string::npos ? std::string() : t.substr(b, t.find_last_not_of(' ') - b + 1);
  };
  if (st.UsedRows != 14 || cell(1, 1) != "仮設工事" || cell(7, 1) != "6,858,400" || cell(7, 4) != "55,264,700" ||
      cell(7, 11) != "102,072,200" || !g.MemoRow(14))
    std::_Exit(kWrongRows);
  if (cell(7, st.Imax + 1) != "115,872,200") std::_Exit(kWrongTotals);

  w->resize(1200, 600);
  test::Settle();
  const QImage img = w->EdtSheetView()->viewport()->grab().toImage();
  const char* path = std::getenv("KORVANE_SAMPLE_PICTURE");
  img.save(QString::fromUtf8(path && *path ? path : "/tmp/korvane_sample_estimate.png"));
  GridRect name, amount;
  if (!g.CellRect(1, 1, 1, name) || !g.CellRect(1, 7, 1, amount) || Ink(img, name) < 20 || Ink(img, amount) < 20)
    std::_Exit(kNotPainted);
  std::_Exit(0);
}

TEST(SampleEstimate, OpensFromTheCommandLineAndShowsItsTopSheet) {
  test::EnsureQtApp();
  test::TempFolder dir;
  test::CopyProgramFolder(dir.path());
  std::filesystem::create_directory(dir / "DATA");
  for (const char* ext : {".YZH", ".OPD"})
    std::filesystem::copy_file(std::string(KORVANE_PROGRAM_DIR) + "/DATA/サンプル見積" + ext,
                               dir / (std::string("DATA/サンプル見積") + ext));
  const std::string prog = dir.path().string();

  GTEST_FLAG_SET(death_test_style, "fast");
  EXPECT_EXIT(OpenSample(prog, prog + "/DATA/サンプル見積.YZH"), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kv
