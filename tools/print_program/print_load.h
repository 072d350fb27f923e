#pragma once
// Everything a print needs before the first page is drawn, read and checked
// in one go: the job file, the print form and look, the estimate and the
// pages. Any fault is found here, before any output is opened.
#include <filesystem>
#include <memory>
#include <string>

#include "job_file.h"
#include "print_estimate.h"
#include "print_pages.h"
#include "print_settings.h"

namespace kv::print_program {

struct LoadedPrint {
  std::filesystem::path jobFile;
  PrintJob job;
  PageForm form;
  PageLook look;
  std::unique_ptr<PrintEstimate> estimate = std::make_unique<PrintEstimate>();
  PrintRun run;
};

// The job file named by the program's argument: a bare name is looked for
// beside the program without regard to letter case ("MP_INFO.DAT" finds
// "MP_INFO.dat"); a path is taken as it is.
std::filesystem::path JobFilePath(const std::filesystem::path& programFolder, const std::string& argument);

// Reads the job and everything it names from the program folder
// (KVSYSTEM.INI, MTMPRNW.INI, KVUTL.INI, KVSSYS.INI) and plans its pages;
// a master list's job reads the master and its layout file instead of an
// estimate (master_list.h). Throws PrintFailure.
LoadedPrint LoadPrint(const std::filesystem::path& programFolder, const std::string& argument);

}  // namespace kv::print_program
