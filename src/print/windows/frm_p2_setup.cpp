#include "print/windows/frm_p2_setup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include "editor/print_prep.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QGroupBox* Frame(const char* name, const char* caption, QWidget* parent) {
  auto* g = new QGroupBox(Q(caption), parent);
  g->setObjectName(name);
  return g;
}

QLabel* Label(int index, const char* caption, QWidget* parent) {
  auto* l = new QLabel(Q(caption), parent);
  l->setObjectName(ControlName("Label1", index));
  return l;
}

}  // namespace

frmP2SetUp::frmP2SetUp(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        close();
      }}) {
  setObjectName(ToQ(kPrintSetUpWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(Q("印刷設定"));

  // Printer and paper.
  QGroupBox* fraPrnPaper = Frame("fraPrnPaper", "", this);
  auto* paper = new QGridLayout(fraPrnPaper);
  cobPrinter_ = new QComboBox(fraPrnPaper);
  cobPrinter_->setObjectName("cobPrinter");
  cobPaperType_ = new QComboBox(fraPrnPaper);
  cobPaperType_->setObjectName("cobPaperType");
  cobPaperType_->setFont(KvFont("ＭＳ ゴシック", font().pointSizeF()));
  paper->addWidget(Label(0, "プリンタ", fraPrnPaper), 0, 0);
  paper->addWidget(cobPrinter_, 0, 1);
  paper->addWidget(Label(1, "用紙タイプ", fraPrnPaper), 1, 0);
  paper->addWidget(cobPaperType_, 1, 1);
  paper->setColumnStretch(1, 1);
  connect(cobPrinter_, &QComboBox::activated, this, [this](int i) {
    form_.cobPrinter_Click(i);
    Sync();
  });
  connect(cobPaperType_, &QComboBox::activated, this, [this](int i) {
    form_.cobPaperType_Click(i);
    Sync();
  });

  // Company name and project name with their positions.
  QGroupBox* fraPrnStyle = Frame("fraPrnStyle", "", this);
  auto* style = new QVBoxLayout(fraPrnStyle);
  auto nameFrame = [&](const char* frameName, const char* checkName, const char* labelName,
                       const char* optionName, QCheckBox*& check, QLabel*& label,
                       std::array<QRadioButton*, 3>& options, std::array<FormCheck, 3>& formOptions,
                       std::function<void()> clicked) {
    QGroupBox* f = Frame(frameName, "", fraPrnStyle);
    auto* row = new QGridLayout(f);
    check = new QCheckBox(f);
    check->setObjectName(checkName);
    label = new QLabel(f);
    label->setObjectName(labelName);
    row->addWidget(check, 0, 0, 1, 4);
    row->addWidget(label, 1, 0);
    for (int i = 0; i < 3; ++i) {
      auto* r = new QRadioButton(f);
      r->setObjectName(ControlName(optionName, i));
      r->setAutoExclusive(false);
      row->addWidget(r, 1, i + 1);
      connect(r, &QRadioButton::clicked, this, [this, &formOptions, i] {
        for (int k = 0; k < 3; ++k) formOptions[size_t(k)].value = k == i ? 1 : 0;
        Sync();
      });
      options[size_t(i)] = r;
    }
    connect(check, &QCheckBox::clicked, this, [this, clicked](bool) {
      clicked();
      Sync();
    });
    style->addWidget(f);
  };
  nameFrame("Frame1", "Check2", "Label2", "Option1", check2_, label2_, option1_, form_.Option1, [this] {
    form_.Check2.value = check2_->isChecked() ? 1 : 0;
    form_.Check2_Click();
  });
  nameFrame("Frame4", "Check1", "Label3", "Option3", check1_, label3_, option3_, form_.Option3, [this] {
    form_.Check1.value = check1_->isChecked() ? 1 : 0;
    form_.Check1_Click();
  });

  // Line widths, thin at the left.
  QGroupBox* frame2 = Frame("Frame2", "", fraPrnStyle);
  auto* widths = new QGridLayout(frame2);
  struct SliderRow {
    int slider;
    int label;
    const char* caption;
    int thin;
    int thick;
  };
  const SliderRow rows[] = {{2, 3, "項目欄下線幅", 5, 8},
                            {3, 4, "合計行上線幅", 10, 11},
                            {1, 9, "点線強調", 12, 13},
                            {4, 14, "外枠線幅", 15, 16}};
  int r = 0;
  for (const SliderRow& row : rows) {
    auto* s = new QSlider(Qt::Horizontal, frame2);
    s->setObjectName(QString("Slider%1").arg(row.slider));
    s->setRange(kLineWidthMin, kLineWidthMax);
    s->setPageStep(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setMinimumWidth(160);
    widths->addWidget(Label(row.label, row.caption, frame2), r, 0);
    widths->addWidget(Label(row.thin, "細い", frame2), r, 1);
    widths->addWidget(s, r, 2);
    widths->addWidget(Label(row.thick, "太い", frame2), r, 3);
    int* value = row.slider == 1 ? &form_.Slider1 : row.slider == 2 ? &form_.Slider2 : row.slider == 3 ? &form_.Slider3
                                                                                                     : &form_.Slider4;
    connect(s, &QSlider::valueChanged, this, [value](int v) { *value = v; });
    sliders_[size_t(row.slider)] = s;
    ++r;
  }
  style->addWidget(frame2);

  // The page-number format.
  QGroupBox* frame5 = Frame("Frame5", "", fraPrnStyle);
  auto* pageRow = new QHBoxLayout(frame5);
  text1_ = new QLineEdit(frame5);
  text1_->setObjectName("Text1");
  text1_->setMaxLength(kPageFormatMaxChars);
  pageRow->addWidget(Label(6, "ページ番号書式", frame5));
  pageRow->addWidget(text1_, 1);
  pageRow->addWidget(Label(7, " 例）  No.&P", frame5));
  connect(text1_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.Text1.text = FromQ(t); });
  BindTextBox(text1_, {{}, {}, [this](const KeyTextBox&, int k) { form_.Text1_KeyDown(k); }, {}, {}, {}});
  style->addWidget(frame5);

  // Buttons along the bottom.
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  const std::pair<const char*, const char*> captions[] = {
      {"cmdOK", "ＯＫ"}, {"cmdCancel", "ｷｬﾝｾﾙ"}, {"cmdSet", "詳細設定(&S)..."}, {"cmdHelp", "ﾍﾙﾌﾟ(&H)"}};
  for (const auto& [name, caption] : captions) {
    auto* b = new QPushButton(Q(caption), this);
    b->setObjectName(name);
    b->setMinimumWidth(110);
    b->setAutoDefault(false);
    buttons->addWidget(b);
    const std::string n = name;
    connect(b, &QPushButton::clicked, this, [this, n] {
      if (n == "cmdOK") form_.cmdOK_Click();
      if (n == "cmdCancel") form_.cmdCancel_Click();
      if (n == "cmdSet") form_.cmdSet_Click();
      if (n == "cmdHelp") form_.cmdHelp_Click();
      if (!closing_) Sync();
    });
    if (n == "cmdOK") b->setDefault(true);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(fraPrnPaper);
  layout->addWidget(fraPrnStyle);
  layout->addLayout(buttons);

  form_.Form_Load();
  Sync();
}

void frmP2SetUp::Sync() {
  ShowList(cobPrinter_, form_.cobPrinter);
  ShowList(cobPaperType_, form_.cobPaperType);
  ShowCheck(check2_, form_.Check2);
  ShowLabel(label2_, form_.Label2);
  ShowCheck(check1_, form_.Check1);
  ShowLabel(label3_, form_.Label3);
  for (size_t i = 0; i < 3; ++i) {
    ShowCheck(option1_[i], form_.Option1[i]);
    ShowCheck(option3_[i], form_.Option3[i]);
  }
  const int values[] = {0, form_.Slider1, form_.Slider2, form_.Slider3, form_.Slider4};
  for (size_t i = 1; i <= 4; ++i) {
    QSignalBlocker block(sliders_[i]);
    sliders_[i]->setValue(values[i]);
  }
  ShowText(text1_, form_.Text1);
}

void frmP2SetUp::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
  form_.Form_Activate();
  Sync();
}

void frmP2SetUp::closeEvent(QCloseEvent* e) {
  if (!form_.Unloaded()) form_.Form_QueryUnload(kUnloadByCloseBox);
  closing_ = true;
  QDialog::closeEvent(e);
}

void frmP2SetUp::reject() {
  if (closing_ || form_.Unloaded()) {
    QDialog::reject();
    return;
  }
  form_.cmdCancel_Click();
}

}  // namespace kv
