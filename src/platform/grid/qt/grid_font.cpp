#include "platform/grid/qt/grid_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/font_substitute.h"

namespace kv {

QString SheetFontFamily(const QString& storedName) {
  static const std::vector<std::string> installed = [] {
    std::vector<std::string> out;
    for (const QString& f : QFontDatabase::families()) out.push_back(f.toStdString());
    return out;
  }();
  return QString::fromStdString(DisplayFontFamily(storedName.toStdString(), installed));
}

QFont GridFont(std::string_view storedName, int pointSize, int zoomPercent) {
  QFont f(SheetFontFamily(QString::fromUtf8(storedName.data(), qsizetype(storedName.size()))));
  const double px = pointSize * 96.0 / 72.0 * zoomPercent / 100.0;
  f.setPixelSize(std::max(1, int(std::lround(px))));
  return f;
}

int QtGridFontMetrics::LineHeight(std::string_view fontName, int pointSize) {
  return std::max(1, QFontMetrics(GridFont(fontName, pointSize, 100)).height());
}

int QtGridFontMetrics::CharWidth(std::string_view fontName, int pointSize) {
  const QFontMetrics fm(GridFont(fontName, pointSize, 100));
  return std::max(1, fm.horizontalAdvance(QChar(0xFF28)));  // "Ｈ"
}

}  // namespace kv
