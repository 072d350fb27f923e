#pragma once
// Program state kept in KVSSYS.INI (the folder of the last estimate, KVData,
// is part of the file identity). Window rectangles are in twips. The tool
// windows keep their own keys in the same file and read and write them
// themselves: [TOOLBAR2], [参考画面], [単位画面], [工事情報画面], [RefSizer],
// [仕訳画面] layout, [PathDir] RefData and the other zoom keys.
#include <array>
#include <string>

namespace kv {

struct SysSettings {
  std::array<std::string, 6> RecentFiles;     // [1..5] "<n> <path>"
  std::array<std::string, 6> RecentRefFiles;  // [1..5] kept by the reference window
  int AutoDownFlag = 0;                       // 0 stay, 1 move down, 2 move right
  bool ReCalcFlag = true;                     // totals recalculated after every change
  int KVZoom = 100;                           // percent
  int RefZoom = 100;
  int EditCellPosition = 0;     // caret position when a cell edit starts
  int EditCursor = 0;           // grid selection mode
  std::array<int, 9> GamenX{};  // [1..8] split position of each level's grid
  std::array<int, 9> GamenY{};
  std::array<int, 9> GamenCX{};
  std::array<int, 9> GamenCY{};
  int EditWinLeft = 0;
  int EditWinTop = 0;
  int EditWinWidth = 0;
  int EditWinHeight = 0;
  int SearchWinLeft = 0;
  int SearchWinTop = 0;
  int SearchWinWidth = 0;
  int SearchWinHeight = 0;
  int SizerPos = 0;    // tree/sheet splitter position
  std::string KVDisp;  // level display: "縦", "横" or "縦計"
  std::string RefDisp;
  int SheetPageLineStyle = 0;
  bool DMTotalFlag = false;              // parent-level totals line shown
  std::array<int, 21> CellHabaAdjust{};  // [1..20] width correction at zoom 10 × i %
};

}  // namespace kv
