#include "editor/toolbars/windows/toolbar_customize_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/toolbars/windows/toolbar_icons.h"
#include "platform/qt/window_helpers.h"

namespace kv {

ToolbarCustomizeDialog::ToolbarCustomizeDialog(std::span<const ToolButtonDef> table,
                                               const ToolbarArrangement& current, QWidget* parent)
    : QDialog(parent), list_(table, current) {
  setObjectName(QStringLiteral("ToolbarCustomize"));
  setWindowTitle(QString::fromUtf8("ツールバーのカスタマイズ"));
  setModal(true);
  view_ = new QListWidget(this);
  view_->setObjectName(QStringLiteral("Buttons"));
  auto* up = new QPushButton(QString::fromUtf8("上へ"), this);
  auto* down = new QPushButton(QString::fromUtf8("下へ"), this);
  auto* reset = new QPushButton(QString::fromUtf8("リセット"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QString::fromUtf8("ｷｬﾝｾﾙ"), this);
  up->setObjectName(QStringLiteral("MoveUp"));
  down->setObjectName(QStringLiteral("MoveDown"));
  reset->setObjectName(QStringLiteral("Reset"));
  ok->setObjectName(QStringLiteral("OK"));
  cancel->setObjectName(QStringLiteral("Cancel"));
  ok->setDefault(true);

  auto* side = new QVBoxLayout;
  side->addWidget(ok);
  side->addWidget(cancel);
  side->addSpacing(12);
  side->addWidget(up);
  side->addWidget(down);
  side->addWidget(reset);
  side->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(view_, 1);
  layout->addLayout(side);

  connect(up, &QPushButton::clicked, this, [this] { MoveUpClick(); });
  connect(down, &QPushButton::clicked, this, [this] { MoveDownClick(); });
  connect(reset, &QPushButton::clicked, this, [this] { ResetClick(); });
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(view_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!filling_) list_.SetCurrent(row);
  });
  connect(view_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { ItemChanged(item); });
  Fill();
}

void ToolbarCustomizeDialog::Fill() {
  filling_ = true;
  view_->clear();
  const ToolbarArrangement& items = list_.Items();
  for (size_t i = 0; i < items.size(); ++i) {
    auto* item = new QListWidgetItem(ToolbarIcon(items[i].key), ToQ(list_.Caption(int(i))), view_);
    item->setData(Qt::UserRole, ToQ(items[i].key));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(items[i].visible ? Qt::Checked : Qt::Unchecked);
  }
  view_->setCurrentRow(list_.Current());
  filling_ = false;
}

void ToolbarCustomizeDialog::ItemChanged(QListWidgetItem* item) {
  if (filling_) return;
  list_.SetVisible(view_->row(item), item->checkState() == Qt::Checked);
}

void ToolbarCustomizeDialog::MoveUpClick() {
  if (list_.MoveUp()) Fill();
}

void ToolbarCustomizeDialog::MoveDownClick() {
  if (list_.MoveDown()) Fill();
}

void ToolbarCustomizeDialog::ResetClick() {
  list_.Reset();
  Fill();
}

bool ToolbarCustomizeDialog::Run(QWidget* parent, std::span<const ToolButtonDef> table,
                                 ToolbarArrangement& arrangement) {
  ToolbarCustomizeDialog dialog(table, arrangement, parent);
  if (dialog.exec() != QDialog::Accepted || !dialog.List().Changed()) return false;
  arrangement = dialog.List().Items();
  return true;
}

}  // namespace kv
