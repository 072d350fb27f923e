// A build tool: makes the toolbar images of the sizes the toolbars show and
// writes them as a source file of the program (toolbar_images_stored.h).
//   toolbar_image_maker <folder of the Tango files> <output .cpp>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>
#include <string_view>

#include "editor/toolbars/windows/toolbar_drawing.h"
#include "editor/toolbars/windows/toolbar_images_stored.h"
#include "platform/qt/drawn_source.h"

int main(int argc, char** argv) {
  if (!kv::DrawingToolArguments(argc, argv, 2, "<tango folder> <output.cpp>")) return 2;
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
      images += "const std::uint32_t " + name + "[] = {" + kv::PixelArrayElements(image, 0, size - 1) + "};\n";
      table += "    {\"" + std::string(key) + "\", " + std::to_string(size) + ", " + name + "},\n";
      ++count;
    }

  const std::string text = "// Written by toolbar_image_maker at the build.\n"
                           "#include \"editor/toolbars/windows/toolbar_images_stored.h\"\n\n"
                           "namespace kv {\n\nnamespace {\n" +
                           images + "}  // namespace\n\n" +
                           "extern const StoredToolbarImageData kStoredToolbarImageData[] = {\n" + table + "};\n" +
                           "extern const int kStoredToolbarImageDataCount = " + std::to_string(count) +
                           ";\n\n}  // namespace kv\n";
  if (!kv::WriteDrawnSource(argv[2], text)) return 1;
  return 0;
}
