#pragma once
// The print detail dialog frmP3SetUp ("印刷詳細設定"): for the current print
// form its columns, rows per page, left and top margin, each with up/down
// buttons and its upper limit ("（最大 n）", from MTMPRNW.INI), and its
// display name. OK stores them in the record and the three settings files;
// "テスト印刷(&T)" prints an empty sheet with the unsaved numbers. This class
// holds the controls' values and runs the handlers; the window
// (print/windows/frm_p3_setup.h) shows them.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "core/key_filters.h"
#include "print/detail_limits.h"
#include "print/form_controls.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kPrintDetailWindow = "frmP3SetUp";
inline constexpr std::string_view kPrintDetailTitle = "印刷詳細設定";
inline constexpr std::string_view kPageLimitsFile = "MTMPRNW.INI";
inline constexpr int kDetailBoxMaxChars = 4;

// Box and spin indexes.
inline constexpr int kDetailColumns = 0;
inline constexpr int kDetailRows = 1;
inline constexpr int kDetailLeftMargin = 2;
inline constexpr int kDetailTopMargin = 3;

struct P3SetUpPort {
  std::function<void()> Unload;
};

// A number as the dialog's boxes and limit labels show it: a blank before a
// number that is not negative (" 96", "-6").
std::string DetailNumberText(int n);

class P3SetUpForm {
 public:
  explicit P3SetUpForm(ProgramState& st, P3SetUpPort port = {});
  P3SetUpForm(const P3SetUpForm&) = delete;
  P3SetUpForm& operator=(const P3SetUpForm&) = delete;

  // --- Controls ---
  // Label1: 0 "プリンタ", 1 "用紙タイプ", 2 "印刷名称", 3 the printer's name,
  // 4 the form's name, 6 "桁  数", 7 "行  数", 8 "左余白", 9 "上余白".
  std::array<FormLabel, 10> Label1;
  std::array<FormText, 4> Text1;   // columns, rows, left margin, top margin
  std::array<FormLabel, 4> lblMax;  // their limits
  FormText Text2;                   // the form's display name

  // --- Private variables ---
  int MaxColumns() const { return limits_.MaxColumns(); }
  int MaxLines() const { return limits_.MaxLines(); }
  int MaxLeftMargin() const { return maxLeftMargin_; }
  int MaxTopMargin() const { return maxTopMargin_; }
  int EditColumns() const { return edit_[kDetailColumns]; }
  int EditRows() const { return edit_[kDetailRows]; }
  int EditLeftMargin() const { return edit_[kDetailLeftMargin]; }
  int EditTopMargin() const { return edit_[kDetailTopMargin]; }
  bool Unloaded() const { return unloaded_; }

  // --- Members ---
  void FormInit();
  void cmdCancel_Click();
  void cmdHelp_Click();
  void cmdOK_Click();
  void cmdTestPrn_Click();
  void Form_Activate();
  // The form's page limits missing from MTMPRNW.INI are reported once.
  void Form_Load();
  void SpinButton1_SpinDown(int index);
  void SpinButton1_SpinUp(int index);
  void Text1_GotFocus(int index, KeyTextBox& box);
  void Text1_KeyDown(int index, const KeyTextBox& box, int keyCode);
  void Text1_KeyPress(int index, KeyTextBox& box, int& key);
  void Text1_LostFocus(int index);
  void Text2_GotFocus(KeyTextBox& box);
  void Text2_KeyDown(const KeyTextBox& box, int keyCode);

  // Every unload: the page numbers brought in line with the form.
  void Form_QueryUnload(int unloadMode);
  void Unload();

 private:
  int Form() const;
  int BoxValue(int index) const;
  int RecordValue(int index) const;
  // A new column or row count moves its margin's limit; a margin above the
  // new limit comes down to it, in the box and its edit value.
  void ColumnsChanged(int columns, bool showLimit);
  void RowsChanged(int rows, bool showLimit);
  bool Accepted(int index, int value) const;

  ProgramState& st_;
  P3SetUpPort port_;
  PrintDetailLimits limits_{-1, -1, 0};
  int maxLeftMargin_ = 0;
  int maxTopMargin_ = 0;
  std::array<int, 4> edit_{};
  bool unloaded_ = false;
};

}  // namespace kv
