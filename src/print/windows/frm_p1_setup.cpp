#include "print/windows/frm_p1_setup.h"

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
#include <QStackedLayout>
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

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QPushButton(Q(caption), parent);
  b->setObjectName(name);
  b->setAutoDefault(false);
  // The button takes the focus, so a box being left corrects itself first.
  b->setFocusPolicy(Qt::StrongFocus);
  b->setMinimumWidth(120);
  return b;
}

// The Enter key of a check box, handed to a handler.
class EnterWatcher : public QObject {
 public:
  EnterWatcher(QWidget* w, std::function<void(int)> keyDown) : QObject(w), keyDown_(std::move(keyDown)) {
    w->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      keyDown_(key == Qt::Key_Return || key == Qt::Key_Enter ? kKeyEnter : key);
    }
    return false;
  }

 private:
  std::function<void(int)> keyDown_;
};

}  // namespace

frmP1SetUp::frmP1SetUp(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        close();
      }}) {
  setObjectName(ToQ(kPrintWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQ(kPrintWindowCaption));
  const QFont gothic = KvFont("ＭＳ ゴシック", font().pointSizeF());

  // Printer, paper type, copies, company name.
  auto* top = new QGridLayout;
  auto addRow = [&](int row, const char* labelName, const char* caption, QWidget* field) {
    auto* label = new QLabel(Q(caption), this);
    label->setObjectName(labelName);
    top->addWidget(label, row, 0);
    top->addWidget(field, row, 1);
  };
  cobPrinterName_ = new QComboBox(this);
  cobPrinterName_->setObjectName("cobPrinterName");
  cobPType_ = new QComboBox(this);
  cobPType_->setObjectName("cobPType");
  cobPType_->setFont(gothic);
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  txtKaisyaName_ = new QLineEdit(this);
  txtKaisyaName_->setObjectName("txtKaisyaName");
  txtKaisyaName_->setMaxLength(kCompanyNameMaxChars);
  txtKaisyaName_->setFont(gothic);
  txtKaisyaName_->setMinimumWidth(QFontMetrics(gothic).horizontalAdvance(QString(30, QChar(0x3042))));
  addRow(0, "Label2", "プリンタ", cobPrinterName_);
  addRow(1, "Label5", "用紙タイプ", cobPType_);
  addRow(2, "Label6", "印刷部数", combo1_);
  addRow(3, "Label1", "会社名", txtKaisyaName_);
  top->setColumnStretch(1, 1);

  // The print modes.
  QGroupBox* fraPrintKind = Frame("fraPrintKind", "印刷タイプ", this);
  auto* kindLayout = new QVBoxLayout(fraPrintKind);
  for (int i = 0; i < 3; ++i) {
    auto* r = new QRadioButton(fraPrintKind);
    r->setObjectName(ControlName("Option3", i));
    r->setAutoExclusive(false);
    kindLayout->addWidget(r);
    connect(r, &QRadioButton::clicked, this, [this, i] {
      form_.Option3_Click(i);
      Sync();
    });
    option3_[size_t(i)] = r;
  }
  kindLayout->addStretch();

  // Level print and row range.
  fraPrintStyle_ = Frame("fraPrintStyle", "印刷範囲", this);
  auto* styleLayout = new QVBoxLayout(fraPrintStyle_);
  for (int i = 0; i < 2; ++i) {
    auto* r = new QRadioButton(fraPrintStyle_);
    r->setObjectName(ControlName("Option1", i));
    r->setAutoExclusive(false);
    styleLayout->addWidget(r);
    connect(r, &QRadioButton::clicked, this, [this, i] {
      form_.Option1_Click(i);
      Sync();
    });
    option1_[size_t(i)] = r;
  }
  fraLayer_ = Frame("fraLayer", "階層", fraPrintStyle_);
  auto* layerLayout = new QGridLayout(fraLayer_);
  for (int k = 0; k < 8; ++k) {
    auto* r = new QRadioButton(fraLayer_);
    r->setObjectName(ControlName("Option2", k));
    r->setAutoExclusive(false);
    layerLayout->addWidget(r, k % 4, k / 4);
    connect(r, &QRadioButton::clicked, this, [this, k] {
      form_.Option2_Click(k);
      Sync();
    });
    option2_[size_t(k)] = r;
  }
  styleLayout->addWidget(fraLayer_);
  fraHani_ = new QWidget(fraPrintStyle_);
  fraHani_->setObjectName("FraHani");
  auto* haniLayout = new QHBoxLayout(fraHani_);
  haniLayout->setContentsMargins(0, 0, 0, 0);
  const char* haniCaptions[] = {"行目から", "行目まで"};
  for (int i = 0; i < 2; ++i) {
    textHani_[size_t(i)] = PageBox("TextHani", fraHani_);
    textHani_[size_t(i)]->setObjectName(ControlName("TextHani", i));
    auto* label = new QLabel(Q(haniCaptions[i]), fraHani_);
    label->setObjectName(ControlName("lblHani", i));
    haniLayout->addWidget(textHani_[size_t(i)]);
    haniLayout->addWidget(label);
  }
  haniLayout->addStretch();
  styleLayout->addWidget(fraHani_);

  // Page range, in the same place.
  fraPageSet_ = Frame("fraPageSet", "印刷範囲", this);
  auto* pageSetLayout = new QGridLayout(fraPageSet_);
  txtStartPage_ = PageBox("txtStartPage", fraPageSet_);
  txtEndPage_ = PageBox("txtEndPage", fraPageSet_);
  const char* pageCaptions[] = {"開始ページ", "終了ページ"};
  QLineEdit* pageBoxes[] = {txtStartPage_, txtEndPage_};
  for (int i = 0; i < 2; ++i) {
    auto* label = new QLabel(Q(pageCaptions[i]), fraPageSet_);
    label->setObjectName(ControlName("Label4", i));
    pageSetLayout->addWidget(label, i, 0);
    pageSetLayout->addWidget(pageBoxes[i], i, 1);
  }
  pageSetLayout->setRowStretch(2, 1);
  pageSetLayout->setColumnStretch(2, 1);
  auto* rangeHolder = new QWidget(this);
  auto* range = new QStackedLayout(rangeHolder);
  range->setStackingMode(QStackedLayout::StackAll);
  range->addWidget(fraPrintStyle_);
  range->addWidget(fraPageSet_);

  // Page numbers and the options.
  QGroupBox* frame1 = Frame("Frame1", "印刷様式", this);
  auto* styleOptions = new QGridLayout(frame1);
  chkPageFlag_ = new QCheckBox(frame1);
  chkPageFlag_->setObjectName("chkPageFlag");
  label3_ = new QLabel(frame1);
  label3_->setObjectName("Label3");
  txtPage_ = PageBox("txtPage", frame1);
  check1_ = new QCheckBox(frame1);
  check1_->setObjectName("Check1");
  check2_ = new QCheckBox(frame1);
  check2_->setObjectName("Check2");
  check3_ = new QCheckBox(frame1);
  check3_->setObjectName("Check3");
  styleOptions->addWidget(chkPageFlag_, 0, 0, 1, 2);
  styleOptions->addWidget(label3_, 1, 0);
  styleOptions->addWidget(txtPage_, 1, 1, Qt::AlignLeft);
  styleOptions->addWidget(check1_, 2, 0, 1, 2);
  styleOptions->addWidget(check2_, 3, 0, 1, 2);
  styleOptions->addWidget(check3_, 4, 0, 1, 2);
  for (auto [box, check] : {std::pair{chkPageFlag_, &form_.chkPageFlag}, std::pair{check1_, &form_.Check1},
                            std::pair{check2_, &form_.Check2}, std::pair{check3_, &form_.Check3}})
    connect(box, &QCheckBox::toggled, this, [check](bool on) { check->value = on ? 1 : 0; });
  new EnterWatcher(chkPageFlag_, [this](int key) {
    form_.chkPageFlag_KeyDown(key);
    Sync();
  });

  // Buttons.
  auto* buttons = new QVBoxLayout;
  QPushButton* propaty = Button("cmndPropaty", "印刷設定(&S)...", this);
  QPushButton* print = Button("cmndPrint", "印刷(&P)", this);
  QPushButton* end = Button("cmndEnd", "ｷｬﾝｾﾙ(&X)", this);
  QPushButton* help = Button("cmndHelp", "ﾍﾙﾌﾟ(&H)", this);
  print->setDefault(true);
  for (QPushButton* b : {propaty, print, end, help}) buttons->addWidget(b);
  buttons->addStretch();
  connect(propaty, &QPushButton::clicked, this, [this] {
    form_.cmndPropaty_Click();
    if (!closing_) Sync();
  });
  connect(print, &QPushButton::clicked, this, [this] {
    form_.cmndPrint_Click();
    if (!closing_) Sync();
  });
  connect(end, &QPushButton::clicked, this, [this] { form_.cmndEnd_Click(); });
  connect(help, &QPushButton::clicked, this, [this] { form_.cmndHelp_Click(); });

  // Lists.
  connect(cobPrinterName_, &QComboBox::activated, this, [this](int i) {
    form_.cobPrinterName_Click(i);
    Sync();
  });
  connect(cobPType_, &QComboBox::activated, this, [this](int i) {
    form_.cobPType_Click(i);
    Sync();
  });
  connect(combo1_, &QComboBox::activated, this, [this](int i) {
    form_.Combo1_Click(i);
    Sync();
  });
  connect(txtKaisyaName_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.txtKaisyaName.text = FromQ(text); });
  BindBoxes();

  auto* middle = new QHBoxLayout;
  middle->addWidget(fraPrintKind);
  middle->addWidget(rangeHolder, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(top);
  left->addLayout(middle);
  left->addWidget(frame1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left, 1);
  layout->addLayout(buttons);

  form_.Form_Load();
  Sync();
}

QLineEdit* frmP1SetUp::PageBox(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setMaxLength(kPageBoxMaxChars);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QString(7, '0')));
  return edit;
}

