#pragma once
// A start of the program on a temporary copy of the built default program
// folder, with the scripted UI and recording neighbours.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/number_chars.h"
#include "app/program_entry.h"
#include "app/program_state.h"
#include "app/startup_steps.h"
#include "core/ini_file.h"
#include "platform/instance_lock.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

class StartupFixture : public ::testing::Test {
 protected:
  StartupFixture() : st(ui), instance(dir / "instance.lock") {
    for (const auto& entry : std::filesystem::directory_iterator(KORVANE_PROGRAM_DIR))
      if (entry.is_regular_file() && entry.path().filename() != "korvane")
        std::filesystem::copy_file(entry.path(), dir / entry.path().filename().string());
    prog = dir.path().string();
    ctx.ProgramFolder = prog;
    ctx.ProgramFile = prog + "/korvane";
    ctx.Instance = &instance;
    ctx.NumberChars = &numberChars;
    st.calc = &calc;
    st.sheetEngine = &sheet;
    st.editor = &editor;
    // The per-user store of the customer variant in the test's folder.
    std::filesystem::create_directory(dir / "config");
    setenv("KORVANE_CONFIG_DIR", (dir / "config").c_str(), 1);
  }
  ~StartupFixture() override { unsetenv("KORVANE_CONFIG_DIR"); }

  // Runs the start-up; true when it ended the program.
  bool RunMain() {
    try {
      Main(st, ctx, steps);
    } catch (const ProgramEnded&) {
      return true;
    }
    return false;
  }

  // A key of a settings file of the program folder.
  void SetKey(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value) {
    ASSERT_TRUE(IniPutString(section, key, value, prog + "/" + file));
  }

  // The progress values set on the title screen, in order.
  std::vector<int> ProgressValues() const {
    std::vector<int> values;
    const std::string prefix = "SetWindowText(ST_Gamen, ProgressBar1, ";
    for (const std::string& c : ui.CallsStartingWith(prefix))
      values.push_back(std::stoi(c.substr(prefix.size())));
    return values;
  }

  // The index of a recorded UI call, -1 when not made.
  int CallIndex(const std::string& call) const {
    const auto& calls = ui.Calls();
    for (size_t i = 0; i < calls.size(); ++i)
      if (calls[i] == call) return static_cast<int>(i);
    return -1;
  }

  TempFolder dir;
  std::string prog;
  ScriptedUi ui;
  ProgramState st;
  RecordingCalc calc;
  RecordingSheet sheet;
  RecordingEditor editor;
  InstanceLock instance;
  NumberCharSets numberChars;
  StartupContext ctx;
  StartupSteps steps;
};

}  // namespace kv::test
