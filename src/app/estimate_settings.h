#pragma once
// Settings of the open estimate, loaded from DAVIROV.INI or the estimate
// settings file.
#include <string>

namespace kv {

struct EstimateSettings {
  int DataLen = 256;          // record length: 256 or 512
  int Imax = 200;             // rows of a sheet
  std::string H_Link = "10";  // number base of stored record numbers: "10" or "16"
  std::string FontName;       // sheet font
  std::string Zero = "0";     // padding of numbers: "0" or " "
};

}  // namespace kv
