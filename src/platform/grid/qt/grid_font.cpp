#include "platform/grid/qt/grid_font.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <compare>
#include <map>
#include <string>

#include "platform/font_substitute.h"
#include "platform/qt/window_helpers.h"

namespace kv {

namespace {

// The grid's fonts by stored name, point size and zoom: each is resolved once
// and kept (a QFont keeps the font files it found), not looked up at every
// paint and measure.
struct FontKey {
  std::string name;
  int pointSize;
  int zoom;
  auto operator<=>(const FontKey&) const = default;
};

}  // namespace

QString SheetFontFamily(const QString& storedName) {
  return QString::fromStdString(DisplayFontFamily(storedName.toStdString(), InstalledFontFamilies()));
}

QFont GridFont(std::string_view storedName, int pointSize, int zoomPercent) {
  static std::map<FontKey, QFont> fonts;
  const FontKey key{std::string(storedName), pointSize, zoomPercent};
  auto it = fonts.find(key);
  if (it == fonts.end()) {
    QFont f(SheetFontFamily(QString::fromUtf8(storedName.data(), qsizetype(storedName.size()))));
    const double px = pointSize * 96.0 / 72.0 * zoomPercent / 100.0;
    f.setPixelSize(std::max(1, int(std::lround(px))));
    it = fonts.emplace(key, f).first;
  }
  return it->second;
}

int QtGridFontMetrics::LineHeight(std::string_view fontName, int pointSize) {
  static std::map<FontKey, int> heights;
  const FontKey key{std::string(fontName), pointSize, 100};
  auto it = heights.find(key);
  if (it == heights.end())
    it = heights.emplace(key, std::max(1, QFontMetrics(GridFont(fontName, pointSize, 100)).height())).first;
  return it->second;
}

int QtGridFontMetrics::CharWidth(std::string_view fontName, int pointSize) {
  static std::map<FontKey, int> widths;
  const FontKey key{std::string(fontName), pointSize, 100};
  auto it = widths.find(key);
  if (it == widths.end()) {
    const QFontMetrics fm(GridFont(fontName, pointSize, 100));
    it = widths.emplace(key, std::max(1, fm.horizontalAdvance(QChar(0xFF28)))).first;  // "Ｈ"
  }
  return it->second;
}

}  // namespace kv
