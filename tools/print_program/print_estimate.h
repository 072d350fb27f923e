#pragma once
// The estimate a job prints, as the print program reads it: the file set of
// KVUTL.INI, the column tables of the layout file the job names, the
// settings of the estimate's settings file that the sheet view uses (heading
// columns, mask screens, decimals fill, memo-row length), and the bytes of
// its level files.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "collecting_ui.h"
#include "job_file.h"
#include "print_settings.h"
#include "state/program_state.h"

namespace kv::print_program {

struct PrintEstimate {
  PrintEstimate() : st(ui) {}
  CollectingUi ui;
  ProgramState st;
  std::string name;                     // the estimate's name: the data file's without extension
  std::vector<std::string> levelPaths;  // [0] level 1 .. (display text; "" for a missing file)
  std::vector<std::string> levelBytes;  // the whole files ("" for a missing one)
  std::vector<std::string_view> Views() const { return {levelBytes.begin(), levelBytes.end()}; }
};

// Reads everything but the level files. Throws PrintFailure when the file
// set, the item layout of the column definitions (KVSSYS.INI) or the layout
// file cannot be read.
void LoadEstimateSettings(PrintEstimate& e, const PrintJob& job, const PageLook& look,
                          const std::filesystem::path& programFolder);

// Reads the level files of the data file's set. Throws PrintFailure (naming
// the file) when the level-1 file or the file of the job's level is missing,
// or a file is not a whole number of records.
void LoadLevelFiles(PrintEstimate& e, const PrintJob& job);

}  // namespace kv::print_program
