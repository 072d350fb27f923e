#include "editor/toolbars/windows/toolbar_images_stored.h"

#include <QImage>

namespace kv {

QPixmap StoredToolbarImage(std::string_view key, int size) {
  for (int i = 0; i < kStoredToolbarImageDataCount; ++i) {
    const StoredToolbarImageData& d = kStoredToolbarImageData[i];
    if (d.size != size || key != d.key) continue;
    const QImage image(reinterpret_cast<const uchar*>(d.pixels), size, size, size * 4,
                       QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(image);
  }
  return QPixmap();
}

}  // namespace kv
