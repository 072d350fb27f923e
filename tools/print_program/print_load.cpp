#include "print_load.h"

#include "master_list.h"
#include "page_boxes.h"
#include "platform/fs.h"
#include "print_failure.h"

namespace kv::print_program {

namespace stdfs = std::filesystem;

stdfs::path JobFilePath(const stdfs::path& programFolder, const std::string& argument) {
  const stdfs::path arg(argument.empty() ? "MP_INFO.DAT" : argument);
  if (arg.has_parent_path()) return fs::ResolveNoCase(arg);
  if (auto found = fs::FindNoCase(programFolder, arg.string())) return *found;
  return programFolder / arg;
}

LoadedPrint LoadPrint(const stdfs::path& programFolder, const std::string& argument) {
  LoadedPrint p;
  p.jobFile = JobFilePath(programFolder, argument);
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(p.jobFile, ec);
  if (!bytes) throw PrintFailure("印刷ジョブファイル [ " + p.jobFile.string() + " ] を読めません。\n" + ec.message());
  p.job = ParsePrintJob(*bytes, p.jobFile.string());

  const stdfs::path settings = fs::ResolveNoCase(programFolder / "KVSYSTEM.INI");
  if (!stdfs::is_regular_file(settings, ec)) throw PrintFailure("印刷設定 [ " + settings.string() + " ] がありません。");
  p.form = ReadPageForm(settings, fs::ResolveNoCase(programFolder / "MTMPRNW.INI"), p.job.form);
  p.look = ReadPageLook(settings, p.form.name);

  PrintEstimate& e = *p.estimate;
  if (p.job.masterList) {
    LoadMasterList(e, p.job);
    p.run = PlanMasterList(static_cast<int>(e.levelBytes.front().size()) / kMasterListRecordBytes, p.form.rowsPerPage,
                           p.job);
    return p;
  }
  LoadEstimateSettings(e, p.job, p.look, programFolder);
  LoadLevelFiles(e, p.job);
  p.run = PlanPrint(e.Views(), e.levelPaths, p.job, p.form.rowsPerPage, e.st.DataLen, CaptionGroups(e, p.look, p.job));
  return p;
}

}  // namespace kv::print_program
