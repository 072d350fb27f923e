// File > Open in the editor window on an estimate whose item rows hold
// quantity formulas and unit prices but no amounts yet: the File menu's
// recalculation computes the quantities, amounts, subtotal, tax and grand
// total, and the window shows them with the totals line. The estimate is
// written and packed by the program's own code. The window is saved as a
// picture (KORVANE_CALC_PICTURE, or /tmp/korvane_calc_open.png), and the
// packed estimate is copied to KORVANE_CALC_ESTIMATE when that is set.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "calc/calc_engine.h"
#include "state/column_numbers.h"
#include "state/stored_number_base.h"
#include "core/number_text.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "state/float_windows.h"
#include "sheet/sheet_fields.h"
#include "storage/file_command_fixture.h"
#include "storage/program_copy.h"
#include "storage/windows/file_commands_wiring.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

using test::CopyProgramFolder;
using test::StartProgram;

constexpr int kFormula = 3, kQuantity = 4, kPrice = 6, kAmount = 7;
constexpr char kTax = '\xBC';  // ｼ

// The user: picks the estimate in the open dialog; any message box is
// noted and closed.
class OpeningUi : public QtUi {
 public:
  std::string pick;
  std::vector<std::string> messages;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return pick; }
  int MsgBox(std::string_view text, int, std::string_view) override {
    messages.emplace_back(text);
    return vbOK;
  }
};

// Writes the estimate DATA/見積.YZH with a program of its own: level 1 of
// the default layout, as typed, nothing computed.
std::string WriteEstimate(const std::filesystem::path& data) {
  test::Program maker("MACHINE-B");
  ProgramState& st = maker.st;
  st.calc = nullptr;
  st.WorkFileBase = maker.Work() + "/見積";
  st.CurrentFilePath = (data / "見積.YZH").string();
  auto row = [&st](char kind, const std::string& name, const std::string& formula, const std::string& price) {
    std::string rec(static_cast<size_t>(st.DataLen), ' ');
    rec[2] = kind;
    FieldStore(st, rec, 1, 1, ToSjis(name));
    FieldStore(st, rec, kFormula, 1, formula);
    std::string fitted = price;
    NumFitColumn(st, 1, fitted, kPrice);
    FieldStore(st, rec, kPrice, 1, fitted);
    return rec;
  };
  maker.ClearSheet();
  const std::vector<std::string> rows = {row(' ', "型枠", "12.5*4", "1200"), row(' ', "生コン", "2*(3+1)", "1500"),
                                         row(' ', "設備工事", "120.5", "2345"), row('#', "小計", "", ""),
                                         row(kTax, "消費税", "", ""), row('%', "合計", "", "")};
  for (size_t i = 0; i < rows.size(); ++i) st.SheetRows[i + 1] = rows[i];
  st.UsedRows = static_cast<int>(rows.size());
  st.CurrentLevel = 1;
  EXPECT_TRUE(LevelWrite(st, 1));
  EXPECT_EQ(PackEstimateFile(st, st.CurrentFilePath, false), kEstimatePacked);
  return st.CurrentFilePath;
}

class FileOpenRecalc : public ::testing::Test {
 protected:
  test::TempFolder app;
  test::TempFolder shared;
  OpeningUi ui;
  ProgramState st{ui};
  FileCommands files;
  CalcEngine engine;
  EditorWindowHooks hooks;

  void SetUp() override {
    test::EnsureQtApp();
    CopyProgramFolder(app.path());
    std::filesystem::create_directory(shared.path() / "DATA");
    st.MachineName = "MACHINE-A";
    st.calc = &engine;
    StartProgram(st, app.path());
    st.EditWinWidth = 16000;
    st.EditWinHeight = 7000;
    for (std::string& r : st.SheetRows) r.assign(static_cast<size_t>(st.DataLen), ' ');
    st.SheetTotalRecord.assign(static_cast<size_t>(st.DataLen), ' ');
    WireFileCommands(ui, st, files);
  }
  void TearDown() override {
    delete ui.LoadedWindow(kEditWindow);
    test::Settle();
  }
};

TEST_F(FileOpenRecalc, OpenShowsTheComputedAmountsAndTotals) {
  ui.pick = WriteEstimate(shared.path() / "DATA");
  if (const char* copy = std::getenv("KORVANE_CALC_ESTIMATE"))
    std::filesystem::copy_file(ui.pick, copy, std::filesystem::copy_options::overwrite_existing);

  RegisterEditorWindow(ui, st, hooks);
  ui.ShowModeless(kEditWindow);
  auto* w = dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow));
  ASSERT_NE(w, nullptr);
  w->MenuAction("Menu_1Sub", 1)->trigger();
  test::Settle();
  EXPECT_EQ(ui.messages, std::vector<std::string>{});
  ASSERT_EQ(st.CurrentFilePath, ui.pick);

  // 12.5 x 4 = 50 at 1200: 60000; 2 x (3 + 1) = 8 at 1500: 12000; 120.5 at
  // 2345: 282572.5, a whole-number amount 282572; the subtotal 354572; the
  // tax 10 % of it, 35457.2 rounded down; the grand total 390029. (The
  // amount column has no decimals; its display keeps the place of the
  // point blank.)
  GridModel& g = w->EdtSheet();
  EXPECT_EQ(GetTextData32(g, kQuantity, 1), "50.00");
  EXPECT_EQ(GetTextData32(g, kAmount, 1), "60,000 ");
  EXPECT_EQ(GetTextData32(g, kQuantity, 2), "8.00");
  EXPECT_EQ(GetTextData32(g, kAmount, 2), "12,000 ");
  EXPECT_EQ(GetTextData32(g, kQuantity, 3), "120.50");
  EXPECT_EQ(GetTextData32(g, kAmount, 3), "282,572 ");
  EXPECT_EQ(GetTextData32(g, kAmount, 4), "354,572 ");
  EXPECT_EQ(GetTextData32(g, kAmount, 5), "35,457 ");
  EXPECT_EQ(GetTextData32(g, kAmount, 6), "390,029 ");
  const int totalsLine = st.Imax + 1;
  EXPECT_EQ(GetTextData32(g, kAmount, totalsLine), "390,029 ");

  // Saved and opened again: the same values.
  w->MenuAction("Menu_1Sub", 3)->trigger();
  w->MenuAction("Menu_1Sub", 1)->trigger();
  test::Settle();
  EXPECT_EQ(ui.messages, std::vector<std::string>{});
  EXPECT_EQ(GetTextData32(g, kAmount, 3), "282,572 ");
  EXPECT_EQ(GetTextData32(g, kAmount, totalsLine), "390,029 ");

  w->resize(1400, 520);
  test::Settle();
  const QImage img = w->grab().toImage();
  const char* picture = std::getenv("KORVANE_CALC_PICTURE");
  img.save(QString::fromUtf8(picture ? picture : "/tmp/korvane_calc_open.png"));
}

}  // namespace
}  // namespace kv
