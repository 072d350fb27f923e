#include "editor/windows/level_bar_widgets.h"

#include <QLabel>
#include <QPushButton>
#include <algorithm>

#include "editor/editor_geometry.h"

namespace kv {

void MakeLevelBar(QWidget* parent, int buttons, int labels, std::vector<QPushButton*>& buttonsOut,
                  std::vector<QLabel*>& labelsOut, const std::function<QLabel*(QWidget*)>& makeLabel) {
  const int labelHeight = parent->fontMetrics().height() + 8;
  const int buttonWidth = parent->fontMetrics().horizontalAdvance(QString::fromUtf8("8.階層")) + 16;
  for (int i = 1; i <= buttons; ++i) {
    auto* b = new QPushButton(QString::number(i) + QString::fromUtf8(".階層"), parent);
    b->setObjectName(QStringLiteral("DM_Button(%1)").arg(i));
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(buttonWidth, labelHeight);
    b->hide();
    buttonsOut.push_back(b);
  }
  for (int i = 1; i <= labels; ++i) {
    QLabel* l = makeLabel ? makeLabel(parent) : new QLabel(parent);
    l->setObjectName(QStringLiteral("DMLabel(%1)").arg(i));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setFixedHeight(labelHeight);
    l->hide();
    labelsOut.push_back(l);
  }
}

void PlaceLevelBar(const std::vector<QPushButton*>& buttons, const std::vector<QLabel*>& labels,
                   const std::vector<LevelBarPlace>& pairs, const QWidget& parent) {
  const auto px = [&parent](long twips) { return TwipsToPixels(static_cast<int>(twips), parent.logicalDpiX()); };
  for (size_t i = 0; i < buttons.size(); ++i) {
    QPushButton* b = buttons[i];
    QLabel* l = i < labels.size() ? labels[i] : nullptr;
    if (i >= pairs.size() || !pairs[i].visible) {
      b->hide();
      if (l) l->hide();
      continue;
    }
    const LevelBarPlace& p = pairs[i];
    if (l) {
      const int labelLeft = px(p.labelLeft);
      l->setGeometry(labelLeft, px(p.labelTop), std::max(0, parent.width() - labelLeft), l->height());
      l->show();
      l->raise();
    }
    b->move(px(p.buttonLeft), px(p.buttonTop));
    // On one line the next level's button lies over the label.
    b->show();
    b->raise();
  }
}

}  // namespace kv
