// The editor window's Insert menu with the real dialogs and pictures: the
// create-from-file item's open dialog, a picture placed at the cursor cell at
// its own size, and the Qt seam's picture decoding and clipboard picture.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QTimer>
#include <filesystem>

#include "core/window_services.h"
#include "editor/object_menu.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/grid/grid_item_file.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "support/editor_window_fixture.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

std::string Png(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::darkCyan);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return std::string(bytes.constData(), size_t(bytes.size()));
}

class EdtSheetObjects : public test::EditorWindowTest {
 protected:
  void SetUp() override {
    EditorWindowTest::SetUp();
    st.SystemKind = 2;
    st.AppPath = app.path().string();
    st.WorkFileBase = st.AppPath + "/EST";
    st.KVData = st.AppPath;
    st.DataLen = 256;
    st.Imax = 50;
    st.FontName = "ＭＳ 明朝";
    st.MASK_NAME = {"全項目", "金額", "数量", "単価", "備考", "予備"};
    st.KVZoom = 100;
    st.EditWinWidth = 15000;
    st.EditWinHeight = 8000;
    st.OleFileMax = 100;
    st.OleFilePicMax = 20;
    st.CurrentLevel = 1;
    st.LevelCaption[1] = std::string(size_t(st.DataLen), ' ');
    const int starts[] = {20, 44}, widths[] = {24, 12};
    for (int c = 1; c <= 2; ++c) {
      st.ColType[1][c] = c == 1 ? "C" : "0";
      st.ColStart[1][c] = starts[c - 1];
      st.ColWidth[1][c] = widths[c - 1];
    }
    st.ColCount[1] = 2;
    st.FormatMasks[1] = MakeColumnMasks(st, 1);
    for (std::string& r : st.SheetRows) r.assign(size_t(st.DataLen), ' ');
    st.SheetTotalRecord.assign(size_t(st.DataLen), ' ');
  }

  EDTSHEET_FRM& Load() {
    EDTSHEET_FRM& w = ShowEditor();
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, 1);
    st.SheetLoading = false;
    test::Settle();
    return w;
  }

  test::TempFolder app;
};

TEST_F(EdtSheetObjects, FileItemPlacesThePictureChosenAtTheCursorCell) {
  EDTSHEET_FRM& w = Load();
  GridModel& grid = w.EdtSheet();
  ASSERT_GT(grid.ColCount(), 0);
  grid.SetCursor(2, 3);
  ASSERT_EQ(st.CurrentRow, 3);
  const std::string picture = Png(20, 10);
  const std::string path = app.Write("現場写真.png", picture).string();

  for (int item : kObjectMenuItems) EXPECT_TRUE(w.MenuAction("ObjectMenuSub", item)->isEnabled()) << item;
  QString title, folder;
  bool existing = false;
  QTimer::singleShot(0, [&] {
    auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(d, nullptr);
    title = d->windowTitle();
    folder = d->directory().absolutePath();
    existing = d->fileMode() == QFileDialog::ExistingFile;
    d->selectFile(ToQ(path));
    static_cast<QDialog*>(d)->accept();  // the file dialog's own accept
  });
  w.MenuAction("ObjectMenuSub", kObjectFromFileItem)->trigger();
  test::Settle();

  EXPECT_EQ(title, Q("挿入オブジェクトを開く"));
  EXPECT_EQ(folder, QDir(ToQ(st.KVData)).absolutePath());
  EXPECT_TRUE(existing);
  ASSERT_EQ(grid.ItemCount(), 1);
  EXPECT_EQ(grid.Item(1).data, picture);
  EXPECT_EQ(grid.Item(1).kind, kItemKindPicture);
  EXPECT_EQ(grid.ItemCol(1), 2);
  EXPECT_EQ(grid.ItemRow(1), 3);
  EXPECT_EQ(grid.ItemWidthTwips(1), 20 * 15);
  EXPECT_EQ(grid.ItemHeightTwips(1), 10 * 15);
  EXPECT_EQ(st.SheetObjectCount, 1);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(st.OleObjectsChanged);
}

TEST_F(EdtSheetObjects, SeamDecodesPicturesAndHandsOverTheClipboardPicture) {
  const std::string png = Png(33, 7);
  const std::optional<ImageSize> size = ui.ImagePixelSize(png);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 33);
  EXPECT_EQ(size->height, 7);
  EXPECT_FALSE(ui.ImagePixelSize(png.substr(0, png.size() / 2))) << "cut short: cannot be drawn";
  EXPECT_FALSE(ui.ImagePixelSize("BM not really a bitmap"));
  EXPECT_FALSE(ui.ImagePixelSize(""));

  QImage image(12, 5, QImage::Format_RGB32);
  image.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(image);
  const std::string copied = ui.ClipboardImage();
  ASSERT_TRUE(LooksLikePicture(copied));
  const std::optional<ImageSize> copiedSize = ui.ImagePixelSize(copied);
  ASSERT_TRUE(copiedSize);
  EXPECT_EQ(copiedSize->width, 12);
  EXPECT_EQ(copiedSize->height, 5);
  QGuiApplication::clipboard()->setText(QStringLiteral("text only"));
  EXPECT_EQ(ui.ClipboardImage(), "");
}

}  // namespace
}  // namespace kv
