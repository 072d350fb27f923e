#pragma once
// Splits a path into its folder, name and estimate extension.
#include <string>

namespace kv {

struct FileSetDef;

struct SplitPathResult {
  std::string folder;  // without the trailing separator; "" for a bare name
  std::string name;
  std::string extension;  // with its dot, as written; "" unless a known estimate extension
};

// The extension is split off only when it is, compared without letter case,
// one of the component extensions of the file set, the packed extension,
// ".JZH", ".OPD" or ".MOD"; otherwise the name keeps every character. A path
// without a separator is a bare name: folder "", name = the path.
SplitPathResult SplitPath(const FileSetDef& files, const std::string& path);

}  // namespace kv
