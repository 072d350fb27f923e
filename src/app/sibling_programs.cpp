#include "app/sibling_programs.h"

#include <array>
#include <string_view>

#include "app/startup_init.h"
#include "platform/ui.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

struct Sibling {
  std::string_view prefix;
  std::string_view message;
};

constexpr std::array<Sibling, 2> kSiblings{{
    {"KVUTL", "ユーティリティが動作中の為、Korvaneの起動を中止します。"},
    {"DI32DUVADODAZ", "システム設定が動作中の為、Korvaneの起動を中止します。"},
}};

}  // namespace

std::vector<std::string> ListTopWindows() {
  // This platform gives a program no list of other programs' top-level
  // windows (a window system may not even have one), so no sibling program
  // is ever found running.
  return {};
}

void SiblingProgramCheck(ProgramState& st, const std::vector<std::string>& titles) {
  for (const std::string& title : titles) {
    for (const Sibling& s : kSiblings) {
      if (!title.starts_with(s.prefix)) continue;
      FloatWindowsTopMostSet(st, false);
      st.ui.MsgBox(s.message, vbOKOnly, kAppTitle);
      FloatWindowsTopMostSet(st, true);
      st.ui.EndProgram(0);
    }
  }
}

}  // namespace kv
