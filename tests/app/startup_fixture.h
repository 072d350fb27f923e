#pragma once
// A start of the program on a temporary copy of the built default program
// folder, with the scripted UI and recording neighbours.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <string>

#include "app/program_entry.h"
#include "app/startup_steps.h"
#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/instance_lock.h"
#include "state/number_chars.h"
#include "state/program_state.h"
#include "storage/row_record.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv::test {

// A level-1 work file of the default layout (256-byte records, hexadecimal
// record numbers): a row for each name, then the closing record with
// `amount` in the amount column (bytes 184..197).
inline void WriteLevelOne(const std::string& path, const std::vector<std::string>& names,
                          const std::string& amount) {
  RecordFile level1(path, 256);
  const int count = static_cast<int>(names.size()) + 1;
  for (int n = 1; n <= count; ++n) {
    std::string rec(256, ' ');
    SetLinkField(rec, kOwnPos, n, true);
    SetLinkField(rec, kNextPos, n < count ? n + 1 : kNoRecord, true);
    SetLinkField(rec, kChildPos, kNoRecord, true);
    if (n < count) {
      const std::string name = ToSjis(names[static_cast<size_t>(n - 1)]);
      rec.replace(19, name.size(), name);
    } else {
      rec[2] = kClosingKind;
      rec.replace(183 + 14 - amount.size(), amount.size(), amount);
    }
    level1.PutRecordText(n, rec);
  }
}

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
  StartupContext ctx;
  StartupSteps steps;
};

}  // namespace kv::test