void frmP1SetUp::BindBoxes() {
  auto refresh = [this] {
    if (!closing_) Sync();
  };
  for (int i = 0; i < 2; ++i) {
    BindTextBox(textHani_[size_t(i)],
                {[this, i](KeyTextBox& b) { form_.TextHani_GotFocus(i, b); }, [this, i] { form_.TextHani_LostFocus(i); },
                 [this, i](const KeyTextBox& b, int k) { form_.TextHani_KeyDown(i, b, k); },
                 [this, i](KeyTextBox& b, int& k) { form_.TextHani_KeyPress(i, b, k); },
                 [this, i](const std::string& t) { form_.TextHani[size_t(i)].text = t; }, refresh});
  }
  BindTextBox(txtStartPage_, {[this](KeyTextBox& b) { form_.txtStartPage_GotFocus(b); },
                              [this] { form_.txtStartPage_LostFocus(); },
                              [this](const KeyTextBox& b, int k) { form_.txtStartPage_KeyDown(b, k); },
                              [this](KeyTextBox& b, int& k) { form_.txtStartPage_KeyPress(b, k); },
                              [this](const std::string& t) { form_.txtStartPage.text = t; }, refresh});
  BindTextBox(txtEndPage_, {[this](KeyTextBox& b) { form_.txtEndPage_GotFocus(b); },
                            [this] { form_.txtEndPage_LostFocus(); },
                            [this](const KeyTextBox& b, int k) { form_.txtEndPage_KeyDown(b, k); },
                            [this](KeyTextBox& b, int& k) { form_.txtEndPage_KeyPress(b, k); },
                            [this](const std::string& t) { form_.txtEndPage.text = t; }, refresh});
  BindTextBox(txtPage_, {[this](KeyTextBox& b) {
                           form_.txtPage_GotFocus(b);
                           form_.txtPage_Click();
                         },
                         {},
                         [this](const KeyTextBox& b, int k) { form_.txtPage_KeyDown(b, k); },
                         [this](KeyTextBox& b, int& k) { form_.txtPage_KeyPress(b, k); },
                         [this](const std::string& t) { form_.txtPage.text = t; }, refresh});
}

