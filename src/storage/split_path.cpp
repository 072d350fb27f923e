#include "storage/split_path.h"

#include "core/settings_text.h"
#include "state/file_set_def.h"

namespace kv {

namespace {

bool IsKnownExtension(const FileSetDef& files, const std::string& ext) {
  for (int i = 1; i <= files.CompFileCount && i <= kMaxCompFiles; ++i) {
    if (!files.CompFileExt[i].empty() && EqualsNoCase(ext, files.CompFileExt[i])) return true;
  }
  if (!files.PackedExt.empty() && EqualsNoCase(ext, files.PackedExt)) return true;
  return EqualsNoCase(ext, ".JZH") || EqualsNoCase(ext, ".OPD") || EqualsNoCase(ext, ".MOD");
}

}  // namespace

SplitPathResult SplitPath(const FileSetDef& files, const std::string& path) {
  SplitPathResult r;
  const size_t sep = path.rfind('/');
  if (sep == std::string::npos) {
    r.name = path;
  } else {
    r.folder = path.substr(0, sep);
    r.name = path.substr(sep + 1);
  }
  for (size_t dot = r.name.rfind('.'); dot != std::string::npos;
       dot = dot == 0 ? std::string::npos : r.name.rfind('.', dot - 1)) {
    const std::string candidate = r.name.substr(dot);
    if (IsKnownExtension(files, candidate)) {
      r.extension = candidate;
      r.name.erase(dot);
      break;
    }
  }
  return r;
}

}  // namespace kv
