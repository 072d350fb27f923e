#pragma once
// The manual's sources as the tests read them: its folder, a file's text,
// and the page files its table of contents names.
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace kv::test {

inline const std::filesystem::path kManualFolder = std::filesystem::path(KORVANE_SOURCE_DIR) / "dist" / "help";

inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The page files (anchors left off) the help project's contents name.
inline std::set<std::string> ContentsPages() {
  const std::string text = ReadText(kManualFolder / "korvane.qhp");
  const size_t from = text.find("<toc>");
  const std::string toc = text.substr(from, text.find("</toc>") - from);
  std::set<std::string> pages;
  static const std::regex ref("ref=\"([^\"#]+)");
  for (auto it = std::sregex_iterator(toc.begin(), toc.end(), ref); it != std::sregex_iterator(); ++it)
    pages.insert((*it)[1]);
  return pages;
}

}  // namespace kv::test
