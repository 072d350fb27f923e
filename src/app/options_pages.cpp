// The options dialog's pages: load, fills, tab switches and the reactions of
// its controls.
#include "app/options_pages.h"

#include <algorithm>
#include <cmath>

#include "app/options_checks.h"
#include "core/column_letter.h"
#include "core/key_filters.h"
#include "core/sjis_text.h"
#include "platform/ui.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr const char* kRoundingMethods[] = {"切り上げ", "切り捨て", "四捨五入"};
constexpr const char* kRoundingUnits[] = {"1",      "10",      "100",      "1000",
                                          "10000",  "100000",  "1000000",  "10000000"};

std::string LTrim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string RTrim(std::string_view s) {
  size_t e = s.find_last_not_of(' ');
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

int LevelOneColumns(const ProgramState& st) { return std::clamp(st.ColCount[1], 0, kMaxColumns); }

// Selects the entry whose column is `setting`, searching every entry from
// index 0; none found selects entry 0. Every entry passed over marks the page
// changed unless `marks` is false.
void SearchColumn(OptionDialogState& d, OptCombo id, int setting, bool marks) {
  OptionList& list = d.List(id);
  const int count = static_cast<int>(list.entries.size());
  int found = -1;
  for (int i = 0; i < count; ++i) {
    if (list.columns[static_cast<size_t>(i)] == setting) {
      found = i;
      break;
    }
  }
  const int passed = found < 0 ? count : found;
  if (marks && passed > 0) d.PageChanged(OptComboPage(id)) = true;
  list.index = found < 0 ? (count > 0 ? 0 : -1) : found;
  list.PrevIndex = std::max(list.index, 0);
}

// A list of fixed entries whose index is the code; a code outside them
// selects entry 0 and marks the page changed.
void FillCodes(OptionDialogState& d, OptCombo id, const char* const* texts, int count, int code) {
  OptionList& list = d.List(id);
  list.Clear();
  for (int i = 0; i < count; ++i) list.Add(texts[i], i);
  if (code >= 0 && code < count) {
    list.index = code;
  } else {
    list.index = 0;
    d.PageChanged(OptComboPage(id)) = true;
  }
  list.PrevIndex = list.index;
}

// A text put into a box counts as a change of it when it differs.
void SetBoxText(std::string& box, const std::string& text, bool& pageChanged) {
  if (box == text) return;
  box = text;
  pageChanged = true;
}

// The numeric value of the complement box's trimmed text (0 without a number).
double HabaValue(const OptionDialogState& d) { return LeadingNumberValue(Trim(d.txtHaba)); }

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Steps 1 to 3 shared by the spin button and the focus loss: an empty box
// becomes "1"; the value is held within -10..50.
void HabaBounds(OptionDialogState& d) {
  if (Trim(d.txtHaba).empty()) d.txtHaba = "1";
  if (HabaValue(d) < -10) d.txtHaba = "-10";
  if (HabaValue(d) > 50) d.txtHaba = "50";
}

void ShowHaba(OptionDialogState& d) { d.txtHaba = FourCharForm(d.HabaWork[static_cast<size_t>(d.ZoomRow)]); }

// Packs a column of three link slots from the top, keeping their order.
void PackLinkSlots(OptionDialogState& d, OptCombo (*slot)(int)) {
  std::vector<int> filled;
  for (int n = 1; n <= 3; ++n) {
    const int i = d.List(slot(n)).index;
    if (i > 0) filled.push_back(i);
  }
  for (int n = 1; n <= 3; ++n) {
    OptionList& list = d.List(slot(n));
    list.index = n <= static_cast<int>(filled.size()) ? filled[static_cast<size_t>(n - 1)] : 0;
    if (list.index != list.PrevIndex) d.Edit2PageChanged = true;
    list.PrevIndex = list.index;
  }
}

}  // namespace

std::string ColumnHeading(const ProgramState& st, int c) {
  if (c < 1 || c > kMaxColumns) return {};
  return LTrim(MidAnsi(st.LevelCaption[1], st.ColStart[1][static_cast<size_t>(c)],
                       st.ColWidth[1][static_cast<size_t>(c)]));
}

