// The print program on the large generated estimate (large_estimate.h,
// calculating layout: 8 levels, about 100,000 records of 512 bytes), each
// against a baseline measured in the same run:
//
// - `PrintPlan`: the planning pass of a print of the whole estimate (job file,
//   settings, layout, every level file read, the page plan, the printed
//   sheets and their pages, the chains of the printed sheets checked) against
//   `PrintPlanBaseline_ReadEveryRecord`, one read of every record of all
//   level files with the record routines. Goal: within 1.5 x the baseline.
// - `RenderPages`: 200 pages of that print composed and painted into a PDF
//   (in memory) against `RenderBaseline_DrawText`, the same strings drawn at
//   the same places with plain `QPainter::drawText` into a `QPdfWriter` with
//   the same font. Goal: within 1.5 x the baseline.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "large_estimate.h"
#include "page_boxes.h"
#include "platform/codepage.h"
#include "print_load.h"
#include "qt/page_painter.h"
#include "qt/program_side.h"
#include "storage/level_files.h"

namespace {

namespace stdfs = std::filesystem;
using namespace kv::print_program;

constexpr int kRenderPages = 200;

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "print_program_bench";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    KeepFreedMemory();  // as the print program runs
    return new QGuiApplication(argc, argv);
  }();
  return *app;
}

std::string Padded(const std::string& text, int width) {
  std::string s = kv::ToSjis(text);
  s.resize(static_cast<size_t>(width), ' ');
  return s;
}

// The estimate in a program folder of its own, with the settings the print
// program reads and a job for all levels from level 1.
struct Estimate : kv::bench::GeneratedEstimate {
  Estimate() : GeneratedEstimate("kvprint-bench", true) {
    for (const char* f : {"KVUTL.INI", "KVSSYS.INI", "MTMPRNW.INI"})
      stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / f, root / f, stdfs::copy_options::overwrite_existing);
    stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / "DAVIROV.INI", root / "KVSYSTEM.INI");
    kv::IniPutString("Boot", "DataLen", std::to_string(st.DataLen), root / "KVSYSTEM.INI");
    kv::IniPutString("PrintInformation", "CompanyName", "株式会社コルヴァネ建設", root / "KVSYSTEM.INI");
    kv::IniPutString("Boot", "CaptionColmun1", "1", st.WorkFileBase + ".INI");
    kv::IniPutString("Boot", "CaptionColmun2", "1", st.WorkFileBase + ".INI");

    const char* headings[] = {"名称", "規格", "計算式", "数量", "単位", "単価", "金額", "備考"};
    std::string layout;
    for (int level = 1; level <= st.LevelCount; ++level) {
      layout += "DM=" + std::to_string(level) + "\r\n";
      for (int c = 1; c <= st.ColCount[level]; ++c) {
        const int w = st.ColWidth[level][c];
        layout += Padded(headings[c - 1], w) + "\t" + st.ColType[level][c] + "\t" + std::to_string(st.ColDecimals[level][c]) +
                  "\t" + std::to_string(w) + "\t" + st.ColFormula[level][c] + "\t" + st.ColTotalKind[level][c] + "\t" +
                  st.ColCarryDef[level][c] + "\t" + std::string(static_cast<size_t>(w), ' ') + "\t-------\r\n";
      }
    }
    std::ofstream(st.WorkFileBase + ".Y$", std::ios::binary) << layout;
    WriteJob(0, 0);
  }

  void WriteJob(int pageFrom, int pageTo) {
    const std::string job = "[WinPrint]\r\nPRINTER=TheKorvane PDF\r\nNUMERIC=16\r\nHEADER=OFF\r\nPRNFILE=" +
                            st.WorkFileBase + ".Y1\r\nKVTEXT=" + st.WorkFileBase +
                            ".Y$\r\nLEVEL=1\r\nPRN_REC_NO=1\r\nPRN_LEVEL=7\r\nPAGE_NO=1\r\nPRN_FORM=1\r\nPRN_LOOP=1\r\nPAGE_S=" +
                            std::to_string(pageFrom) + "\r\nPAGE_E=" + std::to_string(pageTo) + "\r\nPRN_MULTILAYER=OFF\r\n";
    std::ofstream(root / "MP_INFO.dat", std::ios::binary | std::ios::trunc) << kv::ToSjis(job);
  }
};

