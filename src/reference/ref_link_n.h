#pragma once
// RefLinkN ("変換ルール設定"): the conversion window of a reference saved with
// another column layout. The user pairs each editor field with a reference
// field (or none), may load or save the pairing as a named rule, and OK
// converts the reference's work files. The answer goes to the program state:
// RefLinkCancelled 0 after a conversion, -1 otherwise (Cancel, the close box,
// a conversion that could not be done). This class holds the controls'
// values and runs the handlers; the window (reference/windows/) shows them.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "print/form_controls.h"
#include "reference/change_rules.h"
#include "reference/ref_field_conv.h"

namespace kv {

struct ProgramState;

inline constexpr std::string_view kRuleSelectWindow = "RChgRuleSEL_Frm";
inline constexpr std::string_view kRuleSaveWindow = "RChgRuleMAK_Frm";
inline constexpr const char* kConvTitle = "変換";

struct RefLinkNPort {
  std::function<void()> Unload;
};

class RefLinkNForm {
 public:
  explicit RefLinkNForm(ProgramState& st, RefLinkNPort port = {});
  RefLinkNForm(const RefLinkNForm&) = delete;
  RefLinkNForm& operator=(const RefLinkNForm&) = delete;

  // --- Controls ---
  FormLabel Frame1;                 // "変換ルール" or with the rule's name
  std::array<FormLabel, 6> Label1;  // 0..2 the lists' headings, 5 the instruction
  // 0 the editor's fields, 1 per editor field the reference field feeding it,
  // 2 the reference's fields.
  std::array<FormList, 3> List1;
  std::array<FormLabel, 5> Command3;  // add, all, up, down, remove
  std::array<FormLabel, 2> Command2;  // load a rule, save a rule
  std::array<FormLabel, 3> Command1;  // OK, Cancel, Help

  // --- Field tables ---
  std::vector<RefField> MField;  // the editor's level-1 fields
  std::vector<RefField> RField;  // the reference's level-1 fields
  std::vector<int> FieldMap;     // per editor field: reference field, -1 none
  int MFieldCount() const { return static_cast<int>(MField.size()); }
  int RFieldCount() const { return static_cast<int>(RField.size()); }
  RuleList Rules;  // RuleCount and RuleNames of the rule file

  bool Unloaded() const { return unloaded_; }

  // One list line: column letter, the name cut and padded to 14 bytes, the
  // width in two places, ".d " for a numeric field (else three blanks), the
  // type ("D 数量          10.2 N").
  static std::string DispStrMake(int number, const RefField& field);

  // Fills the three lists from the tables and clears the mapping.
  void FldListINIT();
  // Converts the reference's work files by the current mapping; false after
  // the message of a conversion that could not be done.
  bool RefDataChgMain();
  void ChgRuleNameGet();
  // The first mapped field whose type differs (kind 1) or whose editor width
  // is smaller (kind 2); true when none.
  bool RuleFieldFitCheck(int& field, int& kind) const;
  bool AnyFieldMapped() const;

  // 0 OK (converts), 1 Cancel, 2 Help.
  void Command1_Click(int index);
  // 0 load a rule, 1 save the mapping as a rule.
  void Command2_Click(int index);
  // 0 add the selected reference field, 1 all in order, 2 up, 3 down, 4 remove.
  void Command3_Click(int index);
  void Form_Load();
  // A click in list 0 or 1 selects the same row in the other.
  void List1_Click(int index);
  // The close box: Cancel.
  void CloseBox() { Command1_Click(1); }

 private:
  // The rule `name` of the file into the tables and lists.
  void LoadRuleIntoLists(const RefConvRule& rule);
  void RuleCaption(const std::string& name);
  std::string MappedLine(int e) const;
  bool FitQuestionsPassed(const char* verb);
  int Ask(const std::string& text, int style);
  void Refuse(const std::string& reason);
  void Unload();

  ProgramState& st_;
  RefLinkNPort port_;
  bool unloaded_ = false;
};

// What the two rule dialogs share: their label, OK and Cancel, and the
// unload that ends them.
class RuleDialogForm {
 public:
  FormLabel Label1;
  std::array<FormLabel, 2> Command1;
  bool Unloaded() const { return unloaded_; }
  void CloseBox() { Command1_Click(1); }
  virtual void Command1_Click(int index) = 0;

 protected:
  RuleDialogForm(ProgramState& st, std::function<void()> unload, const char* label);
  virtual ~RuleDialogForm() = default;
  void Unload();
  ProgramState& st_;

 private:
  std::function<void()> unload_;
  bool unloaded_ = false;
};

// RChgRuleSEL_Frm ("変換ルールの選択"): a rule name chosen from the rule file.
// OK sets ChgRuleSelName; Cancel and the close box leave it.
class RChgRuleSelForm : public RuleDialogForm {
 public:
  explicit RChgRuleSelForm(ProgramState& st, std::function<void()> unload = {});
  FormList Combo1;

  void Form_Load();
  void Form_Activate() {}
  void Command1_Click(int index) override;
};

// RChgRuleMAK_Frm ("変換ルールの保存"): the name to save the rule under. OK
// with a name sets ChgRuleSelName (a name the rule file cannot hold is
// refused and the window stays), OK with a blank text leaves it; Cancel and
// the close box clear it.
class RChgRuleMakForm : public RuleDialogForm {
 public:
  explicit RChgRuleMakForm(ProgramState& st, std::function<void()> unload = {});
  FormText Text1;
  bool selectAll = false;  // Text1 got the focus: its whole text is selected

  void Form_Load() {}
  void Form_Activate();
  void Text1_GotFocus() { selectAll = true; }
  void Text1_KeyDown(int) {}
  void Command1_Click(int index) override;
};

}  // namespace kv
