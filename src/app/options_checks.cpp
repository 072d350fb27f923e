// The options dialog's checks, page by page.
#include "app/options_checks.h"

#include <algorithm>
#include <string>

#include "app/options_pages.h"
#include "app/options_state.h"
#include "core/column_letter.h"
#include "platform/ui.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {

namespace {

std::string Trim(std::string_view s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(' ');
  return std::string(s.substr(b, e - b + 1));
}

// A refusal: the message and the focus while the control's page is up.
void Refuse(ProgramState& st, OptionDialogState& d, int page, const std::string& control,
            std::string_view message) {
  d.OptionCheckFailed = true;
  if (d.Tab != page) return;
  st.ui.MsgBox(message, vbOKOnly, kOptionTitle);
  d.Focus = control;
}

// A number text: blanks around it, a sign, digits with at most one point.
bool IsNumberText(std::string_view text) {
  const std::string t = Trim(text);
  size_t i = 0;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  bool digits = false;
  bool point = false;
  for (; i < t.size(); ++i) {
    const char c = t[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

}  // namespace

bool OptionRangeCheck(ProgramState& st, OptionDialogState& d, bool copyRange) {
  const OptCombo start = copyRange ? OptCombo::UtiwakeSrc : OptCombo::MidasiSrc;
  const OptCombo end = copyRange ? OptCombo::UtiwakeDsc : OptCombo::MidasiDsc;
  OptionList& endList = d.List(end);
  const std::string control(OptComboName(end));
  if (endList.index < d.List(start).index) {
    Refuse(st, d, 1, control, "範囲指定が間違っています");
    return false;
  }
  const int first = std::max(d.List(start).Column(), 0);
  const int last = std::min(endList.Column(), kMaxColumns);
  for (int c = first; c <= last; ++c) {
    if (IsNumericColumn(st, 1, c)) {
      Refuse(st, d, 1, control, "数値属性が範囲内に指定されています");
      return false;
    }
  }
  endList.PrevIndex = endList.index;
  return true;
}

void OptionCheckRanges(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  if (!d.Edit1PageChanged) return;
  if (OptionRangeCheck(st, d, false)) OptionRangeCheck(st, d, true);
}

void OptionCheckABLinks(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  for (int n = 1; n <= 3; ++n) {
    const int src = d.List(AbSrc(n)).Column();
    const int dst = d.List(AbDsc(n)).Column();
    const std::string srcName(OptComboName(AbSrc(n)));
    const std::string dstName(OptComboName(AbDsc(n)));
    if (dst != 0 && src == 0) {
      Refuse(st, d, 2, srcName, "ﾘﾝｸ元を指定して下さい");
      return;
    }
    if (src != 0 && dst == 0) {
      Refuse(st, d, 2, dstName, "ﾘﾝｸ先を指定して下さい");
      return;
    }
    if (src != 0 && IsTextColumn(st, src) != IsTextColumn(st, dst)) {
      Refuse(st, d, 2, dstName, "属性が違います");
      return;
    }
  }
}

void OptionCheckTaxRate(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  if (!IsNumberText(d.txtZei)) {
    Refuse(st, d, 2, "txtZei", "数値を入力して下さい");
    return;
  }
  const std::optional<Currency> v = Currency::Parse(Trim(d.txtZei));
  const Currency hundred = Currency::FromInt(100);
  if (!v || *v < Currency() || *v > hundred) {
    Refuse(st, d, 2, "txtZei", "消費税の範囲を超えています");
    return;
  }
  // Kept as a fraction with four decimals: the rate keeps two.
  const Currency rate = (*v / hundred) * hundred;
  OptionZeiChange(d, TaxRateText(rate));
}

void OptionCheckLinksAndTax(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  if (!d.Edit2PageChanged) return;
  OptionCheckABLinks(st, d);
  if (!d.OptionCheckFailed) OptionCheckTaxRate(st, d);
}

void OptionCheckMaskNames(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  if (!d.NamesPageChanged) return;
  for (int i = 0; i < 6; ++i) {
    if (!Trim(d.txtMasuku[static_cast<size_t>(i)]).empty()) continue;
    OptionNamesSelect(st, d, NamesFrame::Masuku);
    st.ui.MsgBox("名称が空白です", vbOKOnly, kOptionTitle);
    d.Focus = "txtMasuku(" + std::to_string(i) + ")";
    d.OptionCheckFailed = true;
    return;
  }
}

void OptionCheckSiwakeColumns(ProgramState& st, OptionDialogState& d) {
  d.OptionCheckFailed = false;
  if (!d.SiwakePageChanged) return;
  for (int n = 1; n <= 3; ++n) {
    for (OptCombo id : {Suryo(n), Tani(n)}) OptionListPick(st, d, id, d.List(id).index);
  }
}

bool Tabs_BeforeClick(ProgramState& st, OptionDialogState& d) {
  switch (d.Tab) {
    case 1: OptionCheckRanges(st, d); break;
    case 2: OptionCheckLinksAndTax(st, d); break;
    case 3: OptionCheckMaskNames(st, d); break;
    default: OptionCheckSiwakeColumns(st, d); break;
  }
  if (!d.OptionCheckFailed) return false;
  d.OptionCheckFailed = false;
  return true;
}

}  // namespace kv
