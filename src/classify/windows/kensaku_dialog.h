#pragma once
// frmKensaku ("文字列検索複合条件"): the modal compound search dialog. Five
// rows of a field list, a text box and the "空白含む" box, with OK, ｷｬﾝｾﾙ
// and ﾍﾙﾌﾟ. The logic (classify/frm_kensaku.h) checks and runs the search;
// this class shows its rows and hands the clicks over. Hidden after OK with
// its rows kept; unloaded by Cancel and with the search window.
#include <QDialog>
#include <array>

#include "classify/frm_kensaku.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kv {

struct ProgramState;
class SchSheet_Frm;

class KensakuDialog : public QDialog {
 public:
  KensakuDialog(ProgramState& st, SchSheet_Frm& search, QWidget* parent);

  FrmKensaku& Logic() { return form_; }
  QComboBox* cmbFild(int i) const { return fields_[static_cast<size_t>(i)]; }
  QLineEdit* txtMozi(int i) const { return texts_[static_cast<size_t>(i)]; }
  QCheckBox* chkKuuhaku(int i) const { return checks_[static_cast<size_t>(i)]; }
  QPushButton* Command1() const { return ok_; }
  QPushButton* Command2() const { return cancel_; }

 protected:
  void showEvent(QShowEvent* e) override;
  void reject() override;

 private:
  QRect Tw(int left, int top, int width, int height) const;
  void ShowRows();
  void TakeRows();

  FrmKensaku form_;
  std::array<QComboBox*, kKensakuRows> fields_{};
  std::array<QLineEdit*, kKensakuRows> texts_{};
  std::array<QCheckBox*, kKensakuRows> checks_{};
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* help_ = nullptr;
  bool unloading_ = false;
};

}  // namespace kv
