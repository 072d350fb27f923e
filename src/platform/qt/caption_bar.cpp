#include "platform/qt/caption_bar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace kv {

namespace {

constexpr int kTextIndent = 4;

}  // namespace

// --- vsInForm -----------------------------------------------------------------

vsInForm::vsInForm(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("vsInForm1"));
  QFont f = font();
  f.setBold(true);
  setFont(f);
  close_ = new QToolButton(this);
  close_->setObjectName(QStringLiteral("CaptionClose"));
  close_->setAutoRaise(true);
  close_->setFocusPolicy(Qt::NoFocus);
  close_->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
  connect(close_, &QToolButton::clicked, this, [this] { window()->close(); });
}

void vsInForm::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

QSize vsInForm::sizeHint() const {
  const int h = std::max(fontMetrics().height() + 4, 16);
  return {fontMetrics().horizontalAdvance(caption_) + 2 * kTextIndent + h, h};
}

QSize vsInForm::minimumSizeHint() const { return {0, sizeHint().height()}; }

void vsInForm::resizeEvent(QResizeEvent*) {
  const int h = height();
  close_->setGeometry(width() - h, 0, h, h);
}

void vsInForm::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const bool active = window()->isActiveWindow();
  p.fillRect(rect(), palette().color(active ? QPalette::Active : QPalette::Inactive, QPalette::Highlight));
  p.setPen(palette().color(active ? QPalette::Active : QPalette::Inactive, QPalette::HighlightedText));
  const QRect text = rect().adjusted(kTextIndent, 0, -height(), 0);
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
             fontMetrics().elidedText(caption_, Qt::ElideRight, text.width()));
}

void vsInForm::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = true;
  moved_ = false;
  pressGlobal_ = e->globalPosition().toPoint();
  windowAtPress_ = window()->pos();
}

void vsInForm::mouseMoveEvent(QMouseEvent* e) {
  if (!dragging_ || !(e->buttons() & Qt::LeftButton)) return;
  const QPoint delta = e->globalPosition().toPoint() - pressGlobal_;
  if (delta.isNull() && !moved_) return;
  window()->move(windowAtPress_ + delta);
  moved_ = true;
}

void vsInForm::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !dragging_) return;
  dragging_ = false;
  // The window reports where the caption dropped it.
  if (moved_ && Move) Move();
  moved_ = false;
}

void vsInForm::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (DblClickCaption) DblClickCaption();
}

// --- CaptionBarWindow ------------------------------------------------------------

CaptionBarWindow::CaptionBarWindow(QWidget* parent) : QFrame(parent) {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
  setFrameShape(QFrame::Box);
  setFrameShadow(QFrame::Plain);
  setLineWidth(1);
  bar_ = new vsInForm(this);
}

void CaptionBarWindow::SetContent(QWidget* content) {
  content_ = content;
  content_->setParent(this);
  PlaceParts();
}

int CaptionBarWindow::ExtraWidth() const { return 2 * frameWidth(); }

int CaptionBarWindow::ExtraHeight() const { return 2 * frameWidth() + bar_->sizeHint().height(); }

void CaptionBarWindow::resizeEvent(QResizeEvent* e) {
  QFrame::resizeEvent(e);
  PlaceParts();
}

void CaptionBarWindow::PlaceParts() {
  const int fw = frameWidth();
  const int barHeight = bar_->sizeHint().height();
  const int inner = std::max(0, width() - 2 * fw);
  bar_->setGeometry(fw, fw, inner, barHeight);
  if (content_) content_->setGeometry(fw, fw + barHeight, inner, std::max(0, height() - ExtraHeight()));
}

}  // namespace kv
