#pragma once
// frmSelectFont ("使用フォント選択"): which installed fonts the program offers.
// Left the offered fonts, right the other installed ones; names move between
// them with "< 追加(&A)" and "削除 >(&D)"; OK rewrites FONT.DAT, ｷｬﾝｾﾙ leaves
// it alone.
#include <QDialog>

#include "app/font_choice.h"

class QListWidget;
class QPushButton;

namespace kv {

struct ProgramState;

class frmSelectFont : public QDialog {
 public:
  explicit frmSelectFont(ProgramState& st, QWidget* parent = nullptr);

  QListWidget* LstSrcFont() const { return src_; }
  QListWidget* LstDscFont() const { return dsc_; }
  QPushButton* Command(int n) const { return buttons_[n - 1]; }  // 1..4
  const SelectFontState& State() const { return s_; }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Sync();

  ProgramState& st_;
  SelectFontState s_;
  bool firstShow_ = true;
  QListWidget* src_ = nullptr;
  QListWidget* dsc_ = nullptr;
  QPushButton* buttons_[4] = {};
};

}  // namespace kv
