#include "platform/grid/qt/grid_font.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace kv {

namespace {

bool Installed(const QString& family) {
  static const QStringList families = QFontDatabase::families();
  return families.contains(family, Qt::CaseInsensitive);
}

QString FirstInstalled(std::initializer_list<const char*> names) {
  for (const char* n : names)
    if (Installed(QString::fromUtf8(n))) return QString::fromUtf8(n);
  return {};
}

}  // namespace

QString SheetFontFamily(const QString& storedName) {
  if (storedName.isEmpty() || Installed(storedName)) return storedName;
  const bool mincho = storedName.contains(QString::fromUtf8("明朝")) ||
                      storedName.contains(QLatin1String("Mincho"), Qt::CaseInsensitive);
  const bool gothic = storedName.contains(QString::fromUtf8("ゴシック")) ||
                      storedName.contains(QLatin1String("Gothic"), Qt::CaseInsensitive);
  QString stand;
  if (mincho)
    stand = FirstInstalled({"IPAMincho", "IPAexMincho", "Noto Serif CJK JP"});
  else if (gothic)
    stand = FirstInstalled({"IPAGothic", "IPAexGothic", "Noto Sans CJK JP"});
  return stand.isEmpty() ? storedName : stand;
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
  return std::max(1, QFontMetrics(GridFont(fontName, pointSize, 100)).horizontalAdvance(QLatin1Char('0')));
}

}  // namespace kv
