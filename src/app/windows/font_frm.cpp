#include "app/windows/font_frm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {

Font_Frm::Font_Frm(ProgramState& st, int* fontChoice, std::function<void()> reloadObjects, QWidget* parent)
    : QDialog(parent), st_(st), fontChoice_(fontChoice ? fontChoice : &ownChoice_),
      reloadObjects_(std::move(reloadObjects)) {
  setObjectName("Font_Frm");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QString::fromUtf8("文字ﾌｫﾝﾄ指定"));

  auto* label = new QLabel(QString::fromUtf8("使用ﾌｫﾝﾄ名"), this);
  label->setObjectName("Label1");
  combo_ = new QComboBox(this);
  combo_->setObjectName("Combo1");
  combo_->setMinimumContentsLength(20);
  combo_->installEventFilter(this);
  connect(combo_, &QComboBox::currentIndexChanged, this, [this](int i) { f_.selected = i; });

  auto* left = new QVBoxLayout;
  left->addWidget(label);
  left->addWidget(combo_);
  left->addStretch();
  auto* right = new QVBoxLayout;
  const char* captions[] = {"OK", "ｷｬﾝｾﾙ", "使用フォント選択(&S)", "ﾍﾙﾌﾟ(&H)"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new QPushButton(QString::fromUtf8(captions[i]), this);
    b->setObjectName(QString("Command1(%1)").arg(i));
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, i] { ButtonClicked(i); });
    buttons_[i] = b;
    right->addWidget(b);
  }
  buttons_[0]->setDefault(true);
  right->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(right);
  Activate();
}

void Font_Frm::Activate() {
  SetTopMost(*this, true);
  FontComboLoad(st_, f_, *fontChoice_);
  Sync();
}

void Font_Frm::Sync() {
  QSignalBlocker block(combo_);
  combo_->clear();
  for (const std::string& name : f_.Combo1) combo_->addItem(ToQ(name));
  combo_->setCurrentIndex(f_.selected);
}

void Font_Frm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterForm(*this);
}

void Font_Frm::ButtonClicked(int index) {
  switch (index) {
    case 0:
      FontFrmOk(st_, f_, *fontChoice_, reloadObjects_);
      closing_ = true;
      accept();
      break;
    case 1:
      reject();
      return;  // the status panel is shown there
    case 2:
      // The sub-dialog shows above this window; coming back lists the
      // offered fonts anew.
      SetTopMost(*this, false);
      st_.ui.ShowModal("frmSelectFont");
      Activate();
      break;
    default: OpenHelpFile(st_); break;
  }
  FontStatusShow(st_);
}

void Font_Frm::reject() {
  if (!closing_) {
    closing_ = true;
    FontFrmCancel(st_, f_, *fontChoice_);
    FontStatusShow(st_);
  }
  QDialog::reject();
}

bool Font_Frm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == combo_ && e->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      buttons_[0]->setFocus();
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace kv
