#pragma once
// frmKensaku ("文字列検索複合条件"): the compound search dialog of the search
// window. Five rows, each a field (a text column of level 1, or "(なし)"), a
// search text and the "空白含む" box; OK checks the rows, moves the used ones
// to the top, turns them into the compound conditions `KensakuCond` and runs
// the search window's search. Each list entry keeps the number of its column,
// so two columns with one caption each search their own column.
//
// The Qt dialog (classify/windows/) shows `Rows` and hands the clicks here;
// it is hidden after OK (the rows stay for the next time) and unloaded by
// Cancel and when the search window closes.
#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kv {

struct ProgramState;
class SchSheet_Frm;

inline constexpr int kKensakuRows = 5;
inline constexpr const char* kNoField = "(なし)";
inline constexpr const char* kKensakuTitle = "検索";

struct KensakuDialogRow {
  int field = 0;     // entry of the field list; 0 is "(なし)"
  std::string text;  // display text
  bool withBlanks = false;
};

// What the dialog asks of its window.
struct KensakuDialogPort {
  std::function<void()> RowsChanged;  // show `Rows` (and the lists) again
  std::function<void()> Hide;
  std::function<void()> Unload;
};

class FrmKensaku {
 public:
  FrmKensaku(ProgramState& st, SchSheet_Frm& search, KensakuDialogPort port);

  // The field lists: captions (display text) and the column each stands
  // for; entry 0 is "(なし)" with column 0.
  std::vector<std::string> FieldCaptions;
  std::vector<int> FieldColumns;
  std::array<KensakuDialogRow, kKensakuRows> Rows;

  void Form_Load();
  void SearchFillFields();
  // True when the rows may be searched; otherwise the user has been told
  // why (the used rows may have been moved up meanwhile).
  bool SearchCheckConditions();
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 private:
  void Changed();
  void Refuse(const std::string& text);

  ProgramState& st_;
  SchSheet_Frm& search_;
  KensakuDialogPort port_;
};

}  // namespace kv
