#pragma once
// vsInForm: the caption bar of a floating tool window that draws no frame of
// its own. It shows the caption, moves its window while dragged with the
// left button, closes the window from its small close button, and reports a
// double click on the caption (DblClickCaption) and a finished move of the
// window by the caption (Move).
//
// CaptionBarWindow: the frameless tool window (Qt::Tool) such a bar sits on:
// the bar across the top, the window's content below it, a thin frame round
// both. Its topmost state is set through foWindow like any other window.
#include <QFrame>
#include <QPoint>
#include <QString>
#include <functional>

class QToolButton;

namespace kv {

class vsInForm : public QWidget {
 public:
  explicit vsInForm(QWidget* parent);

  void SetCaption(const QString& caption);
  QString Caption() const { return caption_; }
  // The close button of the bar (it closes the window).
  QToolButton* CloseButton() const { return close_; }

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

  std::function<void()> DblClickCaption;
  std::function<void()> Move;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  QString caption_;
  QToolButton* close_ = nullptr;
  bool dragging_ = false;
  bool moved_ = false;
  QPoint pressGlobal_;
  QPoint windowAtPress_;
};

class CaptionBarWindow : public QFrame {
 public:
  explicit CaptionBarWindow(QWidget* parent = nullptr);

  vsInForm* CaptionBar() const { return bar_; }
  // The widget below the bar (owned by the window from then on).
  void SetContent(QWidget* content);
  QWidget* Content() const { return content_; }
  // What the frame and the bar add to the content's size, in pixels.
  int ExtraWidth() const;
  int ExtraHeight() const;

 protected:
  // Lays out the bar and the content over the window's whole width.
  void resizeEvent(QResizeEvent* e) override;
  // Places the bar and the content for the window's current size.
  void PlaceParts();

 private:
  vsInForm* bar_ = nullptr;
  QWidget* content_ = nullptr;
};

}  // namespace kv
