// Feeds arbitrary bytes to the recalculation of all levels as the level work
// files of a three-level estimate (two columns on every level, the amount
// carried into the parent's amount). The first byte splits the rest among
// the three files. Whatever the files hold, the recalculation either
// succeeds or reports and leaves every file exactly as it was; it never reads
// past a file, follows a chain forever or writes half a record.
#include <stdlib.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "../../bench/quiet_ui.h"
#include "calc/calc_engine.h"
#include "calc/recalc_all_levels.h"
#include "state/column_defs.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace {

namespace stdfs = std::filesystem;

std::string Read(const stdfs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Fixture {
  stdfs::path root;
  kv::bench::QuietUi ui;
  kv::ProgramState st{ui};
  kv::CalcEngine engine;

  Fixture() {
    std::string pattern = (stdfs::temp_directory_path() / "kvrecalc-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    root = pattern;
    stdfs::create_directories(root / "WORK");
    st.AppPath = root.string();
    st.WorkFolderName = "/WORK";
    st.WorkFileBase = st.AppPath + "/WORK/F";
    st.CurrentFilePath = st.AppPath + "/DATA/F.YZH";
    st.DataLen = 256;
    st.Imax = 200;
    st.LevelCount = 3;
    st.H_Link = "10";
    st.calc = &engine;
    for (int l = 1; l <= 8; ++l) {
      st.LevelExt[l] = ".Y" + std::to_string(l);
      st.ColCount[l] = 2;
      st.ColStart[l][1] = 20;
      st.ColWidth[l][1] = 10;
      st.ColType[l][1] = "C";
      st.ColStart[l][2] = 30;
      st.ColWidth[l][2] = 12;
      st.ColType[l][2] = "0";
      st.ColTotalKind[l][2] = "SUM";
      st.ColCarryDef[l][2] = "->[$B";
      st.FormatMasks[l] = kv::MakeColumnMasks(st, l);
    }
    if (!kv::SumColumnFind(st)) std::abort();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Fixture f;
  if (size < 1) return 0;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const size_t a = rest.size() * (data[0] & 0x0F) / 16, b = a + (rest.size() - a) * (data[0] >> 4) / 16;
  const std::string files[3] = {rest.substr(0, a), rest.substr(a, b - a), rest.substr(b)};
  for (int l = 1; l <= 3; ++l)
    std::ofstream(f.st.WorkFileBase + f.st.LevelExt[l], std::ios::binary | std::ios::trunc) << files[l - 1];

  const bool done = kv::RecalcFromTopLevel(f.st, f.st.WorkFileBase);
  for (int l = 1; l <= 3; ++l) {
    const std::string now = Read(f.st.WorkFileBase + f.st.LevelExt[l]);
    if (!done && now != files[l - 1]) std::abort();
    if (done && now.size() % 256 != 0) std::abort();
  }
  return 0;
}
