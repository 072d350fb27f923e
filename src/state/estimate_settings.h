#pragma once
// Settings of the open estimate, loaded from DAVIROV.INI or the estimate
// settings file by DataIniLoad. Texts are display text (UTF-8).
#include <array>
#include <string>

#include "core/currency.h"

namespace kv {

struct EstimateSettings {
  // [OLE]
  int OleFileMax = 0;     // most object files one estimate may have
  int OleFilePicMax = 0;  // most embedded objects one sheet may hold

  // [Boot]
  int DataLen = 256;          // record length: 256 or 512
  int Imax = 200;             // rows of a sheet
  std::string H_Link = "10";  // number base of stored record numbers: "10" or "16"
  int CaptionColmun1 = -1;    // level-heading columns, -1 none
  int CaptionColmun2 = -1;
  int DownCopyColmun1 = -1;  // columns copied down into a new breakdown sheet
  int DownCopyColmun2 = -1;
  int DownCopyColmunSw = 0;  // -1: heading always written into the lower level
  int ToTalColmun = -1;      // amount column linked to the cover sheet
  int ToTalNameColmun = -1;  // column of the total-row names
  int ToTalNameColmun2 = -1;
  int CodeColmun = -1;
  std::string Zero = "0";          // padding of missing decimals: "0" or " "
  int ABLinkCount = 0;             // column links 0..3
  std::array<int, 4> ABLinkSrc{};  // [1..3]
  std::array<int, 4> ABLinkDst{};
  Currency STax;           // tax rate as a fraction (10 % = 0.1)
  int STaxMethod = 0;      // rounding of the tax row: 0 up, 1 down, 2 half up
  int STaxMethodKeta = 0;  // rounding unit 10^n, 0..7
  int SKeihiMethod = 0;    // rounding of expense rows
  int SKeihiMethodKeta = 3;
  std::array<int, 4> SiwakeSuu{};  // [1..3] quantity column of classification level n
  std::array<int, 4> SiwakeUni{};  // [1..3] unit column

  // [マスク情報]
  std::array<int, 9> XMASK{};            // [1..8] mask screen shown on level n, 0..5
  std::array<std::string, 6> MASK_NAME;  // [0..5] names of the mask screens

  // [設備行] (equipment edition)
  std::array<std::string, 3> SetubiRowNames;  // overhead, consumables, expense row names

  // [Font]
  std::string FontName;  // sheet font

  // [合計行文字列]
  std::array<std::string, 7> SUBTOTALNAME;  // [1..6] 小計 .. 大大大計, tax row

  // [ﾒﾓ行]
  int MemoRowMax = 0;  // longest memo-row text in bytes

  // [特殊仕様印刷] (read by the editor window when it loads)
  int OrviKenPrn = 0;
  int OrviSUU = 0;
  int OrviTANKA = 0;
};

}  // namespace kv
