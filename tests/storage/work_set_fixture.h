#pragma once
// A program folder with a work folder, a data folder and the file set of a
// three-level estimate, for the tests of packing, unpacking and compaction.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

class WorkSetFixture : public ::testing::Test {
 protected:
  TempFolder app;
  ScriptedUi ui;
  ProgramState st{ui};
  std::filesystem::path work = app.path() / "WORK";
  std::filesystem::path data = app.path() / "DATA";

  void SetUp() override {
    std::filesystem::create_directories(work);
    std::filesystem::create_directories(data);
    st.AppPath = app.path().string();
    st.WorkFolderName = "/WORK";
    st.DataLen = 256;
    st.H_Link = "10";
    st.Imax = 200;
    st.SystemKind = 2;
    st.LevelCount = 3;
    for (int i = 1; i <= 8; ++i) st.LevelExt[i] = ".Y" + std::to_string(i);
    st.CompFileCount = 6;
    const char* comps[] = {".Y1", ".Y2", ".Y3", ".Y$", ".INI", ".YT"};
    for (int i = 1; i <= 6; ++i) st.CompFileExt[i] = comps[i - 1];
    st.PackedExt = ".YZH";
    st.OleDataExt = "OPD";
  }

  // A record of 256 bytes: kind, own number, next link (decimal), text from byte 20.
  static std::string Record(char kind, int own, int next, const std::string& text = {}) {
    std::string r(256, ' ');
    r[2] = kind;
    auto field = [](int n) {
      std::string s = n == -99 ? " -99" : std::to_string(n);
      return std::string(4 - s.size(), ' ') + s;
    };
    r.replace(3, 4, field(own));
    r.replace(7, 4, field(next));
    r.replace(11, 4, " -99");
    r.replace(19, text.size(), text);
    return r;
  }

  // Writes a work file of the work folder.
  std::filesystem::path WorkFile(const std::string& name, const std::string& bytes) const {
    return app.Write("WORK/" + name, bytes);
  }

  // Every file (hidden ones included) below a folder with its bytes.
  static std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder))
      files[std::filesystem::relative(e.path(), folder).string()] =
          e.is_directory() ? std::string("<dir>") : ReadAll(e.path());
    return files;
  }
};

}  // namespace kv::test
