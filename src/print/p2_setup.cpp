#include "print/p2_setup.h"

#include <algorithm>

#include "app/help_file.h"
#include "core/key_filters.h"
#include "core/settings_text.h"
#include "core/window_services.h"
#include "editor/page_numbers.h"
#include "editor/print_prep.h"
#include "platform/ui.h"
#include "print/form_page_numbers.h"
#include "print/p3_setup.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {
namespace {

int SliderOf(int width) { return std::clamp(width, kLineWidthMin, kLineWidthMax); }

void PositionShow(std::array<FormCheck, 3>& options, const std::string& position) {
  const char* names[] = {"左", "中", "右"};
  for (size_t i = 0; i < 3; ++i) options[i].value = position == names[i] ? 1 : 0;
}

std::string PositionOf(const std::array<FormCheck, 3>& options) {
  if (options[0].value == 1) return "左";
  if (options[1].value == 1) return "中";
  return "右";
}

}  // namespace

P2SetUpForm::P2SetUpForm(ProgramState& st, P2SetUpPort port) : st_(st), port_(std::move(port)) {
  Check2.caption = "会社名を印刷する";
  Check1.caption = "工事名称を印刷する";
  const char* positions[] = {" 左", " 中", " 右"};
  for (size_t i = 0; i < 3; ++i) Option1[i].caption = Option3[i].caption = positions[i];
  Label2.caption = Label3.caption = "印刷位置";
}

void P2SetUpForm::Form_Load() {
  CenterFormIfNormal(st_.ui, kPrintSetUpWindow);
  FormInit();
  loadedPrnTypeNo_ = st_.PrnTypeNo;
  FloatWindowsNoTopMost(st_);
}

void P2SetUpForm::FormInit() {
  PrinterIniEnsure(st_);
  cobPrinter.items.clear();
  for (const std::string& name : st_.ui.PrinterNames()) cobPrinter.items.emplace_back(TrimBlanks(name));
  const std::string current(TrimBlanks(CurrentPrinter(st_)));
  int selected = -1;
  for (size_t i = 0; i < cobPrinter.items.size(); ++i)
    if (cobPrinter.items[i] == current) selected = static_cast<int>(i);
  // Selecting the entry is a click on it: any entry but the first applies
  // that printer again and reloads the record before the controls show it.
  if (selected >= 0) cobPrinter_Click(selected);
  appliedPrinterIndex_ = cobPrinter.index;
  PaperListFill();
  RecordShow();
}

void P2SetUpForm::PaperListFill() {
  cobPaperType.items = PaperTypeCaptions(st_);
  // A form outside 1..7 is shown as the first; the record keeps its value.
  const int form = st_.PrnTypeNo >= 1 && st_.PrnTypeNo <= kPrintForms ? st_.PrnTypeNo : 1;
  cobPaperType.index = form - 1;
}

void P2SetUpForm::RecordShow() {
  Check2.value = st_.CompanyNameFlag == -1 ? 1 : 0;
  Check2_Click();
  PositionShow(Option1, st_.NamePosition);
  Check1.value = st_.KoujiNameFlag == -1 ? 1 : 0;
  Check1_Click();
  PositionShow(Option3, st_.KoujiNamePos);
  Slider2 = SliderOf(st_.ItemUnderlineWidth);
  Slider3 = SliderOf(st_.TotalOverlineWidth);
  Slider1 = SliderOf(st_.Sp999w);
  Slider4 = SliderOf(st_.FrameWidth);
  Text1.text = st_.PageFormat;
}

void P2SetUpForm::Check1_Click() {
  const bool on = Check1.value == 1;
  for (FormCheck& option : Option3) option.enabled = on;
  Label3.enabled = on;
}

void P2SetUpForm::Check2_Click() {
  const bool on = Check2.value == 1;
  for (FormCheck& option : Option1) option.enabled = on;
  Label2.enabled = on;
}

