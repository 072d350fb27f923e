#pragma once
// Font measures the grid needs to turn a point size into grid units.
//
// Grid units: one unit is one pixel of a 96-dpi screen at zoom 100 %. Row
// heights, column widths and split positions are kept in them; the view
// multiplies by zoom / 100. Sizes of embedded items are kept in twips
// (15 twips a unit) and reported in points (20 twips, 0.75 unit).
#include <string_view>

namespace kv {

class Ui;

inline constexpr int kTwipsPerGridUnit = 15;
inline constexpr int kTwipsPerPoint = 20;

class GridFontMetrics {
 public:
  virtual ~GridFontMetrics() = default;
  // Height of one text line of the font at that point size, in grid units.
  virtual int LineHeight(std::string_view fontName, int pointSize) = 0;
  // Width of one character of the font, in grid units: a full-width
  // character ("Ｈ"), two half-width ones. The sheet's header column is two
  // of them wide ("  1 "), a memo row of n bytes n / 2 of them.
  virtual int CharWidth(std::string_view fontName, int pointSize) = 0;
};

// Measures through the UI seam's text extent (the Qt build measures with the
// real font; tests with their double).
class UiGridFontMetrics : public GridFontMetrics {
 public:
  explicit UiGridFontMetrics(Ui& ui) : ui_(ui) {}
  int LineHeight(std::string_view fontName, int pointSize) override;
  int CharWidth(std::string_view fontName, int pointSize) override;

 private:
  Ui& ui_;
};

// Used until a model is given real measures: a Japanese font's usual
// proportions (line 1.25 em, full-width character 1 em) at 96 dpi.
class NominalGridFontMetrics : public GridFontMetrics {
 public:
  int LineHeight(std::string_view fontName, int pointSize) override;
  int CharWidth(std::string_view fontName, int pointSize) override;
};

}  // namespace kv
