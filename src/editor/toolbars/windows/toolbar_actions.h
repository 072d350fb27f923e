#pragma once
// The buttons of one toolbar model as Qt actions: one action per entry of the
// model's table (object name = the key, tooltip and status tip = the
// button's tooltip, the key's image), separators as separator actions, the
// auto-advance group as an exclusive group of checkable actions. The same
// actions can be put on a QToolBar or behind tool buttons of another layout.
#include <QObject>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QToolBar;
class QWidget;

namespace kv {

class ToolbarModel;

class ToolbarActions : public QObject {
 public:
  // Makes the actions (placeholders get none). A click on a usable button
  // presses it in the model when it is a group button, then calls `clicked`.
  // A group button checked by the program is pressed in the model too.
  ToolbarActions(ToolbarModel& model, QObject* parent);

  ToolbarModel& Model() const { return model_; }
  // The action of a key (null for unknown keys and placeholders).
  QAction* Action(std::string_view key) const;
  // Every entry in table order; separators are separator actions, a
  // placeholder is null.
  const std::vector<QAction*>& Entries() const { return entries_; }

  // Puts the entries on `bar` in table order. A placeholder takes the widget
  // `placeholder(key)` gives (skipped when null). `progress(step)` runs after
  // each entry that has a progress step.
  void AddTo(QToolBar* bar, const std::function<QWidget*(std::string_view key)>& placeholder,
             const std::function<void(int step)>& progress = {});

  // Puts the entries that stand on `bar` into the model's order (separators
  // keep their table places).
  void ApplyOrder(QToolBar* bar);

  // Shows the model: visible, usable (enabled and wired) and pressed.
  void Refresh();

  std::function<void(const std::string& key)> clicked;

 private:
  ToolbarModel& model_;
  std::vector<QAction*> entries_;
  std::vector<QAction*> placed_;  // per table entry: what AddTo put on the bar
};

}  // namespace kv
