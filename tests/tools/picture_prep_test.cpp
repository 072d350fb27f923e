// The pictures the image program prepares are drawn only for the job they
// were prepared for: a preparation left from another job file is ignored,
// and the print program removes the preparation either way.
#include "picture_prep.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "support/temp_folder.h"

namespace kv::print_program {
namespace {

namespace stdfs = std::filesystem;

PrintRun TwoSheets() {
  PrintRun run;
  run.sheets.resize(2);
  run.sheets[0].level = 1;
  run.sheets[0].firstRecord = 1;
  run.sheets[1].level = 2;
  run.sheets[1].firstRecord = 7;
  return run;
}

TEST(PicturePreparation, OnlyForItsOwnJobAndTakenOnce) {
  test::TempFolder prog;
  const stdfs::path job = prog.Write("MP_INFO.dat", "[WinPrint]\r\nLEVEL=1\r\n");
  const std::string stamp = JobStamp(job);
  ASSERT_NE(stamp, "");
  PreparedPictures pictures;
  pictures[{2, 7}].push_back({1, 2, 3, 4, "PNGDATA"});
  ASSERT_TRUE(WritePreparation(prog.path(), stamp, pictures));

  auto taken = TakePreparation(prog.path(), stamp, TwoSheets());
  ASSERT_EQ(taken.size(), 2u);
  EXPECT_TRUE(taken[0].empty());
  ASSERT_EQ(taken[1].size(), 1u);
  EXPECT_EQ(taken[1][0].data, "PNGDATA");
  EXPECT_EQ(taken[1][0].row2, 4);
  EXPECT_FALSE(stdfs::exists(prog / kPreparationFolder));
  EXPECT_TRUE(TakePreparation(prog.path(), stamp, TwoSheets()).empty());

  // The next job file, even with the same text, is another job.
  ASSERT_TRUE(WritePreparation(prog.path(), stamp, pictures));
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  const stdfs::path next = prog.Write("MP_INFO.tmp", "[WinPrint]\r\nLEVEL=1\r\n");
  stdfs::rename(next, job);
  EXPECT_TRUE(TakePreparation(prog.path(), JobStamp(job), TwoSheets()).empty());
  EXPECT_FALSE(stdfs::exists(prog / kPreparationFolder));
}

}  // namespace
}  // namespace kv::print_program
