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
void DamageTell(ProgramState& st, const std::vector<std::string>& levelExts, int rows) {
  const PagePlanRule rule{st.DataLen, IsHexBase(st.H_Link), rows, false};
  const PagePlan plan = PagePlanOfFiles(st.WorkFileBase, levelExts, rule);
  if (plan.damaged.empty()) return;
  const PagePlanDamage& d = plan.damaged.front();
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
  if (special)
    PageNoWriteOrvi(st.WorkFileBase, programFolder, st.DataLen, st.H_Link, rows, levelExts);
  else
    PageNoWrite2(st.WorkFileBase, programFolder, st.DataLen, st.H_Link, rows, levelExts);
  st.ui.SetBusyPointer(false);
  st.PageNumbersLast = {true, rows, special};
  DamageTell(st, levelExts, rows);
}

}  // namespace kv
