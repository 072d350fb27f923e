#include "print/p3_setup.h"

#include <algorithm>

#include "app/help_file.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/window_services.h"
#include "platform/ui.h"
#include "print/form_page_numbers.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "print/test_print.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"

namespace kv {
namespace {

// The settings sections of the four numbers, in box order.
constexpr const char* kSections[4] = {"印刷桁数", "印刷件数", "左マージン", "上マージン"};

std::string LimitText(int n) { return "（最大" + DetailNumberText(n) + "）"; }

void SelectAll(KeyTextBox& box) {
  box.selStart = 0;
  box.selLength = static_cast<int>(
      std::count_if(box.text.begin(), box.text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

std::string DetailNumberText(int n) { return n >= 0 ? " " + std::to_string(n) : std::to_string(n); }

P3SetUpForm::P3SetUpForm(ProgramState& st, P3SetUpPort port) : st_(st), port_(std::move(port)) {
  const std::pair<size_t, const char*> captions[] = {{0, "プリンタ"}, {1, "用紙タイプ"}, {2, "印刷名称"},
                                                      {6, "桁  数"},   {7, "行  数"},     {8, "左余白"},
                                                      {9, "上余白"}};
  for (const auto& [i, caption] : captions) Label1[i].caption = caption;
  Label1[5].visible = false;
}

int P3SetUpForm::Form() const { return std::clamp(st_.PrnTypeNo, 1, kPrintForms); }

int P3SetUpForm::BoxValue(int index) const {
  return WholeNumberValue(TrimBlanks(Text1[static_cast<size_t>(index)].text));
}

int P3SetUpForm::RecordValue(int index) const {
  const size_t n = static_cast<size_t>(Form());
  switch (index) {
    case kDetailColumns: return st_.PrintColumns[n];
    case kDetailRows: return st_.PrintRows[n];
    case kDetailLeftMargin: return st_.LeftMargins[n];
    default: return st_.TopMargins[n];
  }
}

void P3SetUpForm::Form_Load() {
  CenterFormIfNormal(st_.ui, kPrintDetailWindow);
  FormInit();
  FloatWindowsNoTopMost(st_);
  const std::string limitsFile = st_.AppPath + "/" + std::string(kPageLimitsFile);
  const std::string& pageFormat = st_.PageFormats[static_cast<size_t>(Form())];
  if (pageFormat.empty() || !IniHasSection(pageFormat, limitsFile))
    AskUser(st_, "用紙の制限値ファイル [ " + limitsFile + " ] に [ " + pageFormat + " ] の設定がありません。",
            vbOKOnly | vbExclamation, kPrintDetailTitle);
}

void P3SetUpForm::FormInit() {
  const int form = Form();
  const size_t n = static_cast<size_t>(form);
  Label1[3].caption = CurrentPrinter(st_);
  Label1[4].caption = st_.PrintFormSections[n];
  Text2.text = st_.PrintFormNames[n];
  const std::string printer = PrinterIniPath(st_);
  const std::string& key = st_.PrintFormSections[n];
  auto read = [&](const char* section) { return key.empty() || printer.empty() ? -1 : IniGetInt(section, key, printer); };
  st_.PrintColumns[n] = read(kSections[0]);
  st_.PrintRows[n] = read(kSections[1]);
  st_.LeftMargins[n] = read(kSections[2]);
  st_.TopMargins[n] = read(kSections[3]);
  for (int i = 0; i < 4; ++i) {
    edit_[size_t(i)] = RecordValue(i);
    Text1[size_t(i)].text = DetailNumberText(edit_[size_t(i)]);
  }
  const std::string limitsFile = st_.AppPath + "/" + std::string(kPageLimitsFile);
  const std::string& pageFormat = st_.PageFormats[n];
  auto limit = [&](const char* k) { return pageFormat.empty() ? -1 : IniGetInt(pageFormat, k, limitsFile); };
  limits_ = PrintDetailLimits(limit("桁"), limit("行"), st_.LeftSpacings[n]);
  maxLeftMargin_ = limits_.MaxLeftMargin(EditColumns());
  maxTopMargin_ = limits_.MaxTopMargin(EditRows());
  lblMax[0].caption = LimitText(limits_.MaxColumns());
  lblMax[1].caption = LimitText(limits_.MaxRows());
  lblMax[2].caption = LimitText(maxLeftMargin_);
  lblMax[3].caption = LimitText(maxTopMargin_);
}

void P3SetUpForm::Form_Activate() { st_.ui.SetWindowTopMost(kPrintDetailWindow, true); }

void P3SetUpForm::ColumnsChanged(int columns, bool showLimit) {
  maxLeftMargin_ = limits_.MaxLeftMargin(columns);
  if (showLimit) lblMax[2].caption = LimitText(maxLeftMargin_);
  if (BoxValue(kDetailLeftMargin) > maxLeftMargin_) Text1[kDetailLeftMargin].text = DetailNumberText(maxLeftMargin_);
  // The test print sends the edit values: they never exceed the limit.
  edit_[kDetailLeftMargin] = std::min(edit_[kDetailLeftMargin], maxLeftMargin_);
}

void P3SetUpForm::RowsChanged(int rows, bool showLimit) {
  maxTopMargin_ = limits_.MaxTopMargin(rows);
  if (showLimit) lblMax[3].caption = LimitText(maxTopMargin_);
  if (BoxValue(kDetailTopMargin) > maxTopMargin_) Text1[kDetailTopMargin].text = DetailNumberText(maxTopMargin_);
  edit_[kDetailTopMargin] = std::min(edit_[kDetailTopMargin], maxTopMargin_);
}

bool P3SetUpForm::Accepted(int index, int value) const {
  switch (index) {
    case kDetailColumns: return limits_.ColumnsAccepted(value);
    case kDetailRows: return limits_.RowsAccepted(value);
    case kDetailLeftMargin:
      return value >= 0 && value <= maxLeftMargin_ && !TrimBlanks(Text1[kDetailLeftMargin].text).empty();
    default: return value >= 0 && value <= maxTopMargin_ && !TrimBlanks(Text1[kDetailTopMargin].text).empty();
  }
}

void P3SetUpForm::SpinButton1_SpinUp(int index) {
  const int v = BoxValue(index);
  const int limit = index == kDetailColumns ? limits_.MaxColumns()
                    : index == kDetailRows  ? limits_.MaxRows()
                    : index == kDetailLeftMargin ? maxLeftMargin_
                                                 : maxTopMargin_;
  if (v >= limit) return;
  edit_[size_t(index)] = v + 1;
  if (index == kDetailColumns) ColumnsChanged(v + 1, true);
  if (index == kDetailRows) RowsChanged(v + 1, true);
  Text1[size_t(index)].text = DetailNumberText(v + 1);
}

void P3SetUpForm::SpinButton1_SpinDown(int index) {
  const int v = BoxValue(index);
  const int lowest = index == kDetailColumns ? PrintDetailLimits::kMinColumns
                     : index == kDetailRows  ? PrintDetailLimits::kMinRows
                                             : 0;
  if (v <= lowest) return;
  edit_[size_t(index)] = v - 1;
  if (index == kDetailColumns) ColumnsChanged(v - 1, true);
  if (index == kDetailRows) RowsChanged(v - 1, true);
  Text1[size_t(index)].text = DetailNumberText(v - 1);
}

void P3SetUpForm::Text1_LostFocus(int index) {
  const int v = BoxValue(index);
  if (!Accepted(index, v)) {
    Text1[size_t(index)].text = DetailNumberText(RecordValue(index));
    return;
  }
  edit_[size_t(index)] = v;
  if (index == kDetailColumns) ColumnsChanged(v, true);
  if (index == kDetailRows) RowsChanged(v, true);
}

void P3SetUpForm::Text1_GotFocus(int, KeyTextBox& box) { SelectAll(box); }
void P3SetUpForm::Text1_KeyDown(int, const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }
void P3SetUpForm::Text1_KeyPress(int, KeyTextBox& box, int& key) { FilterKeyPress(box, key, true, "NUM"); }
void P3SetUpForm::Text2_GotFocus(KeyTextBox& box) { SelectAll(box); }
void P3SetUpForm::Text2_KeyDown(const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }

void P3SetUpForm::cmdOK_Click() {
  for (int i = 0; i < 4; ++i) {
    const int v = BoxValue(i);
    if (!Accepted(i, v)) {
      edit_[size_t(i)] = RecordValue(i);
      continue;
    }
    edit_[size_t(i)] = v;
    if (i == kDetailColumns) ColumnsChanged(v, false);
    if (i == kDetailRows) RowsChanged(v, false);
  }
  const size_t n = static_cast<size_t>(Form());
  st_.PrintColumns[n] = EditColumns();
  st_.PrintRows[n] = EditRows();
  st_.LeftMargins[n] = EditLeftMargin();
  st_.TopMargins[n] = EditTopMargin();
  st_.PrintFormNames[n] = Text2.text;
  const std::string& key = st_.PrintFormSections[n];
  const std::string name(TrimBlanks(Text2.text));
  for (const std::string& file : {EstimateIniPath(st_), PrinterIniPath(st_), TemplateIniPath(st_)}) {
    if (file.empty()) continue;
    for (int i = 0; i < 4; ++i) IniPutString(kSections[i], key, std::to_string(edit_[size_t(i)]), file);
    IniPutString("印刷名称", key, name, file);
  }
  st_.SheetModified = true;
  Unload();
}

void P3SetUpForm::cmdCancel_Click() { Unload(); }

void P3SetUpForm::cmdHelp_Click() { HelpOpen(st_, kPrintDetailWindow); }

void P3SetUpForm::cmdTestPrn_Click() {
  TestPrint(st_, Form(), {EditColumns(), EditRows(), EditLeftMargin(), EditTopMargin()});
}

void P3SetUpForm::Form_QueryUnload(int) {
  unloaded_ = true;
  PageNumbersFollowForm(st_);
}

void P3SetUpForm::Unload() {
  if (unloaded_) return;
  Form_QueryUnload(kUnloadByCode);
  if (port_.Unload) port_.Unload();
}

}  // namespace kv
