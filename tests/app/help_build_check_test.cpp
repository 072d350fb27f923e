// The build's check of the manual: a page the help project names (contents,
// keyword index or file list) that is not in the manual's folder stops the
// build, naming the page; patterns and anchors do not.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_folder.h"

namespace kv {
namespace {

struct CheckRun {
  int status = -1;
  std::string output;
};

CheckRun CheckPages(const test::TempFolder& dir) {
  const std::string script = std::string(KORVANE_SOURCE_DIR) + "/dist/help/check_pages.cmake";
  const std::string command =
      "cmake -DPROJECT_FILE='" + (dir / "manual.qhp").string() + "' -P '" + script + "' 2>&1";
  CheckRun run;
  FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return run;
  char buf[512];
  while (std::fgets(buf, sizeof buf, p) != nullptr) run.output += buf;
  const int status = ::pclose(p);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(HelpBuildCheck, AMissingPageStopsTheBuild) {
  test::TempFolder dir;
  dir.Write("index.html", "<p>目次</p>");
  dir.Write("calc.html", "<p>計算</p>");
  dir.Write("manual.qhp",
            "<toc><section title=\"目次\" ref=\"index.html\"><section title=\"計算\" ref=\"calc.html#ycalc\"/>"
            "</section></toc><keywords><keyword name=\"Ｙ計算\" ref=\"calc.html#ycalc\"/></keywords>"
            "<files><file>index.html</file><file>calc.html</file><file>*.png</file></files>");
  const CheckRun whole = CheckPages(dir);
  EXPECT_EQ(whole.status, 0) << whole.output;

  std::filesystem::remove(dir / "calc.html");
  const CheckRun missing = CheckPages(dir);
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.output.find("calc.html"), std::string::npos) << missing.output;
  EXPECT_EQ(missing.output.find("index.html"), std::string::npos) << missing.output;
}

}  // namespace
}  // namespace kv
