#pragma once
// The print-information record and the print-form table.
#include <array>
#include <string>

namespace kv {

struct PrintInfo {
  int PrnTypeNo = 0;
  std::array<int, 11> PrintRows{};  // rows per page by print form
};

}  // namespace kv
