#include "reference/windows/ref_link_n_frm.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "reference/ref_window.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

QPushButton* Button(QWidget* parent, const std::string& caption, const char* name, int index) {
  auto* b = new QPushButton(ToQ(caption), parent);
  b->setObjectName(ControlName(name, index));
  b->setAutoDefault(false);
  return b;
}

// A dialog shown centred and topmost, as every dialog of the program.
void FirstShow(QDialog& d) {
  d.adjustSize();
  CenterFormIfNormal(d);
  SetTopMost(d, true);
}

}  // namespace

// ---------------------------------------------------------------- RefLinkN

RefLinkN::RefLinkN(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        accept();
      }}) {
  setObjectName(ToQ(kRefLinkWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(kDialogFlags);
  setWindowTitle(QString::fromUtf8("変換ルール設定"));

  auto* layout = new QVBoxLayout(this);
  frame1_ = new QGroupBox(this);
  frame1_->setObjectName("Frame1");
  auto* frameLayout = new QVBoxLayout(frame1_);
  instruction_ = new QLabel(frame1_);
  instruction_->setObjectName(ControlName("Label1", 5));
  instruction_->setWordWrap(true);
  frameLayout->addWidget(instruction_);
  auto* ruleButtons = new QHBoxLayout;
  ruleButtons->addStretch();
  for (int i = 0; i < 2; ++i) {
    command2_[size_t(i)] = Button(frame1_, form_.Command2[size_t(i)].caption, "Command2", i);
    ruleButtons->addWidget(command2_[size_t(i)]);
    connect(command2_[size_t(i)], &QPushButton::clicked, this, [this, i] {
      form_.Command2_Click(i);
      Sync();
    });
  }
  frameLayout->addLayout(ruleButtons);
  layout->addWidget(frame1_);

  const QFont listFont = KvFont("ＭＳ ゴシック", 10);
  auto* grid = new QGridLayout;
  const int columnOf[3] = {0, 1, 3};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(ToQ(form_.Label1[size_t(i)].caption), this);
    label->setObjectName(ControlName("Label1", i));
    auto* list = new QListWidget(this);
    list->setObjectName(ControlName("List1", i));
    list->setFont(listFont);
    list->setMinimumWidth(QFontMetrics(listFont).horizontalAdvance(QString(28, QChar('0'))));
    list->setMinimumHeight(260);
    lists_[size_t(i)] = list;
    grid->addWidget(label, 0, columnOf[i]);
    grid->addWidget(list, 1, columnOf[i]);
    connect(list, &QListWidget::currentRowChanged, this, [this, i](int row) {
      if (syncing_) return;
      form_.List1[size_t(i)].index = row;
      form_.List1_Click(i);
      Sync();
    });
  }
  auto* mapButtons = new QVBoxLayout;
  mapButtons->addStretch();
  for (int i = 0; i < 5; ++i) {
    auto* b = Button(this, form_.Command3[size_t(i)].caption, "Command3", i);
    mapButtons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] {
      form_.Command3_Click(i);
      Sync();
    });
  }
  mapButtons->addStretch();
  grid->addLayout(mapButtons, 1, 2);
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (int i = 0; i < 3; ++i) {
    auto* b = Button(this, form_.Command1[size_t(i)].caption, "Command1", i);
    b->setMinimumWidth(100);
    if (i == 0) b->setDefault(true);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] {
      form_.Command1_Click(i);
      if (!closing_) Sync();
    });
  }
  layout->addLayout(buttons);

  form_.Form_Load();
  if (!closing_) Sync();
}

