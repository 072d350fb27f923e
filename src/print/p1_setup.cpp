#include "print/p1_setup.h"

#include <algorithm>

#include "app/help_file.h"
#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/window_services.h"
#include "editor/page_numbers.h"
#include "editor/print_prep.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "print/form_page_numbers.h"
#include "print/print_forms.h"
#include "print/print_info_files.h"
#include "print/print_job.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_command_steps.h"

namespace kv {
namespace {

constexpr int kMaxPage = 4000;
constexpr int kCopies = 10;

// A box's number as the checks read it: the trimmed text's leading number,
// 0 when there is none.
double BoxValue(const FormText& box) { return LeadingNumberValue(TrimBlanks(box.text)); }
bool BoxEmpty(const FormText& box) { return TrimBlanks(box.text).empty(); }

// The whole text selected (lengths count characters, not bytes).
void SelectAll(KeyTextBox& box) {
  box.selStart = 0;
  box.selLength = static_cast<int>(
      std::count_if(box.text.begin(), box.text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Rows and page boxes take digits only, typed over the character at the
// caret, then the number filter.
void DigitsOverNumber(KeyTextBox& box, int& key) {
  FilterDigits(box, key, 1);
  if (key != 0) FilterKeyPress(box, key, true, "NUM");
}

}  // namespace

P1SetUpForm::P1SetUpForm(ProgramState& st, P1SetUpPort port) : st_(st), port_(std::move(port)) {
  Option3[0].caption = "階層指定印刷";
  Option3[1].caption = "ページ指定印刷";
  Option3[2].caption = "範囲指定印刷";
  fraPrintStyle.caption = "印刷範囲";
  Option1[0].caption = "現在の階層からすべて(&A)";
  Option1[1].caption = "階層指定(&O)";
  fraLayer.caption = "階層";
  fraPageSet.caption = "印刷範囲";
  fraPageSet.visible = false;
  txtStartPage.text = "1";
  txtEndPage.text = "4000";
  chkPageFlag.caption = "ページ付き印刷";
  chkPageFlag.value = 1;
  Label3.caption = "ﾍﾟｰｼﾞ番号初期値";
  txtPage.text = "1";
  Check2.caption = "用紙節約連続印刷";
  Check3.caption = "Velk形式";
}

void P1SetUpForm::Form_Load() {
  loadPrinterName_ = CurrentPrinter(st_);
  CenterFormIfNormal(st_.ui, kPrintWindow);
  ReadPrintInfo(st_);
  FormInit();
  P1SetUpFormDisplayInit();
  if (st_.SystemKind == 1) {
    Check1.caption = "非印刷階層行を無視する";
    Check1.value = 0;
  } else {
    Check1.caption = "挿入されているオブジェクトを印刷する";
    Check1.value = 1;
    if (IniGetInt("OLE", "OleFileCnt", EstimateIniPath(st_)) < 1) Check1.enabled = false;
  }
  txtStartPage.text = st_.PrintRequest;
  txtPage.text = st_.PrintRequest;
  FloatWindowsNoTopMost(st_);
}

void P1SetUpForm::FormInit() {
  PrinterIniEnsure(st_);
  PrinterListFill();
  const bool kind1 = st_.SystemKind == 1;
  switch (st_.PrintRangeMode) {
    case 1:
      fraPageSet.visible = true;
      txtPage.enabled = Label3.enabled = false;
      if (kind1) Check1.enabled = false;
      break;
    case 2:
      Option1[0].enabled = Option1[1].enabled = false;
      Option1Choose(1);
      fraPrintStyle.visible = true;
      FraHani.enabled = FraHani.visible = true;
      TextHani[0].text = std::to_string(st_.PrintRowFrom);
      TextHani[1].text = std::to_string(st_.PrintRowTo);
      txtPage.enabled = Label3.enabled = fraLayer.enabled = true;
      if (kind1) Check1.enabled = true;
      DepthOptionsBuild();
      break;
    default:
      Option1[0].enabled = Option1[1].enabled = true;
      Option1Choose(1);
      fraPrintStyle.visible = true;
      FraHani.enabled = FraHani.visible = false;
      txtPage.enabled = Label3.enabled = fraLayer.enabled = true;
      if (kind1) Check1.enabled = true;
      DepthOptionsBuild();
      break;
  }
  txtKaisyaName.text = st_.CompanyName;
  PaperListFill();
  Combo1.items.clear();
  for (int n = 1; n <= kCopies; ++n) Combo1.items.push_back(n < 10 ? " " + std::to_string(n) : std::to_string(n));
  Combo1.index = 0;
}

void P1SetUpForm::P1SetUpFormDisplayInit() {
  const int mode = std::clamp(st_.PrintRangeMode, 0, 2);
  const bool kind1 = st_.SystemKind == 1;
  for (int i = 0; i < 3; ++i) Option3[size_t(i)].value = i == mode ? 1 : 0;
  fraPrintStyle.visible = mode != 1;
  fraPageSet.visible = mode == 1;
  if (mode == 0) FraHani.enabled = FraHani.visible = false;
  if (mode == 2) {
    FraHani.enabled = FraHani.visible = true;
    TextHani[0].text = std::to_string(st_.PrintRowFrom);
    TextHani[1].text = std::to_string(st_.PrintRowTo);
  }
  if (kind1) Check1.enabled = mode != 1;
  Check2.enabled = mode == 0;
  chkPageFlag.value = st_.PrnPageNoFlag == -1 ? 1 : 0;
  Option3_Click(mode);
}

void P1SetUpForm::PrinterListFill() {
  cobPrinterName.items = st_.ui.PrinterNames();
  const std::string& current = CurrentPrinter(st_);
  cobPrinterName.index = -1;
  for (size_t i = 0; i < cobPrinterName.items.size(); ++i)
    if (TrimBlanks(cobPrinterName.items[i]) == TrimBlanks(current)) cobPrinterName.index = static_cast<int>(i);
  selectedPrinterIndex_ = cobPrinterName.index;
}

void P1SetUpForm::PaperListFill() {
  cobPType.items = PaperTypeCaptions(st_);
  cobPType.index = PrintFormInUse(st_) - 1;
}

void P1SetUpForm::DepthOptionsBuild() {
  int k = 0;
  for (int n = st_.CurrentLevel; n <= st_.LevelCount && k < 8; ++n, ++k) {
    FormCheck& option = Option2[size_t(k)];
    option.value = 0;
    option.caption = std::to_string(n) + "階層まで";
    option.enabled = option.visible = true;
  }
  Option2[0].caption = "現在の階層";
  Option2[0].value = 1;
  Option2[0].enabled = Option2[0].visible = true;
  printLevelDepth_ = 0;
  for (; k < 8; ++k) Option2[size_t(k)].visible = false;
}

void P1SetUpForm::Option1Choose(int index) {
  Option1[0].value = index == 0 ? 1 : 0;
  Option1[1].value = index == 1 ? 1 : 0;
  Option1_Click(index);
}

void P1SetUpForm::Form_Activate() {
  st_.ui.SetWindowTopMost(kPrintWindow, true);
  const int found = PrinterListFind(cobPrinterName.items, CurrentPrinter(st_));
  cobPrinterName_Click(found < 0 ? 0 : found);
  selectedPrinterIndex_ = cobPrinterName.index;
  PrinterInfoShow();
  activatedPrnTypeNo_ = st_.PrnTypeNo;
  activatedCompanyName_ = st_.CompanyName;
  Check3.enabled = Check3.visible = st_.CustomerVariant;
  if (st_.CustomerVariant) Check3.value = 0;
}

void P1SetUpForm::PrinterInfoShow() {
  ReadPrintInfo(st_);
  txtKaisyaName.text = st_.CompanyName;
  PaperListFill();
}

void P1SetUpForm::DialogPause() {
  st_.ui.SetWindowEnabled(kPrintWindow, false);
  st_.ui.ProcessEvents();
  st_.ui.SetWindowEnabled(kPrintWindow, true);
}

void P1SetUpForm::Option3_Click(int index) {
  const bool kind1 = st_.SystemKind == 1;
  const int before = st_.PrintRangeMode;
  for (int i = 0; i < 3; ++i) Option3[size_t(i)].value = i == index ? 1 : 0;
  auto backFromPageRange = [&](bool focus) {
    Option1Choose(1);
    fraPageSet.visible = false;
    fraPrintStyle.visible = true;
    if (focus) Focus = "Option1(1)";
    txtPage.enabled = Label3.enabled = true;
    if (kind1) Check1.enabled = true;
  };
  if (index == 0) {
    Option1[0].enabled = Option1[1].enabled = true;
    if (before == 1) backFromPageRange(true);
    FraHani.enabled = FraHani.visible = false;
  } else if (index == 1) {
    if (before == 0 || before == 2) {
      fraPrintStyle.visible = false;
      fraPageSet.visible = true;
      Focus = "txtStartPage";
      txtPage.enabled = Label3.enabled = false;
      if (kind1) Check1.enabled = false;
    }
  } else {
    Option1[0].enabled = Option1[1].enabled = false;
    if (before == 1) backFromPageRange(false);
    FraHani.enabled = FraHani.visible = true;
    TextHani[0].text = std::to_string(st_.PrintRowFrom);
    TextHani[1].text = std::to_string(st_.PrintRowTo);
  }
  Check2.enabled = index == 0;
  st_.PrintRangeMode = index;
}

void P1SetUpForm::Option1_Click(int index) {
  Option1[0].value = index == 0 ? 1 : 0;
  Option1[1].value = index == 1 ? 1 : 0;
  if (index == 1) {
    fraLayer.enabled = true;
    DepthOptionsBuild();
  } else {
    fraLayer.enabled = false;
    for (FormCheck& option : Option2) option.enabled = false;
  }
}

void P1SetUpForm::Option2_Click(int index) {
  for (int k = 0; k < 8; ++k) Option2[size_t(k)].value = k == index ? 1 : 0;
  printLevelDepth_ = index;
}

void P1SetUpForm::cobPrinterName_Click(int index) {
  cobPrinterName.index = index;
  if (index != selectedPrinterIndex_) {
    const std::vector<std::string> printers = st_.ui.PrinterNames();
    const int found = PrinterListFind(printers, cobPrinterName.Selected());
    if (found >= 0) st_.CurrentPrinterName = printers[size_t(found)];
    selectedPrinterIndex_ = index;
    PrinterInfoShow();
  }
  DialogPause();
}

void P1SetUpForm::cobPType_Click(int index) {
  cobPType.index = index;
  DialogPause();
}

void P1SetUpForm::Combo1_Click(int index) {
  Combo1.index = index;
  DialogPause();
}

void P1SetUpForm::cmndPropaty_Click() {
  st_.ui.SetWindowTopMost(kPrintWindow, false);
  st_.PrnTypeNo = cobPType.index + 1;
  if (st_.PrnTypeNo != activatedPrnTypeNo_) PageNumbersWrite(st_);
  if (txtKaisyaName.text != activatedCompanyName_) {
    st_.CompanyName = txtKaisyaName.text;
    IniPutEach("PrintInformation", "CompanyName", st_.CompanyName,
               {PrinterIniPath(st_), EstimateIniPath(st_), TemplateIniPath(st_)});
    // The name is in the estimate's settings file now: the next save packs it.
    st_.SheetModified = true;
  }
  cobPrinterName.enabled = cobPType.enabled = false;
  st_.ui.SetWindowEnabled(kPrintWindow, false);
  st_.ui.ShowModal(kPrintSetUpWindow);
  st_.ui.SetWindowEnabled(kPrintWindow, true);
  cobPrinterName.enabled = cobPType.enabled = true;
  // The activation that follows the set-up dialog.
  Form_Activate();
}

bool P1SetUpForm::Refuse(const std::string& text) {
  AskUser(st_, text, vbOKOnly | vbExclamation, kPrintTitle);
  return false;
}

bool P1SetUpForm::Checks() {
  const int mode = st_.PrintRangeMode;
  auto inPages = [](double v) { return v >= 1 && v <= kMaxPage; };
  if (mode == 1) {
    if (!inPages(BoxValue(txtStartPage)))
      return Refuse("ページ指定印刷の開始ページは、１以上４０００以下の数値を指定して下さい。");
    if (!inPages(BoxValue(txtEndPage)))
      return Refuse("ページ指定印刷の終了ページは、１以上４０００以下の数値を指定して下さい。");
    if (BoxValue(txtEndPage) < BoxValue(txtStartPage))
      return Refuse("ページ指定印刷の開始ページ終了ページに誤りがあります");
  }
  if (mode == 2) {
    if (BoxValue(TextHani[1]) < BoxValue(TextHani[0]))
      return Refuse("範囲指定印刷の開始行数、終了行数に誤りがあります");
    if (BoxValue(TextHani[1]) > st_.UsedRows)
      return Refuse("範囲指定印刷の終了行数は印刷する見積データの最終行以下の数値にして下さい");
  }
  if (chkPageFlag.value == 1 && mode != 1 && !inPages(BoxValue(txtPage)))
    return Refuse("ページ番号の初期値は、１以上４０００以下の数値を指定して下さい。");
  // A form without rows per page cannot be split into pages.
  const size_t form = static_cast<size_t>(std::clamp(cobPType.index + 1, 1, kPrintForms));
  if (st_.PrintRows[form] < 1)
    return Refuse("用紙タイプ [ " + st_.PrintFormSections[form] + " ] の印刷件数が設定されていないため、印刷できません。");
  return true;
}

void P1SetUpForm::cmndPrint_Click() {
  // The box being left corrects itself first, as when the button takes the
  // focus.
  switch (focused_) {
    case Box::TextHani0: TextHani_LostFocus(0); break;
    case Box::TextHani1: TextHani_LostFocus(1); break;
    case Box::StartPage: txtStartPage_LostFocus(); break;
    case Box::EndPage: txtEndPage_LostFocus(); break;
    default: break;
  }
  focused_ = Box::None;
  if (!Checks()) return;
  PrintJobRun(st_, *this);
}

void P1SetUpForm::CancelForm() {
  // Back to the form the estimate's settings hold, which the page numbers
  // then follow again.
  const int stored = StoredPrintForm(st_);
  st_.PrnTypeNo = stored != 0 ? stored : activatedPrnTypeNo_;
}

void P1SetUpForm::CancelAfterUnload() {
  if (st_.CurrentRow != 0 && st_.sheetEngine != nullptr) {
    if (GridModel* grid = st_.sheetEngine->EdtSheetGrid(st_))
      SetSheetLocate32(*grid, std::max(st_.CurrentCol, 1), st_.CurrentRow);
  }
  st_.PrintRunning = false;
  FloatWindowsRestore(st_);
}

void P1SetUpForm::cmndEnd_Click() {
  CancelForm();
  Unload();
  CancelAfterUnload();
}

void P1SetUpForm::Form_QueryUnload(int unloadMode) {
  unloaded_ = true;
  if (unloadMode == kUnloadByCloseBox) CancelForm();
  FloatWindowsRaise(st_);
  PageNumbersFollowForm(st_);
  if (unloadMode == kUnloadByCloseBox) CancelAfterUnload();
}

void P1SetUpForm::Unload() {
  if (unloaded_) return;
  Form_QueryUnload(kUnloadByCode);
  if (port_.Unload) port_.Unload();
}

void P1SetUpForm::cmndHelp_Click() { HelpOpen(st_, kPrintWindow); }

void P1SetUpForm::chkPageFlag_KeyDown(int keyCode) {
  if (keyCode == kKeyEnter && st_.PrintRangeMode == 0) Focus = "txtPage";
}

void P1SetUpForm::TextHani_GotFocus(int index, KeyTextBox& box) {
  focused_ = index == 0 ? Box::TextHani0 : Box::TextHani1;
  SelectAll(box);
}
void P1SetUpForm::TextHani_KeyDown(int, const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }
void P1SetUpForm::TextHani_KeyPress(int, KeyTextBox& box, int& key) { DigitsOverNumber(box, key); }

void P1SetUpForm::TextHani_LostFocus(int index) {
  focused_ = Box::None;
  FormText& box = TextHani[size_t(index)];
  if (index == 0) {
    if (BoxEmpty(box) || BoxValue(box) < 1) {
      st_.PrintRowFrom = 1;
      box.text = "1";
    }
  } else if (BoxEmpty(box) || BoxValue(box) > st_.UsedRows) {
    st_.PrintRowTo = st_.UsedRows;
    box.text = std::to_string(st_.UsedRows);
  }
}

void P1SetUpForm::txtStartPage_GotFocus(KeyTextBox& box) {
  focused_ = Box::StartPage;
  SelectAll(box);
}
void P1SetUpForm::txtStartPage_KeyDown(const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }
void P1SetUpForm::txtStartPage_KeyPress(KeyTextBox& box, int& key) { FilterKeyPress(box, key, true, "NUM"); }

void P1SetUpForm::txtStartPage_LostFocus() {
  focused_ = Box::None;
  if (BoxEmpty(txtStartPage) || BoxValue(txtStartPage) < 1) txtStartPage.text = "1";
  if (st_.PrintRangeMode == 1) txtPage.text = txtStartPage.text;
}

void P1SetUpForm::txtEndPage_GotFocus(KeyTextBox& box) {
  focused_ = Box::EndPage;
  SelectAll(box);
}
void P1SetUpForm::txtEndPage_KeyDown(const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }
void P1SetUpForm::txtEndPage_KeyPress(KeyTextBox& box, int& key) { FilterKeyPress(box, key, true, "NUM"); }

void P1SetUpForm::txtEndPage_LostFocus() {
  focused_ = Box::None;
  if (BoxEmpty(txtEndPage) || BoxValue(txtEndPage) < 1) txtEndPage.text = "9999";
}

void P1SetUpForm::txtPage_Click() { st_.ui.SetWindowTopMost(kPrintWindow, true); }
void P1SetUpForm::txtPage_GotFocus(KeyTextBox& box) {
  focused_ = Box::Page;
  SelectAll(box);
}
void P1SetUpForm::txtPage_KeyDown(const KeyTextBox& box, int keyCode) { TextKeyDownHook(box, keyCode); }
void P1SetUpForm::txtPage_KeyPress(KeyTextBox& box, int& key) { DigitsOverNumber(box, key); }

PrintJobInputs P1SetUpForm::JobInputs() const {
  PrintJobInputs in;
  in.mode = st_.PrintRangeMode;
  in.startPage = txtStartPage.text;
  in.endPage = txtEndPage.text;
  in.pageNumbers = chkPageFlag.value == 1;
  in.firstPage = txtPage.text;
  in.rowFrom = TextHani[0].text;
  in.rowTo = TextHani[1].text;
  in.allLevels = Option1[0].value == 1;
  in.depth = printLevelDepth_;
  in.form = cobPType.index + 1;
  in.copies = Combo1.index + 1;
  in.companyName = txtKaisyaName.text;
  in.option1Enabled = Check1.enabled;
  in.option1 = Check1.value == 1;
  in.option2Enabled = Check2.enabled;
  in.option2 = Check2.value == 1;
  in.option3 = Check3.value == 1;
  in.activatedForm = activatedPrnTypeNo_;
  in.activatedCompanyName = activatedCompanyName_;
  in.loadPrinterName = loadPrinterName_;
  return in;
}

}  // namespace kv
