#pragma once
// A program folder of a test's own with the sample estimate in DATA and a
// packed copy of it, "参考見積", to open as the reference.
#include <filesystem>
#include <string>

#include "storage/program_copy.h"
#include "support/temp_folder.h"

namespace kv::test {

struct SampleWithReference {
  TempFolder dir;
  std::string prog, sample, reference;

  SampleWithReference() {
    CopyProgramFolder(dir.path());
    std::filesystem::create_directory(dir / "DATA");
    for (const char* ext : {".YZH", ".OPD"}) {
      const std::string from = std::string(KORVANE_PROGRAM_DIR) + "/DATA/サンプル見積" + ext;
      std::filesystem::copy_file(from, dir / (std::string("DATA/サンプル見積") + ext));
      std::filesystem::copy_file(from, dir / (std::string("DATA/参考見積") + ext));
    }
    prog = dir.path().string();
    sample = prog + "/DATA/サンプル見積.YZH";
    reference = prog + "/DATA/参考見積.YZH";
  }
};

}  // namespace kv::test
