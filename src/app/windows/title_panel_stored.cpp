#include "app/windows/title_panel_stored.h"

#include <QString>

#include "app/windows/title_panel.h"

namespace kv {

QImage StoredTitleBand(const QFont& font, QSize size, qreal devicePixelRatio, int* top) {
  if (size != kTitlePanelSize || devicePixelRatio != 1.0 || kTitleBand.height <= 0 ||
      font.toString() != QString::fromUtf8(kTitleBand.font))
    return QImage();
  *top = kTitleBand.top;
  return QImage(reinterpret_cast<const uchar*>(kTitleBand.pixels), size.width(), kTitleBand.height,
                size.width() * 4, QImage::Format_ARGB32_Premultiplied);
}

}  // namespace kv
