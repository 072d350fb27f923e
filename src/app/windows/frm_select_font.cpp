#include "app/windows/frm_select_font.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "platform/qt/window_helpers.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {

namespace {

void ShowList(QListWidget* list, const std::vector<std::string>& names, int selected) {
  QSignalBlocker block(list);
  list->clear();
  for (const std::string& name : names) list->addItem(ToQ(name));
  list->setCurrentRow(selected);
  if (selected < 0) list->clearSelection();
}

}  // namespace

frmSelectFont::frmSelectFont(ProgramState& st, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName("frmSelectFont");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(QString::fromUtf8("使用フォント選択"));

  auto* label1 = new QLabel(QString::fromUtf8("Korvaneのﾌｫﾝﾄ"), this);
  label1->setObjectName("Label1");
  auto* label2 = new QLabel(QString::fromUtf8("システムのﾌｫﾝﾄ"), this);
  label2->setObjectName("Label2");
  src_ = new QListWidget(this);
  src_->setObjectName("LstSrcFont");
  dsc_ = new QListWidget(this);
  dsc_->setObjectName("LstDscFont");
  for (QListWidget* list : {src_, dsc_}) list->setMinimumSize(200, 260);
  connect(src_, &QListWidget::currentRowChanged, this, [this](int row) { s_.srcIndex = row; });
  connect(dsc_, &QListWidget::currentRowChanged, this, [this](int row) { s_.dscIndex = row; });

  const char* captions[] = {"< 追加(&A)", "削除 >(&D)", "OK", "ｷｬﾝｾﾙ"};
  for (int i = 0; i < 4; ++i) {
    buttons_[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
    buttons_[i]->setObjectName(QString("Command%1").arg(i + 1));
    buttons_[i]->setAutoDefault(false);
  }
  buttons_[2]->setDefault(true);
  connect(buttons_[0], &QPushButton::clicked, this, [this] {
    FontListAdd(s_);
    Sync();
  });
  connect(buttons_[1], &QPushButton::clicked, this, [this] {
    FontListRemove(st_, s_);
    Sync();
  });
  connect(buttons_[2], &QPushButton::clicked, this, [this] {
    if (FontListSave(st_, s_)) accept();
  });
  connect(buttons_[3], &QPushButton::clicked, this, &QDialog::reject);

  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(buttons_[0]);
  middle->addWidget(buttons_[1]);
  middle->addStretch();
  auto* grid = new QGridLayout;
  grid->addWidget(label1, 0, 0);
  grid->addWidget(label2, 0, 2);
  grid->addWidget(src_, 1, 0);
  grid->addLayout(middle, 1, 1);
  grid->addWidget(dsc_, 1, 2);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch();
  bottom->addWidget(buttons_[2]);
  bottom->addWidget(buttons_[3]);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(bottom);

  FontListFillSystem(st_, s_, st_.ui.FontFamilies());
  Sync();
}

void frmSelectFont::Sync() {
  ShowList(src_, s_.LstSrcFont, s_.srcIndex);
  ShowList(dsc_, s_.LstDscFont, s_.dscIndex);
}

void frmSelectFont::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterForm(*this);
}

}  // namespace kv