void frmP1SetUp::Sync() {
  ShowList(cobPrinterName_, form_.cobPrinterName);
  ShowList(cobPType_, form_.cobPType);
  ShowList(combo1_, form_.Combo1);
  ShowText(txtKaisyaName_, form_.txtKaisyaName);
  for (size_t i = 0; i < 3; ++i) ShowCheck(option3_[i], form_.Option3[i]);
  ShowControl(fraPrintStyle_, form_.fraPrintStyle);
  for (size_t i = 0; i < 2; ++i) ShowCheck(option1_[i], form_.Option1[i]);
  ShowControl(fraLayer_, form_.fraLayer);
  for (size_t k = 0; k < 8; ++k) ShowCheck(option2_[k], form_.Option2[k]);
  ShowControl(fraHani_, form_.FraHani);
  for (size_t i = 0; i < 2; ++i) ShowText(textHani_[i], form_.TextHani[i]);
  ShowControl(fraPageSet_, form_.fraPageSet);
  ShowText(txtStartPage_, form_.txtStartPage);
  ShowText(txtEndPage_, form_.txtEndPage);
  ShowCheck(chkPageFlag_, form_.chkPageFlag);
  ShowLabel(label3_, form_.Label3);
  ShowText(txtPage_, form_.txtPage);
  ShowCheck(check1_, form_.Check1);
  ShowCheck(check2_, form_.Check2);
  ShowCheck(check3_, form_.Check3);
  FocusRequested(this, form_.Focus);
}

void frmP1SetUp::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterFormIfNormal(*this);
  form_.Form_Activate();
  Sync();
}

void frmP1SetUp::closeEvent(QCloseEvent* e) {
  if (!form_.Unloaded()) form_.Form_QueryUnload(kUnloadByCloseBox);
  closing_ = true;
  QDialog::closeEvent(e);
}

void frmP1SetUp::reject() {
  if (closing_ || form_.Unloaded()) {
    QDialog::reject();
    return;
  }
  form_.cmndEnd_Click();
}

}  // namespace kv
