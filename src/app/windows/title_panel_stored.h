#pragma once
// The title panel's name as the build drew it (title_panel_maker.cpp): the
// band of rows it covers is kept in the program, since drawing the name at
// the start would load a bold face of the font at a large size and draw its
// glyphs before anything else is shown.
#include <QFont>
#include <QImage>
#include <QSize>
#include <cstdint>

namespace kv {

// The band of rows the build drew: rows top .. top + height - 1 of the whole
// panel (kTitlePanelSize) with the name, premultiplied ARGB, row by row;
// `font` is QFont::toString() of the name's font.
struct TitleBandData {
  const char* font;
  int top;
  int height;
  const std::uint32_t* pixels;
};
extern const TitleBandData kTitleBand;

// The band the build drew, when the name is to be drawn in `font` on a panel
// of `size` at one device pixel a pixel; null otherwise (the name is then
// drawn).
QImage StoredTitleBand(const QFont& font, QSize size, qreal devicePixelRatio, int* top);

}  // namespace kv
