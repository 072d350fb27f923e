#pragma once
// How the toolbar images are made: Tango pictures read from files, the rest
// drawn. Used by the program for sizes it holds no made image of, and by the
// build, which makes the images of the sizes the toolbars show once
// (toolbar_images_stored.h).
#include <QPixmap>
#include <QString>
#include <string_view>
#include <vector>

namespace kv {

// The keys that have an image, in a fixed order.
std::vector<std::string_view> ToolbarImageKeys();

// Whether a key has an image.
bool HasToolbarImage(std::string_view key);

// A key's image at a size (in pixels, square): a Tango picture from the
// nearer of the files <folder>/16x16/<name>.png and <folder>/32x32/<name>.png,
// scaled when its size differs, or drawn at that size. Null for keys without
// an image.
QPixmap MakeToolbarImage(std::string_view key, int size, const QString& folder);

}  // namespace kv
