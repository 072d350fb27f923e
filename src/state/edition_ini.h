#pragma once
// The installation's edition, kept in KVEDITION.INI in the program folder:
//
//   [Edition]
//   SystemKind=2        ; 1..4; 1 is the equipment edition
//   SpecialPrintSpec=0  ; 1: the special-print option is installed
//   CustomerVariant2=0  ; 1: the second customer switch is on
//
// The file belongs to the installation, not to the user: the program reads it
// once at start-up and never writes it.
#include <string>

namespace kv {

struct ProgramState;

inline constexpr int kDefaultSystemKind = 2;

// Sets SystemKind, SpecialPrintSpec and CustomerVariant2 from
// `programFolder`/KVEDITION.INI. A missing file, a missing key or an empty
// value gives the default (kind 2, both switches off); a value that is none
// of those allowed is reported and the default taken.
void EditionLoad(ProgramState& st, const std::string& programFolder);

}  // namespace kv
