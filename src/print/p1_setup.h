#pragma once
// The print dialog frmP1SetUp ("印刷"): the printer, the paper type, the
// copies and the company name; one of three print modes (level print, page
// range, row range) with its depth or range; page numbers and their first
// number; up to three options. Its print button checks the entries and runs
// the print job (print/print_job.h), which closes the dialog. This class
// holds the controls' values and runs the dialog's handlers; the window
// (print/windows/frm_p1_setup.h) shows the values and hands it the user's
// actions.
#include <array>
#include <functional>
#include <string>

#include "core/key_filters.h"
#include "print/form_controls.h"
#include "print/job_file.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kPrintTitle = "印刷";
inline constexpr int kCompanyNameMaxChars = 75;
inline constexpr int kPageBoxMaxChars = 4;

// What the window does for the form.
struct P1SetUpPort {
  // Closes the window; the form's unload handler has run already.
  std::function<void()> Unload;
};

class P1SetUpForm {
 public:
  explicit P1SetUpForm(ProgramState& st, P1SetUpPort port = {});
  P1SetUpForm(const P1SetUpForm&) = delete;
  P1SetUpForm& operator=(const P1SetUpForm&) = delete;

  // --- Controls ---
  FormList cobPrinterName;  // "プリンタ"
  FormList cobPType;        // "用紙タイプ"
  FormList Combo1;          // "印刷部数": " 1" .. "10"
  FormText txtKaisyaName;   // "会社名", at most 75 characters
  std::array<FormCheck, 3> Option3;  // "階層指定印刷", "ページ指定印刷", "範囲指定印刷"
  FormLabel fraPrintStyle;           // "印刷範囲": level and row-range settings
  std::array<FormCheck, 2> Option1;  // "現在の階層からすべて(&A)", "階層指定(&O)"
  FormLabel fraLayer;                // "階層"
  std::array<FormCheck, 8> Option2;  // depth: "現在の階層", "n階層まで"
  FormLabel FraHani;                 // row range
  std::array<FormText, 2> TextHani;  // first and last row
  FormLabel fraPageSet;              // "印刷範囲": page range
  FormText txtStartPage;             // "開始ページ"
  FormText txtEndPage;               // "終了ページ"
  FormCheck chkPageFlag;             // "ページ付き印刷"
  FormLabel Label3;                  // "ﾍﾟｰｼﾞ番号初期値"
  FormText txtPage;                  // first page number
  FormCheck Check1;                  // option 1 (caption by the system kind)
  FormCheck Check2;                  // "用紙節約連続印刷"
  FormCheck Check3;                  // "Velk形式" (customer variant)
  // The control that takes the focus after the last handler ("txtPage",
  // "txtStartPage", "Option1(1)"); the window moves the focus and clears it.
  std::string Focus;

  // --- Private state of the dialog ---
  const std::string& LoadPrinterName() const { return loadPrinterName_; }
  int SelectedPrinterIndex() const { return selectedPrinterIndex_; }
  int ActivatedPrnTypeNo() const { return activatedPrnTypeNo_; }
  const std::string& ActivatedCompanyName() const { return activatedCompanyName_; }
  int PrintLevelDepth() const { return printLevelDepth_; }
  bool Unloaded() const { return unloaded_; }

  // --- Members ---
  void FormInit();
  void P1SetUpFormDisplayInit();
  // The system's default printer is the user's own setting here: nothing
  // is changed.
  void DefaultPrinterSet(const std::string& device, const std::string& driver, const std::string& port) {}
  // This platform behaves as the NT family: true.
  bool WinVersionGet() const { return true; }
  void chkPageFlag_KeyDown(int keyCode);
  void cmndEnd_Click();
  void cmndHelp_Click();
  void cmndPrint_Click();
  void cmndPropaty_Click();
  void cobPrinterName_Click(int index);
  void cobPType_Click(int index);
  void Combo1_Click(int index);
  void Form_Activate();
  void Form_Load();
  // Every unload: the floating windows raised and the page numbers brought
  // in line with the form. The close box runs Cancel's steps with it.
  void Form_QueryUnload(int unloadMode);
  void Option1_Click(int index);
  void Option2_Click(int index);
  void Option3_Click(int index);
  void Option3_KeyDown(int index, int keyCode) {}
  void TextHani_GotFocus(int index, KeyTextBox& box);
  void TextHani_KeyDown(int index, const KeyTextBox& box, int keyCode);
  void TextHani_KeyPress(int index, KeyTextBox& box, int& key);
  void TextHani_LostFocus(int index);
  void txtEndPage_GotFocus(KeyTextBox& box);
  void txtEndPage_KeyDown(const KeyTextBox& box, int keyCode);
  void txtEndPage_KeyPress(KeyTextBox& box, int& key);
  void txtEndPage_LostFocus();
  void txtPage_Click();
  void txtPage_GotFocus(KeyTextBox& box);
  void txtPage_KeyDown(const KeyTextBox& box, int keyCode);
  void txtPage_KeyPress(KeyTextBox& box, int& key);
  void txtStartPage_GotFocus(KeyTextBox& box);
  void txtStartPage_KeyDown(const KeyTextBox& box, int keyCode);
  void txtStartPage_KeyPress(KeyTextBox& box, int& key);
  void txtStartPage_LostFocus();

  // What the print job takes from the dialog.
  PrintJobInputs JobInputs() const;
  // Unloads the dialog (Form_QueryUnload, then the window closes); once.
  void Unload();

 private:
  enum class Box { None, TextHani0, TextHani1, StartPage, EndPage, Page };
  void PrinterListFill();
  void PaperListFill();
  void DepthOptionsBuild();
  void Option1Choose(int index);
  // Takes the settings of the current printer: record, company name, paper list.
  void PrinterInfoShow();
  void DialogPause();
  void CancelForm();
  void CancelAfterUnload();
  // Refuses with a message titled "印刷"; false.
  bool Refuse(const std::string& text);
  bool Checks();

  ProgramState& st_;
  P1SetUpPort port_;
  std::string loadPrinterName_;
  int selectedPrinterIndex_ = -1;
  int activatedPrnTypeNo_ = 0;
  std::string activatedCompanyName_;
  int printLevelDepth_ = 0;
  Box focused_ = Box::None;
  bool unloaded_ = false;
};

}  // namespace kv
