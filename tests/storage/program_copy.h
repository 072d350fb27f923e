#pragma once
// A copy of the default program folder the build makes, started as the
// program starts: the file-set definition, the current settings, the column
// definitions of the base text file and the untitled layout file in WORK.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "state/base_text.h"
#include "state/data_ini.h"
#include "state/layout_file.h"
#include "state/level_ini.h"
#include "state/program_state.h"
#include "state/sys_ini.h"
#include "storage/split_path.h"

namespace kv::test {

// Copies the program folder's files (the program itself aside) into `dir`
// and makes its WORK folder.
inline void CopyProgramFolder(const std::filesystem::path& dir) {
  for (const auto& entry : std::filesystem::directory_iterator(KORVANE_PROGRAM_DIR))
    if (entry.is_regular_file() && entry.path().filename() != "korvane")
      std::filesystem::copy_file(entry.path(), dir / entry.path().filename());
  std::filesystem::create_directories(dir / "WORK");
}

// Loads the program folder `dir` into a fresh program state (making its WORK
// folder when missing); the untitled estimate is current.
inline void StartProgram(ProgramState& st, const std::filesystem::path& dir) {
  st.AppPath = dir.string();
  st.WorkFolderName = "/WORK";
  std::filesystem::create_directories(dir / "WORK");
  std::string levelProblem;
  ASSERT_TRUE(LevelIniRead(st, levelProblem)) << levelProblem;
  ASSERT_TRUE(DataIniLoad(st, st.AppPath + "/DAVIROV.INI"));
  ASSERT_TRUE(SysIniLoad(st));
  ASSERT_TRUE(ColumnDefRead(st, st.AppPath + "/" + SplitPath(st, st.KvTextPath).name));
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  st.CurrentFilePath = st.WorkFileBase;
  st.CurrentLevel = 1;
  ASSERT_TRUE(WriteLayoutFile(st, st.WorkFileBase));
}

}  // namespace kv::test
