#include "print/print_forms.h"

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "print/print_info_files.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/settings_files.h"

namespace kv {
namespace {

constexpr int kCaptionNameBytes = 9;

}  // namespace

std::string PrinterKeyOf(std::string_view deviceName) {
  // The device name is UTF-8, in which "\" and "/" never occur inside a
  // multi-byte character, so a byte-wise replacement is exact.
  std::string key(deviceName);
  for (char& c : key) {
    if (c == '\\')
      c = '$';
    else if (c == '/' || c == '\0')
      c = '-';
  }
  return key;
}

const std::string& CurrentPrinter(ProgramState& st) {
  if (st.CurrentPrinterName.empty()) st.CurrentPrinterName = st.ui.DefaultPrinterName();
  return st.CurrentPrinterName;
}

std::string PrinterKey(ProgramState& st) { return PrinterKeyOf(CurrentPrinter(st)); }

int PrinterListFind(const std::vector<std::string>& names, std::string_view deviceName) {
  const std::string_view wanted = TrimBlanks(deviceName);
  for (size_t i = 0; i < names.size(); ++i)
    if (TrimBlanks(names[i]) == wanted) return static_cast<int>(i);
  return -1;
}

std::string PrinterIniEnsure(ProgramState& st) {
  const std::string key = PrinterKey(st);
  if (key.empty()) return {};
  const std::string path = st.AppPath + "/" + key + ".INI";
  // A failed copy leaves the file missing: its keys then read as missing.
  if (!FileExistChk(st, path)) CopySettingsFile(st, st.AppPath + "/DAVIROV.INI", path);
  return path;
}

int PrintFormInUse(PrintInfo& info) {
  if (info.PrnTypeNo < 1 || info.PrnTypeNo > kPrintForms) info.PrnTypeNo = 1;
  return info.PrnTypeNo;
}

std::string PaperTypeCaption(const PrintInfo& info, int n) {
  const size_t i = static_cast<size_t>(n);
  std::string name = LeftByBytesAnsi(ToSjis(info.PrintFormSections[i]), kCaptionNameBytes);
  name.append(static_cast<size_t>(kCaptionNameBytes) - name.size(), ' ');
  const std::string rows = "  " + std::to_string(info.PrintRows[i]);
  return FromSjis(name) + rows.substr(rows.size() - 2) + "行 (" + info.PrintFormNames[i] + ")";
}

std::vector<std::string> PaperTypeCaptions(const PrintInfo& info) {
  std::vector<std::string> captions;
  for (int n = 1; n <= kPrintForms; ++n) captions.push_back(PaperTypeCaption(info, n));
  return captions;
}

void SavePrintType(ProgramState& st) {
  const std::string printerIni = PrinterIniEnsure(st);
  const std::string value = std::to_string(st.PrnTypeNo);
  IniPutString("印刷タイプ", "PrnTypeNo", value, st.WorkFileBase + ".INI");
  if (!printerIni.empty()) IniPutString("印刷タイプ", "PrnTypeNo", value, printerIni);
  IniPutString("印刷タイプ", "PrnTypeNo", value, st.AppPath + "/DAVIROV.INI");
}

void FillPaperCombo(ProgramState& st) {
  const int form = PrintFormInUse(st);
  if (st.editor != nullptr) st.editor->PaperCombosFill(st, PaperTypeCaptions(st), form - 1);
}

void UpdatePaperMenu(ProgramState& st) {
  const int form = PrintFormInUse(st);
  if (st.editor == nullptr) return;
  EditorMenus* menus = st.editor->Menus();
  if (menus == nullptr) return;
  for (int n = 1; n <= kPrintForms; ++n)
    if (MenuItem* item = menus->Find("PeparSerect", n)) item->caption = PaperTypeCaption(st, n);
  CheckOnly(*menus, "PeparSerect", form);
  st.editor->MenusChanged(st);
}

void PrintForms::MPrintInfoWrite(ProgramState& st) { kv::MPrintInfoWrite(st); }

void PrintForms::FillPaperCombo(ProgramState& st) { kv::FillPaperCombo(st); }

void PrintForms::UpdatePaperMenu(ProgramState& st) { kv::UpdatePaperMenu(st); }

void PrintForms::SavePrintType(ProgramState& st) { kv::SavePrintType(st); }

}  // namespace kv
