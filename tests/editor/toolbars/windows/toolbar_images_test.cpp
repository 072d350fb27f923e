// The toolbar images the build makes once are the images the program would
// make itself: for every key, at each size the build makes, the icon shows
// exactly the pixels of the Tango file or the drawing; other sizes are still
// made when asked for.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <string>

#include "editor/toolbars/windows/toolbar_drawing.h"
#include "editor/toolbars/windows/toolbar_icons.h"
#include "editor/toolbars/windows/toolbar_images_stored.h"
#include "support/qt_test_app.h"

namespace kv {
namespace {

QImage Pixels(const QPixmap& pm) { return pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied); }

TEST(ToolbarImages, StoredImagesAreTheMadeOnes) {
  test::EnsureQtApp();
  ASSERT_FALSE(ToolbarImageKeys().empty());
  for (std::string_view key : ToolbarImageKeys())
    for (int size : kStoredToolbarImageSizes) {
      SCOPED_TRACE(std::string(key) + " at " + std::to_string(size));
      const QImage made = Pixels(MakeToolbarImage(key, size, QStringLiteral(":/toolbar")));
      ASSERT_EQ(made.size(), QSize(size, size));
      EXPECT_EQ(Pixels(StoredToolbarImage(key, size)), made);
      EXPECT_EQ(Pixels(ToolbarIcon(key).pixmap(size, size)), made);
    }
}

TEST(ToolbarImages, OtherSizesAreMadeWhenAsked) {
  test::EnsureQtApp();
  for (std::string_view key : {std::string_view("SAVE"), std::string_view("TAX"), std::string_view("TREE")}) {
    SCOPED_TRACE(std::string(key));
    EXPECT_TRUE(StoredToolbarImage(key, 32).isNull());
    const QImage made = Pixels(MakeToolbarImage(key, 32, QStringLiteral(":/toolbar")));
    ASSERT_EQ(made.size(), QSize(32, 32));
    EXPECT_EQ(Pixels(ToolbarIcon(key).pixmap(32, 32)), made);
  }
  EXPECT_TRUE(ToolbarIcon("NO-SUCH-KEY").isNull());
  EXPECT_TRUE(StoredToolbarImage("NO-SUCH-KEY", 16).isNull());
}

}  // namespace
}  // namespace kv
