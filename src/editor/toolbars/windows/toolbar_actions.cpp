#include "editor/toolbars/windows/toolbar_actions.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>
#include <QWidget>

#include "editor/toolbars/toolbar_arrangement.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/windows/toolbar_icons.h"
#include "platform/qt/window_helpers.h"

namespace kv {

ToolbarActions::ToolbarActions(ToolbarModel& model, QObject* parent) : QObject(parent), model_(model) {
  QActionGroup* group = nullptr;
  for (const ToolButtonDef& d : model.Table()) {
    if (d.style != ToolButtonStyle::Group) group = nullptr;
    if (d.style == ToolButtonStyle::Placeholder) {
      entries_.push_back(nullptr);
      continue;
    }
    auto* a = new QAction(this);
    entries_.push_back(a);
    if (d.style == ToolButtonStyle::Separator) {
      a->setSeparator(true);
      continue;
    }
    const std::string key(d.key);
    a->setObjectName(ToQ(d.key));
    a->setText(ToQ(d.tooltip));
    a->setToolTip(ToQ(d.tooltip));
    a->setStatusTip(ToQ(d.tooltip));
    a->setIcon(ToolbarIcon(d.key));
    if (d.style == ToolButtonStyle::Group) {
      if (!group) {
        group = new QActionGroup(this);
        group->setExclusive(true);
      }
      a->setCheckable(true);
      group->addAction(a);
      QObject::connect(a, &QAction::toggled, this, [this, key](bool on) {
        if (on && !model_.Pressed(key)) model_.Press(key);
      });
    }
    QObject::connect(a, &QAction::triggered, this, [this, key] {
      if (!model_.Usable(key)) return;
      model_.Press(key);
      Refresh();
      if (clicked) clicked(key);
    });
  }
  Refresh();
}

QAction* ToolbarActions::Action(std::string_view key) const {
  for (QAction* a : entries_)
    if (a && !a->isSeparator() && a->objectName() == ToQ(key)) return a;
  return nullptr;
}

void ToolbarActions::AddTo(QToolBar* bar, const std::function<QWidget*(std::string_view key)>& placeholder,
                           const std::function<void(int step)>& progress) {
  const auto table = model_.Table();
  placed_.assign(table.size(), nullptr);
  for (size_t i = 0; i < table.size(); ++i) {
    if (QAction* a = entries_[i]) {
      bar->addAction(a);
      placed_[i] = a;
    } else if (placeholder) {
      if (QWidget* w = placeholder(table[i].key)) {
        QAction* slot = bar->addWidget(w);
        placed_[i] = slot;
        slot->setObjectName(ToQ(table[i].key));
        slot->setToolTip(ToQ(table[i].tooltip));
        w->setToolTip(ToQ(table[i].tooltip));
        w->setStatusTip(ToQ(table[i].tooltip));
      }
    }
    if (table[i].step != 0 && progress) progress(table[i].step);
  }
}

void ToolbarActions::ApplyOrder(QToolBar* bar) {
  const std::vector<size_t> order = ArrangedEntries(model_.Table(), ArrangementOf(model_));
  QAction* before = nullptr;
  // From the end: each entry goes in front of the one placed after it.
  for (size_t n = order.size(); n-- > 0;) {
    QAction* a = order[n] < placed_.size() ? placed_[order[n]] : nullptr;
    if (!a) continue;
    const QList<QAction*> now = bar->actions();
    const qsizetype at = now.indexOf(a);
    const qsizetype want = before ? now.indexOf(before) - 1 : now.size() - 1;
    if (at != want) bar->insertAction(before, a);
    before = a;
  }
}

void ToolbarActions::Refresh() {
  for (const ToolButtonState& b : model_.Buttons()) {
    QAction* a = Action(b.key);
    if (!a) continue;
    a->setVisible(b.visible);
    a->setEnabled(b.enabled && b.wired);
    if (a->isCheckable() && a->isChecked() != b.pressed) a->setChecked(b.pressed);
  }
}

}  // namespace kv
