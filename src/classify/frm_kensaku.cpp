#include "classify/frm_kensaku.h"

#include <algorithm>

#include "app/help_file.h"
#include "classify/kensaku_search.h"
#include "classify/sch_sheet_frm.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "sheet/sheet_fields.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

constexpr const char* kWideStar = "＊";

std::string Trim(const std::string& s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

bool StartsWith(const std::string& s, std::string_view p) { return s.compare(0, p.size(), p) == 0; }
bool EndsWith(const std::string& s, std::string_view p) {
  return s.size() >= p.size() && s.compare(s.size() - p.size(), p.size(), p) == 0;
}

}  // namespace

FrmKensaku::FrmKensaku(ProgramState& st, SchSheet_Frm& search, KensakuDialogPort port)
    : st_(st), search_(search), port_(std::move(port)) {}

void FrmKensaku::Changed() {
  if (port_.RowsChanged) port_.RowsChanged();
}

void FrmKensaku::Refuse(const std::string& text) { st_.ui.MsgBox(text, vbOKOnly, kKensakuTitle); }

void FrmKensaku::Form_Load() {
  SearchFillFields();
  FloatWindowsNoTopMost(st_);
}

void FrmKensaku::SearchFillFields() {
  FieldCaptions.assign(1, kNoField);
  FieldColumns.assign(1, 0);
  const int cols = std::clamp(st_.ColCount[1], 0, kMaxColumns);
  for (int c = 1; c <= cols; ++c) {
    const std::string& type = st_.ColType[1][c];
    if (type != "C" && type != "W") continue;
    std::string caption = FromSjis(FieldBytes(st_.LevelCaption[1], st_.ColStart[1][c], st_.ColWidth[1][c]));
    caption.erase(0, std::min(caption.find_first_not_of(' '), caption.size()));
    FieldCaptions.push_back(caption);
    FieldColumns.push_back(c);
  }
  Rows = {};
  Changed();
}

bool FrmKensaku::SearchCheckConditions() {
  if (std::all_of(Rows.begin(), Rows.end(), [](const KensakuDialogRow& r) { return r.field == 0; })) {
    Refuse("検索ﾌｨｰﾙﾄﾞを指定してください。");
    return false;
  }
  for (const KensakuDialogRow& r : Rows) {
    const std::string t = Trim(r.text);
    if (t == "*" || t == kWideStar) {
      Refuse(t + "のみの入力はできません");
      return false;
    }
  }
  for (const KensakuDialogRow& r : Rows) {
    if (r.field != 0) continue;
    if (!Trim(r.text).empty()) {
      Refuse("検索ﾌｨｰﾙﾄﾞが(なし)で検索文字は入力できません");
      return false;
    }
    if (r.withBlanks) {
      Refuse("検索ﾌｨｰﾙﾄﾞが(なし)で空白含むはチェックできません \"");
      return false;
    }
  }
  // The used rows move to the top, in their order.
  int k = 0;
  for (int i = 0; i < kKensakuRows; ++i) {
    if (Rows[static_cast<size_t>(i)].field == 0) continue;
    if (i != k) {
      Rows[static_cast<size_t>(k)] = Rows[static_cast<size_t>(i)];
      Rows[static_cast<size_t>(i)] = KensakuDialogRow{};
    }
    ++k;
  }
  Changed();
  for (const KensakuDialogRow& r : Rows) {
    if (r.field != 0 && Trim(r.text).empty()) {
      Refuse("検索文字を入力してください");
      return false;
    }
  }
  return true;
}

void FrmKensaku::Command1_Click() {
  if (!SearchCheckConditions()) return;
  // A text Shift-JIS cannot hold would be searched as "?": refused.
  for (const KensakuDialogRow& r : Rows)
    if (SearchTextRefused(st_, r.text)) return;
  KensakuCondClear(st_);
  std::string summary;
  for (int i = 0; i < kKensakuRows; ++i) {
    KensakuDialogRow& r = Rows[static_cast<size_t>(i)];
    KensakuCondEntry& e = st_.KensakuCond[static_cast<size_t>(i)];
    const size_t field = static_cast<size_t>(std::clamp(r.field, 0, static_cast<int>(FieldColumns.size()) - 1));
    e.ColumnNo = FieldColumns.empty() || FieldColumns[field] == 0 ? std::string()
                                                                   : " " + std::to_string(FieldColumns[field]);
    // A full-width asterisk at either end becomes the half-width wildcard.
    if (const std::string t = Trim(r.text); StartsWith(t, kWideStar)) r.text = "*" + t.substr(3);
    if (const std::string t = Trim(r.text); EndsWith(t, kWideStar)) r.text = t.substr(0, t.size() - 3) + "*";
    e.Pattern = Trim(r.text);
    if (summary.empty())
      summary = e.Pattern;
    else if (!e.Pattern.empty())
      summary += "," + e.Pattern;
    e.WithBlanks = r.withBlanks ? "1" : "";
  }
  Changed();
  search_.SearchText = summary;
  if (port_.Hide) port_.Hide();
  FloatWindowsRaise(st_);
  search_.Label1 = " 0";
  search_.CommandSearch_Click();
}

void FrmKensaku::Command2_Click() {
  if (port_.Unload) port_.Unload();
  FloatWindowsRaise(st_);
}

void FrmKensaku::Command3_Click() { HelpOpen(st_, kKensakuWindow); }

}  // namespace kv