void P2SetUpForm::DialogPause() {
  st_.ui.SetWindowEnabled(kPrintSetUpWindow, false);
  st_.ui.ProcessEvents();
  st_.ui.SetWindowEnabled(kPrintSetUpWindow, true);
}

void P2SetUpForm::PrinterApply() {
  const std::vector<std::string> printers = st_.ui.PrinterNames();
  const int found = PrinterListFind(printers, cobPrinter.Selected());
  if (found >= 0) st_.CurrentPrinterName = printers[static_cast<size_t>(found)];
}

void P2SetUpForm::cobPrinter_Click(int index) {
  cobPrinter.index = index;
  DialogPause();
  if (index == appliedPrinterIndex_) return;
  PrinterApply();
  appliedPrinterIndex_ = index;
  ReadPrintInfo(st_);
  PaperListFill();
  RecordShow();
}

void P2SetUpForm::cobPaperType_Click(int index) {
  cobPaperType.index = index;
  DialogPause();
}

void P2SetUpForm::Form_Activate() {
  st_.ui.SetWindowTopMost(kPrintSetUpWindow, true);
  PaperListFill();
}

void P2SetUpForm::MPrintInfoSave() {
  kv::MPrintInfoSave(st_);
  backupTaken_ = -1;
}

void P2SetUpForm::MPrintInfoMotoni() {
  kv::MPrintInfoMotoni(st_);
  backupTaken_ = 0;
}

void P2SetUpForm::MPrintInfoSet() {
  st_.PrnTypeNo = cobPaperType.index + 1;
  st_.CompanyNameFlag = Check2.value == 1 ? -1 : 0;
  st_.NamePosition = PositionOf(Option1);
  st_.KoujiNameFlag = Check1.value == 1 ? -1 : 0;
  st_.KoujiNamePos = PositionOf(Option3);
  st_.ItemUnderlineWidth = Slider2;
  st_.TotalOverlineWidth = Slider3;
  st_.Sp999w = Slider1;
  st_.FrameWidth = Slider4;
  st_.PageFormat = std::string(TrimBlanks(Text1.text));
}

void P2SetUpForm::MPrintInfoWrite() { kv::MPrintInfoWrite(st_); }

void P2SetUpForm::cmdOK_Click() {
  st_.ui.SetBusyPointer(true);
  st_.PrnTypeNo = cobPaperType.index + 1;
  if (st_.PrnTypeNo != loadedPrnTypeNo_) PageNumbersWrite(st_);
  MPrintInfoSet();
  MPrintInfoWrite();
  st_.ui.SetBusyPointer(false);
  st_.SheetModified = true;
  Unload();
}

void P2SetUpForm::CancelSteps() {
  if (backupTaken_ != -1) return;
  MPrintInfoMotoni();
  MPrintInfoWrite();
}

void P2SetUpForm::cmdCancel_Click() {
  CancelSteps();
  Unload();
}

void P2SetUpForm::cmdSet_Click() {
  PrinterApply();
  MPrintInfoSave();
  MPrintInfoSet();
  MPrintInfoWrite();
  st_.ui.ShowModal(kPrintDetailWindow);
  // The activation that follows the detail dialog.
  Form_Activate();
}

void P2SetUpForm::cmdHelp_Click() { HelpOpen(st_, kPrintSetUpWindow); }

void P2SetUpForm::Text1_KeyDown(int keyCode) { TextKeyDownHook(KeyTextBox{Text1.text}, keyCode); }

void P2SetUpForm::Form_QueryUnload(int unloadMode) {
  unloaded_ = true;
  if (unloadMode == kUnloadByCloseBox) CancelSteps();
  PageNumbersFollowForm(st_);
}

void P2SetUpForm::Unload() {
  if (unloaded_) return;
  Form_QueryUnload(kUnloadByCode);
  if (port_.Unload) port_.Unload();
}

}  // namespace kv
