#include "editor/editor_form_load.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "core/ini_file.h"
#include "editor/editor_state.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/print_services.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {

namespace {

// Runs one load step; a failure is reported and the load goes on.
void Step(ProgramState& st, int number, const std::function<void()>& body) {
  try {
    body();
  } catch (const std::exception& e) {
    WarnMsgBox(st, std::string(e.what()) + "\n(Form_loadErr ｴﾗｰNo " + std::to_string(number) + ")");
  }
}

}  // namespace

int LoadZoom(int storedZoom) { return storedZoom < 30 || storedZoom > 200 ? 100 : storedZoom; }

void Form_Load(ProgramState& st, EditorState& ed, EditorMenus& menus, EditorFormPort& port) {
  Step(st, 1, [&] { ed.HelpFile = st.AppPath + "/help_v.chm"; });
  Step(st, 2, [&] {
    st.RefWindowOpen = false;
    st.SearchWindowOpen = false;
    st.SiwakeWindowOpen = false;
    st.ToolBar1Floating = false;
    st.ToolBar2Floating = false;
    st.RefSearchOpen = false;
    st.SbMsgShown = false;
  });
  Step(st, 3, [&] {
    port.SplashProgress(15);
    port.PlaceWindow(st.EditWinLeft, st.EditWinTop, st.EditWinWidth, st.EditWinHeight);
  });
  Step(st, 4, [&] {
    port.SplashProgress(16);
    port.StatusBarInit();
    port.SplashProgress(17);
  });
  Step(st, 6, [&] {
    ApplyEditionMenus(menus, st.SystemKind, st.SpecialPrintSpec);
    port.SplashProgress(17);
  });
  Step(st, 7, [&] {
    port.SplashProgress(18);
    MaskMenuCaptions(menus, st.MASK_NAME);
    port.StatusPanelSet(3, menus.At("MaskGamen", 0).caption);
  });
  Step(st, 8, [&] { RecentMenuCaptions(menus, st.RecentFiles); });
  Step(st, 9, [&] {
    port.SplashProgress(19);
    // The font dialog starts from this numbering; a font that is nowhere
    // becomes "ＭＳ 明朝" before it is shown.
    FontChoiceResult font = FontChoiceFor(st.FontName, st.ui.FontFamilies());
    ed.FontChoice = font.fontChoice;
    st.FontName = font.fontName;
    FontMenuCaptionSet(menus, st.FontName);
  });
  Step(st, 10, [&] {
    st.KVZoom = LoadZoom(st.KVZoom);
    menus.At("ZoomSub", 1).caption = ZoomMenuCaption(st.KVZoom);
  });
  Step(st, 12, [&] { menus.At("Menu_3Sub", 0).checked = st.ReCalcFlag; });
  Step(st, 13, [&] {
    port.SplashProgress(20);
    if (st.print != nullptr) st.print->UpdatePaperMenu(st);
    port.SplashProgress(21);
  });
  Step(st, 14, [&] {
    if (st.KVDisp.empty()) st.KVDisp = "縦";
    if (st.RefDisp.empty()) st.RefDisp = "縦";
    int item = LevelDisplayItem(st.KVDisp);
    CheckOnly(menus, "DM_DISP", item);
    st.DMTotalFlag = item == 2;
  });
  Step(st, 15, [&] {
    port.SplashProgress(22);
    port.SplashProgress(23);
    port.Toolbar1DockIfLoose();
  });
  Step(st, 16, [&] {
    port.SplashProgress(24);
    port.SplashProgress(25);
    st.TreeShown = port.SizerPlace(std::max(st.SizerPos, 0)) > 30;
  });
  Step(st, 17, [&] { port.GridPlace(); });
  Step(st, 18, [&] {
    port.SplashProgress(26);
    // A missing or damaged setting draws the first style.
    if (st.SheetPageLineStyle < 0 || st.SheetPageLineStyle > 3) st.SheetPageLineStyle = 0;
    CheckOnly(menus, "Line_Style", st.SheetPageLineStyle + 1);
    port.StatusPanelSet(6, st.FontName);
    port.SplashProgress(26);
    port.SplashProgress(27);
    port.SplashProgress(28);
  });
  Step(st, 19, [&] { port.DentakuHide(); });
  Step(st, 20, [&] {
    if (!st.SpecialPrintSpec) return;
    const std::string davirov = st.AppPath + "/DAVIROV.INI";
    st.OrviKenPrn = IniGetInt("特殊仕様印刷", "OrviKenPrn", davirov);
    st.OrviSUU = IniGetInt("特殊仕様印刷", "OrviSUU", davirov);
    st.OrviTANKA = IniGetInt("特殊仕様印刷", "OrviTANKA", davirov);
  });
  port.MenusChanged();
}

}  // namespace kv
