#pragma once
// The toolbar images the build makes once (toolbar_image_maker.cpp), at the
// sizes the toolbars show them: taking one costs a copy, where reading a
// Tango file or drawing an image with its letter costs the start the file's
// decoding and the letter's font, its metrics and its glyphs.
#include <QPixmap>
#include <cstdint>
#include <string_view>

namespace kv {

// The sizes (in pixels, square) the build makes: the floating toolbars' and
// the first docked toolbar's images, and the second docked toolbar's (the
// style's toolbar image size).
inline constexpr int kStoredToolbarImageSizes[] = {16, 24};

// One made image: size x size pixels, premultiplied ARGB, row by row.
struct StoredToolbarImageData {
  const char* key;
  int size;
  const std::uint32_t* pixels;
};

// The made images (in the file the build writes).
extern const StoredToolbarImageData kStoredToolbarImageData[];
extern const int kStoredToolbarImageDataCount;

// The image the build made of a key at a size; null when it made none.
QPixmap StoredToolbarImage(std::string_view key, int size);

}  // namespace kv
