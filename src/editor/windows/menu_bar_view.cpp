#include "editor/windows/menu_bar_view.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "platform/qt/window_helpers.h"
#include "state/menu_model.h"

namespace kv {

MenuBarView::MenuBarView(QMenuBar& bar, const EditorMenus& menus, Chosen chosen)
    : bar_(bar), chosen_(std::move(chosen)) {
  for (const MenuItem& top : menus.bar) {
    if (top.HasSubmenu()) {
      // A menu of its own, even one without items: its opening is its click.
      QMenu* menu = bar_.addMenu(ToQ(top.caption));
      menu->setObjectName(ToQ(top.name));
      actions_[{top.name, top.index}].action = menu->menuAction();
      QObject::connect(menu, &QMenu::aboutToShow,
                       [this, name = top.name, index = top.index] { chosen_(name, index); });
      for (const MenuItem& item : top.items) Build(menu, item);
    } else {
      QAction* a = bar_.addAction(ToQ(top.caption));
      a->setObjectName(ToQ(top.name));
      actions_[{top.name, top.index}].action = a;
      QObject::connect(a, &QAction::triggered,
                       [this, name = top.name, index = top.index] { chosen_(name, index); });
    }
  }
  Apply(menus);
}

void MenuBarView::Build(QMenu* parent, const MenuItem& item) {
  QAction* a = nullptr;
  if (item.HasSubmenu()) {
    QMenu* sub = parent->addMenu(ToQ(item.caption));
    for (const MenuItem& child : item.items) Build(sub, child);
    a = sub->menuAction();
  } else if (item.IsSeparator()) {
    a = parent->addSeparator();
  } else {
    a = parent->addAction(ToQ(item.caption));
    QObject::connect(a, &QAction::triggered,
                     [this, name = item.name, index = item.index] { chosen_(name, index); });
  }
  actions_[{item.name, item.index}].action = a;
}

void MenuBarView::Apply(const EditorMenus& menus) {
  for (const MenuItem& top : menus.bar) ApplyItem(top);
}

void MenuBarView::ApplyItem(const MenuItem& item) {
  auto it = actions_.find({item.name, item.index});
  if (it != actions_.end() && it->second.action != nullptr) {
    Entry& e = it->second;
    QAction* a = e.action;
    if (!item.IsSeparator()) {
      if (e.caption != item.caption) {
        a->setText(ToQ(item.caption));
        e.caption = item.caption;
      }
      if (e.shortcut != item.shortcut) {
        a->setShortcut(item.shortcut.empty() ? QKeySequence() : QKeySequence(ToQ(item.shortcut)));
        e.shortcut = item.shortcut;
      }
      // Only a checked item is checkable: choosing an item never flips its
      // mark by itself, the command sets it.
      a->setCheckable(item.checked);
      a->setChecked(item.checked);
    }
    a->setVisible(item.visible);
    a->setEnabled(item.visible && (item.IsSeparator() || item.Choosable()));
  }
  for (const MenuItem& child : item.items) ApplyItem(child);
}

QAction* MenuBarView::Action(const std::string& name, int index) const {
  auto it = actions_.find({name, index});
  return it == actions_.end() ? nullptr : it->second.action;
}

}  // namespace kv
