#pragma once
// Program state kept in KVSSYS.INI.
#include <string>

namespace kv {

struct SysSettings {
  int AutoDownFlag = 0;
  bool ReCalcFlag = true;
};

}  // namespace kv
