#include "editor/toolbars/windows/toolbar_drawing.h"

#include <QColor>
#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <cmath>
#include <string>

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

}  // namespace

std::vector<std::string_view> ToolbarImageKeys() {
  std::vector<std::string_view> keys;
  for (const TangoImage& t : kTango) keys.push_back(t.key);
  for (const LetterImage& l : kLetters) keys.push_back(l.key);
  for (std::string_view k : {"GCOPY", "GPASTE", "TREE", "DIVID"}) keys.push_back(k);
  return keys;
}

bool HasToolbarImage(std::string_view key) {
  const char* name = nullptr;
  return IsTango(key, &name) || IsDrawn(key);
}

QPixmap MakeToolbarImage(std::string_view key, int size, const QString& folder) {
  if (size <= 0) return QPixmap();
  const char* name = nullptr;
  if (!IsTango(key, &name)) return DrawnImage(key, size);
  // Read by Qt's own PNG reader: left to guess the format, the reader would
  // first load each image format plugin installed to ask it.
  QImageReader reader(QStringLiteral("%1/%2/%3.png")
                          .arg(folder, QLatin1String(size <= 16 ? "16x16" : "32x32"), QLatin1String(name)),
                      "png");
  reader.setAutoDetectImageFormat(false);
  const QPixmap file = QPixmap::fromImage(reader.read());
  if (file.isNull() || file.width() == size) return file;
  return file.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

}  // namespace kv
