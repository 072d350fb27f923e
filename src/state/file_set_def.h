#pragma once
// File-set definition of an estimate, read from KVUTL.INI.
#include <array>
#include <string>

#include "platform/packing.h"

namespace kv {

inline constexpr int kMaxLevels = 8;
inline constexpr int kMaxCompFiles = 20;

struct FileSetDef {
  int LevelCount = 0;                           // levels of an estimate, 1..8
  std::array<std::string, kMaxLevels + 1> LevelExt;      // [1..LevelCount], ".Y1" ...
  int CompFileCount = 0;                        // component files of a work set
  std::array<std::string, kMaxCompFiles + 1> CompFileExt;  // [1..CompFileCount], ".Y1" ...
  std::string PackedExt;                        // ".YZH"
  std::string OleDataExt;                       // "OPD" (as written, no dot added)
};

// The extensions of the definition for the packing calls.
PackFileSet PackFileSetFrom(const FileSetDef& def);

}  // namespace kv
