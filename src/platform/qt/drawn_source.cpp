#include "platform/qt/drawn_source.h"

#include <cstdint>
#include <cstdio>
#include <QByteArray>
#include <fstream>

namespace kv {

bool DrawingToolArguments(int argc, char** argv, int count, const char* usage) {
  if (argc != count + 1) {
    std::fprintf(stderr, "usage: %s %s\n", argc > 0 ? argv[0] : "tool", usage);
    return false;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  return true;
}

std::string PixelArrayElements(const QImage& image, int top, int bottom) {
  std::string text;
  for (int y = top; y <= bottom; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      char px[16];
      std::snprintf(px, sizeof px, "%s0x%08x", (x == 0 && y == top) ? "" : ",", row[x]);
      text += px;
    }
    text += "\n";
  }
  return text;
}

bool WriteDrawnSource(const char* path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s could not be written\n", path);
    return false;
  }
  return true;
}

}  // namespace kv
