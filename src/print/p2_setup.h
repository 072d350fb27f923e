#pragma once
// The print set-up dialog frmP2SetUp ("印刷設定"): the printer and the print
// form, whether and where the company name and the project name are
// printed, the widths of four kinds of printed lines and the page-number
// format; "詳細設定(&S)..." opens the detail dialog for the form's columns,
// rows and margins. It edits the print-information record and writes it to
// the three settings files. This class holds the controls' values and runs
// the handlers; the window (print/windows/frm_p2_setup.h) shows them.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "print/form_controls.h"

namespace kv {

struct ProgramState;

inline constexpr int kPageFormatMaxChars = 20;
// The line-width sliders run from thin (left) to thick (right).
inline constexpr int kLineWidthMin = 0;
inline constexpr int kLineWidthMax = 10;

struct P2SetUpPort {
  // Closes the window; the form's unload handler has run already.
  std::function<void()> Unload;
};

class P2SetUpForm {
 public:
  explicit P2SetUpForm(ProgramState& st, P2SetUpPort port = {});
  P2SetUpForm(const P2SetUpForm&) = delete;
  P2SetUpForm& operator=(const P2SetUpForm&) = delete;

  // --- Controls ---
  FormList cobPrinter;               // "プリンタ"
  FormList cobPaperType;             // "用紙タイプ"
  FormCheck Check2;                  // "会社名を印刷する"
  std::array<FormCheck, 3> Option1;  // company name " 左", " 中", " 右"
  FormLabel Label2;                  // "印刷位置"
  FormCheck Check1;                  // "工事名称を印刷する"
  std::array<FormCheck, 3> Option3;  // project name " 左", " 中", " 右"
  FormLabel Label3;                  // "印刷位置"
  int Slider1 = 0;                   // "点線強調"
  int Slider2 = 0;                   // "項目欄下線幅"
  int Slider3 = 0;                   // "合計行上線幅"
  int Slider4 = 0;                   // "外枠線幅"
  FormText Text1;                    // page-number format, at most 20 characters

  // --- Private variables ---
  int LoadedPrnTypeNo() const { return loadedPrnTypeNo_; }
  int AppliedPrinterIndex() const { return appliedPrinterIndex_; }
  int BackupTaken() const { return backupTaken_; }
  bool Unloaded() const { return unloaded_; }

  // --- Members ---
  void FormInit();
  void MPrintInfoMotoni();
  void MPrintInfoSave();
  void MPrintInfoSet();
  void MPrintInfoWrite();
  void Check1_Click();
  void Check2_Click();
  void cmdCancel_Click();
  void cmdHelp_Click();
  void cmdOK_Click();
  void cmdSet_Click();
  void cobPaperType_Click(int index);
  void cobPrinter_Click(int index);
  void Form_Activate();
  void Form_Load();
  // Every unload: the page numbers brought in line with the form. The close
  // box runs Cancel's steps with it.
  void Form_QueryUnload(int unloadMode);
  void Text1_KeyDown(int keyCode);

  void Unload();

 private:
  void PaperListFill();
  void RecordShow();
  void PrinterApply();
  void DialogPause();
  void CancelSteps();

  ProgramState& st_;
  P2SetUpPort port_;
  int loadedPrnTypeNo_ = 0;
  int appliedPrinterIndex_ = 0;
  int backupTaken_ = 0;
  bool unloaded_ = false;
};

}  // namespace kv
