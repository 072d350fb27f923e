// Undocking the toolbars into their floating windows.
#include <QToolBar>

#include "core/ini_file.h"
#include "editor/editor_geometry.h"
#include "editor/toolbars/windows/frm_toolbar.h"
#include "editor/toolbars/windows/frm_toolbar2.h"
#include "editor/toolbars/windows/frm_toolbar_rules.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/fo_window.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

// Topmost band on for a loaded floating window.
void FloatingTopMost(Ui& ui, std::string_view window) {
  foWindow fo(ui);
  fo.Attach(window);
  fo.TopMost(true);
  fo.Detach();
}

}  // namespace

void EDTSHEET_FRM::FloatToolBar1(int xTw, int yTw) {
  toolbar1_->hide();
  frmToolBar* f = LoadFrmToolBar(st_.ui);
  if (!f) {
    toolbar1_->show();
    return;
  }
  st_.ToolBar1Floating = true;
  f->move(TwipsToPixels(xTw, logicalDpiX()), TwipsToPixels(yTw, logicalDpiY()));
  f->Form_Resize();
  FloatingTopMost(st_.ui, kToolBar1Window);
  ToolbarRoomChanged(*this, st_);
}

void EDTSHEET_FRM::FloatToolBar2(int xTw, int yTw) {
  toolbar2_->hide();
  FrmToolBar2* f = LoadFrmToolBar2(st_.ui);
  if (!f) {
    toolbar2_->show();
    return;
  }
  st_.ToolBar2Floating = true;
  const double dpiX = logicalDpiX();
  const double dpiY = logicalDpiY();
  const std::string ini = st_.AppPath + "/KVSSYS.INI";
  const TextSize screen = st_.ui.ScreenSize();
  const TwipsSize size = FloatToolbar2OpenSize(
      IniGetInt("TOOLBAR2", "Width", ini), IniGetInt("TOOLBAR2", "Height", ini),
      TwipsSize{PixelsToTwips(screen.width, dpiX), PixelsToTwips(screen.height, dpiY)});
  f->move(TwipsToPixels(xTw, dpiX), TwipsToPixels(yTw, dpiY));
  f->resize(TwipsToPixels(size.width, dpiX), TwipsToPixels(size.height, dpiY));
  f->Form_Resize();
  FloatingTopMost(st_.ui, kToolBar2Window);
  ToolbarRoomChanged(*this, st_);
  // However it was undocked: no customising and no second, docked copy
  // while it floats.
  ToolbarViewItemsEnable(*this, st_, false);
}

}  // namespace kv
