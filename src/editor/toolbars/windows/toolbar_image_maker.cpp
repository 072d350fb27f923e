// A build tool: makes the toolbar images of the sizes the toolbars show and
// writes them as a source file of the program (toolbar_images_stored.h).
//   toolbar_image_maker <folder of the Tango files> <output .cpp>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "editor/toolbars/windows/toolbar_drawing.h"
#include "editor/toolbars/windows/toolbar_images_stored.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <tango folder> <output.cpp>\n", argv[0]);
    return 2;
  }
  // Drawing the letters needs the fonts, not a screen.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString folder = QString::fromLocal8Bit(argv[1]);

  std::string images;
  std::string table;
  int count = 0;
  for (std::string_view key : kv::ToolbarImageKeys())
    for (int size : kv::kStoredToolbarImageSizes) {
      const QImage image =
          kv::MakeToolbarImage(key, size, folder).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
      if (image.isNull() || image.width() != size || image.height() != size) {
        std::fprintf(stderr, "toolbar image %.*s at %d could not be made\n", int(key.size()), key.data(), size);
        return 1;
      }
      const std::string name = "kImage" + std::to_string(count);
      images += "const std::uint32_t " + name + "[] = {";
      for (int y = 0; y < size; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < size; ++x) {
          char px[16];
          std::snprintf(px, sizeof px, "%s0x%08x", (x == 0 && y == 0) ? "" : ",", row[x]);
          images += px;
        }
        images += "\n";
      }
      images += "};\n";
      table += "    {\"" + std::string(key) + "\", " + std::to_string(size) + ", " + name + "},\n";
      ++count;
    }

  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << "// Written by toolbar_image_maker at the build.\n"
      << "#include \"editor/toolbars/windows/toolbar_images_stored.h\"\n\n"
      << "namespace kv {\n\nnamespace {\n"
      << images << "}  // namespace\n\n"
      << "extern const StoredToolbarImageData kStoredToolbarImageData[] = {\n"
      << table << "};\n"
      << "extern const int kStoredToolbarImageDataCount = " << count << ";\n\n"
      << "}  // namespace kv\n";
  out.close();
  if (!out) {
    std::fprintf(stderr, "%s could not be written\n", argv[2]);
    return 1;
  }
  return 0;
}
