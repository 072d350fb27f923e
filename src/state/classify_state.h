#pragma once
// What the classification commands hand over through the program state: the
// work base of the classification file being built, whether that build was
// given up, and the master file the master print prints.
#include <string>

namespace kv {

struct ClassifyState {
  std::string SiwakeFileName;   // work base (no extension) of the new classification file
  bool SiwakeAbort = false;     // the build was cancelled, refused or failed
  std::string SiwakePrintPath;  // full path of the master to print
};

}  // namespace kv