bool IsTextColumn(const ProgramState& st, int c) {
  if (c < 1 || c > kMaxColumns) return false;
  const std::string& type = st.ColType[1][static_cast<size_t>(c)];
  return type == "C" || type == "W";
}

std::string TaxRateText(Currency percent) {
  std::string text = percent.ToText();
  // The whole rate, with its "0" before the point: 0.5, not .5.
  if (text.starts_with(".")) text.insert(0, "0");
  if (text.starts_with("-.")) text.insert(1, "0");
  return text;
}

std::string FourCharForm(int value) {
  std::string s = "    " + std::to_string(value);
  return s.substr(s.size() - 4);
}

std::string NamesTabCaption(int systemKind) {
  return systemKind == 1 ? "ﾏｽｸ画面・合計行名称・設備計算行名称" : "ﾏｽｸ画面名称・合計行名称";
}

bool KeihiControlsShown(int systemKind) { return systemKind == 3 || systemKind == 4; }

void OptionFormLoad(ProgramState& st, OptionDialogState& d, int gridZoomPercent) {
  d.Edit1PageChanged = d.Edit2PageChanged = d.NamesPageChanged = d.SiwakePageChanged = false;
  for (int r = 1; r <= 20; ++r) d.HabaWork[static_cast<size_t>(r)] = st.CellHabaAdjust[static_cast<size_t>(r)];
  // The zoom list offers 30 .. 200 percent.
  d.ZoomRow = std::clamp(gridZoomPercent / 10, 3, 20);
  d.OptSetubi = false;
  Tabs_Click(st, d, 1);
  d.OptionCheckFailed = false;
  FloatWindowsNoTopMost(st);
}

void OptionFillEdit1Page(ProgramState& st, OptionDialogState& d) {
  const OptCombo lists[] = {OptCombo::MidasiSrc, OptCombo::MidasiDsc, OptCombo::UtiwakeSrc,
                            OptCombo::UtiwakeDsc, OptCombo::GMeisyo};
  for (OptCombo id : lists) d.List(id).Clear();
  for (int c = 1; c <= LevelOneColumns(st); ++c) {
    if (!IsTextColumn(st, c)) continue;
    for (OptCombo id : lists) d.List(id).Add(ColumnHeading(st, c), c);
  }
  SearchColumn(d, OptCombo::MidasiSrc, st.CaptionColmun1, false);
  SearchColumn(d, OptCombo::MidasiDsc, st.CaptionColmun2, true);
  SearchColumn(d, OptCombo::UtiwakeSrc, st.DownCopyColmun1, true);
  SearchColumn(d, OptCombo::UtiwakeDsc, st.DownCopyColmun2, true);
  SearchColumn(d, OptCombo::GMeisyo, st.ToTalNameColmun, true);
  d.ChkWrite = d.ChkWriteInitial = st.DownCopyColmunSw == -1 ? 1 : 0;
  d.ChkZero = d.ChkZeroInitial = st.Zero == "0" ? 1 : 0;
}

void OptionFillEdit2Page(ProgramState& st, OptionDialogState& d) {
  // 1. The link lists: "(なし)", then the columns without a total definition.
  for (int n = 1; n <= 3; ++n) {
    for (OptCombo id : {AbSrc(n), AbDsc(n)}) {
      d.List(id).Clear();
      d.List(id).Add(std::string(kNone), 0);
    }
  }
  for (int c = 1; c <= LevelOneColumns(st); ++c) {
    if (!Trim(st.ColTotalKind[1][static_cast<size_t>(c)]).empty()) continue;
    for (int n = 1; n <= 3; ++n) {
      d.List(AbSrc(n)).Add(ColumnHeading(st, c), c);
      d.List(AbDsc(n)).Add(ColumnHeading(st, c), c);
    }
  }
  // 2.
  for (int n = 1; n <= 3; ++n) {
    SearchColumn(d, AbSrc(n), st.ABLinkSrc[static_cast<size_t>(n)], n != 1);
    SearchColumn(d, AbDsc(n), st.ABLinkDst[static_cast<size_t>(n)], true);
  }
  // 3. The cover amount: numeric "SUM" columns, searched over all entries so
  // that the last one is found too.
  OptionList& hyosi = d.List(OptCombo::Hyosi);
  hyosi.Clear();
  hyosi.Add(std::string(kNone), 0);
  for (int c = 1; c <= LevelOneColumns(st); ++c) {
    if (IsNumericColumn(st, 1, c) && Trim(st.ColTotalKind[1][static_cast<size_t>(c)]) == "SUM")
      hyosi.Add(ColumnHeading(st, c), c);
  }
  SearchColumn(d, OptCombo::Hyosi, st.ToTalColmun, true);
  // 4. The rate in full.
  OptionZeiChange(d, TaxRateText(st.STax * Currency::FromInt(100)));
  // 5.-7.
  FillCodes(d, OptCombo::CalcMethod, kRoundingMethods, 3, st.STaxMethod);
  FillCodes(d, OptCombo::CalcMethketa, kRoundingUnits, 8, st.STaxMethodKeta);
  FillCodes(d, OptCombo::keihimethod, kRoundingMethods, 3, st.SKeihiMethod);
  FillCodes(d, OptCombo::keihiMethketa, kRoundingUnits, 8, st.SKeihiMethodKeta);
}

