#include "print/job_file.h"

#include <algorithm>
#include <filesystem>
#include <string>

#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "editor/kouji_files.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "print/print_forms.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "storage/level_files.h"

namespace kv {
namespace {

// Lines of a job file, each ended by CR LF, turned into Shift-JIS at the end.
class JobLines {
 public:
  JobLines() { Line("[WinPrint]"); }
  void Line(std::string_view text) {
    text_ += text;
    text_ += "\r\n";
  }
  void Key(std::string_view key, std::string_view value) { Line(std::string(key) + "=" + std::string(value)); }
  void Key(std::string_view key, int value) { Key(key, std::to_string(value)); }
  std::string Sjis() const { return ToSjis(text_); }

 private:
  std::string text_;
};

std::string Trimmed(std::string_view text) { return std::string(TrimBlanks(text)); }

constexpr int kYtRecordBytes = 40;

}  // namespace

std::string MpInfoText(const PrintJobFile& job) {
  JobLines out;
  out.Key("PRINTER", job.printer);
  out.Key("NUMERIC", job.hexNumbers ? "16" : "10");
  out.Key("HEADER", "OFF");
  out.Key("PRNFILE", job.prnFile);
  out.Key("KVTEXT", job.kvText);
  out.Key("LEVEL", job.level);
  out.Key("PRN_REC_NO", job.recNo);
  out.Key("PRN_LEVEL", job.prnLevel);
  out.Key("PAGE_NO", job.pageNo);
  out.Key("PRN_FORM", job.form);
  out.Key("PRN_LOOP", job.copies);
  out.Key("PAGE_S", job.pageS);
  out.Key("PAGE_E", job.pageE);
  if (job.formName.find("連続") != std::string::npos) out.Key("PRN_KEISEN", "OFF");
  if (job.systemKind == 1 && job.form == 5) out.Line("NUMCLM_ADD = 2");
  if (job.systemKind == 1) out.Key("PRN_UNDERLAYER", job.option1 ? "ON" : "OFF");
  if (job.rowRange) {
    out.Key("PRN_RENGE_S", job.rowFrom);
    out.Key("PRN_RENGE_E", job.rowTo);
  }
  out.Key("PRN_MULTILAYER", job.multiLayer ? "ON" : "OFF");
  if (job.footerTitle) {
    out.Key("FOOTER_TTL", *job.footerTitle);
    out.Key("FOOTER_POS", job.footerPos);
  }
  if (!job.companyName) out.Key("PRN_COMPNAME", "OFF");
  if (job.specialForm) out.Key("ORKN_PRN", "ON");
  return out.Sjis();
}

PrintJobFile PrintJobFileOf(ProgramState& st, const PrintJobInputs& in) {
  const bool pageRange = in.mode == 1;
  const int form = std::clamp(in.form, 1, kPrintForms);
  PrintJobFile job;
  job.printer = CurrentPrinter(st);
  job.hexNumbers = IsHexBase(st.H_Link);
  job.prnFile = LevelFilePath(st, st.WorkFileBase, 1).string();
  job.kvText = LayoutFilePath(st, st.WorkFileBase);
  job.level = pageRange ? 1 : st.CurrentLevel;
  job.recNo = pageRange || st.CurrentLevel <= 1
                  ? 1
                  : BaseStrToNum(MidAnsi(st.ParentRows[static_cast<size_t>(st.CurrentLevel - 1)], 12, 4), st);
  job.prnLevel = in.allLevels || pageRange ? st.LevelCount - 1 : in.depth;
  job.pageNo = !in.pageNumbers ? "0" : pageRange ? "1" : Trimmed(in.firstPage);
  job.form = form;
  job.copies = in.copies;
  if (pageRange) {
    job.pageS = Trimmed(in.startPage);
    job.pageE = Trimmed(in.endPage);
  }
  job.formName = st.PrintFormSections[static_cast<size_t>(form)];
  job.systemKind = st.SystemKind;
  job.option1 = in.option1;
  job.rowRange = in.mode == 2;
  job.rowFrom = Trimmed(in.rowFrom);
  job.rowTo = Trimmed(in.rowTo);
  job.multiLayer = in.option2Enabled && in.option2;
  if (st.KoujiNameFlag == -1) {
    job.footerTitle = FooterTitle(st.WorkFileBase);
    job.footerPos = Trimmed(st.KoujiNamePos);
  }
  job.companyName = st.CompanyNameFlag == -1;
  job.specialForm = st.SpecialPrintSpec && st.OrviKenPrn == 1;
  return job;
}

std::string MpInfoTestText(const TestPrintJobFile& job) {
  JobLines out;
  out.Key("PRINTER", job.printer);
  out.Key("NUMERIC", "16");
  out.Key("HEADER", "OFF");
  out.Key("PRNFILE", job.appPath + "/TESTPRN.Y1");
  out.Key("KVTEXT", job.appPath + "/TESTPRN.Y$");
  out.Key("LEVEL", 1);
  out.Key("PRN_REC_NO", 1);
  out.Key("PRN_LEVEL", 0);
  out.Key("PAGE_NO", 1);
  out.Key("PRN_FORM", job.form);
  out.Key("PRN_LOOP", 1);
  out.Key("PAGE_S", 0);
  out.Key("PAGE_E", 0);
  if (job.systemKind == 1 && job.form == 5) out.Line("NUMCLM_ADD = 2");
  return out.Sjis();
}

std::string MpInfoMasterListText(const MasterListJobFile& job) {
  JobLines out;
  out.Key("PRINTER", job.printer);
  out.Key("NUMERIC", "10");
  out.Key("HEADER", "OFF");
  out.Key("PRNFILE", job.masterFile);
  out.Key("KVTEXT", job.layoutFile);
  out.Key("LEVEL", 1);
  out.Key("PRN_REC_NO", 1);
  out.Key("PRN_LEVEL", 0);
  out.Key("PAGE_NO", job.pageNumbers ? 1 : 0);
  out.Key("PRN_FORM", job.form);
  out.Key("PRN_LOOP", job.copies);
  out.Key("PAGE_S", 0);
  out.Key("PAGE_E", 0);
  out.Key("PRN_MASTLIST", "ON");
  return out.Sjis();
}

std::optional<std::string> FooterTitle(const std::string& workBase) {
  std::error_code ec;
  const std::filesystem::path file = YtPath(workBase);
  if (!std::filesystem::is_regular_file(file, ec)) return std::nullopt;
  const std::optional<std::string> bytes = fs::ReadFileBytes(file, ec);
  if (!bytes) return std::nullopt;
  std::string title = CutAtNul(std::string_view(*bytes).substr(0, kYtRecordBytes));
  while (!title.empty() && title.back() == ' ') title.pop_back();
  return ":" + FromSjis(title) + ":";
}

bool JobFileWrite(const std::string& path, std::string_view bytes, std::error_code& ec) {
  return fs::WriteFileAtomic(path, bytes, ec);
}

}  // namespace kv
