#include "print_estimate.h"

#include <algorithm>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "platform/fs.h"
#include "print_failure.h"
#include "state/base_text.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "storage/level_chain.h"
#include "storage/row_record.h"

namespace kv::print_program {

namespace {

namespace stdfs = std::filesystem;

// The data file's path without its extension.
std::string BaseOf(const std::string& dataFile) {
  const stdfs::path p(dataFile);
  return (p.parent_path() / p.stem()).string();
}

void ReadViewSettings(ProgramState& st, const stdfs::path& file) {
  const auto column = [&](const char* key) {
    const int v = IniGetInt("Boot", key, file);
    return v >= -1 && v <= kMaxColumns ? v : -1;
  };
  st.CaptionColmun1 = column("CaptionColmun1");
  st.CaptionColmun2 = column("CaptionColmun2");
  IniGetString("Boot", "Zero", st.Zero, file);
  if (EqualsNoCase(st.Zero, "SPACE")) st.Zero = " ";
  for (int n = 1; n <= 8; ++n) {
    const int screen = IniGetInt("マスク情報", "XMASK" + std::to_string(n), file);
    st.XMASK[n] = screen >= 0 && screen < kMaskScreens ? screen : 0;
  }
  std::string memo;
  IniGetString("ﾒﾓ行", "MAX", memo, file);
  st.MemoRowMax = std::clamp(WholeNumberValue(memo), 0, st.DataLen - kColumnDataPos + 1);
}

}  // namespace

void LoadEstimateSettings(PrintEstimate& e, const PrintJob& job, const PageLook& look,
                          const stdfs::path& programFolder) {
  ProgramState& st = e.st;
  st.AppPath = programFolder.string();
  st.DataLen = look.recordLength;
  st.H_Link = job.hex ? "16" : "10";
  st.UsesCurrentSettings = false;  // the masks come from the layout file
  e.name = stdfs::path(job.dataFile).stem().string();

  if (std::string levels; !LevelIniRead(st, levels))
    throw PrintFailure("階層の定義 [ " + (programFolder / "KVUTL.INI").string() + " ] を読めません。\n" + levels);
  std::string problem;
  const auto items = ReadDefItemLayout(fs::ResolveNoCase(programFolder / "KVSSYS.INI").string(), problem);
  if (!items) throw PrintFailure(problem);
  st.DefItemPos = items->pos;
  st.DefItemLen = items->len;
  if (!LoadLayoutFile(st, fs::ResolveNoCase(job.layoutFile).string())) throw PrintFailure(e.ui.Take());

  // The estimate's settings file; the test print's data file has none, and
  // the installation's settings stand in for it.
  stdfs::path settings = fs::ResolveNoCase(BaseOf(job.dataFile) + ".INI");
  std::error_code ec;
  if (!stdfs::is_regular_file(settings, ec)) settings = fs::ResolveNoCase(programFolder / "DAVIROV.INI");
  ReadViewSettings(st, settings);
}

void LoadLevelFiles(PrintEstimate& e, const PrintJob& job) {
  const ProgramState& st = e.st;
  const std::string base = BaseOf(job.dataFile);
  const int levels = std::clamp(st.LevelCount, 1, 8);
  e.levelPaths.assign(static_cast<size_t>(levels), "");
  e.levelBytes.assign(static_cast<size_t>(levels), "");
  for (int level = 1; level <= levels; ++level) {
    const size_t i = static_cast<size_t>(level - 1);
    // The level-1 file is the one the job names, whatever its extension.
    const stdfs::path path = fs::ResolveNoCase(level == 1 ? job.dataFile : base + st.LevelExt[level]);
    std::error_code ec;
    std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
    if (!bytes) {
      if (level == 1 || level == job.level)
        throw PrintFailure("見積データ [ " + path.string() + " ] を読めません。\n" + ec.message());
      continue;
    }
    int count = 0;
    if (const LevelFileProblem p = CountRecords(MemoryRecords(*bytes, st.DataLen), count))
      throw PrintFailure("見積データ [ " + path.string() + " ] が壊れています。\n" + LevelFaultText(p.fault));
    e.levelPaths[i] = path.string();
    e.levelBytes[i] = std::move(*bytes);
  }
}

}  // namespace kv::print_program
