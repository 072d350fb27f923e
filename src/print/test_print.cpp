#include "print/test_print.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/fs.h"
#include "print/job_file.h"
#include "print/kvsystem_ini.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "print/print_job.h"
#include "state/layout_file.h"
#include "state/program_state.h"

namespace kv {
namespace {

// Writes the test print's files; false after the message when one cannot
// be written.
bool TestFilesWrite(ProgramState& st, int form, const DetailNumbers& numbers) {
  std::error_code ec;
  const std::string& key = st.PrintFormSections[static_cast<size_t>(form)];
  std::vector<IniKey> keys;
  // A form without a name has no key to hold its numbers.
  if (!key.empty()) {
    keys = {{"印刷桁数", key, std::to_string(numbers.columns)},
            {"印刷件数", key, std::to_string(numbers.rows)},
            {"左マージン", key, std::to_string(numbers.leftMargin)},
            {"上マージン", key, std::to_string(numbers.topMargin)}};
  }
  if (!KvSystemIniWrite(st, PrinterIniPath(st), keys, "", ec)) {
    JobFileFault(st, st.AppPath + "/" + std::string(kKvSystemIniName), ec.message());
    return false;
  }
  const std::string layout = LayoutFilePath(st, st.WorkFileBase);
  const std::optional<std::string> layoutBytes = fs::ReadFileBytes(fs::ResolveNoCase(layout), ec);
  if (!layoutBytes) {
    JobFileFault(st, layout, ec.message());
    return false;
  }
  const std::string files[3][2] = {
      {st.AppPath + "/TESTPRN.Y$", *layoutBytes},
      {st.AppPath + "/TESTPRN.Y1", TestPrintRecord(st.DataLen)},
      {st.AppPath + "/" + std::string(kJobFileName),
       MpInfoTestText({CurrentPrinter(st), st.AppPath, form, st.SystemKind})}};
  for (const auto& [path, bytes] : files) {
    if (!JobFileWrite(path, bytes, ec)) {
      JobFileFault(st, path, ec.message());
      return false;
    }
  }
  return true;
}

}  // namespace

std::string TestPrintRecord(int dataLen) {
  std::string record(static_cast<size_t>(std::max(dataLen, 11)), ' ');
  record[2] = 'G';
  record.replace(3, 4, " -99");
  record.replace(7, 4, " -99");
  return record;
}

void TestPrint(ProgramState& st, int form, const DetailNumbers& numbers) {
  if (TestFilesWrite(st, form, numbers)) JobProgramRun(st, kPrintProgram, "印刷プログラム");
  std::error_code ec;
  std::filesystem::remove(st.AppPath + "/TESTPRN.Y1", ec);
  std::filesystem::remove(st.AppPath + "/TESTPRN.Y$", ec);
}

}  // namespace kv
