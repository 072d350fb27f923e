// A build tool: draws the title panel's name band (title_panel_stored.h) and writes
// it as a source file of the program.
//   title_panel_maker <output .cpp>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <string>

#include "app/windows/title_panel.h"
#include "app/windows/title_panel_stored.h"
#include "platform/qt/drawn_source.h"

namespace {

QImage Panel(const QFont* name) {
  QImage image(kv::kTitlePanelSize, QImage::Format_ARGB32_Premultiplied);
  QPainter p(&image);
  const QRect r(QPoint(0, 0), kv::kTitlePanelSize);
  kv::DrawTitleGradient(p, r);
  if (name) kv::DrawTitleName(p, r, *name);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (!kv::DrawingToolArguments(argc, argv, 1, "<output.cpp>")) return 2;
  QApplication app(argc, argv);
  // The font the panel (a label) is given.
  const QLabel label;
  const QFont font = kv::TitleNameFont(label.font());
  const QImage named = Panel(&font);
  const QImage plain = Panel(nullptr);
  int top = named.height();
  int bottom = -1;
  for (int y = 0; y < named.height(); ++y)
    if (std::memcmp(named.constScanLine(y), plain.constScanLine(y), size_t(named.bytesPerLine())) != 0) {
      top = std::min(top, y);
      bottom = y;
    }
  if (bottom < top) {
    std::fprintf(stderr, "the title's name drew nothing\n");
    return 1;
  }

  std::string fontText;
  for (char c : font.toString().toStdString()) {
    if (c == '"' || c == '\\') fontText += '\\';
    fontText += c;
  }
  const std::string text =
      "// Written by title_panel_maker at the build.\n"
      "#include \"app/windows/title_panel_stored.h\"\n\n"
      "namespace kv {\n\nnamespace {\nconst std::uint32_t kPixels[] = {" +
      kv::PixelArrayElements(named, top, bottom) + "};\n}  // namespace\n\n" +
      "extern const TitleBandData kTitleBand = {\"" + fontText + "\", " + std::to_string(top) + ", " +
      std::to_string(bottom - top + 1) + ", kPixels};\n\n}  // namespace kv\n";
  if (!kv::WriteDrawnSource(argv[1], text)) return 1;
  return 0;
}
