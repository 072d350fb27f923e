#pragma once
// SetOption ("ｵﾌﾟｼｮﾝ"): the options dialog, four pages on a tab strip. The
// window shows the dialog state (app/options_state.h) and hands every action
// of the user to the options logic; OK stores and writes through it, Cancel
// (also Esc and the title bar) leaves everything as it was.
#include <QDialog>
#include <array>

#include "app/options_state.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTabBar;
class QToolButton;

namespace kv {

struct ProgramState;

class SetOption : public QDialog {
 public:
  // Loads the dialog for the sheet grid's zoom in percent.
  SetOption(ProgramState& st, int gridZoomPercent, QWidget* parent = nullptr);

  OptionDialogState& State() { return d_; }
  QTabBar* TabS() const { return tabs_; }
  QComboBox* Combo(OptCombo id) const { return combos_[static_cast<size_t>(id)]; }
  QPushButton* SetOPButton(int i) const { return buttons_[static_cast<size_t>(i)]; }
  // The click of button i (0 OK, 1 Cancel, 2 Help).
  void SetOPButton_Click(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* BuildEdit1Page();
  QWidget* BuildEdit2Page();
  QWidget* BuildNamesPage();
  QWidget* BuildSiwakePage();
  QComboBox* MakeCombo(OptCombo id, QWidget* parent);
  QLineEdit* MakeEdit(const QString& name, QWidget* parent);

  void TabChanged(int index);
  // Shows the state on the controls and moves the focus where the last action
  // asked for it.
  void Sync();

  ProgramState& st_;
  OptionDialogState d_;
  bool firstShow_ = true;

  QTabBar* tabs_ = nullptr;
  QStackedWidget* pages_ = nullptr;
  std::array<QComboBox*, kOptComboCount> combos_{};
  std::array<QPushButton*, 3> buttons_{};
  QCheckBox* chkWrite_ = nullptr;
  QCheckBox* chkZero_ = nullptr;
  QLineEdit* txtZei_ = nullptr;
  QLabel* label16_ = nullptr;
  QGroupBox* fraKeihiMethod_ = nullptr;
  QGroupBox* fraKeihiMethketa_ = nullptr;
  QRadioButton* optMasuku_ = nullptr;
  QRadioButton* optGokei_ = nullptr;
  QRadioButton* optSetubi_ = nullptr;
  QGroupBox* fraMasuku_ = nullptr;
  QGroupBox* fraGokei_ = nullptr;
  QGroupBox* fraSetubi_ = nullptr;
  std::array<QLineEdit*, 6> txtMasuku_{};
  std::array<QLineEdit*, 6> txtGokei_{};
  std::array<QLineEdit*, 3> txtSName_{};
  QLineEdit* txtHaba_ = nullptr;
  QToolButton* spinUp_ = nullptr;
  QToolButton* spinDown_ = nullptr;
};

}  // namespace kv
