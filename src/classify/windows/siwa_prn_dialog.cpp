#include "classify/windows/siwa_prn_dialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "classify/kv_siwa_frm.h"
#include "editor/windows/tool_window.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/windows/form_binding.h"
#include "state/program_state.h"

namespace kv {

SiwaPrnDialog::SiwaPrnDialog(ProgramState& st, QWidget* parent)
    : QDialog(parent), form_(st, {[this] {
        closing_ = true;
        accept();
      }}) {
  setObjectName(ToQ(kSiwaPrintWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(ToQ(kSiwaPrnTitle));
  form_.Form_Load();

  const auto label = [this](const char* name, const FormLabel& l, QRect at) {
    auto* w = new QLabel(ToQ(l.caption), this);
    w->setObjectName(name);
    w->setGeometry(at);
  };
  const auto combo = [this](const char* name, FormList& list, QRect at) {
    auto* box = new QComboBox(this);
    box->setObjectName(name);
    box->setGeometry(at);
    ShowList(box, list);
    connect(box, &QComboBox::activated, this, [&list](int i) { list.index = i; });
    return box;
  };
  label("Label1", form_.Label1, Tw(60, 120, 1035, 195));
  combo1_ = combo("Combo1", form_.Combo1, Tw(1140, 60, 1935, 300));
  auto* fra = new QGroupBox(ToQ(form_.fra.caption), this);
  fra->setObjectName("fra");
  fra->setGeometry(Tw(60, 420, 3075, 735));
  option1_ = new QRadioButton(ToQ(form_.Option1.caption), fra);
  option1_->setObjectName("Option1");
  option1_->setGeometry(Tw(480, 300, 675, 255));
  option2_ = new QRadioButton(ToQ(form_.Option2.caption), fra);
  option2_->setObjectName("Option2");
  option2_->setGeometry(Tw(1200, 300, 735, 255));
  ShowCheck(option1_, form_.Option1);
  ShowCheck(option2_, form_.Option2);
  connect(option1_, &QRadioButton::toggled, this, [this](bool on) {
    form_.Option1.value = on ? 1 : 0;
    form_.Option2.value = on ? 0 : 1;
  });
  label("Label2", form_.Label2, Tw(600, 1260, 1215, 255));
  combo2_ = combo("Combo2", form_.Combo2, Tw(1860, 1200, 675, 300));
  label("Label3", form_.Label3, Tw(2580, 1260, 255, 255));

  auto* ok = new QPushButton(ToQ(form_.Command1), this);
  ok->setObjectName("Command1");
  ok->setGeometry(Tw(3240, 60, 1275, 375));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
  auto* cancel = new QPushButton(ToQ(form_.Command2), this);
  cancel->setObjectName("Command2");
  cancel->setGeometry(Tw(3240, 540, 1275, 375));
  cancel->setAutoDefault(false);
  connect(cancel, &QPushButton::clicked, this, [this] { form_.Command2_Click(); });
  setFixedSize(Tw(0, 0, 4680, 1560).size());
}

QRect SiwaPrnDialog::Tw(int left, int top, int width, int height) const {
  return TwipsRect(*this, left, top, width, height);
}

void SiwaPrnDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!firstShow_) return;
  firstShow_ = false;
  CenterForm(*this);
  SetTopMost(*this, true);
}

void SiwaPrnDialog::reject() {
  if (closing_) {
    QDialog::reject();
    return;
  }
  form_.Command2_Click();
}

void RegisterSiwaPrnDialog(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kSiwaPrintWindow, [&st]() -> QWidget* { return new SiwaPrnDialog(st); });
}

}  // namespace kv