void OptionFillNamesPage(ProgramState& st, OptionDialogState& d) {
  d.OptMasuku = true;
  d.OptGokei = false;
  d.OptSetubi = false;
  for (int j = 1; j <= 6; ++j) OptionTotalNameChange(d, j - 1, RTrim(st.SUBTOTALNAME[static_cast<size_t>(j)]));
  for (int i = 0; i < 6; ++i) OptionMaskNameChange(d, i, RTrim(st.MASK_NAME[static_cast<size_t>(i)]));
  if (st.SystemKind == 1) {
    for (int k = 0; k < 3; ++k) OptionSetubiNameChange(d, k, RTrim(st.SetubiRowNames[static_cast<size_t>(k)]));
  }
}

void OptionFillSiwakePage(ProgramState& st, OptionDialogState& d) {
  for (int n = 1; n <= 3; ++n) {
    for (OptCombo id : {Suryo(n), Tani(n)}) {
      d.List(id).Clear();
      d.List(id).Add(std::string(kNone), 0);
    }
  }
  for (int c = 1; c <= LevelOneColumns(st); ++c) {
    const bool numeric = IsNumericColumn(st, 1, c);
    const bool text = IsTextColumn(st, c);
    for (int n = 1; n <= 3; ++n) {
      if (numeric) d.List(Suryo(n)).Add(ColumnHeading(st, c), c);
      if (text) d.List(Tani(n)).Add(ColumnHeading(st, c), c);
    }
  }
  for (int n = 1; n <= 3; ++n) {
    SearchColumn(d, Suryo(n), st.SiwakeSuu[static_cast<size_t>(n)], true);
    SearchColumn(d, Tani(n), st.SiwakeUni[static_cast<size_t>(n)], true);
  }
  OptionList& zoom = d.List(OptCombo::Zoom);
  zoom.Clear();
  for (int v = 200; v >= 30; v -= 10) zoom.Add(std::to_string(v) + "%", v / 10);
  zoom.index = 20 - d.ZoomRow;
  zoom.PrevIndex = zoom.index;
  ShowHaba(d);
}

void Tabs_Click(ProgramState& st, OptionDialogState& d, int tab) {
  d.Tab = std::clamp(tab, 1, 4);
  using Fill = void (*)(ProgramState&, OptionDialogState&);
  const Fill fills[] = {OptionFillEdit1Page, OptionFillEdit2Page, OptionFillNamesPage, OptionFillSiwakePage};
  // A page that counts as changed keeps what is on it.
  if (!d.PageChanged(d.Tab)) fills[d.Tab - 1](st, d);
}

