#include "state/file_set_def.h"

namespace kv {

PackFileSet PackFileSetFrom(const FileSetDef& def) {
  PackFileSet set;
  set.PackedExt = def.PackedExt;
  set.OleDataExt = def.OleDataExt;
  for (int i = 1; i <= def.CompFileCount && i <= kMaxCompFiles; ++i) set.CompFileExt.push_back(def.CompFileExt[i]);
  for (int i = 1; i <= def.LevelCount && i <= kMaxLevels; ++i) set.LevelExt.push_back(def.LevelExt[i]);
  return set;
}

}  // namespace kv
