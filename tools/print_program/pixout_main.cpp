// pixOut.exe: the image program. Started by the editor before the print
// program, with the same job file, when the user asks to print the inserted
// objects: it reads the object files of the sheets the job prints (work
// base + "$" + the number in the sheet's closing record + ".MOD"), decodes
// their pictures and leaves them, as PNG, in the preparation the print
// program draws from (picture_prep.h). Other objects are not printed. A
// failure is reported like the print program's; the print then goes on
// without pictures.
#include <QBuffer>
#include <QImage>
#include <string>

#include "core/settings_text.h"
#include "picture_prep.h"
#include "platform/grid/grid_item_file.h"
#include "print_failure.h"
#include "print_load.h"
#include "qt/program_side.h"
#include "storage/sheet_objects.h"

namespace {

namespace stdfs = std::filesystem;
using namespace kv::print_program;

constexpr const char* kProgram = "pixOut.exe";

// The picture as PNG; "" when it cannot be decoded.
std::string AsPng(const std::string& data) {
  QImage image;
  if (!kv::LooksLikePicture(data) ||
      !image.loadFromData(reinterpret_cast<const uchar*>(data.data()), static_cast<int>(data.size())))
    return {};
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) return {};
  return png.toStdString();
}

int Prepare(const stdfs::path& folder, const std::string& argument) {
  LoadedPrint print = LoadPrint(folder, argument);
  const PrintEstimate& e = *print.estimate;
  const stdfs::path data(print.job.dataFile);
  const std::string workBase = (data.parent_path() / data.stem()).string();
  const size_t len = static_cast<size_t>(e.st.DataLen);

  PreparedPictures prepared;
  for (const PrintSheet& s : print.run.sheets) {
    if (s.closingRecord <= 0) continue;
    const std::string& bytes = e.levelBytes[static_cast<size_t>(s.level - 1)];
    const std::string number(kv::TrimBlanks(std::string_view(bytes).substr((s.closingRecord - 1) * len + 15, 4)));
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) continue;
    const stdfs::path file = kv::ObjectFilePath(workBase, number);
    std::error_code ec;
    if (!stdfs::exists(file, ec)) continue;
    std::vector<kv::GridItem> items;
    std::string header;
    if (const kv::GridFileResult r = kv::ReadItemFile(file.string(), items, header); !r)
      throw PrintFailure("オブジェクトファイル [ " + file.string() + " ] を読めません。\n" + r.detail);
    for (const kv::GridItem& item : items) {
      if (item.kind != kv::kItemKindPicture) continue;
      std::string png = AsPng(item.data);
      if (png.empty()) continue;
      prepared[{s.level, s.firstRecord}].push_back({item.col1, item.row1, item.col2, item.row2, std::move(png)});
    }
  }
  if (!WritePreparation(folder, JobStamp(print.jobFile), prepared))
    throw PrintFailure("印刷する図を [ " + (folder / kPreparationFolder).string() + " ] に書き込めません。");
  return 0;
}

}  // namespace

int main(int argc, char** argv) { return RunPrintProgram(argc, argv, kProgram, Prepare); }
