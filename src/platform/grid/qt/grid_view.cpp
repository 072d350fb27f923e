// GridView: input, the in-cell editor and the scroll bars. Painting is in
// grid_view_paint.cpp.
#include "platform/grid/qt/grid_view.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QWheelEvent>
#include <algorithm>

#include "platform/grid/grid_keys.h"

namespace kv {

GridView::GridView(GridModel& model, QWidget* parent) : QAbstractScrollArea(parent), model_(model) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled, true);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  setFrameShape(QFrame::StyledPanel);
  model_.SetObserver(this);
  model_.SetFontMetrics(&metrics_);
  PushViewport();
  SyncScrollBars();
  GridShowStateChanged();
}

GridView::~GridView() {
  model_.SetObserver(nullptr);
  model_.SetFontMetrics(nullptr);
}

QWidget* GridView::cellEditor() const { return activeEditor_; }

QRect GridView::ToQRect(const GridRect& r) const {
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// ---- Model notifications ----

void GridView::GridChanged() {
  // A repaint fills thousands of cells: the whole view is asked to paint
  // once until it has painted.
  if (repaintAsked_ && viewport()->isVisible()) return;
  repaintAsked_ = true;
  viewport()->update();
}

void GridView::GridLayoutChanged() {
  viewport()->update();
  if (syncQueued_) return;
  syncQueued_ = true;
  // Many layout changes come in a row (a sheet set-up sizes every row):
  // bring the scroll bars and the editor in line once, after them.
  QMetaObject::invokeMethod(
      this,
      [this] {
        syncQueued_ = false;
        SyncScrollBars();
        PlaceEditor();
      },
      Qt::QueuedConnection);
}

void GridView::GridShowStateChanged() {
  setEnabled(model_.Enabled());
  // A window of its own is shown by whoever made it; inside a window the
  // grid follows its Visible property.
  if (parentWidget() && isHidden() == model_.Visible()) setVisible(model_.Visible());
  // The input-method switch of the cursor cell: a preference the input
  // method may follow; typing Japanese into any cell stays possible.
  const Qt::InputMethodHints hints = model_.ImeOn() ? Qt::ImhNone : Qt::ImhPreferLatin;
  setInputMethodHints(hints);
  if (hasFocus() && QGuiApplication::inputMethod())
    QGuiApplication::inputMethod()->update(Qt::ImHints);
}

// ---- Scrolling ----

void GridView::PushViewport() {
  model_.SetViewportSize(viewport()->width(), viewport()->height());
}

void GridView::SyncScrollBars() {
  syncing_ = true;
  const auto vPolicy = model_.VerticalScrollBar() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  const auto hPolicy = model_.HorizontalScrollBar() ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
  if (verticalScrollBarPolicy() != vPolicy) setVerticalScrollBarPolicy(vPolicy);
  if (horizontalScrollBarPolicy() != hPolicy) setHorizontalScrollBarPolicy(hPolicy);
  int first = 0, last = 0;
  model_.VisibleRows(first, last);
  verticalScrollBar()->setRange(1, model_.MaxTopRow());
  verticalScrollBar()->setPageStep(std::max(1, last - first));
  verticalScrollBar()->setValue(model_.TopRow());
  model_.VisibleCols(0, first, last);
  horizontalScrollBar()->setRange(1, model_.MaxLeftCol(0));
  horizontalScrollBar()->setPageStep(std::max(1, last - first));
  horizontalScrollBar()->setValue(model_.LeftCol(0));
  syncing_ = false;
}

void GridView::scrollContentsBy(int, int) {
  if (syncing_) return;
  model_.SetTopCell(0, horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void GridView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  PushViewport();
  SyncScrollBars();
  PlaceEditor();
}

void GridView::wheelEvent(QWheelEvent* e) {
  const int notches = e->angleDelta().y() / 120;
  if (notches != 0) model_.SetTopCell(0, 0, std::max(1, model_.TopRow() - 3 * notches));
  e->accept();
}

// ---- Keys ----

int GridView::VirtualKey(int qtKey, Qt::KeyboardModifiers mods) {
  const bool keypad = mods & Qt::KeypadModifier;
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return keypad ? gridkey::kNumpad0 + (qtKey - Qt::Key_0) : qtKey;
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return gridkey::kF1 + (qtKey - Qt::Key_F1);
  switch (qtKey) {
    case Qt::Key_Backspace: return gridkey::kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return gridkey::kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return gridkey::kReturn;
    case Qt::Key_Shift: return gridkey::kShift;
    case Qt::Key_Control: return gridkey::kControl;
    case Qt::Key_Alt: return gridkey::kMenu;
    case Qt::Key_Escape: return gridkey::kEscape;
    case Qt::Key_Space: return gridkey::kSpace;
    case Qt::Key_PageUp: return gridkey::kPageUp;
    case Qt::Key_PageDown: return gridkey::kPageDown;
    case Qt::Key_End: return gridkey::kEnd;
    case Qt::Key_Home: return gridkey::kHome;
    case Qt::Key_Left: return gridkey::kLeft;
    case Qt::Key_Up: return gridkey::kUp;
    case Qt::Key_Right: return gridkey::kRight;
    case Qt::Key_Down: return gridkey::kDown;
    case Qt::Key_Insert: return gridkey::kInsert;
    case Qt::Key_Delete: return gridkey::kDelete;
    case Qt::Key_Asterisk: return keypad ? gridkey::kMultiply : 0;
    case Qt::Key_Plus: return keypad ? gridkey::kAdd : gridkey::kOemPlus;
    case Qt::Key_Minus: return keypad ? gridkey::kSubtract : gridkey::kOemMinus;
    case Qt::Key_Period: return keypad ? gridkey::kDecimal : gridkey::kOemPeriod;
    case Qt::Key_Slash: return keypad ? gridkey::kDivide : 0;
    case Qt::Key_Comma: return gridkey::kOemComma;
    default: return 0;
  }
}

void GridView::keyPressEvent(QKeyEvent* e) {
  e->accept();
  if (!model_.Enabled()) return;
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  const bool ctrl = e->modifiers() & Qt::ControlModifier;
  const int vk = VirtualKey(e->key(), e->modifiers());
  if (vk != 0 && model_.KeyDown(vk, shift, ctrl)) return;  // consumed
  const QString text = e->text();
  if (text.isEmpty() || ctrl || (e->modifiers() & Qt::AltModifier) || !text.at(0).isPrint())
    return;
  const QList<uint> points = text.toUcs4();
  model_.StartEditByTyping(points.isEmpty() ? 0 : int(points.first()), text.toStdString());
}

void GridView::inputMethodEvent(QInputMethodEvent* e) {
  if (activeEditor_) {
    QCoreApplication::sendEvent(activeEditor_, e);
    return;
  }
  e->accept();
  if (!e->preeditString().isEmpty()) {
    // A composition opens the cell; the editor takes the composition over.
    if (model_.StartEditByTyping(gridkey::kProcessKey, "") && activeEditor_)
      QCoreApplication::sendEvent(activeEditor_, e);
  } else if (!e->commitString().isEmpty()) {
    const QString text = e->commitString();
    const QList<uint> points = text.toUcs4();
    model_.StartEditByTyping(points.isEmpty() ? 0 : int(points.first()), text.toStdString());
  }
}

QVariant GridView::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) return true;
  if (query == Qt::ImHints) return int(inputMethodHints());
  if (query == Qt::ImCursorRectangle) {
    GridRect r;
    if (model_.CellRect(0, model_.CurrentCol(), model_.CurrentRow(), r))
      return QRect(viewport()->mapTo(this, QPoint(r.left, r.top)),
                   QSize(r.right - r.left, r.bottom - r.top));
  }
  return QAbstractScrollArea::inputMethodQuery(query);
}

