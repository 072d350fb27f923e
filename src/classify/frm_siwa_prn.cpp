#include "classify/frm_siwa_prn.h"

#include <algorithm>
#include <array>
#include <system_error>

#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "platform/ui.h"
#include "print/job_file.h"
#include "print/kvsystem_ini.h"
#include "print/print_forms.h"
#include "print/print_job.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"
#include "storage/split_path.h"

namespace kv {
namespace {

constexpr int kPrintFormsListed = 7;
constexpr int kCopiesListed = 10;
// What the print program reads the master's records as.
constexpr const char* kMasterDataLen = "256";

// The item captions of the list; items 8 to 10 repeat item 7's.
constexpr std::array<const char*, 7> kItemCaptions{"ｺｰﾄﾞ",           "  名    称  ",   "  摘    要  ",
                                                   "  住    所  ",   "    T E L     ", "    F A X     ",
                                                   "  担 当 者  "};

}  // namespace

std::string MasterListLayoutText(const std::vector<int>& widths) {
  std::string text = "DM=1\r\n";
  for (size_t i = 0; i < widths.size(); ++i) {
    text += kItemCaptions[std::min(i, kItemCaptions.size() - 1)];
    text += "\tC\t0\t" + std::to_string(widths[i]) + "\t\t\t\r\n";
  }
  return ToSjis(text);
}

std::string MasterListLayoutPath(const ProgramState& st, const std::string& masterPath) {
  const SplitPathResult parts = SplitPath(st, masterPath);
  return (parts.folder.empty() ? "" : parts.folder + "/") + parts.name + ".Y$";
}

frmSiwaPrn::frmSiwaPrn(ProgramState& st, SiwaPrnPort port) : st_(st), port_(std::move(port)) {}

void frmSiwaPrn::Form_Load() { SiwaPrnFillForms(); }

void frmSiwaPrn::SiwaPrnFillForms() {
  // The names the installation gives the forms, not those of the printer's
  // own settings file.
  const std::string ini = st_.AppPath + "/DAVIROV.INI";
  Combo1.items.clear();
  for (int n = 1; n <= kPrintFormsListed; ++n) {
    std::string form, display;
    IniGetString("印刷書式", std::to_string(n), form, ini);
    if (!form.empty()) IniGetString("印刷名称", form, display, ini);
    Combo1.items.push_back(display);
  }
  Combo1.index = 0;
  Combo2.items.clear();
  for (int n = 1; n <= kCopiesListed; ++n) Combo2.items.push_back((n < 10 ? " " : "") + std::to_string(n));
  Combo2.index = 0;
}

bool frmSiwaPrn::ItemWidths(std::vector<int>& widths) {
  // Both masters share the item settings; the file key of either will do.
  const std::string sysIni = st_.AppPath + "/KVSSYS.INI";
  SiwakeLayout layout;
  std::string bad;
  for (int master = 1; master <= 2; ++master) {
    bad = SiwakeLayoutRead(sysIni, master, layout);
    if (bad != "SIWAKE" + std::to_string(master)) break;
  }
  if (!bad.empty()) {
    AskUser(st_, SiwakeSettingsMessage(bad), vbOKOnly | vbExclamation, kSiwakeTitle);
    return false;
  }
  if (layout.itemCount > kMasterListItemsMax) {
    AskUser(st_, "仕訳ﾏｽﾀの項目数が10を越えているため、印刷できません。", vbOKOnly | vbExclamation, kSiwaPrnTitle);
    return false;
  }
  widths = layout.itemWidth;
  return true;
}

bool frmSiwaPrn::FilesWrite(const std::vector<int>& widths) {
  std::error_code ec;
  if (!KvSystemIniWrite(st_, PrinterIniEnsure(st_), {{"Boot", "DataLen", kMasterDataLen}}, "", ec)) {
    JobFileFault(st_, st_.AppPath + "/" + std::string(kKvSystemIniName), ec.message());
    return false;
  }
  const std::string layout = MasterListLayoutPath(st_, st_.SiwakePrintPath);
  if (!fs::WriteFileAtomic(layout, MasterListLayoutText(widths), ec)) {
    JobFileFault(st_, layout, ec.message());
    return false;
  }
  MasterListJobFile job;
  job.printer = CurrentPrinter(st_);
  job.masterFile = st_.SiwakePrintPath;
  job.layoutFile = layout;
  job.pageNumbers = Option1.value != 0;
  job.form = std::clamp(Combo1.index, 0, kPrintFormsListed - 1) + 1;
  job.copies = std::clamp(Combo2.index, 0, kCopiesListed - 1) + 1;
  const std::string jobFile = st_.AppPath + "/" + std::string(kJobFileName);
  if (!JobFileWrite(jobFile, MpInfoMasterListText(job), ec)) {
    JobFileFault(st_, jobFile, ec.message());
    return false;
  }
  return true;
}

void frmSiwaPrn::Command1_Click() {
  std::vector<int> widths;
  if (!ItemWidths(widths) || !FilesWrite(widths)) return;
  // The editor stays as it is while the list prints; a program that cannot
  // start has been reported, and the dialog closes all the same.
  JobProgramRun(st_, kPrintProgram, "印刷プログラム");
  Unload();
}

void frmSiwaPrn::Command2_Click() { Unload(); }

void frmSiwaPrn::Unload() {
  unloaded_ = true;
  if (port_.Unload) port_.Unload();
}

}  // namespace kv
