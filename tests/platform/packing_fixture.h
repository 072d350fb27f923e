#pragma once
// Small file helpers for the packing tests: a temporary folder per test and a
// snapshot of a folder's files to show that a refused call left it as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/packing.h"
#include "support/temp_folder.h"

namespace kv::test {

inline void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << p;
}

inline std::string ReadFile(const std::filesystem::path& p) { return ReadAll(p); }

// Every entry below folder (hidden ones included) with its bytes ("<dir>" for
// folders).
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    std::string rel = std::filesystem::relative(e.path(), folder).string();
    files[rel] = e.is_directory() ? std::string("<dir>") : ReadFile(e.path());
  }
  return files;
}

// A fresh temporary folder per test.
class TempDirTest : public ::testing::Test {
 protected:
  std::filesystem::path Dir(const std::string& name) {
    std::filesystem::path p = root_ / name;
    std::filesystem::create_directories(p);
    return p;
  }
  TempFolder temp_;
  const std::filesystem::path root_ = temp_.path();
};

// The file set the tests use: three levels, layout, settings and project
// information files.
inline PackFileSet TestFileSet() {
  PackFileSet set;
  set.PackedExt = ".YZH";
  set.OleDataExt = "OPD";
  set.CompFileExt = {".Y1", ".Y2", ".Y3", ".Y$", ".INI", ".YT"};
  set.LevelExt = {".Y1", ".Y2", ".Y3"};
  return set;
}

}  // namespace kv::test