void GridView::focusInEvent(QFocusEvent*) {
  // The grid draws the same with or without the focus: no repaint of the
  // whole sheet (the base class would ask for one).
  // Focus coming back from the grid's own editor is not news to the handlers.
  if (!closingEditor_) model_.FocusGained();
}

// ---- Mouse ----

void GridView::mousePressEvent(QMouseEvent* e) {
  if (!model_.Enabled()) return;
  if (activeEditor_) CommitEditor();
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = e->position().toPoint();
  const GridHit hit = model_.HitTest(pos.x(), pos.y());
  if (e->button() == Qt::RightButton) {
    if (hit.kind == GridHit::Cell) model_.RightButtonDown(hit.col, hit.row);
    return;
  }
  if (e->button() != Qt::LeftButton) return;
  if (hit.kind == GridHit::SplitBar) {
    drag_ = Drag::Split;
    splitPreviewX_ = pos.x();
    return;
  }
  if (const int item = model_.ItemAt(pos.x(), pos.y())) {
    model_.UserSelectItem(item);
    dragItem_ = item;
    dragPane_ = hit.pane;
    dragStart_ = pos;
    dragRect_ = ToQRect(model_.ItemViewRect(hit.pane, item));
    const QPoint corner = dragRect_.bottomRight();
    drag_ = (std::abs(pos.x() - corner.x()) <= 6 && std::abs(pos.y() - corner.y()) <= 6)
                ? Drag::ItemResize
                : Drag::ItemMove;
    return;
  }
  if (model_.SelectedItem()) model_.SelectItem(0);
  if (hit.kind != GridHit::Cell) return;
  if (model_.LeftButtonDown(hit.pane, hit.col, hit.row, e->modifiers() & Qt::ShiftModifier))
    drag_ = Drag::Cells;
}

