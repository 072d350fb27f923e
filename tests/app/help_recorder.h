#pragma once
// Plays the help window for logic tests: puts a collection file into the
// program folder and records each page the help hook is asked to show.
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "app/help_file.h"
#include "state/program_state.h"

namespace kv::test {

struct HelpRecorder {
  // (page, keyword index in front)
  std::vector<std::pair<std::string, bool>> shown;

  explicit HelpRecorder(ProgramState& st) {
    const std::filesystem::path collection = std::filesystem::path(st.AppPath) / kHelpCollectionFile;
    std::filesystem::create_directories(collection.parent_path());
    std::ofstream(collection) << "collection";
    st.help.Show = [this](const std::string& page, bool index) { shown.emplace_back(page, index); };
  }

  std::vector<std::string> Pages() const {
    std::vector<std::string> pages;
    for (const auto& s : shown) pages.push_back(s.first);
    return pages;
  }
};

}  // namespace kv::test