void OptionListPick(ProgramState& st, OptionDialogState& d, OptCombo id, int index) {
  OptionList& list = d.List(id);
  if (index < -1 || index >= static_cast<int>(list.entries.size())) return;
  list.index = index;
  switch (id) {
    case OptCombo::MidasiDsc:
    case OptCombo::UtiwakeDsc:
      if (index != list.PrevIndex) d.Edit1PageChanged = true;
      // A refused end keeps its PrevIndex; a passed one takes the pick.
      OptionRangeCheck(st, d, id == OptCombo::UtiwakeDsc);
      return;
    case OptCombo::AbSrc1:
    case OptCombo::AbSrc2:
    case OptCombo::AbSrc3:
      PackLinkSlots(d, AbSrc);
      return;
    case OptCombo::AbDsc1:
    case OptCombo::AbDsc2:
    case OptCombo::AbDsc3:
      PackLinkSlots(d, AbDsc);
      return;
    case OptCombo::Zoom:
      if (index >= 0 && 20 - index != d.ZoomRow) d.ZoomRow = 20 - index;
      list.PrevIndex = index;
      ShowHaba(d);
      return;
    default:
      if (index != list.PrevIndex) d.PageChanged(OptComboPage(id)) = true;
      list.PrevIndex = index;
      return;
  }
}

void OptionCheckClick(OptionDialogState& d, int which, int value) {
  int& box = which == 0 ? d.ChkWrite : d.ChkZero;
  const int initial = which == 0 ? d.ChkWriteInitial : d.ChkZeroInitial;
  box = value;
  if (box != initial) d.Edit1PageChanged = true;
}

void OptionZeiChange(OptionDialogState& d, const std::string& text) { SetBoxText(d.txtZei, text, d.Edit2PageChanged); }

void OptionMaskNameChange(OptionDialogState& d, int i, const std::string& text) {
  if (i < 0 || i > 5) return;
  SetBoxText(d.txtMasuku[static_cast<size_t>(i)], text, d.NamesPageChanged);
}

void OptionTotalNameChange(OptionDialogState& d, int i, const std::string& text) {
  if (i < 0 || i > 5) return;
  SetBoxText(d.txtGokei[static_cast<size_t>(i)], text, d.NamesPageChanged);
}

void OptionSetubiNameChange(OptionDialogState& d, int k, const std::string& text) {
  if (k < 0 || k > 2) return;
  SetBoxText(d.txtSName[static_cast<size_t>(k)], text, d.NamesPageChanged);
}

void OptionNamesSelect(ProgramState& st, OptionDialogState& d, NamesFrame frame) {
  if (frame == NamesFrame::Setubi && st.SystemKind != 1) return;
  d.OptMasuku = frame == NamesFrame::Masuku;
  d.OptGokei = frame == NamesFrame::Gokei;
  d.OptSetubi = frame == NamesFrame::Setubi;
}

bool OptionMaskNameEnter(ProgramState& st, OptionDialogState& d, int i) {
  if (i < 0 || i > 5) return false;
  const std::string& name = d.txtMasuku[static_cast<size_t>(i)];
  if (Trim(name).empty()) {
    st.ui.MsgBox("名称が空白です", vbOKOnly, kOptionTitle);
    d.Focus = "txtMasuku(" + std::to_string(i) + ")";
    return false;
  }
  OptionMaskNameChange(d, i, CutToBytes(Utf8{name}, 20));
  return true;
}

bool OptionTaxEnter(ProgramState& st, OptionDialogState& d) {
  OptionCheckTaxRate(st, d);
  if (d.OptionCheckFailed) return false;
  d.Focus = "SetOPButton(0)";
  return true;
}

void OptionHabaKeyDown(OptionDialogState& d) { d.SiwakePageChanged = true; }

void OptionHabaEdit(OptionDialogState& d, const std::string& text) { d.txtHaba = text; }

void OptionHabaLostFocus(OptionDialogState& d) {
  HabaBounds(d);
  d.HabaWork[static_cast<size_t>(d.ZoomRow)] = RoundHalfEven(HabaValue(d));
}

void SpinButton1_SpinDown(OptionDialogState& d) {
  HabaBounds(d);
  if (HabaValue(d) - 1 >= -10) {
    d.HabaWork[static_cast<size_t>(d.ZoomRow)] = RoundHalfEven(HabaValue(d) - 1);
    ShowHaba(d);
  }
  d.SiwakePageChanged = true;
}

void SpinButton1_SpinUp(OptionDialogState& d) {
  HabaBounds(d);
  if (HabaValue(d) + 1 <= 50) {
    d.HabaWork[static_cast<size_t>(d.ZoomRow)] = RoundHalfEven(HabaValue(d) + 1);
    ShowHaba(d);
  }
  d.SiwakePageChanged = true;
}

}  // namespace kv
