#pragma once
// Painting composed pages (page_boxes.h) onto paper: a printer or a PDF
// file. The page format's character grid is spread over the whole paper; a
// full-width character of the font is 1.6 grid characters wide (less when the
// lines are low), and a text wider than its box is narrowed to fit it.
#include <QFont>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <functional>

#include "../page_boxes.h"
#include "../print_settings.h"

namespace kv::print_program {

// The paper of a page form, without margins.
QPageLayout PaperLayout(const PageForm& form);

class PagePainter {
 public:
  // `painter` is active on a device laid out with PaperLayout(form).
  PagePainter(QPainter& painter, const PageForm& form, const QString& fontFamily);
  void Paint(const PageBoxes& page);

  double CellWidth() const { return sx_; }
  double LineHeight() const { return sy_; }
  const QFont& Font() const { return font_; }

 private:
  QPainter& p_;
  double sx_ = 1, sy_ = 1;  // device units a grid character across, a line down
  double dotsPerMm_ = 1;
  QFont font_;
  double halfEm_ = 1;       // the width of a half-width character
  double ascent_ = 0, descent_ = 0;
  bool fixedPitch_ = true;
};

// Lays the device out and paints every page on it, `count` pages, each made
// by `page`(i, boxes). False (with `error`) when the device cannot be painted on.
bool PaintPages(QPagedPaintDevice& device, const PageForm& form, const QString& fontFamily, int count,
                const std::function<void(int, PageBoxes&)>& page, QString& error);

}  // namespace kv::print_program
