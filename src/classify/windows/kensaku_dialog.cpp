#include "classify/windows/kensaku_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "classify/sch_sheet_frm.h"
#include "editor/editor_geometry.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {

KensakuDialog::KensakuDialog(ProgramState& st, SchSheet_Frm& search, QWidget* parent)
    : QDialog(parent),
      form_(st, search,
            {[this] { ShowRows(); }, [this] { hide(); },
             [this, &st] {
               unloading_ = true;
               st.ui.UnloadWindow(kKensakuWindow);
             }}) {
  // Kept while hidden (after OK); deleted when unloaded.
  setObjectName(ToQ(kKensakuWindow));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQ("文字列検索複合条件"));
  auto* label1 = new QLabel(ToQ("検索フィールド"), this);
  label1->setObjectName("Label1");
  label1->setGeometry(Tw(240, 120, 2400, 255));
  auto* label2 = new QLabel(ToQ("検索文字"), this);
  label2->setObjectName("Label2");
  label2->setGeometry(Tw(2880, 120, 3000, 255));
  for (int i = 0; i < kKensakuRows; ++i) {
    const int top = 420 + i * 480;
    fields_[i] = new QComboBox(this);
    fields_[i]->setObjectName(ControlName("cmbFild", i));
    fields_[i]->setGeometry(Tw(240, top, 2400, 330));
    texts_[i] = new QLineEdit(this);
    texts_[i]->setObjectName(ControlName("txtMozi", i));
    texts_[i]->setFont(KvFont("ＭＳ ゴシック", 10));
    texts_[i]->setGeometry(Tw(2880, top, 3000, 330));
    checks_[i] = new QCheckBox(ToQ("空白含む"), this);
    checks_[i]->setObjectName(ControlName("chkKuuhaku", i));
    checks_[i]->setGeometry(Tw(6000, top, 1320, 330));
  }
  ok_ = new QPushButton("OK", this);
  ok_->setObjectName("Command1");
  ok_->setGeometry(Tw(7560, 420, 1215, 405));
  ok_->setDefault(true);
  connect(ok_, &QPushButton::clicked, this, [this] {
    TakeRows();
    form_.Command1_Click();
  });
  cancel_ = new QPushButton(ToQ("ｷｬﾝｾﾙ"), this);
  cancel_->setObjectName("Command2");
  cancel_->setGeometry(Tw(7560, 960, 1215, 405));
  cancel_->setAutoDefault(false);
  connect(cancel_, &QPushButton::clicked, this, [this] { form_.Command2_Click(); });
  help_ = new QPushButton(ToQ("ﾍﾙﾌﾟ(&H)"), this);
  help_->setObjectName("Command3");
  help_->setGeometry(Tw(7560, 1500, 1215, 405));
  help_->setAutoDefault(false);
  connect(help_, &QPushButton::clicked, this, [this] { form_.Command3_Click(); });
  setFixedSize(Tw(0, 0, 9000, 2940).size());
  CenterForm(*this);
  form_.Form_Load();
}

QRect KensakuDialog::Tw(int left, int top, int width, int height) const {
  const int dx = logicalDpiX(), dy = logicalDpiY();
  return QRect(TwipsToPixels(left, dx), TwipsToPixels(top, dy), TwipsToPixels(width, dx), TwipsToPixels(height, dy));
}

void KensakuDialog::ShowRows() {
  for (int i = 0; i < kKensakuRows; ++i) {
    QComboBox* f = fields_[i];
    if (f->count() != static_cast<int>(form_.FieldCaptions.size())) {
      f->clear();
      for (size_t k = 0; k < form_.FieldCaptions.size(); ++k)
        f->addItem(ToQ(form_.FieldCaptions[k]), form_.FieldColumns[k]);
    }
    const KensakuDialogRow& r = form_.Rows[static_cast<size_t>(i)];
    f->setCurrentIndex(r.field);
    texts_[i]->setText(ToQ(r.text));
    checks_[i]->setChecked(r.withBlanks);
  }
}

void KensakuDialog::TakeRows() {
  for (int i = 0; i < kKensakuRows; ++i) {
    KensakuDialogRow& r = form_.Rows[static_cast<size_t>(i)];
    r.field = std::max(fields_[i]->currentIndex(), 0);
    r.text = texts_[i]->text().toStdString();
    r.withBlanks = checks_[i]->isChecked();
  }
}

void KensakuDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  SetTopMost(*this, true);
}

void KensakuDialog::reject() {
  // Esc and the close box: the dialog's own Cancel (an unload, or the close
  // of a dialog already hidden, only closes).
  if (unloading_ || !isVisible()) {
    QDialog::reject();
    return;
  }
  form_.Command2_Click();
}

}  // namespace kv
