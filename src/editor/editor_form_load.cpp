#include "editor/editor_form_load.h"

#include <algorithm>
#include <exception>
#include <functional>

#include "app/program_state.h"
#include "core/ini_file.h"
#include "core/window_services.h"
#include "editor/editor_state.h"
#include "editor/menu_model.h"
#include "editor/menu_rules.h"
#include "print/print_services.h"

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

void Form_Load(ProgramState& st, EditorState& ed, EditorWindowSettings& s, EditorMenus& menus,
               EditorFormPort& port) {
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
    port.PlaceWindow(s.EditWinLeft, s.EditWinTop, s.EditWinWidth, s.EditWinHeight);
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
    MaskMenuCaptions(menus, s.MASK_NAME);
    port.StatusPanelSet(3, menus.At("MaskGamen", 0).caption);
  });
  Step(st, 8, [&] { RecentMenuCaptions(menus, s.RecentFiles); });
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
    s.KVZoom = LoadZoom(s.KVZoom);
    menus.At("ZoomSub", 1).caption = ZoomMenuCaption(s.KVZoom);
  });
  Step(st, 12, [&] { menus.At("Menu_3Sub", 0).checked = st.ReCalcFlag; });
  Step(st, 13, [&] {
    port.SplashProgress(20);
    if (st.print != nullptr) st.print->UpdatePaperMenu(st);
    port.SplashProgress(21);
  });
  Step(st, 14, [&] {
    if (s.KVDisp.empty()) s.KVDisp = "縦";
    if (s.RefDisp.empty()) s.RefDisp = "縦";
    int item = LevelDisplayItem(s.KVDisp);
    CheckOnly(menus, "DM_DISP", item);
    s.DMTotalFlag = item == 2;
  });
  Step(st, 15, [&] {
    port.SplashProgress(22);
    port.SplashProgress(23);
    port.Toolbar1DockIfLoose();
  });
  Step(st, 16, [&] {
    port.SplashProgress(24);
    port.SplashProgress(25);
    ed.TreeShown = port.SizerPlace(std::max(s.SizerPos, 0)) > 30;
  });
  Step(st, 17, [&] { port.GridPlace(); });
  Step(st, 18, [&] {
    port.SplashProgress(26);
    // A missing or damaged setting draws the first style.
    if (s.SheetPageLineStyle < 0 || s.SheetPageLineStyle > 3) s.SheetPageLineStyle = 0;
    CheckOnly(menus, "Line_Style", s.SheetPageLineStyle + 1);
    port.StatusPanelSet(6, st.FontName);
    port.SplashProgress(26);
    port.SplashProgress(27);
    port.SplashProgress(28);
  });
  Step(st, 19, [&] { port.DentakuHide(); });
  Step(st, 20, [&] {
    if (!st.SpecialPrintSpec) return;
    const std::string davirov = st.AppPath + "/DAVIROV.INI";
    s.OrviKenPrn = IniGetInt("特殊仕様印刷", "OrviKenPrn", davirov);
    s.OrviSUU = IniGetInt("特殊仕様印刷", "OrviSUU", davirov);
    s.OrviTANKA = IniGetInt("特殊仕様印刷", "OrviTANKA", davirov);
  });
  port.MenusChanged();
}

}  // namespace kv