void GridView::mouseMoveEvent(QMouseEvent* e) {
  const QPoint pos = e->position().toPoint();
  switch (drag_) {
    case Drag::Split:
      splitPreviewX_ = std::clamp(pos.x(), 0, viewport()->width() - 1);
      viewport()->update();
      return;
    case Drag::ItemMove:
      dragRect_.moveTopLeft(ToQRect(model_.ItemViewRect(dragPane_, dragItem_)).topLeft() +
                            (pos - dragStart_));
      viewport()->update();
      return;
    case Drag::ItemResize: {
      const QRect from = ToQRect(model_.ItemViewRect(dragPane_, dragItem_));
      dragRect_.setSize(QSize(std::max(4, from.width() + pos.x() - dragStart_.x()),
                              std::max(4, from.height() + pos.y() - dragStart_.y())));
      viewport()->update();
      return;
    }
    case Drag::Cells: {
      if (model_.AutoScroll()) {
        if (pos.y() >= model_.BodyBottom()) model_.LineDownScroll();
        if (pos.y() < model_.BodyTop() && model_.TopRow() > 1)
          model_.SetTopCell(0, 0, model_.TopRow() - 1);
        if (pos.x() >= viewport()->width()) model_.LineRightScroll();
      }
      const int x = std::clamp(pos.x(), 0, viewport()->width() - 1);
      const int y = std::clamp(pos.y(), 0, std::max(0, model_.BodyBottom() - 1));
      const GridHit hit = model_.HitTest(x, y);
      if (hit.kind == GridHit::Cell) model_.DragTo(hit.col, hit.row);
      return;
    }
    case Drag::None: {
      const GridHit hit = model_.HitTest(pos.x(), pos.y());
      if (hit.kind == GridHit::SplitBar)
        viewport()->setCursor(Qt::SplitHCursor);
      else if (model_.MouseMode() == 3)
        viewport()->setCursor(Qt::PointingHandCursor);
      else
        viewport()->unsetCursor();
      return;
    }
  }
}

void GridView::mouseReleaseEvent(QMouseEvent* e) {
  const Drag was = drag_;
  drag_ = Drag::None;
  const QPoint pos = e->position().toPoint();
  switch (was) {
    case Drag::Split:
      model_.DropSplitBar(splitPreviewX_);
      splitPreviewX_ = -1;
      viewport()->update();
      break;
    case Drag::ItemMove:
    case Drag::ItemResize:
      if (pos != dragStart_)
        model_.UserMoveResizeItem(dragItem_, dragPane_,
                                  GridRect{dragRect_.left(), dragRect_.top(),
                                           dragRect_.left() + dragRect_.width(),
                                           dragRect_.top() + dragRect_.height()});
      viewport()->update();
      break;
    case Drag::Cells:
      model_.LeftButtonUp();
      break;
    case Drag::None:
      break;
  }
}

void GridView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !model_.Enabled()) return;
  const QPoint pos = e->position().toPoint();
  const GridHit hit = model_.HitTest(pos.x(), pos.y());
  if (hit.kind == GridHit::Cell) model_.DoubleClick(hit.col, hit.row);
}

// ---- The in-cell editor ----

