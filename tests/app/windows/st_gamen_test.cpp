// The title screen: its picture (the program folder's or its own), its size,
// place and band, and the progress bar the start-up drives through the seam.
#include "app/windows/st_gamen.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "app/startup_init.h"
#include "app/windows/title_panel.h"
#include "app/windows/title_panel_stored.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

class StGamenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    RegisterTitleScreen(qt, st, dir.path().string());
  }
  ST_Gamen* Title() { return dynamic_cast<ST_Gamen*>(qt.LoadedWindow("ST_Gamen")); }

  test::TempFolder dir;
  QtUi qt;
  ProgramState st{qt};
};

TEST_F(StGamenTest, WithoutPictureShowsItsOwnPanelCentredAndTopmost) {
  qt.ShowModeless("ST_Gamen");
  ST_Gamen* w = Title();
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->PictureLoaded());
  const int bar = w->ProgressBar1()->height();
  EXPECT_GT(bar, 0);
  EXPECT_EQ(w->size(), QSize(480, 240 + bar));
  EXPECT_EQ(w->Image1()->geometry(), QRect(0, 0, 480, 240));
  EXPECT_EQ(w->ProgressBar1()->geometry(), QRect(0, 240, 480, bar));
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::FramelessWindowHint));
  const QRect screen = QGuiApplication::primaryScreen()->geometry();
  EXPECT_LE(std::abs(w->geometry().center().x() - screen.center().x()), 1);
  EXPECT_LE(std::abs(w->geometry().center().y() - screen.center().y()), 1);
  EXPECT_EQ(w->ProgressBar1()->Minimum(), 1);
  EXPECT_EQ(w->ProgressBar1()->Maximum(), 640);
  EXPECT_EQ(w->ProgressBar1()->Value(), 1);
  qt.UnloadWindow("ST_Gamen");
  test::Settle();
  EXPECT_FALSE(qt.IsWindowLoaded("ST_Gamen"));
}

// The panel's name is the band the build drew: the shown panel is, pixel for
// pixel, the gradient with the name drawn now in the label's font, both in
// the format the screen is drawn in and in a plain opaque image; a panel of
// another size, or a name in another font, is drawn.
TEST_F(StGamenTest, OwnPanelShowsTheNameAsDrawnNow) {
  qt.ShowModeless("ST_Gamen");
  ST_Gamen* w = Title();
  ASSERT_NE(w, nullptr);
  QLabel* label = w->Image1();
  const QFont font = TitleNameFont(label->font());
  int top = -1;
  ASSERT_FALSE(StoredTitleBand(font, kTitlePanelSize, 1.0, &top).isNull());
  EXPECT_GT(top, 0);
  const QImage shown = label->grab().toImage();
  for (QImage::Format format : {shown.format(), QImage::Format_RGB32}) {
    QImage drawn(kTitlePanelSize, format);
    QPainter p(&drawn);
    const QRect r(QPoint(0, 0), kTitlePanelSize);
    DrawTitleGradient(p, r);
    DrawTitleName(p, r, font);
    p.end();
    EXPECT_EQ(shown.convertToFormat(format), drawn) << "format " << int(format);
  }
  QFont other = font;
  other.setItalic(true);
  EXPECT_TRUE(StoredTitleBand(other, kTitlePanelSize, 1.0, &top).isNull());
  EXPECT_TRUE(StoredTitleBand(font, QSize(300, 120), 1.0, &top).isNull());
  EXPECT_TRUE(StoredTitleBand(font, kTitlePanelSize, 2.0, &top).isNull());
  qt.UnloadWindow("ST_Gamen");
  test::Settle();
}

TEST_F(StGamenTest, PictureOfTheProgramFolderSetsTheSize) {
  QImage picture(300, 120, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  ASSERT_TRUE(picture.save(QString::fromUtf8((dir.path().string() + "/タイトル画面.BMP").c_str()), "BMP"));
  qt.ShowModeless("ST_Gamen");
  ST_Gamen* w = Title();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->PictureLoaded());
  EXPECT_EQ(w->size(), QSize(300, 120 + w->ProgressBar1()->height()));
  EXPECT_EQ(w->ProgressBar1()->width(), 300);
}

TEST_F(StGamenTest, StartUpStepsMoveTheBarAndMakeTheScreenWhenNeeded) {
  SplashProgress(st, 12);  // the title screen is made by its first use
  ST_Gamen* w = Title();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->ProgressBar1()->Value(), 120);
  SplashProgress(st, 64);
  EXPECT_EQ(w->ProgressBar1()->Value(), 640);
  // Lowered around a start-up message, raised again.
  st.StartingUp = true;
  qt.SetWindowTopMost("ST_Gamen", false);
  EXPECT_FALSE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  qt.SetWindowTopMost("ST_Gamen", true);
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

TEST_F(StGamenTest, BarIsDrawnAtMostOnceAFrameAndEndsAtItsLastStep) {
  qt.ShowModeless("ST_Gamen");
  test::Settle();
  ST_Gamen* w = Title();
  ASSERT_NE(w, nullptr);
  PaintCounter counter;
  w->ProgressBar1()->installEventFilter(&counter);
  QElapsedTimer clock;
  clock.start();
  for (int step = 1; step <= 64; ++step) SplashProgress(st, step);
  const qint64 elapsed = clock.elapsed();
  // One drawing a frame (16 ms) at most, not one a step.
  EXPECT_LE(counter.paints, elapsed / 16 + 1);
  // The last step is drawn once events run.
  const int paintsInSteps = counter.paints;
  test::Settle();
  EXPECT_GT(counter.paints, paintsInSteps);
  EXPECT_EQ(w->ProgressBar1()->Value(), 640);
  w->ProgressBar1()->removeEventFilter(&counter);
}

}  // namespace
}  // namespace kv
