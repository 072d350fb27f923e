// The options dialog's OK, Help, and the View command that shows it.
#include "app/options_store.h"

#include <string>

#include "app/options_checks.h"
#include "app/options_pages.h"
#include "app/options_state.h"
#include "core/currency.h"
#include "platform/ui.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "app/help_file.h"
#include "state/float_windows.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "state/sheet_services.h"

namespace kv {

namespace {

std::string_view RTrimView(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string_view() : s.substr(0, e + 1);
}

std::string RTrim(std::string_view s) { return std::string(RTrimView(s)); }

std::string Trim(std::string_view s) {
  std::string_view r = RTrimView(s);
  size_t b = r.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(r.substr(b));
}

// The column of a list of page "編集１"; a list without entries (a level 1
// without text columns) keeps the setting as it is.
void StoreColumn(const OptionDialogState& d, OptCombo id, int& setting) {
  if (!d.List(id).entries.empty()) setting = d.List(id).Column();
}

int CellHabaRow(int zoomPercent) { return zoomPercent / 10; }

int CellHabaAt(const ProgramState& st, int row) {
  return row >= 1 && row <= 20 ? st.CellHabaAdjust[static_cast<size_t>(row)] : 0;
}

}  // namespace

void OptionStoreEditColumns(ProgramState& st, OptionDialogState& d) {
  StoreColumn(d, OptCombo::MidasiSrc, st.CaptionColmun1);
  StoreColumn(d, OptCombo::MidasiDsc, st.CaptionColmun2);
  StoreColumn(d, OptCombo::UtiwakeSrc, st.DownCopyColmun1);
  StoreColumn(d, OptCombo::UtiwakeDsc, st.DownCopyColmun2);
  StoreColumn(d, OptCombo::GMeisyo, st.ToTalNameColmun);
  st.DownCopyColmunSw = d.ChkWrite == 1 ? -1 : 0;
  st.Zero.assign(1, d.ChkZero == 1 ? '0' : ' ');
}

void OptionStoreTaxAndLinks(ProgramState& st, OptionDialogState& d) {
  st.ABLinkCount = 0;
  for (int n = 1; n <= 3; ++n) {
    const size_t i = static_cast<size_t>(n);
    st.ABLinkSrc[i] = d.List(AbSrc(n)).Column();
    st.ABLinkDst[i] = d.List(AbDsc(n)).Column();
    if (st.ABLinkSrc[i] != 0 && st.ABLinkDst[i] != 0) st.ABLinkCount = n;
  }
  st.ToTalColmun = d.List(OptCombo::Hyosi).Column();
  // The checks passed: the box holds a number from 0 to 100.
  if (std::optional<Currency> v = Currency::Parse(Trim(d.txtZei)))
    st.STax = *v / Currency::FromInt(100);
  st.STaxMethod = d.List(OptCombo::CalcMethod).PrevIndex;
  st.STaxMethodKeta = d.List(OptCombo::CalcMethketa).PrevIndex;
  st.SKeihiMethod = d.List(OptCombo::keihimethod).PrevIndex;
  st.SKeihiMethodKeta = d.List(OptCombo::keihiMethketa).PrevIndex;
}

void OptionStoreNames(ProgramState& st, OptionDialogState& d) {
  for (size_t i = 0; i < 6; ++i) st.MASK_NAME[i] = RTrim(d.txtMasuku[i]);
  for (size_t j = 1; j <= 6; ++j) st.SUBTOTALNAME[j] = RTrim(d.txtGokei[j - 1]);
  if (st.SystemKind == 1) {
    for (size_t k = 0; k < 3; ++k) st.SetubiRowNames[k] = RTrim(d.txtSName[k]);
  }
}

void OptionStoreSiwakeColumns(ProgramState& st, OptionDialogState& d) {
  for (int n = 1; n <= 3; ++n) {
    st.SiwakeSuu[static_cast<size_t>(n)] = d.List(Suryo(n)).Column();
    st.SiwakeUni[static_cast<size_t>(n)] = d.List(Tani(n)).Column();
  }
  for (size_t r = 1; r <= 20; ++r) st.CellHabaAdjust[r] = d.HabaWork[r];
}

void OptionStoreAll(ProgramState& st, OptionDialogState& d) {
  if (d.Edit1PageChanged) {
    OptionStoreEditColumns(st, d);
    d.Edit1PageChanged = false;
  }
  if (d.Edit2PageChanged) {
    OptionStoreTaxAndLinks(st, d);
    d.Edit2PageChanged = false;
  }
  if (d.NamesPageChanged) {
    OptionStoreNames(st, d);
    d.NamesPageChanged = false;
  }
  if (d.SiwakePageChanged) {
    OptionStoreSiwakeColumns(st, d);
    d.SiwakePageChanged = false;
  }
}

bool OptionOk(ProgramState& st, OptionDialogState& d) {
  using Check = void (*)(ProgramState&, OptionDialogState&);
  for (Check check : {OptionCheckRanges, OptionCheckLinksAndTax, OptionCheckMaskNames, OptionCheckSiwakeColumns}) {
    check(st, d);
    if (d.OptionCheckFailed) {
      d.OptionCheckFailed = false;
      return false;
    }
  }
  OptionStoreAll(st, d);
  // Both files receive every option; a file that cannot be written has been
  // named in a message and the other is still written.
  if (st.UsesCurrentSettings) SheetOptionsSave(st, st.AppPath + "/DAVIROV.INI");
  SheetOptionsSave(st, st.WorkFileBase + ".INI");
  if (st.editor != nullptr) {
    if (EditorMenus* menus = st.editor->Menus()) {
      for (int i = 0; i < 6; ++i) {
        if (MenuItem* item = menus->Find("MaskGamen", i)) item->caption = st.MASK_NAME[static_cast<size_t>(i)];
      }
      st.editor->MenusChanged(st);
    }
  }
  if (st.sheetEngine != nullptr) {
    st.sheetEngine->DMButtonsLayout(st);
    st.sheetEngine->EdtSheet_Pos(st);
    st.sheetEngine->ShowParentLevelPath(st);
  }
  st.SheetModified = true;
  return true;
}

void OptionHelp(ProgramState& st) { HelpOpen(st, "SetOption"); }

OptionButtonEnd SetOPButton_Click(ProgramState& st, OptionDialogState& d, int index) {
  switch (index) {
    case 0: return OptionOk(st, d) ? OptionButtonEnd::Stored : OptionButtonEnd::Stay;
    case 1: return OptionButtonEnd::Cancelled;
    case 2: OptionHelp(st); return OptionButtonEnd::Stay;
    default: return OptionButtonEnd::Stay;
  }
}

void ViewOptionsCommand(ProgramState& st, const std::function<int()>& gridZoomPercent,
                        const std::function<void()>& reloadObjects,
                        const std::function<void()>& focusGrid) {
  const int before = CellHabaAt(st, CellHabaRow(gridZoomPercent()));
  st.ui.ShowModal("SetOption");
  const int after = CellHabaAt(st, CellHabaRow(gridZoomPercent()));
  if (after != before) {
    st.ui.SetBusyPointer(true);
    st.SheetLoading = true;
    if (st.sheetEngine != nullptr) st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
    st.SheetLoading = false;
    if (st.sheetEngine != nullptr) st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    if (reloadObjects) reloadObjects();
    st.ui.SetBusyPointer(false);
    if (focusGrid) focusGrid();
  }
  FloatWindowsRaise(st);
}

}  // namespace kv