void GridView::GridEditStarted(const std::string& text, int caret, bool typing) {
  const int col = model_.EditCol(), row = model_.EditRow();
  QString qtext = QString::fromUtf8(text.data(), qsizetype(text.size()));
  const bool multiLine = model_.ColumnTextModeOf(col) == 3 || qtext.contains(QLatin1Char('\n'));
  const QFont font = GridFont(model_.FontName(), model_.FontSize(), model_.Zoom());
  if (activeEditor_) activeEditor_->hide();
  model_.EnsureVisible(col, row);
  if (multiLine) {
    if (!textEditor_) {
      textEditor_ = new QPlainTextEdit(viewport());
      textEditor_->setFrameShape(QFrame::Box);
      textEditor_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      textEditor_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      textEditor_->installEventFilter(this);
    }
    qtext.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    textEditor_->setFont(font);
    textEditor_->setPlainText(qtext);
    QTextCursor cur = textEditor_->textCursor();
    if (caret == 2 && !typing)
      cur.select(QTextCursor::Document);
    else
      cur.movePosition(caret == 1 && !typing ? QTextCursor::Start : QTextCursor::End);
    textEditor_->setTextCursor(cur);
    activeEditor_ = textEditor_;
  } else {
    if (!lineEditor_) {
      lineEditor_ = new QLineEdit(viewport());
      lineEditor_->setFrame(false);
      lineEditor_->installEventFilter(this);
      connect(lineEditor_, &QLineEdit::returnPressed, this, [this] { CommitEditor(); });
    }
    lineEditor_->setFont(font);
    lineEditor_->setText(qtext);
    if (caret == 2 && !typing)
      lineEditor_->selectAll();
    else
      lineEditor_->setCursorPosition(caret == 1 && !typing ? 0 : int(qtext.size()));
    activeEditor_ = lineEditor_;
  }
  activeEditor_->setAttribute(Qt::WA_InputMethodEnabled, true);
  activeEditor_->setInputMethodHints(model_.CellImeOn(col, row) ? Qt::ImhNone
                                                                : Qt::ImhPreferLatin);
  PlaceEditor();
  activeEditor_->show();
  activeEditor_->setFocus(Qt::OtherFocusReason);
}

void GridView::PlaceEditor() {
  if (!activeEditor_) return;
  const int col = model_.EditCol(), row = model_.EditRow();
  GridRect r;
  if (!model_.CellRect(0, col, row, r)) return;
  if (model_.MemoRow(row) && col == 1) {
    GridRect last;
    if (model_.CellRect(0, model_.ColCount(), row, last)) r.right = last.right;
  }
  QRect q = ToQRect(r).adjusted(1, 1, 0, 0);
  q.setHeight(std::max(q.height(), QFontMetrics(activeEditor_->font()).height() + 4));
  activeEditor_->setGeometry(q);
}

void GridView::CommitEditor() {
  if (!activeEditor_ || closingEditor_) return;
  QString text;
  if (activeEditor_ == lineEditor_) {
    text = lineEditor_->text();
  } else {
    text = textEditor_->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));  // the system's line break
  }
  CloseEditor();
  model_.CommitEdit(text.toStdString());
}

void GridView::CloseEditor() {
  if (!activeEditor_) return;
  closingEditor_ = true;
  QWidget* ed = activeEditor_;
  activeEditor_ = nullptr;
  const bool hadFocus = ed->hasFocus();
  ed->hide();
  if (hadFocus) setFocus(Qt::OtherFocusReason);
  closingEditor_ = false;
  viewport()->update();
}

void GridView::GridEditClosed() { CloseEditor(); }

bool GridView::eventFilter(QObject* watched, QEvent* e) {
  if (watched != activeEditor_) return QAbstractScrollArea::eventFilter(watched, e);
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    switch (k->key()) {
      case Qt::Key_Escape:
        model_.CancelEdit();
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        CommitEditor();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        // Enter ends the edit and goes no further: the grid's own handlers
        // must not see it as an Enter on the cell (which opens the
        // calculator box). In a two-line cell Alt or Ctrl with it breaks the
        // line instead.
        if (watched == textEditor_ && (k->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
          textEditor_->insertPlainText(QStringLiteral("\n"));
        else
          CommitEditor();
        return true;
      default:
        break;
    }
  } else if (e->type() == QEvent::FocusOut) {
    const auto reason = static_cast<QFocusEvent*>(e)->reason();
    // Leaving the cell ends the edit; a popup or another window does not.
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
      CommitEditor();
  }
  return QAbstractScrollArea::eventFilter(watched, e);
}

}  // namespace kv
