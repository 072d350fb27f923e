#include "app/windows/option_windows.h"

#include <functional>

#include "app/windows/font_frm.h"
#include "app/windows/frm_select_font.h"
#include "app/windows/frm_version.h"
#include "app/windows/set_option.h"
#include "core/window_services.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "storage/sheet_objects.h"

namespace kv {

namespace {

EDTSHEET_FRM* Editor(QtUi& ui) { return dynamic_cast<EDTSHEET_FRM*>(ui.LoadedWindow(kEditWindow)); }

// The sheet's embedded objects, loaded again into the editor's grid after it
// was set up anew.
void ReloadSheetObjects(ProgramState& st, EDTSHEET_FRM& editor) {
  LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, editor.EdtSheet());
}

}  // namespace

void RegisterOptionWindows(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow("SetOption", [&ui, &st] {
    EDTSHEET_FRM* editor = Editor(ui);
    return new SetOption(st, editor ? editor->EdtSheet().Zoom() : st.KVZoom);
  });
  ui.RegisterWindow("Font_Frm", [&ui, &st] {
    EDTSHEET_FRM* editor = Editor(ui);
    std::function<void()> reload;
    if (editor != nullptr) reload = [&st, editor] { ReloadSheetObjects(st, *editor); };
    return new Font_Frm(st, editor ? &editor->State().FontChoice : nullptr, reload);
  });
  ui.RegisterWindow("frmSelectFont", [&st] { return new frmSelectFont(st); });
  ui.RegisterWindow("frmVersion", [] { return new frmVersion; });
}

void WireOptionMenus(EDTSHEET_FRM& editor, ProgramState& st) {
  editor.WireMenu("HelpVersion", [&st](int) { st.ui.ShowModal("frmVersion"); }, -1);
}

}  // namespace kv
