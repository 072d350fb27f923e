// GridView: painting. Only the rows and columns in view are drawn, so a
// sheet of thousands of rows costs what one screenful costs.
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "platform/grid/grid_palette.h"
#include "platform/grid/qt/grid_view.h"

namespace kv {

namespace {

const QColor kHeaderBack(0xEC, 0xEC, 0xEC);
const QColor kHeaderLine(0xB0, 0xB0, 0xB0);
const QColor kGridLine(0xD6, 0xD6, 0xD6);
const QColor kTotalsBack(0xFF, 0xF5, 0xD2);
const QColor kTotalsEdge(0x70, 0x70, 0x70);
const QColor kPageLine(0xD0, 0x00, 0x00);
const QColor kCursor(0x20, 0x20, 0x20);
const QColor kSplitBar(0xB8, 0xB8, 0xB8);
const QColor kOwnSelection(0x33, 0x88, 0xFF, 60);
const QColor kItemBack(0xF6, 0xF6, 0xF6);
const QColor kItemFrame(0x80, 0x80, 0x80);
const QColor kItemSelected(0x00, 0x50, 0xD0);

QColor Colour(int number) { return QColor(QRgb(0xFF000000u | GridColourRgb(number))); }

// The selection marking: the grid's own blue, or the colour number asked for.
QColor SelectionFill(int colourNumber) {
  if (colourNumber == 0) return kOwnSelection;
  return QColor::fromRgba((GridColourRgb(colourNumber) & 0x00FFFFFFu) | 0x60000000u);
}

QString Trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return QString::fromUtf8(s.data() + b, qsizetype(e - b + 1));
}

}  // namespace

void GridView::paintEvent(QPaintEvent*) {
  repaintAsked_ = false;
  QPainter p(viewport());
  p.fillRect(viewport()->rect(), Qt::white);
  if (!model_.Redraw()) return;
  p.setFont(GridFont(model_.FontName(), model_.FontSize(), model_.Zoom()));
  PaintPane(p, 1);
  if (model_.Split()) {
    PaintPane(p, 2);
    const QRect bar = ToQRect(model_.SplitBarRect());
    p.fillRect(bar, kSplitBar);
    p.setPen(kHeaderLine);
    p.drawLine(bar.topLeft(), bar.bottomLeft());
    p.drawLine(bar.topRight(), bar.bottomRight());
  }
  if (splitPreviewX_ >= 0) p.fillRect(QRect(splitPreviewX_ - 1, 0, 3, viewport()->height()), kCursor);
}

