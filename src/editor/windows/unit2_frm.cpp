#include "editor/windows/unit2_frm.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

#include "editor/editor_geometry.h"
#include "editor/unit_list.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

UNIT2_Frm::UNIT2_Frm(ProgramState& st, QtUi& ui) : ToolWindow(st, ui, kUnitWindow, "UNIT2SHEET", false) {
  setWindowTitle(ToQ("単位"));

  QMenuBar* bar = bar_;
  fileMenu_ = bar->addMenu(ToQ("ﾌｧｲﾙ(&F)"));
  fileMenu_->setObjectName("mnuFile");
  const char* fileCaptions[4] = {"追加変更 OFF(&O)", "追加変更の保存(&S)", nullptr, "終了(&X)"};
  for (int i = 0; i < 4; ++i) {
    if (fileCaptions[i] == nullptr) {
      fileMenu_->addSeparator();
      continue;
    }
    fItems_[i] = fileMenu_->addAction(ToQ(fileCaptions[i]));
    fItems_[i]->setObjectName(QString("mnuFitem(%1)").arg(i));
    connect(fItems_[i], &QAction::triggered, this, [this, i] { logic_->mnuFItem_Click(i); });
  }
  fItems_[0]->setCheckable(true);
  QMenu* edit = bar->addMenu(ToQ("編集(&E)"));
  edit->setObjectName("mnuE");
  const char* editCaptions[4] = {"切り取り(&T)", "ｺﾋﾟｰ(&C)", "貼り付け(&P)", "削除(&D)"};
  const QKeySequence keys[4] = {QKeySequence("Ctrl+X"), QKeySequence("Ctrl+C"), QKeySequence("Ctrl+V"),
                                QKeySequence()};
  for (int i = 0; i < 4; ++i) {
    eItems_[i] = edit->addAction(ToQ(editCaptions[i]));
    eItems_[i]->setObjectName(QString("mnuEItem(%1)").arg(i));
    eItems_[i]->setShortcut(keys[i]);
    connect(eItems_[i], &QAction::triggered, this, [this, i] { logic_->mnuEItem_Click(i); });
  }
  help_ = bar->addAction(ToQ("ﾍﾙﾌﾟ(&H)"));
  help_->setObjectName("mnuHelp");
  connect(help_, &QAction::triggered, this, [this] { logic_->mnuHelp_Click(); });

  UnitWindowPort port;
  BindToolPort(port);
  port.ChangeItemSet = [this](const std::string& caption, bool checked) {
    fItems_[0]->setText(ToQ(caption));
    fItems_[0]->setChecked(checked);
  };
  port.SaveItemEnable = [this](bool on) { fItems_[1]->setEnabled(on); };
  port.EditItemsEnable = [this](bool on) {
    for (QAction* a : eItems_) a->setEnabled(on);
  };
  // Beside the rows: the frame, the menu bar and the grid's own border.
  port.FrameTwips = [this, bar] {
    const int px = (frameGeometry().height() - height()) + bar->sizeHint().height() + 2 * view_->frameWidth();
    return PixelsToTwips(px, logicalDpiY());
  };
  port.scrollBarTwips = Tw(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
  logic_ = std::make_unique<UnitList>(st_, sheet_, std::move(port));
}

UNIT2_Frm::~UNIT2_Frm() = default;

QAction* UNIT2_Frm::mnuFitem(int index) const { return index >= 0 && index < 4 ? fItems_[index] : nullptr; }
QAction* UNIT2_Frm::mnuEItem(int index) const { return index >= 0 && index < 4 ? eItems_[index] : nullptr; }

void UNIT2_Frm::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (loaded_) return;
  // Loaded at its first showing, when the seam knows the window by its name.
  loaded_ = true;
  logic_->Form_Load();
  logic_->Form_Resize();
  view_->setFocus(Qt::OtherFocusReason);
}

void UNIT2_Frm::Resized() {
  if (logic_) logic_->Form_Resize();
}

bool UNIT2_Frm::QueryUnload() { return logic_->Form_QueryUnload(); }

void RegisterUnitWindow(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kUnitWindow, [&ui, &st]() -> QWidget* { return new UNIT2_Frm(st, ui); });
}

}  // namespace kv
