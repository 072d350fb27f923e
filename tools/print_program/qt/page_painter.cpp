#include "page_painter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kv::print_program {

namespace {

QPageSize::PageSizeId PaperId(const std::string& paper) {
  if (paper == "A3") return QPageSize::A3;
  if (paper == "B4") return QPageSize::B4;
  if (paper == "B5") return QPageSize::B5;
  return QPageSize::A4;
}

// Pen widths of the ruled lines in millimetres, 0 the thinnest.
double LineMm(int weight) { return 0.08 + 0.1 * std::clamp(weight, 0, 10); }

}  // namespace

QPageLayout PaperLayout(const PageForm& form) {
  return QPageLayout(QPageSize(PaperId(form.paper)),
                     form.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
}

PagePainter::PagePainter(QPainter& painter, const PageForm& form, const QString& fontFamily) : p_(painter) {
  QPaintDevice* device = painter.device();
  sx_ = static_cast<double>(device->width()) / std::max(form.gridColumns, 1);
  sy_ = static_cast<double>(device->height()) / std::max(form.gridLines, 1);
  dotsPerMm_ = device->logicalDpiX() / 25.4;
  const double em = std::min(1.6 * sx_, 0.66 * sy_);
  font_ = QFont(fontFamily);
  font_.setPointSizeF(em * 72.0 / device->logicalDpiY());
  font_.setStyleHint(QFont::Serif);
  painter.setFont(font_);
  const QFontMetricsF metrics(painter.font(), device);
  ascent_ = metrics.ascent();
  descent_ = metrics.descent();
  // A face whose characters take a half or a whole em (the Japanese fixed
  // faces) measures a text by its bytes; the fonts do not all say so of
  // themselves.
  halfEm_ = metrics.horizontalAdvance(QChar(0x3042)) / 2;  // あ: a full-width character
  const double narrow = metrics.horizontalAdvance(QChar('i'));
  fixedPitch_ = QFontInfo(painter.font()).fixedPitch() ||
                (narrow == metrics.horizontalAdvance(QChar('W')) && std::abs(2 * narrow - 2 * halfEm_) < 0.01 * halfEm_);
}

void PagePainter::Paint(const PageBoxes& page) {
  for (const PagePicture& pic : page.pictures) {
    QImage image;
    if (pic.data == nullptr || !image.loadFromData(reinterpret_cast<const uchar*>(pic.data->data()),
                                                   static_cast<int>(pic.data->size())))
      continue;
    const QRectF box(pic.x * sx_, pic.y * sy_, pic.width * sx_, pic.height * sy_);
    QSizeF size = QSizeF(image.size()).scaled(box.size(), Qt::KeepAspectRatio);
    const QRectF target(box.x() + (box.width() - size.width()) / 2, box.y() + (box.height() - size.height()) / 2,
                        size.width(), size.height());
    p_.save();
    p_.setClipRect(QRectF(box.x(), pic.clipTop * sy_, box.width(), (pic.clipBottom - pic.clipTop) * sy_));
    p_.drawImage(target, image);
    p_.restore();
  }

  // A narrowed text is drawn through a transform of its own, set directly:
  // the PDF writer takes the transform into the text's own matrix.
  const QFontMetricsF metrics(p_.font(), p_.device());
  bool transformed = false;
  for (const TextBox& t : page.texts) {
    const QString text = QString::fromStdString(t.text);
    const double natural = fixedPitch_ ? t.cells * halfEm_ : metrics.horizontalAdvance(text);
    const double width = t.width * sx_;
    const double scale = natural > width && natural > 0 ? width / natural : 1.0;
    const double drawn = natural * scale;
    double x = t.x * sx_;
    if (t.align == Align::Right)
      x += width - drawn;
    else if (t.align == Align::Center)
      x += (width - drawn) / 2;
    const double baseline = t.y * sy_ + (t.height * sy_ + ascent_ - descent_) / 2;
    if (scale < 1.0) {
      p_.setTransform(QTransform(scale, 0, 0, 1, x, baseline));
      transformed = true;
      p_.drawText(QPointF(0, 0), text);
    } else {
      if (transformed) p_.resetTransform();
      transformed = false;
      p_.drawText(QPointF(x, baseline), text);
    }
  }
  if (transformed) p_.resetTransform();

  // The lines, one pen at a time.
  std::vector<const RuleLine*> lines;
  lines.reserve(page.lines.size());
  for (const RuleLine& l : page.lines) lines.push_back(&l);
  std::stable_sort(lines.begin(), lines.end(), [](const RuleLine* a, const RuleLine* b) {
    return a->weight != b->weight ? a->weight < b->weight : a->dotted < b->dotted;
  });
  std::vector<QLineF> batch;
  for (size_t i = 0; i < lines.size();) {
    const RuleLine& first = *lines[i];
    batch.clear();
    for (; i < lines.size() && lines[i]->weight == first.weight && lines[i]->dotted == first.dotted; ++i)
      batch.emplace_back(lines[i]->x1 * sx_, lines[i]->y1 * sy_, lines[i]->x2 * sx_, lines[i]->y2 * sy_);
    p_.setPen(QPen(Qt::black, LineMm(first.weight) * dotsPerMm_, first.dotted ? Qt::DotLine : Qt::SolidLine, Qt::FlatCap));
    p_.drawLines(batch.data(), static_cast<int>(batch.size()));
  }
  p_.setPen(QPen(Qt::black));
}

bool PaintPages(QPagedPaintDevice& device, const PageForm& form, const QString& fontFamily, int count,
                const std::function<void(int, PageBoxes&)>& page, QString& error) {
  device.setPageLayout(PaperLayout(form));
  QPainter painter;
  if (!painter.begin(&device)) {
    error = QStringLiteral("印刷を始められません。");
    return false;
  }
  PagePainter pages(painter, form, fontFamily);
  PageBoxes boxes;
  for (int i = 0; i < count; ++i) {
    if (i > 0 && !device.newPage()) {
      painter.end();
      error = QStringLiteral("次のページを始められません。");
      return false;
    }
    page(i, boxes);
    pages.Paint(boxes);
  }
  if (!painter.end()) {
    error = QStringLiteral("印刷を終えられません。");
    return false;
  }
  return true;
}

}  // namespace kv::print_program