void RefLinkN::Sync() {
  syncing_ = true;
  frame1_->setTitle(ToQ(form_.Frame1.caption));
  instruction_->setText(ToQ(form_.Label1[5].caption));
  for (size_t i = 0; i < 2; ++i) ShowControl(command2_[i], form_.Command2[i]);
  for (size_t i = 0; i < 3; ++i) {
    QListWidget* list = lists_[i];
    const FormList& l = form_.List1[i];
    if (list->count() != static_cast<int>(l.items.size())) {
      list->clear();
      for (const std::string& item : l.items) list->addItem(ToQ(item));
    } else {
      for (int r = 0; r < list->count(); ++r) list->item(r)->setText(ToQ(l.items[size_t(r)]));
    }
    list->setCurrentRow(l.index);
  }
  syncing_ = false;
}

void RefLinkN::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  FirstShow(*this);
  // A layout that could not be read was refused at load: nothing to show.
  if (form_.Unloaded()) QTimer::singleShot(0, this, [this] { done(QDialog::Rejected); });
}

void RefLinkN::reject() {
  if (!closing_ && !form_.Unloaded()) {
    form_.CloseBox();  // unloads through the form
    return;
  }
  QDialog::reject();
}

// ---------------------------------------------------------- the two dialogs

RuleDialog::RuleDialog(RuleDialogForm& form, std::string_view name, const char* caption, QWidget* parent)
    : QDialog(parent), form_(form) {
  setObjectName(ToQ(name));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(kDialogFlags);
  setWindowTitle(QString::fromUtf8(caption));
}

void RuleDialog::Place(QWidget* control) {
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(ToQ(form_.Label1.caption), this);
  label->setObjectName("Label1");
  layout->addWidget(label);
  layout->addWidget(control);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (int i = 0; i < 2; ++i) {
    auto* b = Button(this, form_.Command1[size_t(i)].caption, "Command1", i);
    if (i == 0) b->setDefault(true);
    buttons->addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, i] { form_.Command1_Click(i); });
  }
  layout->addLayout(buttons);
}

void RuleDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FirstShow(*this);
  Activated();
}

void RuleDialog::reject() {
  if (!closing_) {
    form_.CloseBox();  // unloads through the form
    return;
  }
  QDialog::reject();
}

RChgRuleSEL_Frm::RChgRuleSEL_Frm(ProgramState& st, QWidget* parent)
    : RuleDialog(form_, kRuleSelectWindow, "変換ルールの選択", parent), form_(st, [this] {
        closing_ = true;
        accept();
      }) {
  form_.Form_Load();
  combo1_ = new QComboBox(this);
  combo1_->setObjectName("Combo1");
  ShowList(combo1_, form_.Combo1);
  connect(combo1_, &QComboBox::currentIndexChanged, this, [this](int i) { form_.Combo1.index = i; });
  Place(combo1_);
}

RChgRuleMAK_Frm::RChgRuleMAK_Frm(ProgramState& st, QWidget* parent)
    : RuleDialog(form_, kRuleSaveWindow, "変換ルールの保存", parent), form_(st, [this] {
        closing_ = true;
        accept();
      }) {
  form_.Form_Load();
  text1_ = new QLineEdit(this);
  text1_->setObjectName("Text1");
  text1_->installEventFilter(this);
  connect(text1_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.Text1.text = FromQ(t); });
  Place(text1_);
}

void RChgRuleMAK_Frm::Activated() {
  form_.Form_Activate();
  ShowText(text1_, form_.Text1);
  text1_->setFocus();
}

bool RChgRuleMAK_Frm::eventFilter(QObject* watched, QEvent* e) {
  if (watched == text1_ && e->type() == QEvent::FocusIn) {
    form_.Text1_GotFocus();
    QTimer::singleShot(0, text1_, [this] { text1_->selectAll(); });
  }
  return QDialog::eventFilter(watched, e);
}

void RegisterRefConvWindows(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kRefLinkWindow, [&st]() -> QWidget* { return new RefLinkN(st); });
  ui.RegisterWindow(kRuleSelectWindow, [&st]() -> QWidget* { return new RChgRuleSEL_Frm(st); });
  ui.RegisterWindow(kRuleSaveWindow, [&st]() -> QWidget* { return new RChgRuleMAK_Frm(st); });
}

}  // namespace kv
