#include "classify/windows/siwake_make_dialog.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "editor/windows/tool_window.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {

SiwakeMakeDialog::SiwakeMakeDialog(ProgramState& st, QWidget* parent)
    : QDialog(parent),
      form_(st, {[this](int i, const std::string& caption, bool shown) {
                   if (options_[i] == nullptr) return;
                   options_[i]->setText(ToQ(caption));
                   options_[i]->setVisible(shown);
                   options_[i]->setEnabled(shown);
                 },
                 [this](int i, const std::string& text) {
                   if (labels_[i] != nullptr) labels_[i]->setText(ToQ(text));
                 },
                 [this] {
                   ok_->hide();
                   resize(Tw(0, 0, 8130, 2775).size());
                   CenterForm(*this);
                   repaint();
                 },
                 [this] {
                   closing_ = true;
                   accept();
                 }}) {
  setObjectName(ToQ(kSiwakeMakeWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQ("仕訳ﾌｧｲﾙ作成"));
  frame_ = new QGroupBox(ToQ("仕訳種別の選択"), this);
  frame_->setObjectName("SiwakeFrame");
  frame_->setGeometry(Tw(270, 180, 2535, 1005));
  const int optionTops[2] = {270, 630};
  const int optionWidths[2] = {1575, 1695};
  for (int i = 0; i < 2; ++i) {
    options_[i] = new QRadioButton(ToQ(form_.OptionCaption[i]), frame_);
    options_[i]->setObjectName(ControlName("SiwakeOption", i));
    options_[i]->setGeometry(Tw(450 - 270, optionTops[i], optionWidths[i], 255));
    connect(options_[i], &QRadioButton::clicked, this, [this, i] { form_.SiwakeOption_Click(i); });
  }
  options_[0]->setChecked(true);
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("SiwakeOk");
  ok_->setGeometry(Tw(3150, 270, 1215, 405));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] { form_.SiwakeOk_Click(); });
  cancel_ = new QPushButton(ToQ("ｷｬﾝｾﾙ"), this);
  cancel_->setObjectName("SiwakeCancel");
  cancel_->setGeometry(Tw(3150, 810, 1185, 405));
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, [this] { form_.SiwakeCancel_Click(); });
  for (int i = 0; i < 2; ++i) {
    labels_[i] = new QLabel(this);
    labels_[i]->setObjectName(ControlName("SiwakeLabel", i));
    labels_[i]->setGeometry(Tw(270, i == 0 ? 1350 : 1800, 7485, 375));
  }
  resize(Tw(0, 0, 4440, 1305).size());
  form_.Form_Load();
}

QRect SiwakeMakeDialog::Tw(int left, int top, int width, int height) const {
  return TwipsRect(*this, left, top, width, height);
}

void SiwakeMakeDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  CenterFormIfNormal(*this);
  SetTopMost(*this, true);
}

void SiwakeMakeDialog::reject() {
  // Esc and the close box count as Cancel; during a build the dialog closes
  // only once the build has stopped.
  if (closing_) {
    QDialog::reject();
    return;
  }
  form_.SiwakeCancel_Click();
}

void SiwakeMakeDialog::closeEvent(QCloseEvent* e) {
  if (closing_) {
    QDialog::closeEvent(e);
    return;
  }
  e->ignore();
  form_.SiwakeCancel_Click();
}

void RegisterSiwakeMakeDialog(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kSiwakeMakeWindow, [&st]() -> QWidget* { return new SiwakeMakeDialog(st); });
}

}  // namespace kv
