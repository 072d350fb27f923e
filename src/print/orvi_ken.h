#pragma once
// The special print set-up dialog frmOrviKen ("特殊印刷の設定"): switches
// the special print form (rows with a unit price but no quantity left out)
// on or off and names the quantity and unit-price columns. The three values
// are kept in DAVIROV.INI [特殊仕様印刷]; switching the form for a saved
// estimate renumbers its pages once the user agrees. This class holds the
// controls' values and runs the handlers; the window
// (print/windows/frm_orvi_ken.h) shows them.
#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "print/form_controls.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kSpecialPrintWindow = "frmOrviKen";

struct OrviKenPort {
  std::function<void()> Unload;
};

class OrviKenForm {
 public:
  explicit OrviKenForm(ProgramState& st, OrviKenPort port = {});
  OrviKenForm(const OrviKenForm&) = delete;
  OrviKenForm& operator=(const OrviKenForm&) = delete;

  // --- Controls ---
  // Label1: 0 "特殊印刷仕様", 1 the explanation, 2 "数量欄", 3 "単価欄",
  // 4 the prompt.
  std::array<FormLabel, 5> Label1;
  FormCheck Check1;  // "特殊印刷仕様"
  FormList Combo1;   // quantity column: entry c - 1 is column c
  FormList Combo2;   // unit-price column
  std::array<std::string, 2> Command1{"OK", "キャンセル"};

  bool Unloaded() const { return unloaded_; }

  // The column headings of the current level, the stored columns chosen.
  void Form_Load();
  // 0 OK: both columns must be numeric ones (a list without a choice is
  // refused with its message), then stored; switching the form for a saved
  // estimate asks before the pages are renumbered (No, or a recording that
  // fails, leaves the three values as they were and writes nothing).
  // 1 Cancel.
  void Command1_Click(int index);

  void Unload();

 private:
  // The column of a list's choice when it is a numeric column; 0 otherwise.
  int NumericColumn(const FormList& list) const;
  void Revert();

  ProgramState& st_;
  OrviKenPort port_;
  int loadedKenPrn_ = 0, loadedSuu_ = 0, loadedTanka_ = 0;
  bool unloaded_ = false;
};

}  // namespace kv
