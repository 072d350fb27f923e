#include "app/windows/title_panel.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QString>

namespace kv {

QFont TitleNameFont(QFont base) {
  base.setPixelSize(44);
  base.setBold(true);
  return base;
}

void DrawTitleGradient(QPainter& p, const QRect& r) {
  QLinearGradient fill(0, 0, 0, r.height());
  fill.setColorAt(0, QColor(0x1f, 0x3a, 0x5f));
  fill.setColorAt(1, QColor(0x0d, 0x1b, 0x2e));
  p.fillRect(r, fill);
}

void DrawTitleName(QPainter& p, const QRect& r, const QFont& font) {
  p.setPen(QColor(0xe8, 0xee, 0xf5));
  p.setFont(font);
  p.drawText(r, Qt::AlignCenter, QStringLiteral("TheKorvane"));
}

}  // namespace kv
