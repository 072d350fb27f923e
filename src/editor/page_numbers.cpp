#include "editor/page_numbers.h"

#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/page_no_write.h"
#include "platform/ui.h"
#include "print/print_forms.h"
#include "state/file_set_def.h"
#include "state/program_state.h"
#include "storage/disk_space.h"
#include "storage/level_files.h"

namespace kv {
namespace {

// The damaged chains the numbering had to leave unnumbered, told once: the
// first of them, with the damaged-file message of every chain walk.
void DamageTell(ProgramState& st, const std::vector<PagePlanDamage>& damaged) {
  if (damaged.empty()) return;
  const PagePlanDamage& d = damaged.front();
  LevelFileFaultShow(st, LevelFilePath(st, st.WorkFileBase, d.level), {d.fault, d.record});
}

}  // namespace

void PageNumbersWrite(ProgramState& st) { PageNumbersWrite(st, SystemDiskProbe()); }

void PageNumbersWrite(ProgramState& st, const DiskProbe& probe) {
  if (IsUntitledName(st.WorkFileBase)) return;
  const fs::DriveKind kind = probe.kind(std::filesystem::path(st.CurrentFilePath));
  if (kind == fs::DriveKind::NoRoot || kind == fs::DriveKind::CdRom) return;

  const int rows = st.PrintRows[size_t(PrintFormInUse(st))];
  const bool special = st.SpecialPrintSpec && st.OrviKenPrn == 1;
  const std::vector<std::string> levelExts = PackFileSetFrom(st).LevelExt;
  const std::string programFolder = st.AppPath + "/";
  st.ui.SetBusyPointer(true);
  // The damage the numbering found in its one plan of the files.
  std::vector<PagePlanDamage> damaged;
  if (special)
    PageNoWriteOrvi(st.WorkFileBase, programFolder, st.DataLen, st.H_Link, rows, levelExts, &damaged);
  else
    PageNoWrite2(st.WorkFileBase, programFolder, st.DataLen, st.H_Link, rows, levelExts, &damaged);
  st.ui.SetBusyPointer(false);
  st.PageNumbersLast = {true, rows, special};
  DamageTell(st, damaged);
}

}  // namespace kv
