#include "picture_prep.h"

#include <sys/stat.h>

#include <functional>

#include "platform/fs.h"
#include "platform/grid/grid_item_file.h"

namespace kv::print_program {

namespace {

namespace stdfs = std::filesystem;

std::string SheetFileName(int level, int first) { return std::to_string(level) + "_" + std::to_string(first) + ".MOD"; }

}  // namespace

std::string JobStamp(const stdfs::path& jobFile) {
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(jobFile, ec);
  struct stat info {};
  if (!bytes || ::stat(jobFile.c_str(), &info) != 0) return {};
  const long long nanos = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return std::to_string(bytes->size()) + " " + std::to_string(nanos) + " " + std::to_string(info.st_ino) + " " +
         std::to_string(std::hash<std::string>{}(*bytes));
}

bool WritePreparation(const stdfs::path& programFolder, const std::string& stamp, const PreparedPictures& pictures) {
  const stdfs::path folder = programFolder / kPreparationFolder;
  std::error_code ec;
  stdfs::remove_all(folder, ec);
  if (stamp.empty() || !stdfs::create_directories(folder, ec)) return false;
  bool ok = true;
  for (const auto& [sheet, list] : pictures) {
    std::vector<GridItem> items;
    for (const SheetPicture& p : list) {
      GridItem item;
      item.col1 = p.col1;
      item.row1 = p.row1;
      item.col2 = p.col2;
      item.row2 = p.row2;
      item.kind = kItemKindPicture;
      item.data = p.data;
      items.push_back(std::move(item));
    }
    ok = ok && WriteItemFile((folder / SheetFileName(sheet.first, sheet.second)).string(), items);
  }
  // The stamp last: a preparation cut short is never taken for a whole one.
  ok = ok && fs::WriteFileAtomic(folder / "STAMP", stamp, ec);
  if (!ok) stdfs::remove_all(folder, ec);
  return ok;
}

std::vector<std::vector<SheetPicture>> TakePreparation(const stdfs::path& programFolder, const std::string& stamp,
                                                       const PrintRun& run) {
  const stdfs::path folder = programFolder / kPreparationFolder;
  std::vector<std::vector<SheetPicture>> out;
  std::error_code ec;
  if (!stdfs::exists(folder, ec)) return out;
  const std::optional<std::string> found = fs::ReadFileBytes(folder / "STAMP", ec);
  if (found && !stamp.empty() && *found == stamp) {
    out.resize(run.sheets.size());
    for (size_t i = 0; i < run.sheets.size(); ++i) {
      const stdfs::path file = folder / SheetFileName(run.sheets[i].level, run.sheets[i].firstRecord);
      if (!stdfs::exists(file, ec)) continue;
      std::vector<GridItem> items;
      std::string header;
      if (!ReadItemFile(file.string(), items, header)) continue;
      for (GridItem& item : items)
        if (item.kind == kItemKindPicture)
          out[i].push_back({item.col1, item.row1, item.col2, item.row2, std::move(item.data)});
    }
  }
  stdfs::remove_all(folder, ec);
  return out;
}

}  // namespace kv::print_program
