#pragma once
// ST_Gamen: the title screen of a start. A picture with a progress bar along
// its bottom, topmost and centred, shown by the start-up and unloaded just
// before the main window shows. Its load refuses the start while a sibling
// program runs.
#include <QElapsedTimer>
#include <QString>
#include <QWidget>
#include <string>

class QLabel;

namespace kv {

class QtUi;
struct ProgramState;

// ProgressBar1: the start-up's progress, 1 .. 640. The start-up sets it as the
// control's text (the value in decimal digits) through the UI seam. The
// start-up does not let the event loop run between its steps, so the bar is
// drawn at once, but at most once a frame: a step that comes sooner is drawn
// with the next frame's step or when events next run.
// The bar is a plain widget with a `text` property (the value), not a text
// box: setting a text box's text lays the text out, 64 times a start.
class TitleProgressBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QString text READ text WRITE setText)

 public:
  explicit TitleProgressBar(QWidget* parent = nullptr);

  QString text() const { return text_; }
  // Sets the value as text and draws the bar.
  void setText(const QString& text);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // The value, held within the range.
  int Value() const;
  void SetRange(int minimum, int maximum);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  QString text_;
  int minimum_ = 1;
  int maximum_ = 640;
  QElapsedTimer sincePaint_;  // since the bar was last drawn
};

class ST_Gamen : public QWidget {
 public:
  // `programFolder`: where "タイトル画面.BMP" is looked for.
  ST_Gamen(ProgramState& st, const std::string& programFolder, QWidget* parent = nullptr);

  QLabel* Image1() const { return image1_; }
  TitleProgressBar* ProgressBar1() const { return progressBar1_; }
  // True when the picture came from the program folder.
  bool PictureLoaded() const { return pictureLoaded_; }

 private:
  QLabel* image1_ = nullptr;
  TitleProgressBar* progressBar1_ = nullptr;
  bool pictureLoaded_ = false;
};

// Registers the title screen with the Qt seam under "ST_Gamen".
void RegisterTitleScreen(QtUi& ui, ProgramState& st, const std::string& programFolder);

}  // namespace kv
