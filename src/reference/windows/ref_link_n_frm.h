#pragma once
// The windows of the reference conversion: RefLinkN ("変換ルール設定") and its
// two rule dialogs RChgRuleSEL_Frm ("変換ルールの選択") and RChgRuleMAK_Frm
// ("変換ルールの保存"). They show their form classes (reference/ref_link_n.h)
// and hand the user's actions to them; the close box of each is its Cancel.
#include <QDialog>
#include <array>
#include <string_view>

#include "reference/ref_link_n.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace kv {

class QtUi;
struct ProgramState;

class RefLinkN : public QDialog {
 public:
  explicit RefLinkN(ProgramState& st, QWidget* parent = nullptr);
  RefLinkNForm& Form() { return form_; }
  // Shows the form's values on the widgets.
  void Sync();

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  RefLinkNForm form_;
  bool closing_ = false;
  bool firstShow_ = true;
  bool syncing_ = false;
  QGroupBox* frame1_ = nullptr;
  QLabel* instruction_ = nullptr;
  std::array<QListWidget*, 3> lists_{};
  std::array<QPushButton*, 2> command2_{};
};

// What the two rule dialogs share: caption, label, the OK and Cancel row
// under the control between them, and the close box as Cancel.
class RuleDialog : public QDialog {
 protected:
  RuleDialog(RuleDialogForm& form, std::string_view name, const char* caption, QWidget* parent);
  // Puts the dialog's own control under the label and the buttons below it.
  void Place(QWidget* control);
  void showEvent(QShowEvent* e) override;
  void reject() override;
  virtual void Activated() {}
  bool closing_ = false;

 private:
  RuleDialogForm& form_;
};

class RChgRuleSEL_Frm : public RuleDialog {
 public:
  explicit RChgRuleSEL_Frm(ProgramState& st, QWidget* parent = nullptr);
  RChgRuleSelForm& Form() { return form_; }

 private:
  RChgRuleSelForm form_;
  QComboBox* combo1_ = nullptr;
};

class RChgRuleMAK_Frm : public RuleDialog {
 public:
  explicit RChgRuleMAK_Frm(ProgramState& st, QWidget* parent = nullptr);
  RChgRuleMakForm& Form() { return form_; }

 protected:
  void Activated() override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  RChgRuleMakForm form_;
  QLineEdit* text1_ = nullptr;
};

// Registers the three windows with the Qt seam under their names.
void RegisterRefConvWindows(QtUi& ui, ProgramState& st);

}  // namespace kv
