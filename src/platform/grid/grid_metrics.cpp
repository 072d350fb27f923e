#include "platform/grid/grid_metrics.h"

#include <algorithm>

#include "platform/ui.h"

namespace kv {

int UiGridFontMetrics::LineHeight(std::string_view fontName, int pointSize) {
  // A full-width character is as tall as the font's line.
  return std::max(1, ui_.TextExtent("\xEF\xBC\xA8", fontName, pointSize).height);  // "Ｈ"
}

int UiGridFontMetrics::CharWidth(std::string_view fontName, int pointSize) {
  return std::max(1, ui_.TextExtent("\xEF\xBC\xA8", fontName, pointSize).width);  // "Ｈ"
}

int NominalGridFontMetrics::LineHeight(std::string_view, int pointSize) {
  // pixels = points * 96 / 72; line = 1.25 em.
  return std::max(1, (pointSize * 96 * 5 + 72 * 2) / (72 * 4));
}

int NominalGridFontMetrics::CharWidth(std::string_view, int pointSize) {
  return std::max(1, (pointSize * 96 + 36) / 72);
}

}  // namespace kv
