#pragma once
// The state of the options dialog (SetOption) while it is open: what each of
// its lists, check boxes, option buttons and text boxes holds, which pages
// count as changed, and the working copy of the width complements. The dialog
// window only shows this state and hands the user's actions to the routines
// of options_pages.h, options_checks.h and options_store.h; nothing reaches
// the program-wide settings before OK.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// A drop-down list of the dialog: its entries and, for a column list, the
// level-1 column behind each entry (`ListColumns`; 0 for "(なし)").
struct OptionList {
  std::vector<std::string> entries;  // display texts, entry index order
  std::vector<int> columns;          // ListColumns, one per entry
  int index = -1;                    // the selected entry; -1 none
  int PrevIndex = 0;                 // the entry last seen (change tracking)

  // The column of the selected entry; 0 when none is selected.
  int Column() const;
  void Clear();
  void Add(std::string text, int column = 0);
};

// The lists of the dialog, by page.
enum class OptCombo {
  // "編集１"
  MidasiSrc,
  MidasiDsc,
  UtiwakeSrc,
  UtiwakeDsc,
  GMeisyo,
  // "編集2"
  AbSrc1,
  AbSrc2,
  AbSrc3,
  AbDsc1,
  AbDsc2,
  AbDsc3,
  Hyosi,
  CalcMethod,
  CalcMethketa,
  keihimethod,
  keihiMethketa,
  // "仕訳ﾌｧｲﾙ・画面調整"
  Suryo1,
  Suryo2,
  Suryo3,
  Tani1,
  Tani2,
  Tani3,
  Zoom,
};
inline constexpr int kOptComboCount = static_cast<int>(OptCombo::Zoom) + 1;

// The control name of a list ("CmbMidasiSrc", "CmbAbDsc2", "cmbZoom").
std::string_view OptComboName(OptCombo id);
// The page (tab 1..4) a list lies on.
int OptComboPage(OptCombo id);
// Slot n (1..3) of the link sources and destinations.
OptCombo AbSrc(int n);
OptCombo AbDsc(int n);
OptCombo Suryo(int n);
OptCombo Tani(int n);

// Which name frame of the names page is up.
enum class NamesFrame { Masuku, Gokei, Setubi };

struct OptionDialogState {
  // Pages: 1 "編集１", 2 "編集2", 3 names, 4 "仕訳ﾌｧｲﾙ・画面調整".
  int Tab = 1;  // the selected tab
  bool Edit1PageChanged = false;
  bool Edit2PageChanged = false;
  bool NamesPageChanged = false;
  bool SiwakePageChanged = false;
  bool OptionCheckFailed = false;

  std::array<OptionList, kOptComboCount> lists;

  // "編集１" check boxes (0 unchecked, 1 checked) and what the fill gave them.
  int ChkWrite = 0;
  int ChkZero = 0;
  int ChkWriteInitial = 0;
  int ChkZeroInitial = 0;

  // "編集2": the tax rate in percent, as shown.
  std::string txtZei;

  // Names page.
  bool OptMasuku = true;
  bool OptGokei = false;
  bool OptSetubi = false;
  std::array<std::string, 6> txtMasuku;  // mask screens 0..5
  std::array<std::string, 6> txtGokei;   // total rows 1..6 at 0..5
  std::array<std::string, 3> txtSName;   // equipment rows (system kind 1)

  // "仕訳ﾌｧｲﾙ・画面調整": the width complements being edited.
  std::array<int, 21> HabaWork{};  // [1..20], row r for zoom 10 × r %
  int ZoomRow = 10;
  std::string txtHaba;

  // The control that takes the focus after the last action ("CmbAbSrc2",
  // "txtZei", "txtMasuku(3)", "SetOPButton(0)"); "" leaves it where it is.
  // The window moves the focus and clears it.
  std::string Focus;

  OptionList& List(OptCombo id) { return lists[static_cast<size_t>(id)]; }
  const OptionList& List(OptCombo id) const { return lists[static_cast<size_t>(id)]; }
  bool& PageChanged(int page);
  // The name frame the option buttons choose.
  NamesFrame Frame() const;
};

}  // namespace kv
