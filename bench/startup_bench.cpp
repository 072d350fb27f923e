// The start-up on the default program folder, without windows: the start-up
// initialisation (edition, folders, the three settings files, the font test,
// the base text's column definitions, the untitled layout file), and the whole
// entry routine up to the (absent) main window.
//
// The program folder is KORVANE_PROGRAM_DIR when set, else build/korvane
// beside this program's build/bench. Each iteration starts on a fresh copy of
// it (copied outside the timing), so no settings file is already parsed in
// memory, as at a real start.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program_entry.h"
#include "app/startup_init.h"
#include "app/startup_steps.h"
#include "quiet_ui.h"
#include "state/program_state.h"

namespace {

namespace stdfs = std::filesystem;

using kv::bench::QuietUi;

stdfs::path DefaultProgramFolder() {
  if (const char* dir = std::getenv("KORVANE_PROGRAM_DIR"); dir && *dir) return dir;
  std::error_code ec;
  const stdfs::path self = stdfs::read_symlink("/proc/self/exe", ec);
  return self.parent_path().parent_path() / "korvane";
}

// A scratch copy of the program folder's files.
class ProgramCopy {
 public:
  ProgramCopy() {
    std::string tmpl = (stdfs::temp_directory_path() / "kvbench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) std::abort();
    root_ = tmpl;
    source_ = DefaultProgramFolder();
    if (!stdfs::exists(source_ / "DAVIROV.INI")) std::abort();
  }
  ~ProgramCopy() {
    std::error_code ec;
    stdfs::remove_all(root_, ec);
  }
  // A fresh folder with the program's files; the previous one goes.
  std::string Fresh() {
    std::error_code ec;
    if (!current_.empty()) stdfs::remove_all(current_, ec);
    current_ = root_ / ("prog" + std::to_string(++n_));
    stdfs::create_directory(current_);
    for (const auto& e : stdfs::directory_iterator(source_))
      if (e.is_regular_file() && e.path().filename() != "korvane")
        stdfs::copy_file(e.path(), current_ / e.path().filename());
    return current_.string();
  }

 private:
  stdfs::path root_, source_, current_;
  int n_ = 0;
};

void BM_StartupInit(benchmark::State& state) {
  ProgramCopy copy;
  QuietUi ui;
  for (auto _ : state) {
    state.PauseTiming();
    const std::string folder = copy.Fresh();
    auto st = std::make_unique<kv::ProgramState>(ui);
    st->NoSplash = true;
    state.ResumeTiming();
    kv::StartupInit(*st, folder);
    benchmark::DoNotOptimize(st->ColCount[1]);
  }
}
BENCHMARK(BM_StartupInit)->Unit(benchmark::kMillisecond);

// The whole entry routine on the untitled estimate: the title screen's
// progress, the start-up initialisation, the level-1 read, the totals line.
void BM_MainUntitled(benchmark::State& state) {
  ProgramCopy copy;
  QuietUi ui;
  const kv::StartupSteps steps;
  for (auto _ : state) {
    state.PauseTiming();
    kv::StartupContext ctx;
    ctx.ProgramFolder = copy.Fresh();
    ctx.ProgramFile = ctx.ProgramFolder + "/korvane";
    auto st = std::make_unique<kv::ProgramState>(ui);
    state.ResumeTiming();
    kv::Main(*st, ctx, steps);
    benchmark::DoNotOptimize(st->SheetTotalRecord);
  }
}
BENCHMARK(BM_MainUntitled)->Unit(benchmark::kMillisecond);

}  // namespace
