#pragma once
// The sheet grid widget: paints a GridModel (only what is in view) and turns
// mouse, keys and input-method text into the model's input calls, which
// raise its events. One view per model; the model outlives the view.
//
// Drawing: captions and row headers on grey; text colours by number
// (grid_palette.h); lines of a cell split at LF (CR LF); memo rows as one
// text from column 1 across the row; right-aligned columns; page-break lines
// under marked rows in red, in the model's line style; the totals line fixed
// at the bottom on cream; the selection as a translucent fill; the cursor as
// a frame; pictures among the embedded items drawn, other items as frames.
#include <QAbstractScrollArea>
#include <QImage>
#include <QFont>
#include <QHash>
#include <QPointer>
#include <QStaticText>
#include <cstdint>
#include <unordered_map>

#include "platform/grid/grid_model.h"
#include "platform/grid/qt/grid_font.h"

class QLineEdit;
class QPlainTextEdit;
class QPainter;

namespace kv {

class GridView : public QAbstractScrollArea, public GridObserver {
  Q_OBJECT

 public:
  explicit GridView(GridModel& model, QWidget* parent = nullptr);
  ~GridView() override;

  GridModel& model() { return model_; }
  // The in-cell editor while an edit is open, else nullptr.
  QWidget* cellEditor() const;
  // The Windows key code for a Qt key (0 when it has none).
  static int VirtualKey(int qtKey, Qt::KeyboardModifiers mods);

  // GridObserver
  void GridChanged() override;
  void GridLayoutChanged() override;
  void GridEditStarted(const std::string& text, int caret, bool typing) override;
  void GridEditClosed() override;
  void GridShowStateChanged() override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  // Tab is a key of the grid (KeyDown2, then a step right), not focus travel.
  bool focusNextPrevChild(bool) override { return false; }

 private:
  enum class Drag { None, Cells, Split, ItemMove, ItemResize };

  void SyncScrollBars();
  void PushViewport();
  void PaintPane(QPainter& p, int pane);
  void PaintRow(QPainter& p, int pane, int row, int firstCol, int lastCol);
  // pad: blank pixels kept at the cell's sides; -1 the grid's own.
  void PaintCellText(QPainter& p, const QRect& r, const std::string& text, int colour,
                     int align, int pad = -1);
  void PaintItems(QPainter& p, int pane);
  const QImage& Picture(int item);
  const QStaticText& StaticText(QPainter& p, const QString& line);
  void CommitEditor();
  void CloseEditor();
  void PlaceEditor();
  QRect ToQRect(const GridRect& r) const;

  GridModel& model_;
  QtGridFontMetrics metrics_;
  bool syncing_ = false;
  bool syncQueued_ = false;
  bool repaintAsked_ = false;  // a paint of the whole view is pending
  QPointer<QLineEdit> lineEditor_;
  QPointer<QPlainTextEdit> textEditor_;
  QWidget* activeEditor_ = nullptr;
  bool closingEditor_ = false;
  Drag drag_ = Drag::None;
  int dragItem_ = 0;
  int dragPane_ = 1;
  QPoint dragStart_;
  QRect dragRect_;
  int splitPreviewX_ = -1;
  std::unordered_map<uint64_t, QImage> pictures_;
  std::unordered_map<QString, QStaticText> textCache_;
  QFont textCacheFont_;
};

}  // namespace kv
