#include "app/windows/set_option.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/options_checks.h"
#include "app/options_pages.h"
#include "app/options_store.h"
#include "core/key_filters.h"
#include "platform/qt/window_helpers.h"
#include "state/program_state.h"

namespace kv {

namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

QGroupBox* Frame(const char* name, const char* caption, QWidget* parent) {
  auto* g = new QGroupBox(Q(caption), parent);
  g->setObjectName(Q(name));
  return g;
}

// A combo shows the list's entries and selection.
void ShowList(QComboBox* box, const OptionList& list) {
  QSignalBlocker block(box);
  bool same = box->count() == static_cast<int>(list.entries.size());
  for (int i = 0; same && i < box->count(); ++i) same = FromQ(box->itemText(i)) == list.entries[static_cast<size_t>(i)];
  if (!same) {
    box->clear();
    for (const std::string& e : list.entries) box->addItem(ToQ(e));
  }
  box->setCurrentIndex(list.index);
}

void ShowText(QLineEdit* edit, const std::string& text) {
  if (FromQ(edit->text()) == text) return;
  QSignalBlocker block(edit);
  edit->setText(ToQ(text));
}

bool IsEnter(QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(e)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

SetOption::SetOption(ProgramState& st, int gridZoomPercent, QWidget* parent) : QDialog(parent), st_(st) {
  setObjectName("SetOption");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
  setWindowTitle(Q("ｵﾌﾟｼｮﾝ"));

  tabs_ = new QTabBar(this);
  tabs_->setObjectName("TabS");
  tabs_->setExpanding(false);
  tabs_->addTab(Q("編集１"));
  tabs_->addTab(Q("編集2"));
  tabs_->addTab(ToQ(NamesTabCaption(st_.SystemKind)));
  tabs_->addTab(Q("仕訳ﾌｧｲﾙ・画面調整"));
  pages_ = new QStackedWidget(this);
  pages_->addWidget(BuildEdit1Page());
  pages_->addWidget(BuildEdit2Page());
  pages_->addWidget(BuildNamesPage());
  pages_->addWidget(BuildSiwakePage());

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch();
  const char* captions[] = {"OK", "ｷｬﾝｾﾙ", "ヘルプ(&H)"};
  for (int i = 0; i < 3; ++i) {
    auto* b = new QPushButton(Q(captions[i]), this);
    b->setObjectName(QString("SetOPButton(%1)").arg(i));
    // Enter belongs to the boxes (the tax rate, the mask names), not to a
    // default button.
    b->setAutoDefault(false);
    b->setMinimumWidth(90);
    connect(b, &QPushButton::clicked, this, [this, i] { SetOPButton_Click(i); });
    buttons_[static_cast<size_t>(i)] = b;
    buttonRow->addWidget(b);
  }

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(pages_);
  layout->addLayout(buttonRow);
  connect(tabs_, &QTabBar::currentChanged, this, [this](int index) { TabChanged(index); });

  OptionFormLoad(st_, d_, gridZoomPercent);
  Sync();
}

QComboBox* SetOption::MakeCombo(OptCombo id, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(ToQ(OptComboName(id)));
  box->setMinimumContentsLength(10);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  connect(box, &QComboBox::activated, this, [this, id](int index) {
    OptionListPick(st_, d_, id, index);
    Sync();
  });
  combos_[static_cast<size_t>(id)] = box;
  return box;
}

QLineEdit* SetOption::MakeEdit(const QString& name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->installEventFilter(this);
  return edit;
}

QWidget* SetOption::BuildEdit1Page() {
  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto range = [&](const char* name, const char* caption, OptCombo src, OptCombo dst) {
    QGroupBox* g = Frame(name, caption, page);
    auto* row = new QHBoxLayout(g);
    row->addWidget(MakeCombo(src, g), 1);
    row->addWidget(new QLabel(Q("～"), g));
    row->addWidget(MakeCombo(dst, g), 1);
    layout->addWidget(g);
  };
  range("fraMidasi", "階層の見出し項目", OptCombo::MidasiSrc, OptCombo::MidasiDsc);
  range("fraUtiwake", "内訳作成時自動複写項目", OptCombo::UtiwakeSrc, OptCombo::UtiwakeDsc);
  QGroupBox* name = Frame("fraGMeisyo", "合計名称表示欄", page);
  auto* nameRow = new QHBoxLayout(name);
  nameRow->addWidget(MakeCombo(OptCombo::GMeisyo, name));
  nameRow->addStretch();
  layout->addWidget(name);
  chkWrite_ = new QCheckBox(Q("階層見出し下階層へ強制書込み"), page);
  chkWrite_->setObjectName("ChkWrite");
  chkZero_ = new QCheckBox(Q("小数点以下の０を表示"), page);
  chkZero_->setObjectName("ChkZero");
  connect(chkWrite_, &QCheckBox::clicked, this, [this](bool on) {
    OptionCheckClick(d_, 0, on ? 1 : 0);
    Sync();
  });
  connect(chkZero_, &QCheckBox::clicked, this, [this](bool on) {
    OptionCheckClick(d_, 1, on ? 1 : 0);
    Sync();
  });
  layout->addWidget(chkWrite_);
  layout->addWidget(chkZero_);
  layout->addStretch();
  return page;
}

QWidget* SetOption::BuildEdit2Page() {
  auto* page = new QWidget;
  auto* layout = new QGridLayout(page);

  QGroupBox* link = Frame("fraLink", "ABﾘﾝｸ", page);
  auto* linkGrid = new QGridLayout(link);
  for (int n = 1; n <= 3; ++n) {
    linkGrid->addWidget(MakeCombo(AbSrc(n), link), n - 1, 0);
    linkGrid->addWidget(new QLabel(Q("を"), link), n - 1, 1);
    linkGrid->addWidget(MakeCombo(AbDsc(n), link), n - 1, 2);
    linkGrid->addWidget(new QLabel(Q("へﾘﾝｸ"), link), n - 1, 3);
  }
  layout->addWidget(link, 0, 0, 2, 1);

  QGroupBox* hyosi = Frame("fraHyosi", "表紙連動用金額欄", page);
  auto* hyosiRow = new QHBoxLayout(hyosi);
  hyosiRow->addWidget(MakeCombo(OptCombo::Hyosi, hyosi));
  layout->addWidget(hyosi, 2, 0);

  QGroupBox* zei = Frame("fraZei", "", page);
  auto* zeiRow = new QHBoxLayout(zei);
  zeiRow->addWidget(new QLabel(Q("消費税率"), zei));
  txtZei_ = MakeEdit("txtZei", zei);
  txtZei_->setMaximumWidth(90);
  connect(txtZei_, &QLineEdit::textEdited, this, [this](const QString& t) {
    OptionZeiChange(d_, FromQ(t));
    Sync();
  });
  zeiRow->addWidget(txtZei_);
  zeiRow->addWidget(new QLabel(Q("％"), zei));
  zeiRow->addStretch();
  layout->addWidget(zei, 0, 1, 1, 2);

  auto rounding = [&](const char* name, const char* caption, OptCombo id, int row, int col) {
    QGroupBox* g = Frame(name, caption, page);
    auto* r = new QHBoxLayout(g);
    r->addWidget(MakeCombo(id, g));
    layout->addWidget(g, row, col);
    return g;
  };
  rounding("fraCalcMethod", "丸め", OptCombo::CalcMethod, 1, 1);
  rounding("fraCalcMethketa", "丸め単位(円台)", OptCombo::CalcMethketa, 1, 2);
  label16_ = new QLabel(Q("経費行"), page);
  label16_->setObjectName("Label16");
  layout->addWidget(label16_, 2, 1, Qt::AlignBottom);
  fraKeihiMethod_ = rounding("frakeihimethod", "丸め", OptCombo::keihimethod, 3, 1);
  fraKeihiMethketa_ = rounding("frakeihiMethketa", "丸め単位(円台)", OptCombo::keihiMethketa, 3, 2);
  layout->setRowStretch(4, 1);
  return page;
}

QWidget* SetOption::BuildNamesPage() {
  auto* page = new QWidget;
  auto* layout = new QHBoxLayout(page);

  QGroupBox* select = Frame("fraSelect", "表示選択", page);
  auto* selectCol = new QVBoxLayout(select);
  optMasuku_ = new QRadioButton(Q("ﾏｽｸ画面"), select);
  optMasuku_->setObjectName("OptMasuku");
  optGokei_ = new QRadioButton(Q("合計行"), select);
  optGokei_->setObjectName("OptGokei");
  optSetubi_ = new QRadioButton(Q("設備行"), select);
  optSetubi_->setObjectName("OptSetubi");
  const std::pair<QRadioButton*, NamesFrame> options[] = {
      {optMasuku_, NamesFrame::Masuku}, {optGokei_, NamesFrame::Gokei}, {optSetubi_, NamesFrame::Setubi}};
  for (auto [button, frame] : options) {
    selectCol->addWidget(button);
    connect(button, &QRadioButton::clicked, this, [this, frame] {
      OptionNamesSelect(st_, d_, frame);
      Sync();
    });
  }
  selectCol->addStretch();
  layout->addWidget(select);

  auto names = [&](const char* frameName, const char* caption, std::initializer_list<const char*> labels,
                   const char* boxName, QLineEdit** boxes, auto onEdit) {
    QGroupBox* g = Frame(frameName, caption, page);
    auto* grid = new QGridLayout(g);
    int i = 0;
    for (const char* label : labels) {
      auto* l = new QLabel(Q(label), g);
      if (std::string_view(frameName) == "FraSetubi") l->setObjectName(QString("lblSName%1").arg(i + 1));
      grid->addWidget(l, i, 0);
      QLineEdit* edit = MakeEdit(QString("%1(%2)").arg(Q(boxName)).arg(i), g);
      edit->setMinimumWidth(200);
      connect(edit, &QLineEdit::textEdited, this, [this, i, onEdit](const QString& t) {
        onEdit(d_, i, FromQ(t));
        Sync();
      });
      grid->addWidget(edit, i, 1);
      boxes[i] = edit;
      ++i;
    }
    grid->setRowStretch(i, 1);
    layout->addWidget(g, 1);
    return g;
  };
  fraMasuku_ = names("fraMasuku", "ﾏｽｸ画面名称", {"ﾏｽｸ１", "ﾏｽｸ２", "ﾏｽｸ３", "ﾏｽｸ４", "ﾏｽｸ５", "ﾏｽｸ６"}, "txtMasuku",
                     txtMasuku_.data(), OptionMaskNameChange);
  fraGokei_ = names("fraGokei", "合計行名称", {"小計", "中計", "大計", "大大計", "大大大計", "消費税行"}, "txtGokei",
                    txtGokei_.data(), OptionTotalNameChange);
  fraSetubi_ = names("FraSetubi", "設備計算行名称", {"諸経費計算行", "消耗品雑材行", "経費行"}, "txtSName",
                     txtSName_.data(), OptionSetubiNameChange);
  return page;
}

QWidget* SetOption::BuildSiwakePage() {
  auto* page = new QWidget;
  auto* layout = new QGridLayout(page);
  layout->setColumnStretch(0, 1);
  layout->setColumnStretch(1, 1);
  auto three = [&](const char* name, const char* caption, OptCombo (*slot)(int), int col) {
    QGroupBox* g = Frame(name, caption, page);
    auto* c = new QVBoxLayout(g);
    for (int n = 1; n <= 3; ++n) c->addWidget(MakeCombo(slot(n), g));
    layout->addWidget(g, 0, col);
  };
  three("fraSuryo", "1階層の数量欄", Suryo, 0);
  three("fraTani", "1階層の単位欄", Tani, 1);

  QGroupBox* haba = Frame("fraHaba", "項目幅調整の補数設定", page);
  auto* habaGrid = new QGridLayout(haba);
  txtHaba_ = MakeEdit("txtHaba", haba);
  txtHaba_->setMaximumWidth(70);
  connect(txtHaba_, &QLineEdit::textEdited, this, [this](const QString& t) { OptionHabaEdit(d_, FromQ(t)); });
  spinUp_ = new QToolButton(haba);
  spinUp_->setObjectName("SpinButton1Up");
  spinUp_->setArrowType(Qt::UpArrow);
  spinDown_ = new QToolButton(haba);
  spinDown_->setObjectName("SpinButton1Down");
  spinDown_->setArrowType(Qt::DownArrow);
  connect(spinUp_, &QToolButton::clicked, this, [this] {
    SpinButton1_SpinUp(d_);
    Sync();
  });
  connect(spinDown_, &QToolButton::clicked, this, [this] {
    SpinButton1_SpinDown(d_);
    Sync();
  });
  auto* spin = new QVBoxLayout;
  spin->setSpacing(0);
  spin->addWidget(spinUp_);
  spin->addWidget(spinDown_);
  auto* boxRow = new QHBoxLayout;
  boxRow->addWidget(txtHaba_);
  boxRow->addLayout(spin);
  boxRow->addWidget(new QLabel(Q("(最大 50 最小 -10)"), haba));
  boxRow->addStretch();
  auto* zoomRow = new QHBoxLayout;
  zoomRow->addWidget(new QLabel(Q("ズーム率"), haba));
  zoomRow->addWidget(MakeCombo(OptCombo::Zoom, haba));
  zoomRow->addStretch();
  habaGrid->addLayout(boxRow, 0, 0);
  habaGrid->addLayout(zoomRow, 1, 0);
  layout->addWidget(haba, 1, 0, 1, 2);
  layout->setRowStretch(2, 1);
  return page;
}

void SetOption::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  adjustSize();
  CenterForm(*this);
}

void SetOption::TabChanged(int index) {
  if (index + 1 == d_.Tab) return;
  if (Tabs_BeforeClick(st_, d_)) {
    // The page keeps its tab: the refused control has the focus.
    QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(d_.Tab - 1);
    Sync();
    return;
  }
  Tabs_Click(st_, d_, index + 1);
  Sync();
}

void SetOption::SetOPButton_Click(int index) {
  switch (kv::SetOPButton_Click(st_, d_, index)) {
    case OptionButtonEnd::Stored: accept(); return;
    case OptionButtonEnd::Cancelled: reject(); return;
    case OptionButtonEnd::Stay: Sync(); return;
  }
}

bool SetOption::eventFilter(QObject* watched, QEvent* e) {
  if (watched == txtHaba_) {
    if (e->type() == QEvent::FocusIn) {
      txtHaba_->selectAll();
    } else if (e->type() == QEvent::FocusOut) {
      OptionHabaLostFocus(d_);
      Sync();
    } else if (e->type() == QEvent::KeyPress) {
      auto* key = static_cast<QKeyEvent*>(e);
      OptionHabaKeyDown(d_);
      const QString text = key->text();
      if (!text.isEmpty() && text.at(0).unicode() >= 32) {
        int code = static_cast<int>(text.at(0).unicode());
        FilterKeyPress(TextBoxOf(*txtHaba_), code, true, "NUM");
        if (code == 0) return true;
      }
    }
    return false;
  }
  if (watched == txtZei_ && IsEnter(e)) {
    OptionTaxEnter(st_, d_);
    Sync();
    return true;
  }
  for (int i = 0; i < 6; ++i) {
    if (watched == txtMasuku_[static_cast<size_t>(i)] && IsEnter(e)) {
      OptionMaskNameEnter(st_, d_, i);
      Sync();
      return true;
    }
  }
  return QDialog::eventFilter(watched, e);
}

void SetOption::Sync() {
  for (int i = 0; i < kOptComboCount; ++i) ShowList(combos_[static_cast<size_t>(i)], d_.lists[static_cast<size_t>(i)]);
  {
    QSignalBlocker a(chkWrite_), b(chkZero_);
    chkWrite_->setChecked(d_.ChkWrite == 1);
    chkZero_->setChecked(d_.ChkZero == 1);
  }
  ShowText(txtZei_, d_.txtZei);
  for (size_t i = 0; i < 6; ++i) {
    ShowText(txtMasuku_[i], d_.txtMasuku[i]);
    ShowText(txtGokei_[i], d_.txtGokei[i]);
  }
  for (size_t k = 0; k < 3; ++k) ShowText(txtSName_[k], d_.txtSName[k]);
  ShowText(txtHaba_, d_.txtHaba);

  const bool kind1 = st_.SystemKind == 1;
  const bool keihi = KeihiControlsShown(st_.SystemKind);
  label16_->setVisible(keihi);
  fraKeihiMethod_->setVisible(keihi);
  fraKeihiMethketa_->setVisible(keihi);
  optSetubi_->setVisible(kind1);
  optSetubi_->setEnabled(kind1);
  {
    QSignalBlocker a(optMasuku_), b(optGokei_), c(optSetubi_);
    optMasuku_->setChecked(d_.OptMasuku);
    optGokei_->setChecked(d_.OptGokei);
    optSetubi_->setChecked(d_.OptSetubi);
  }
  const NamesFrame frame = d_.Frame();
  fraMasuku_->setVisible(frame == NamesFrame::Masuku);
  fraGokei_->setVisible(frame == NamesFrame::Gokei);
  fraSetubi_->setVisible(kind1 && frame == NamesFrame::Setubi);

  {
    QSignalBlocker block(tabs_);
    tabs_->setCurrentIndex(d_.Tab - 1);
  }
  pages_->setCurrentIndex(d_.Tab - 1);

  if (!d_.Focus.empty()) {
    const QString name = ToQ(d_.Focus);
    d_.Focus.clear();
    if (auto* w = findChild<QWidget*>(name)) w->setFocus();
  }
}

}  // namespace kv
