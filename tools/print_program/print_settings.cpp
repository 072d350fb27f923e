#include "print_settings.h"

#include <algorithm>

#include "core/ini_file.h"
#include "core/ini_parse.h"
#include "platform/codepage.h"
#include "platform/fs.h"
#include "core/settings_text.h"
#include "print_failure.h"

namespace kv::print_program {

namespace {

std::string Text(const char* section, const std::string& key, const std::filesystem::path& file) {
  std::string v;
  IniGetString(section, key, v, file);
  return v;
}

int Int(const char* section, const std::string& key, const std::filesystem::path& file) {
  return IniGetInt(section, key, file);
}

std::vector<int> ColumnList(const std::string& text) {
  std::vector<int> out;
  size_t at = 0;
  while (at < text.size()) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos) comma = text.size();
    const std::string_view item = TrimBlanks(std::string_view(text).substr(at, comma - at));
    if (!item.empty()) out.push_back(WholeNumberValue(item));
    at = comma + 1;
  }
  return out;
}

}  // namespace

PageForm ReadPageForm(const std::filesystem::path& settingsIni, const std::filesystem::path& formatsIni, int form) {
  PageForm f;
  f.name = Text("印刷書式", std::to_string(form), settingsIni);
  if (f.name.empty())
    throw PrintFailure("用紙タイプ " + std::to_string(form) + " が印刷設定 [ " + settingsIni.string() + " ] にありません。");
  f.printColumns = Int("印刷桁数", f.name, settingsIni);
  f.rowsPerPage = Int("印刷件数", f.name, settingsIni);
  if (f.rowsPerPage < 1)
    throw PrintFailure("用紙タイプ [ " + f.name + " ] の印刷件数が設定されていないため、印刷できません。");
  if (f.printColumns < 1)
    throw PrintFailure("用紙タイプ [ " + f.name + " ] の印刷桁数が設定されていないため、印刷できません。");
  f.leftMargin = std::max(0, Int("左マージン", f.name, settingsIni));
  f.topMargin = std::max(0, Int("上マージン", f.name, settingsIni));
  f.leftSpacing = std::max(0, Int("最左スペーシング", f.name, settingsIni));
  f.pageFormat = Text("ページフォーマット", f.name, settingsIni);

  f.gridColumns = Int(f.pageFormat.c_str(), "桁", formatsIni);
  f.gridLines = Int(f.pageFormat.c_str(), "行", formatsIni);
  f.paper = Text(f.pageFormat.c_str(), "用紙", formatsIni);
  f.landscape = Text(f.pageFormat.c_str(), "向き", formatsIni) == "横";
  if (f.pageFormat.empty() || f.gridColumns < 1 || f.gridLines < 1)
    throw PrintFailure("用紙の制限値ファイル [ " + formatsIni.string() + " ] に [ " + f.pageFormat + " ] の設定がありません。");
  if (f.paper != "A4" && f.paper != "B4" && f.paper != "A3" && f.paper != "B5")
    throw PrintFailure("用紙の制限値ファイル [ " + formatsIni.string() + " ] の [ " + f.pageFormat + " ] の用紙 [ " +
                       f.paper + " ] は使えません。");
  f.gridColumns = std::max(f.gridColumns, (f.leftMargin + 1) / 2 + f.leftSpacing + f.printColumns);
  f.gridLines = std::max(f.gridLines, (f.topMargin + 1) / 2 + 2 * f.rowsPerPage + kPageExtraLines);
  return f;
}

PageLook ReadPageLook(const std::filesystem::path& settingsIni, const std::string& formName) {
  PageLook look;
  look.companyName = Text("PrintInformation", "CompanyName", settingsIni);
  look.namePosition = Text("PrintInformation", "NamePosition", settingsIni);
  look.pageFormat = Text("PrintInformation", "PageFormat", settingsIni);
  look.itemSeparatorsOff = Int("枠線スタイル", "項目欄隔線非描画", settingsIni) != 0;
  const auto width = [&](const char* key, int fallback) {
    const int v = Int("枠線スタイル", key, settingsIni);
    return v < 0 ? fallback : std::min(v, 10);
  };
  look.itemUnderline = width("項目欄下線幅", 1);
  look.totalOverline = width("合計行上線幅", 1);
  look.dottedEmphasis = width("Sp999w", 0);
  look.frame = width("Top", 2);
  look.fontName = Text("Font", "Name", settingsIni);
  look.recordLength = Int("Boot", "DataLen", settingsIni);
  if (look.recordLength != 256 && look.recordLength != 512)
    throw PrintFailure("印刷設定 [ " + settingsIni.string() + " ] のレコード長 (DataLen) が正しくありません。");
  // A key with an empty list shows no column; no key shows the mask screens'.
  std::error_code ec;
  if (const auto bytes = fs::ReadFileBytes(fs::ResolveNoCase(settingsIni), ec); bytes && !formName.empty()) {
    const IniDocument doc(*bytes);
    if (const auto list = doc.Find(ToSjis("固定マスク"), ToSjis(formName))) look.fixedColumns = ColumnList(std::string(*list));
  }
  return look;
}

std::string PageNumberText(const std::string& format, int number) {
  const std::string n = std::to_string(number);
  if (TrimBlanks(format).empty()) return n;
  std::string out;
  for (size_t i = 0; i < format.size();) {
    if (format.compare(i, 2, "&P") == 0 || format.compare(i, 2, "&p") == 0) {
      out += n;
      i += 2;
    } else {
      out += format[i++];
    }
  }
  return out;
}

}  // namespace kv::print_program
