#include "print/orvi_ken.h"

#include <string>

#include "app/startup_init.h"
#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "core/window_services.h"
#include "editor/page_numbers.h"
#include "platform/codepage.h"
#include "platform/ui.h"
#include "print/print_info_files.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"
#include "storage/level_files.h"

namespace kv {
namespace {

bool IsNumericType(std::string_view type) {
  return type.empty() || std::string_view("01234A").find(type.front()) != std::string_view::npos;
}

}  // namespace

OrviKenForm::OrviKenForm(ProgramState& st, OrviKenPort port) : st_(st), port_(std::move(port)) {
  Label1[0].caption = "特殊印刷仕様";
  Label1[1].caption = "単価が入力されていて数量が設定されていない行は印刷しません。";
  Label1[2].caption = "数量欄";
  Label1[3].caption = "単価欄";
  Label1[4].caption = "対象となる数量欄、単価欄を設定してください。";
  Check1.caption = "特殊印刷仕様";
}

void OrviKenForm::Form_Load() {
  loadedKenPrn_ = st_.OrviKenPrn;
  loadedSuu_ = st_.OrviSUU;
  loadedTanka_ = st_.OrviTANKA;
  CenterFormIfNormal(st_.ui, kSpecialPrintWindow);
  const size_t level = static_cast<size_t>(st_.CurrentLevel);
  const int count = st_.ColCount[level];
  for (int c = 1; c <= count && c <= kMaxColumns; ++c) {
    const std::string heading =
        MidAnsi(st_.LevelCaption[level], st_.ColStart[level][size_t(c)], st_.ColWidth[level][size_t(c)]);
    Combo1.items.push_back(heading);
    Combo2.items.push_back(heading);
  }
  auto choose = [count](FormList& list, int column) { list.index = column >= 1 && column <= count ? column - 1 : -1; };
  choose(Combo1, st_.OrviSUU);
  choose(Combo2, st_.OrviTANKA);
  Check1.value = st_.OrviKenPrn == 1 ? 1 : 0;
}

int OrviKenForm::NumericColumn(const FormList& list) const {
  if (list.index < 0) return 0;
  const int c = list.index + 1;
  return IsNumericType(st_.ColType[size_t(st_.CurrentLevel)][size_t(c)]) ? c : 0;
}

void OrviKenForm::Revert() {
  st_.OrviKenPrn = loadedKenPrn_;
  st_.OrviSUU = loadedSuu_;
  st_.OrviTANKA = loadedTanka_;
}

void OrviKenForm::Command1_Click(int index) {
  if (index != 0) {
    Unload();
    return;
  }
  // Both columns are checked before either is stored.
  const int quantity = NumericColumn(Combo1);
  if (quantity == 0) {
    AskUser(st_, "数量欄に正しい項目を設定してください。", vbOKOnly, kAppTitle);
    return;
  }
  const int unitPrice = NumericColumn(Combo2);
  if (unitPrice == 0) {
    AskUser(st_, "単価欄に正しい項目を設定してください。", vbOKOnly, kAppTitle);
    return;
  }
  st_.OrviSUU = quantity;
  st_.OrviTANKA = unitPrice;
  st_.OrviKenPrn = Check1.value == 1 ? 1 : 0;
  const bool titled = !IsUntitledName(st_.WorkFileBase);
  if (titled && st_.OrviKenPrn != loadedKenPrn_) {
    const std::string question = "特殊印刷仕様の設定が変更されました、現在編集中の見積データ [ " +
                                 NameOf(st_, st_.CurrentFilePath) +
                                 " ] を保存して\rページ番号の再設定を行います。\r"
                                 "いいえ を選択した場合は、特殊印刷仕様の設定がキャンセルされます。";
    if (AskUser(st_, question, vbYesNo | vbQuestion, kMsgTitle) != vbYes) {
      Revert();
      Unload();
      return;
    }
    if (st_.SheetModified) {
      // Pages are numbered from the files: a sheet that cannot be recorded
      // leaves everything as it was.
      if (!RecordSheet(st_)) {
        Revert();
        Unload();
        return;
      }
      st_.SheetModified = false;
      st_.PackPending = true;
    }
    PageNumbersWrite(st_);
    st_.PackPending = true;
  }
  const std::string davirov = TemplateIniPath(st_);
  IniPutString("特殊仕様印刷", "OrviKenPrn", std::to_string(st_.OrviKenPrn), davirov);
  IniPutString("特殊仕様印刷", "OrviSUU", std::to_string(st_.OrviSUU), davirov);
  IniPutString("特殊仕様印刷", "OrviTANKA", std::to_string(st_.OrviTANKA), davirov);
  if (titled) IniPutString("特殊仕様印刷", "OrviKenPrn", std::to_string(st_.OrviKenPrn), EstimateIniPath(st_));
  Unload();
}

void OrviKenForm::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  if (port_.Unload) port_.Unload();
}

}  // namespace kv
