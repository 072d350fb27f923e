#include "editor/toolbars/windows/toolbar_icons.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QString>
#include <QStyle>
#include <QStyleOption>
#include <array>
#include <cmath>
#include <memory>
#include <string>

#include "platform/qt/window_helpers.h"

namespace kv {

namespace {

// The images the program takes from the Tango icon set (compiled in).
struct TangoImage {
  std::string_view key;
  const char* name;
};
constexpr std::array<TangoImage, 15> kTango{{
    {"NEW", "document-new"},   {"OPEN", "document-open"}, {"SAVE", "document-save"},
    {"PRINT", "document-print"}, {"UNDO", "edit-undo"},     {"UNDER", "go-down"},
    {"RIGHT", "go-next"},      {"NOT", "process-stop"},   {"RTN", "window-new"},
    {"CUT", "edit-cut"},       {"COPY", "edit-copy"},     {"PASTE", "edit-paste"},
    {"GDEL", "list-remove"},   {"GIN", "list-add"},       {"SEARCH", "edit-find"},
}};

// The images drawn as a tile with one character, with the tile's colour.
struct LetterImage {
  std::string_view key;
  const char* letter;  // UTF-8
  QRgb fill;
};
constexpr QRgb kTotals = 0xffd6e6f7;    // calculation rows
constexpr QRgb kWindows = 0xffe3f1d4;   // accessory windows
constexpr QRgb kRows = 0xfff8ecc8;      // row marks and memo rows
constexpr std::array<LetterImage, 12> kLetters{{
    {"YKEISAN", "Ｙ", kTotals}, {"S", "小", kTotals},     {"T", "中", kTotals},
    {"D", "大", kTotals},       {"TAX", "税", kTotals},   {"TANI", "単", kWindows},
    {"SANKOU", "参", kWindows}, {"HYOUSI", "表", kWindows}, {"KOUZI", "工", kWindows},
    {"HIINSATU", "非", kRows},  {"MEMO", "メ", kRows},    {"RENZOK", "連", kRows},
}};

const QColor kInk(0x2e, 0x34, 0x36);     // Tango's dark grey
const QColor kBlue(0x34, 0x65, 0xa4);    // Tango's blue
const QColor kPale(0xee, 0xee, 0xec);    // Tango's light grey

void DrawLetterTile(QPainter& p, int size, const char* letter, QRgb fill) {
  const double s = size;
  const QRectF tile(0.5 + s / 32, 0.5 + s / 32, s - 1 - s / 16, s - 1 - s / 16);
  p.setPen(QPen(kInk, std::max(1.0, s / 16)));
  p.setBrush(QColor::fromRgba(fill));
  p.drawRoundedRect(tile, s / 5, s / 5);
  QFont font(QStringLiteral("IPAGothic"));
  font.setPixelSize(std::max(8, int(std::lround(s * 0.72))));
  font.setBold(size >= 24);
  p.setFont(font);
  p.setPen(kInk);
  p.drawText(tile, Qt::AlignCenter, QString::fromUtf8(letter));
}

// A row of the sheet: a bar across the image.
void DrawRowBar(QPainter& p, const QRectF& r, bool solid) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(solid ? QBrush(kBlue) : QBrush(kPale));
  p.drawRect(r);
}

void DrawArrow(QPainter& p, QPointF from, QPointF to, double head) {
  p.setPen(QPen(kInk, std::max(1.0, head / 2.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(from, to);
  const double angle = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPolygonF tip;
  tip << to << to - QPointF(head * std::cos(angle - 0.5), head * std::sin(angle - 0.5))
      << to - QPointF(head * std::cos(angle + 0.5), head * std::sin(angle + 0.5));
  p.setBrush(kInk);
  p.drawPolygon(tip);
}

// Row copy: the row bar above, its copy taken out along the arrow.
void DrawRowCopy(QPainter& p, double s) {
  DrawRowBar(p, QRectF(s * 0.06, s * 0.12, s * 0.62, s * 0.25), true);
  DrawRowBar(p, QRectF(s * 0.32, s * 0.66, s * 0.62, s * 0.25), false);
  DrawArrow(p, QPointF(s * 0.3, s * 0.42), QPointF(s * 0.3, s * 0.9), s * 0.22);
}

// Row paste: the arrow brings a row into the bar below.
void DrawRowPaste(QPainter& p, double s) {
  DrawArrow(p, QPointF(s * 0.5, s * 0.05), QPointF(s * 0.5, s * 0.56), s * 0.25);
  DrawRowBar(p, QRectF(s * 0.06, s * 0.62, s * 0.88, s * 0.28), true);
}

// The level tree: a root with three branches.
void DrawTree(QPainter& p, double s) {
  p.setPen(QPen(kInk, std::max(1.0, s / 16)));
  const double x = s * 0.22;
  p.drawLine(QPointF(x, s * 0.2), QPointF(x, s * 0.82));
  for (double y : {0.42, 0.62, 0.82}) p.drawLine(QPointF(x, s * y), QPointF(s * 0.55, s * y));
  p.setBrush(kBlue);
  const double n = s * 0.2;
  p.drawRect(QRectF(x - n / 2, s * 0.06, n, n));
  p.setBrush(QColor::fromRgba(kRows));
  for (double y : {0.42, 0.62, 0.82}) p.drawRect(QRectF(s * 0.55, s * y - n / 2, n * 1.6, n));
}

// Split view: a window whose pane is split in two.
void DrawDivide(QPainter& p, double s) {
  const QRectF r(s * 0.06, s * 0.12, s * 0.88, s * 0.76);
  p.setPen(QPen(kInk, std::max(1.0, s / 16)));
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.setBrush(kBlue);
  p.drawRect(QRectF(r.left(), r.top(), r.width(), s * 0.14));
  p.setPen(QPen(kBlue, std::max(1.5, s / 10)));
  p.drawLine(QPointF(s * 0.5, r.top() + s * 0.14), QPointF(s * 0.5, r.bottom()));
}

// The drawn image of a key at a size; null for keys without one.
QPixmap DrawnImage(std::string_view key, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  for (const LetterImage& l : kLetters)
    if (l.key == key) {
      DrawLetterTile(p, size, l.letter, l.fill);
      return pm;
    }
  const double s = size;
  if (key == "GCOPY")
    DrawRowCopy(p, s);
  else if (key == "GPASTE")
    DrawRowPaste(p, s);
  else if (key == "TREE")
    DrawTree(p, s);
  else if (key == "DIVID")
    DrawDivide(p, s);
  else
    return QPixmap();
  return pm;
}

bool IsTango(std::string_view key, const char** name) {
  for (const TangoImage& t : kTango)
    if (t.key == key) {
      *name = t.name;
      return true;
    }
  return false;
}

bool IsDrawn(std::string_view key) {
  for (const LetterImage& l : kLetters)
    if (l.key == key) return true;
  return key == "GCOPY" || key == "GPASTE" || key == "TREE" || key == "DIVID";
}

// A button's image, made only when a toolbar first paints it, at the size it
// is painted: a Tango picture from the nearer of its 16 and 32 pixel files,
// a drawn one drawn at that size. The start-up thus reads or draws each
// shown image once, at one size.
class ToolbarIconEngine final : public QIconEngine {
 public:
  explicit ToolbarIconEngine(std::string key) : key_(std::move(key)), made_(std::make_shared<Made>()) {}

  QIconEngine* clone() const override { return new ToolbarIconEngine(*this); }
  QString key() const override { return QStringLiteral("KvToolbarIcon"); }

  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override { return {QSize(16, 16), QSize(32, 32)}; }
  QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
    const int s = std::min(size.width(), size.height());
    return QSize(s, s);
  }

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    const QSize size = actualSize(rect.size(), mode, state);
    const QRect at(rect.x() + (rect.width() - size.width()) / 2, rect.y() + (rect.height() - size.height()) / 2,
                   size.width(), size.height());
    painter->drawPixmap(at, pixmap(size, mode, state));
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    const int s = std::min(size.width(), size.height());
    if (s <= 0) return QPixmap();
    const quint64 id = (quint64(s) << 8) | quint64(mode);
    auto it = made_->find(id);
    if (it != made_->end()) return *it;
    QPixmap pm = Normal(s);
    if (mode != QIcon::Normal && !pm.isNull()) {
      QStyleOption opt;
      opt.palette = QApplication::palette();
      pm = QApplication::style()->generatedIconPixmap(mode, pm, &opt);
    }
    made_->insert(id, pm);
    return pm;
  }

 private:
  using Made = QHash<quint64, QPixmap>;

  QPixmap Normal(int s) const {
    const char* name = nullptr;
    if (!IsTango(key_, &name)) return DrawnImage(key_, s);
    const QPixmap file(QStringLiteral(":/toolbar/%1/%2.png").arg(QLatin1String(s <= 16 ? "16x16" : "32x32"),
                                                                  QLatin1String(name)));
    if (file.isNull() || file.width() == s) return file;
    return file.scaled(s, s, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }

  std::string key_;
  // The images made so far, shared by the copies Qt makes of the icon.
  std::shared_ptr<Made> made_;
};

}  // namespace

QIcon ToolbarIcon(std::string_view key) {
  const char* name = nullptr;
  if (!IsTango(key, &name) && !IsDrawn(key)) return QIcon();
  // One icon per key: the docked and the floating toolbars share its images.
  static QHash<QString, QIcon> made;
  const QString k = ToQ(key);
  auto it = made.find(k);
  if (it == made.end()) it = made.insert(k, QIcon(new ToolbarIconEngine(std::string(key))));
  return *it;
}

}  // namespace kv
