#pragma once
// The one order of classification codes: the master's save, the lookup
// table's sort at load and the estimate's lookup all compare codes with it,
// so a code the save wrote is always found by the lookup.
#include <string_view>

namespace kv {

// Compares two codes (Shift-JIS bytes) with the blanks at both ends taken off,
// byte by byte as unsigned values; a code that is the start of another comes
// first. Negative, 0 or positive.
int SiwakeCodeCompare(std::string_view a, std::string_view b);

}  // namespace kv