Estimate& TheEstimate() {
  static Estimate e;
  return e;
}

// The first 200 pages of the print, loaded once.
struct Render {
  LoadedPrint print;
  QString family;
  Render() {
    App();
    TheEstimate().WriteJob(1, kRenderPages);
    print = LoadPrint(TheEstimate().root, "MP_INFO.DAT");
    if (print.run.pages.size() != kRenderPages) std::abort();
    family = QStringLiteral("IPAMincho");
  }
};

Render& TheRender() {
  static Render r;
  return r;
}

void BM_RenderBaseline_DrawText(benchmark::State& state) {
  Render& r = TheRender();
  const PageComposer composer(*r.print.estimate, r.print.form, r.print.look, r.print.job, r.print.run);
  std::vector<PageBoxes> pages;
  pages.resize(kRenderPages);
  for (int i = 0; i < kRenderPages; ++i) composer.Compose(r.print.run.pages[static_cast<size_t>(i)], pages[static_cast<size_t>(i)]);
  qint64 bytes = 0;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageLayout(PaperLayout(r.print.form));
    QPainter painter(&writer);
    const PagePainter placed(painter, r.print.form, r.family);  // the same font and grid
    const double sx = placed.CellWidth(), sy = placed.LineHeight();
    for (size_t i = 0; i < pages.size(); ++i) {
      if (i > 0) writer.newPage();
      for (const TextBox& t : pages[i].texts)
        painter.drawText(QPointF(t.x * sx, (t.y + t.height / 2) * sy), QString::fromStdString(t.text));
    }
    painter.end();
    bytes = buffer.size();
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderBaseline_DrawText)->Unit(benchmark::kMillisecond);

void BM_RenderPages(benchmark::State& state) {
  Render& r = TheRender();
  const PageComposer composer(*r.print.estimate, r.print.form, r.print.look, r.print.job, r.print.run);
  qint64 bytes = 0;
  for (auto _ : state) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    QString error;
    if (!PaintPages(writer, r.print.form, r.family, kRenderPages,
                    [&](int i, PageBoxes& b) { composer.Compose(r.print.run.pages[static_cast<size_t>(i)], b); }, error))
      std::abort();
    bytes = buffer.size();
  }
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RenderPages)->Unit(benchmark::kMillisecond);

void BM_PrintPlanBaseline_ReadEveryRecord(benchmark::State& state) {
  Estimate& e = TheEstimate();
  size_t records = 0;
  for (auto _ : state) {
    records = 0;
    std::string rec;
    for (int level = 1; level <= e.st.LevelCount; ++level) {
      const kv::RecordFile file(kv::LevelFilePath(e.st, e.st.WorkFileBase, level), e.st.DataLen,
                                kv::RecordFileMode::ReadOnly);
      const int count = file.RecordCount();
      for (int n = 1; n <= count; ++n) records += file.GetRecordText(n, rec) ? 1 : 0;
    }
    benchmark::DoNotOptimize(records);
  }
  state.counters["records"] = static_cast<double>(records);
}
BENCHMARK(BM_PrintPlanBaseline_ReadEveryRecord)->Unit(benchmark::kMillisecond);

void BM_PrintPlan(benchmark::State& state) {
  Estimate& e = TheEstimate();
  e.WriteJob(0, 0);
  LoadPrint(e.root, "MP_INFO.DAT");  // the process's first touch of that much memory, outside the timing
  size_t pages = 0;
  for (auto _ : state) {
    const LoadedPrint print = LoadPrint(e.root, "MP_INFO.DAT");
    pages = print.run.pages.size();
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(BM_PrintPlan)->Unit(benchmark::kMillisecond);

}  // namespace
