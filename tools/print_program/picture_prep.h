#pragma once
// The pictures the image program (pixOut.exe) prepares for the print program:
// a folder PIXOUT beside the programs holding STAMP, which names the job file
// they were prepared for, and one object file (the sheet object format) of
// the prepared pictures per printed sheet that has any, named
// "<level>_<first record>.MOD". The print program draws pictures only when
// the stamp names its own job file, and removes the folder in any case, so
// that a preparation is never used for another job.
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "page_boxes.h"
#include "print_pages.h"

namespace kv::print_program {

inline constexpr const char* kPreparationFolder = "PIXOUT";

// The identity of a job file: its bytes, size, time and file number; "" when
// it cannot be read.
std::string JobStamp(const std::filesystem::path& jobFile);

// Sheet (level, first record) -> its prepared pictures.
using PreparedPictures = std::map<std::pair<int, int>, std::vector<SheetPicture>>;

// Writes the preparation for the job of `stamp` (replacing any other). False
// when it cannot be written (what was written is removed).
bool WritePreparation(const std::filesystem::path& programFolder, const std::string& stamp,
                      const PreparedPictures& pictures);

// The pictures prepared for the job of `stamp`, per printed sheet of `run`
// (empty when there is no preparation for that job); the preparation folder
// is removed afterwards whatever it held.
std::vector<std::vector<SheetPicture>> TakePreparation(const std::filesystem::path& programFolder,
                                                       const std::string& stamp, const PrintRun& run);

}  // namespace kv::print_program
