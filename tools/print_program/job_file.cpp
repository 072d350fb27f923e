#include "job_file.h"

#include <algorithm>
#include <optional>

#include "core/ini_parse.h"
#include "core/settings_text.h"
#include "platform/codepage.h"
#include "print_failure.h"

namespace kv::print_program {

namespace {

constexpr std::string_view kSection = "WinPrint";

class JobKeys {
 public:
  JobKeys(std::string_view bytes, const std::string& name) : doc_(std::string(bytes)), name_(name) {
    if (!doc_.HasSection(kSection)) Refuse("[WinPrint] がありません");
  }

  std::string Text(std::string_view key) const {
    const std::optional<std::string_view> v = doc_.Find(kSection, key);
    return v ? FromSjis(*v) : std::string();
  }
  std::string Required(std::string_view key) const {
    std::string v = Text(key);
    if (v.empty()) Refuse(std::string(key) + " がありません");
    return v;
  }
  bool Is(std::string_view key, std::string_view value) const { return EqualsNoCase(Text(key), value); }
  // A whole number within lo..hi; `fallback` when the key is missing.
  int Number(std::string_view key, int fallback, int lo, int hi) const {
    const std::string v = Text(key);
    if (v.empty()) return fallback;
    const int n = WholeNumberValue(v);
    if (n < lo || n > hi || (n == 0 && v.find_first_of("0") == std::string::npos))
      Refuse(std::string(key) + "=" + v + " は正しくありません");
    return n;
  }

 private:
  [[noreturn]] void Refuse(const std::string& why) const {
    throw PrintFailure("印刷ジョブファイル [ " + name_ + " ] を読めません。\n" + why);
  }

  IniDocument doc_;
  const std::string& name_;
};

}  // namespace

PrintJob ParsePrintJob(std::string_view sjisBytes, const std::string& name) {
  const JobKeys keys(sjisBytes, name);
  constexpr int kMost = 999999;
  PrintJob job;
  job.printer = keys.Text("PRINTER");
  job.hex = keys.Text("NUMERIC") == "16";
  job.dataFile = keys.Required("PRNFILE");
  job.layoutFile = keys.Required("KVTEXT");
  job.level = keys.Number("LEVEL", 1, 1, 8);
  job.firstRecord = keys.Number("PRN_REC_NO", 1, 1, kMost);
  job.depth = keys.Number("PRN_LEVEL", 0, 0, kMost);
  job.firstPageNumber = keys.Number("PAGE_NO", 0, 0, kMost);
  job.form = keys.Number("PRN_FORM", 1, 1, 7);
  job.copies = keys.Number("PRN_LOOP", 1, 1, 999);
  job.pageFrom = keys.Number("PAGE_S", 0, 0, kMost);
  job.pageTo = keys.Number("PAGE_E", 0, 0, kMost);
  job.ruledLines = !keys.Is("PRN_KEISEN", "OFF");
  job.numericAdd = keys.Number("NUMCLM_ADD", 0, 0, 99);
  job.ignoreLevelMarks = keys.Is("PRN_UNDERLAYER", "ON");
  job.rowFrom = keys.Number("PRN_RENGE_S", 0, 0, kMost);
  job.rowTo = keys.Number("PRN_RENGE_E", 0, 0, kMost);
  job.continuous = keys.Is("PRN_MULTILAYER", "ON");
  job.footerTitle = keys.Text("FOOTER_TTL");
  job.footerPosition = keys.Text("FOOTER_POS");
  job.companyName = !keys.Is("PRN_COMPNAME", "OFF");
  job.leaveOutX = keys.Is("ORKN_PRN", "ON");
  job.masterList = keys.Is("PRN_MASTLIST", "ON");
  if (job.rowFrom > 0 && job.rowTo == 0) job.rowTo = kMost;
  return job;
}

}  // namespace kv::print_program
