#pragma once
// Font_Frm ("文字ﾌｫﾝﾄ指定"): the sheet font picked among the offered fonts of
// FONT.DAT. OK applies and records it; ｷｬﾝｾﾙ (also Esc and the title bar)
// restores what the dialog found; "使用フォント選択(&S)" opens frmSelectFont
// and then lists the offered fonts anew.
#include <QDialog>
#include <functional>

#include "app/font_choice.h"

class QComboBox;
class QPushButton;

namespace kv {

struct ProgramState;

class Font_Frm : public QDialog {
 public:
  // `fontChoice`: the editor's font numbering (the dialog keeps its own when
  // null). `reloadObjects` reloads the sheet's embedded objects after OK.
  Font_Frm(ProgramState& st, int* fontChoice, std::function<void()> reloadObjects, QWidget* parent = nullptr);

  QComboBox* Combo1() const { return combo_; }
  QPushButton* Command1(int i) const { return buttons_[i]; }
  const FontFrmState& State() const { return f_; }
  // ｷｬﾝｾﾙ, Esc and the title bar's close.
  void reject() override;

 protected:
  void showEvent(QShowEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Activate();
  void Sync();
  void ButtonClicked(int index);

  ProgramState& st_;
  int ownChoice_ = -1;
  int* fontChoice_;
  std::function<void()> reloadObjects_;
  FontFrmState f_;
  bool firstShow_ = true;
  bool closing_ = false;
  QComboBox* combo_ = nullptr;
  QPushButton* buttons_[4] = {};
};

}  // namespace kv
