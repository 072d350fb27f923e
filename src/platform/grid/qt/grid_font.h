#pragma once
// Fonts of the sheet grids. Stored font names are kept as the settings hold
// them ("ＭＳ 明朝", "ＭＳ ゴシック", "標準明朝", "標準ゴシック"); where no such
// family is installed, an installed Japanese Mincho or Gothic stands in.
#include <QFont>
#include <QString>
#include <string>
#include <string_view>

#include "platform/grid/grid_metrics.h"

namespace kv {

// The installed family to draw a stored font name with.
QString SheetFontFamily(const QString& storedName);

// The grid's font: the family for the stored name, sized so that one grid
// unit is one pixel at 96 dpi, times the zoom.
QFont GridFont(std::string_view storedName, int pointSize, int zoomPercent);

// Real measures of the grid fonts, for PointToHeight32/PointToWidth32.
class QtGridFontMetrics : public GridFontMetrics {
 public:
  int LineHeight(std::string_view fontName, int pointSize) override;
  int CharWidth(std::string_view fontName, int pointSize) override;
};

}  // namespace kv