void GridView::PaintPane(QPainter& p, int pane) {
  const QRect area = ToQRect(model_.PaneRect(pane));
  if (area.isEmpty()) return;
  int firstCol = 0, lastCol = 0, firstRow = 0, lastRow = 0;
  model_.VisibleCols(pane, firstCol, lastCol);
  model_.VisibleRows(firstRow, lastRow);
  const int bodyTop = model_.BodyTop(), bodyBottom = model_.BodyBottom();
  const QRect body(area.left(), bodyTop, area.width(), bodyBottom - bodyTop);

  p.save();
  p.setClipRect(body);
  for (int r = firstRow; r <= lastRow; ++r) PaintRow(p, pane, r, firstCol, lastCol);
  PaintItems(p, pane);
  p.restore();

  const int totals = model_.TotalsRow();
  if (totals > 0) {
    const QRect band(area.left(), bodyBottom, area.width(), area.bottom() + 1 - bodyBottom);
    p.save();
    p.setClipRect(band);
    PaintRow(p, pane, totals, firstCol, lastCol);
    p.fillRect(QRect(area.left(), bodyBottom, area.width(), 2), kTotalsEdge);
    p.restore();
  }

  p.save();
  p.setClipRect(QRect(area.left(), 0, area.width(), model_.CaptionHeight()));
  PaintRow(p, pane, 0, firstCol, lastCol);
  p.restore();

  const int cc = model_.CurrentCol(), cr = model_.CurrentRow();
  GridRect cell;
  if (model_.CursorShown() && !model_.Editing() && cr >= 1 &&
      model_.CellRect(pane, cc, cr, cell)) {
    p.save();
    p.setClipRect(cr == totals ? QRect(area.left(), bodyBottom, area.width(), area.height()) : body);
    p.setClipRect(QRect(model_.CellsLeft(pane), 0, area.right() + 1 - model_.CellsLeft(pane),
                        area.height()),
                  Qt::IntersectClip);
    p.setPen(QPen(kCursor, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(ToQRect(cell).adjusted(1, 1, -1, -1));
    p.restore();
  }
}

void GridView::PaintRow(QPainter& p, int pane, int row, int firstCol, int lastCol) {
  const bool caption = row == 0;
  const bool totals = row == model_.TotalsRow();
  const QColor back = caption ? kHeaderBack : totals ? kTotalsBack : QColor(Qt::white);
  const int y = model_.RowY(row);
  const int h = model_.Scaled(model_.RowHeight(row));
  if (h <= 0) return;
  const bool lines = model_.GridLines();
  const int cellsLeft = model_.CellsLeft(pane);
  const GridRect paneArea = model_.PaneRect(pane);

  if (pane == 1) {
    const QRect hc(0, y, model_.HeaderWidth(), h);
    p.fillRect(hc, kHeaderBack);
    // Row headers are numbers right-aligned by their own leading blanks
    // ("  5#"), as wide as the column. Laid out by the painter itself, so the
    // right end is where the glyphs really end (hinted advances can make the
    // text a few pixels wider than its measured width) and stays off the
    // border line; the leading blank gives the room.
    const std::string header = model_.CellText(0, row);
    if (!header.empty()) {
      p.setPen(Colour(model_.CellColour(0, row)));
      p.drawText(hc.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                 QString::fromUtf8(header.data(), qsizetype(header.size())));
    }
    p.setPen(kHeaderLine);
    p.drawLine(hc.right(), hc.top(), hc.right(), hc.bottom());
    p.drawLine(hc.left(), hc.bottom(), hc.right(), hc.bottom());
  }

  if (!caption && !totals && model_.MemoRow(row) && model_.ColCount() >= 1) {
    // One text over the whole row, from column 1 on.
    const int x1 = model_.ColX(pane, 1);
    const int x2 = model_.ColX(pane, model_.ColCount()) +
                   model_.Scaled(model_.ColWidth(model_.ColCount()));
    const QRect mr(x1, y, x2 - x1, h);
    p.save();
    p.setClipRect(QRect(cellsLeft, y, paneArea.right - cellsLeft, h), Qt::IntersectClip);
    p.fillRect(mr, back);
    if (model_.IsSelected(1, row)) p.fillRect(mr, SelectionFill(model_.SelectionColour()));
    PaintCellText(p, mr, model_.CellText(1, row), model_.CellColour(1, row), 0);
    if (lines) {
      p.setPen(kGridLine);
      p.drawLine(mr.left(), mr.bottom(), mr.right(), mr.bottom());
      p.drawLine(mr.right(), mr.top(), mr.right(), mr.bottom());
    }
    p.restore();
  } else {
    for (int c = firstCol; c <= lastCol; ++c) {
      const int w = model_.Scaled(model_.ColWidth(c));
      if (w <= 0) continue;
      const QRect r(model_.ColX(pane, c), y, w, h);
      p.fillRect(r, back);
      if (!caption && model_.IsSelected(c, row))
        p.fillRect(r, SelectionFill(model_.SelectionColour()));
      const std::string text = model_.CellText(c, row);
      if (caption) {
        const QString t = Trimmed(text);
        if (!t.isEmpty()) {
          p.setPen(Colour(model_.CellColour(c, row)));
          p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignCenter | Qt::TextSingleLine, t);
        }
      } else {
        PaintCellText(p, r, text, model_.CellColour(c, row), model_.ColAlign(c));
      }
      if (lines || caption) {
        p.setPen(caption ? kHeaderLine : kGridLine);
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
      }
    }
  }

  if (!caption && !totals && model_.PageBreak(row)) {
    const int style = model_.PageLineStyle();
    QPen pen(kPageLine, style == 1 || style == 3 ? 2 : 1);
    pen.setStyle(style <= 1 ? Qt::DotLine : Qt::SolidLine);
    p.setPen(pen);
    const int lastX =
        model_.ColCount() >= 1
            ? model_.ColX(pane, model_.ColCount()) + model_.Scaled(model_.ColWidth(model_.ColCount()))
            : paneArea.right;
    const int yLine = y + h - 1;
    p.drawLine(paneArea.left, yLine, std::min(lastX, paneArea.right) - 1, yLine);
  }
}

void GridView::PaintCellText(QPainter& p, const QRect& r, const std::string& text, int colour,
                             int align, int pad) {
  if (text.empty()) return;
  QString s = QString::fromUtf8(text.data(), qsizetype(text.size()));
  s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  const QStringList lines = s.split(QLatin1Char('\n'));
  if (pad < 0) pad = std::max(2, model_.Scaled(3));
  const QRect inner = r.adjusted(pad, 0, -pad, 0);
  const QFontMetrics fm = p.fontMetrics();
  const int lineH = fm.height();
  const int block = lineH * int(lines.size());
  int top = block <= r.height() ? r.top() + (r.height() - block) / 2 : r.top();
  p.setPen(Colour(colour));
  for (const QString& line : lines) {
    if (top > r.bottom()) break;
    const QStaticText& st = StaticText(p, line);
    const int width = int(std::ceil(st.size().width()));
    int x = inner.left();
    if (align == 2) x = inner.right() + 1 - width;
    if (align == 1) x = inner.left() + (inner.width() - width) / 2;
    // Only a line wider or taller than its cell needs clipping.
    if (width > inner.width() || top + lineH > r.bottom() + 1) {
      p.save();
      p.setClipRect(r, Qt::IntersectClip);
      p.drawStaticText(QPoint(align == 0 ? inner.left() : x, top), st);
      p.restore();
    } else {
      p.drawStaticText(QPoint(x, top), st);
    }
    top += lineH;
  }
}

// Laid-out texts, kept while the font stays: repainting a screen (each
// cursor move does) then costs no text layout.
const QStaticText& GridView::StaticText(QPainter& p, const QString& line) {
  const QFont& f = p.font();
  if (f != textCacheFont_ || textCache_.size() > 20000) {
    textCache_.clear();
    textCacheFont_ = f;
  }
  auto it = textCache_.find(line);
  if (it == textCache_.end()) {
    QStaticText st(line);
    st.setTextFormat(Qt::PlainText);
    st.setPerformanceHint(QStaticText::AggressiveCaching);
    st.prepare(QTransform(), f);
    it = textCache_.emplace(line, std::move(st)).first;
  }
  return it->second;
}

void GridView::PaintItems(QPainter& p, int pane) {
  const int n = model_.ItemCount();
  if (pictures_.size() > size_t(2 * n + 8)) pictures_.clear();
  for (int i = 1; i <= n; ++i) {
    QRect r = ToQRect(model_.ItemViewRect(pane, i));
    const bool dragged = (drag_ == Drag::ItemMove || drag_ == Drag::ItemResize) && dragItem_ == i;
    if (dragged) r = dragRect_;
    if (!r.intersects(p.clipBoundingRect().toAlignedRect())) continue;
    const QImage& img = Picture(i);
    if (!img.isNull()) {
      p.drawImage(r, img);
    } else {
      // Objects other than pictures are kept, not shown: a frame marks them.
      p.fillRect(r, kItemBack);
      p.setPen(QPen(kItemFrame, 1, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    if (i == model_.SelectedItem() || dragged) {
      p.setPen(QPen(kItemSelected, 1, Qt::DashLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(r.adjusted(0, 0, -1, -1));
      p.fillRect(QRect(r.right() - 5, r.bottom() - 5, 6, 6), kItemSelected);
    }
  }
}

const QImage& GridView::Picture(int item) {
  const uint64_t serial = model_.ItemSerial(item);
  auto it = pictures_.find(serial);
  if (it == pictures_.end()) {
    QImage img;
    const std::string& data = model_.Item(item).data;
    img.loadFromData(reinterpret_cast<const uchar*>(data.data()), int(data.size()));
    it = pictures_.emplace(serial, std::move(img)).first;
  }
  return it->second;
}

}  // namespace kv
