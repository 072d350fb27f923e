#include "app/windows/st_gamen.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "app/sibling_programs.h"
#include "app/startup_init.h"
#include "app/windows/title_panel.h"
#include "app/windows/title_panel_stored.h"
#include "platform/fs.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr int kBarHeight = 18;
// One frame of the screen, at 60 frames a second.
constexpr qint64 kFrameMs = 16;

// The picture the form keeps for itself: a plain panel with the program's
// name (title_panel.h), shown when the program folder holds no title
// picture. It is drawn straight onto the screen when the label paints, not
// kept as a picture of its own (which would cost the start half a megabyte
// to fill and copy); the name's band is the one the build drew.
class TitlePicture : public QLabel {
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* e) override {
    if (!pixmap().isNull()) {
      QLabel::paintEvent(e);
      return;
    }
    QPainter p(this);
    DrawTitleGradient(p, rect());
    const QFont font = TitleNameFont(p.font());
    int top = 0;
    const QImage band = StoredTitleBand(font, size(), devicePixelRatio(), &top);
    if (band.isNull())
      DrawTitleName(p, rect(), font);
    else
      p.drawImage(QPoint(0, top), band);
  }
};

}  // namespace

// --- ProgressBar1 ----------------------------------------------------------------

TitleProgressBar::TitleProgressBar(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::NoFocus); }

void TitleProgressBar::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  // The start-up runs outside the event loop: a step is drawn at once unless
  // the bar was drawn within the last frame.
  if (!isVisible()) return;
  if (sincePaint_.isValid() && sincePaint_.elapsed() < kFrameMs)
    update();
  else
    repaint();
}

int TitleProgressBar::Value() const {
  bool ok = false;
  const int v = text().trimmed().toInt(&ok);
  return std::clamp(ok ? v : minimum_, minimum_, maximum_);
}

void TitleProgressBar::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = std::max(minimum, maximum);
  update();
}

QSize TitleProgressBar::sizeHint() const { return {200, kBarHeight}; }

void TitleProgressBar::paintEvent(QPaintEvent*) {
  sincePaint_.start();
  // A plain bar of the palette's colours: the style's progress bar costs the
  // start a pool of drawing threads.
  QPainter p(this);
  const QRect frame = rect().adjusted(0, 0, -1, -1);
  p.fillRect(rect(), palette().color(QPalette::Base));
  const int span = std::max(1, maximum_ - minimum_);
  const int done = static_cast<int>(static_cast<long long>(Value() - minimum_) * (width() - 2) / span);
  if (done > 0) p.fillRect(QRect(1, 1, done, height() - 2), palette().color(QPalette::Highlight));
  p.setPen(palette().color(QPalette::Mid));
  p.drawRect(frame);
}

// --- ST_Gamen -----------------------------------------------------------------------

ST_Gamen::ST_Gamen(ProgramState& st, const std::string& programFolder, QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QString::fromUtf8(kTitleWindow.data(), static_cast<qsizetype>(kTitleWindow.size())));
  // No caption; in the topmost band.
  setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);

  // 1, 2. A sibling program running ends the start here.
  SiblingProgramCheck(st, ListTopWindows());

  // 3. The picture of the program folder, else the form's own.
  image1_ = new TitlePicture(this);
  image1_->setObjectName(QStringLiteral("Image1"));
  QPixmap picture;
  const std::string file = programFolder + "/タイトル画面.BMP";
  if (FileExistChk(st, file) && picture.load(ToQ(fs::ResolveNoCase(file).string()))) pictureLoaded_ = true;
  if (pictureLoaded_) image1_->setPixmap(picture);
  const QSize size = pictureLoaded_ ? picture.size() : kTitlePanelSize;

  // 4, 5. The picture's size plus the bar; centred.
  progressBar1_ = new TitleProgressBar(this);
  progressBar1_->setObjectName(
      QString::fromUtf8(kProgressControl.data(), static_cast<qsizetype>(kProgressControl.size())));
  const int barHeight = progressBar1_->sizeHint().height();
  setFixedSize(size.width(), size.height() + barHeight);
  CenterForm(*this);

  // 6. The bar along the bottom edge, 1 .. 640, at 1.
  progressBar1_->setGeometry(0, height() - barHeight, width(), barHeight);
  progressBar1_->SetRange(1, kProgressMax);
  progressBar1_->setText(QStringLiteral("1"));
  progressBar1_->show();

  // 7. The picture in the top left corner.
  image1_->setGeometry(0, 0, size.width(), size.height());
  image1_->setEnabled(true);
  image1_->show();
}

void RegisterTitleScreen(QtUi& ui, ProgramState& st, const std::string& programFolder) {
  ui.RegisterWindow(kTitleWindow, [&st, programFolder] { return new ST_Gamen(st, programFolder); });
}

}  // namespace kv
