#include "print/print_info_files.h"

#include <string>

#include "core/ini_file.h"
#include "print/print_forms.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

std::string EstimateIniPath(const ProgramState& st) { return st.WorkFileBase + ".INI"; }

std::string PrinterIniPath(ProgramState& st) {
  const std::string key = PrinterKey(st);
  return key.empty() ? std::string() : st.AppPath + "/" + key + ".INI";
}

std::string TemplateIniPath(const ProgramState& st) { return st.AppPath + "/DAVIROV.INI"; }

void IniPutEach(std::string_view section, std::string_view key, std::string_view value,
                const std::vector<std::string>& files) {
  for (const std::string& file : files)
    if (!file.empty()) IniPutString(section, key, value, file);
}

void ReadPrintInfo(ProgramState& st) {
  const std::string printer = PrinterIniEnsure(st);
  const std::string source = IsUntitledName(st.WorkFileBase) ? printer : EstimateIniPath(st);
  auto text = [](std::string_view section, std::string_view key, const std::string& file) {
    std::string value;
    if (!file.empty()) IniGetString(section, key, value, file);
    return value;
  };
  auto number = [](std::string_view section, std::string_view key, const std::string& file) {
    return file.empty() ? -1 : IniGetInt(section, key, file);
  };
  st.CompanyName = text("PrintInformation", "CompanyName", source);
  st.PageFormat = text("PrintInformation", "PageFormat", source);
  st.NamePosition = text("PrintInformation", "NamePosition", source);
  st.ItemSepLineOff = number("枠線スタイル", "項目欄隔線非描画", source);
  st.ItemUnderlineWidth = number("枠線スタイル", "項目欄下線幅", source);
  st.TotalOverlineWidth = number("枠線スタイル", "合計行上線幅", source);
  st.Sp999w = number("枠線スタイル", "Sp999w", source);
  st.FrameWidth = number("枠線スタイル", "Top", source);
  for (size_t n = 1; n <= static_cast<size_t>(kPrintForms); ++n) {
    const std::string key = text("印刷書式", std::to_string(n), printer);
    st.PrintFormSections[n] = key;
    // An empty form name is no key: the form's entries read as missing.
    auto formText = [&](std::string_view section) { return key.empty() ? std::string() : text(section, key, printer); };
    auto formNumber = [&](std::string_view section) { return key.empty() ? -1 : number(section, key, printer); };
    st.PrintFormNames[n] = formText("印刷名称");
    st.PrintColumns[n] = formNumber("印刷桁数");
    st.PrintRows[n] = formNumber("印刷件数");
    st.LeftMargins[n] = formNumber("左マージン");
    st.TopMargins[n] = formNumber("上マージン");
    st.LeftSpacings[n] = formNumber("最左スペーシング");
    st.PageFormats[n] = formText("ページフォーマット");
  }
}

void MPrintInfoSave(PrintInfo& info) {
  PrintInfoBackup& b = info.MPrintInfoBackup;
  b.PrnTypeNo = info.PrnTypeNo;
  b.CompanyNameFlag = info.CompanyNameFlag;
  b.NamePosition = info.NamePosition;
  b.KoujiNameFlag = info.KoujiNameFlag;
  b.KoujiNamePos = info.KoujiNamePos;
  b.ItemUnderlineWidth = info.ItemUnderlineWidth;
  b.TotalOverlineWidth = info.TotalOverlineWidth;
  b.Sp999w = info.Sp999w;
  b.FrameWidth = info.FrameWidth;
  b.PageFormat = info.PageFormat;
}

void MPrintInfoMotoni(PrintInfo& info) {
  const PrintInfoBackup& b = info.MPrintInfoBackup;
  info.PrnTypeNo = b.PrnTypeNo;
  info.CompanyNameFlag = b.CompanyNameFlag;
  info.NamePosition = b.NamePosition;
  info.KoujiNameFlag = b.KoujiNameFlag;
  info.KoujiNamePos = b.KoujiNamePos;
  info.ItemUnderlineWidth = b.ItemUnderlineWidth;
  info.TotalOverlineWidth = b.TotalOverlineWidth;
  info.Sp999w = b.Sp999w;
  info.FrameWidth = b.FrameWidth;
  info.PageFormat = b.PageFormat;
}

void MPrintInfoWrite(ProgramState& st) {
  const std::vector<std::string> files{EstimateIniPath(st), PrinterIniPath(st), TemplateIniPath(st)};
  auto put = [&](std::string_view section, std::string_view key, const std::string& value) {
    IniPutEach(section, key, value, files);
  };
  const std::string frame = std::to_string(st.FrameWidth);
  put("印刷タイプ", "PrnTypeNo", std::to_string(st.PrnTypeNo));
  put("PrintInformation", "CompanyNameFlag", std::to_string(st.CompanyNameFlag));
  put("PrintInformation", "NamePosition", st.NamePosition);
  put("PrintInformation", "KoujiNameFlag", std::to_string(st.KoujiNameFlag));
  put("PrintInformation", "KoujiNamePos", st.KoujiNamePos);
  put("枠線スタイル", "項目欄下線幅", std::to_string(st.ItemUnderlineWidth));
  put("枠線スタイル", "合計行上線幅", std::to_string(st.TotalOverlineWidth));
  put("枠線スタイル", "Sp999w", std::to_string(st.Sp999w));
  put("枠線スタイル", "Top", frame);
  put("枠線スタイル", "Bottom", frame);
  put("枠線スタイル", "Left", frame);
  put("枠線スタイル", "Right", frame);
  put("PrintInformation", "PageFormat", st.PageFormat);
}

}  // namespace kv
