#include "app/options_state.h"

#include <utility>

namespace kv {

int OptionList::Column() const {
  if (index < 0 || index >= static_cast<int>(columns.size())) return 0;
  return columns[static_cast<size_t>(index)];
}

void OptionList::Clear() {
  entries.clear();
  columns.clear();
  index = -1;
}

void OptionList::Add(std::string text, int column) {
  entries.push_back(std::move(text));
  columns.push_back(column);
}

std::string_view OptComboName(OptCombo id) {
  static constexpr std::string_view kNames[kOptComboCount] = {
      "CmbMidasiSrc",  "CmbMidasiDsc",     "CmbUtiwakeSrc", "CmbUtiwakeDsc",  "CmbGMeisyo",
      "CmbAbSrc1",     "CmbAbSrc2",        "CmbAbSrc3",     "CmbAbDsc1",      "CmbAbDsc2",
      "CmbAbDsc3",     "CmbHyosi",         "CmbCalcMethod", "CmbCalcMethketa", "Cmbkeihimethod",
      "CmbkeihiMethketa", "CmbSuryo1",     "CmbSuryo2",     "CmbSuryo3",      "CmbTani1",
      "CmbTani2",      "CmbTani3",         "cmbZoom",
  };
  return kNames[static_cast<int>(id)];
}

int OptComboPage(OptCombo id) {
  if (id <= OptCombo::GMeisyo) return 1;
  if (id <= OptCombo::keihiMethketa) return 2;
  return 4;
}

OptCombo AbSrc(int n) { return static_cast<OptCombo>(static_cast<int>(OptCombo::AbSrc1) + n - 1); }
OptCombo AbDsc(int n) { return static_cast<OptCombo>(static_cast<int>(OptCombo::AbDsc1) + n - 1); }
OptCombo Suryo(int n) { return static_cast<OptCombo>(static_cast<int>(OptCombo::Suryo1) + n - 1); }
OptCombo Tani(int n) { return static_cast<OptCombo>(static_cast<int>(OptCombo::Tani1) + n - 1); }

bool& OptionDialogState::PageChanged(int page) {
  switch (page) {
    case 1: return Edit1PageChanged;
    case 2: return Edit2PageChanged;
    case 3: return NamesPageChanged;
    default: return SiwakePageChanged;
  }
}

NamesFrame OptionDialogState::Frame() const {
  if (OptSetubi) return NamesFrame::Setubi;
  if (OptGokei) return NamesFrame::Gokei;
  return NamesFrame::Masuku;
}

}  // namespace kv
