#include "master_list.h"

#include <algorithm>

#include "core/settings_text.h"
#include "platform/fs.h"
#include "print_estimate.h"
#include "print_failure.h"
#include "sheet/sheet_fields.h"
#include "storage/row_record.h"

namespace kv::print_program {

namespace {

constexpr std::string_view kLastRecord = " -99";
constexpr size_t kNextAt = 7;  // bytes 8-11: the next record's number
constexpr size_t kMarkBytes = 3;

std::vector<std::string_view> Split(std::string_view text, char by) {
  std::vector<std::string_view> parts;
  for (size_t at = 0;;) {
    const size_t end = text.find(by, at);
    parts.push_back(text.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at));
    if (end == std::string_view::npos) return parts;
    at = end + 1;
  }
}

bool IsWholeNumber(std::string_view text) {
  text = TrimBlanks(text);
  return !text.empty() && text.size() <= 9 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::vector<MasterListItem> ParseMasterListLayout(std::string_view sjisBytes, const std::string& name) {
  const auto refuse = [&name](const std::string& why) {
    throw PrintFailure("仕訳ﾏｽﾀの項目定義 [ " + name + " ] を使えません。\n" + why);
  };
  std::vector<std::string_view> lines = Split(sjisBytes, '\n');
  for (std::string_view& line : lines)
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  if (lines.empty() || TrimBlanks(lines.front()) != "DM=1") refuse("1 行目が DM=1 ではありません");
  std::vector<MasterListItem> items;
  int bytes = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string line = std::to_string(i + 1) + " 行目";
    const std::vector<std::string_view> fields = Split(lines[i], '\t');
    if (fields.size() < 4) refuse(line + "の項目が足りません");
    if (!IsWholeNumber(fields[3]) || WholeNumberValue(fields[3]) < 1) refuse(line + "の桁数が正しくありません");
    items.push_back({std::string(fields[0]), WholeNumberValue(fields[3])});
    bytes += items.back().width;
    if (items.size() > static_cast<size_t>(kMaxColumns) || kColumnDataPos - 1 + bytes > kMasterListRecordBytes)
      refuse(line + "で項目がレコードに収まりません");
  }
  if (items.empty()) refuse("項目がありません");
  return items;
}

std::vector<std::string> MasterListRecords(std::string_view bytes) {
  std::vector<std::string> records;
  for (size_t at = 0; at < bytes.size(); at += kMasterListRecordBytes) {
    std::string rec(bytes.substr(at, kMasterListRecordBytes));
    rec.resize(kMasterListRecordBytes, ' ');
    const bool last = rec.compare(kNextAt, kLastRecord.size(), kLastRecord) == 0;
    records.push_back(std::move(rec));
    if (last) break;
  }
  return records;
}

void LoadMasterList(PrintEstimate& e, const PrintJob& job) {
  ProgramState& st = e.st;
  st.DataLen = kMasterListRecordBytes;
  st.H_Link = "10";
  st.LevelCount = 1;
  e.name = std::filesystem::path(job.dataFile).stem().string();

  std::error_code ec;
  const std::filesystem::path layoutPath = fs::ResolveNoCase(job.layoutFile);
  const std::optional<std::string> layout = fs::ReadFileBytes(layoutPath, ec);
  if (!layout) throw PrintFailure("仕訳ﾏｽﾀの項目定義 [ " + layoutPath.string() + " ] を読めません。\n" + ec.message());
  const std::vector<MasterListItem> items = ParseMasterListLayout(*layout, layoutPath.string());
  st.ColCount[1] = static_cast<int>(items.size());
  st.LevelCaption[1] = std::string(static_cast<size_t>(st.DataLen), ' ');
  int start = kColumnDataPos;
  for (size_t i = 0; i < items.size(); ++i) {
    const size_t c = i + 1;
    st.ColStart[1][c] = start;
    st.ColWidth[1][c] = items[i].width;
    st.ColType[1][c] = "C";
    FieldStore(st.LevelCaption[1], start, items[i].width, items[i].caption, st.DataLen);
    start += items[i].width;
  }

  const std::filesystem::path dataPath = fs::ResolveNoCase(job.dataFile);
  const std::optional<std::string> bytes = fs::ReadFileBytes(dataPath, ec);
  if (!bytes) throw PrintFailure("仕訳ﾏｽﾀ [ " + dataPath.string() + " ] を読めません。\n" + ec.message());
  std::string level;
  for (std::string& rec : MasterListRecords(*bytes)) {
    rec.replace(0, kMarkBytes, kMarkBytes, ' ');
    level += rec;
  }
  e.levelPaths = {dataPath.string()};
  e.levelBytes = {std::move(level)};
}

PrintRun PlanMasterList(int rows, int rowsPerPage, const PrintJob& job) {
  PrintRun run;
  PrintSheet sheet;
  sheet.level = 1;
  sheet.firstRecord = 1;
  for (int r = 1; r <= rows; ++r) {
    sheet.rows.push_back(r);
    sheet.printed.push_back(true);
    sheet.lineRows.push_back(r);
  }
  run.sheets.push_back(std::move(sheet));
  const int perPage = std::max(rowsPerPage, 1);
  const int pageCount = std::max(1, (rows + perPage - 1) / perPage);
  std::vector<PrintPage> pages;
  for (int p = 0; p < pageCount; ++p) {
    PrintPage page;
    page.number = job.firstPageNumber > 0 ? job.firstPageNumber + p : 0;
    page.headSheet = 0;
    page.places.resize(static_cast<size_t>(perPage));
    for (int i = 0; i < perPage; ++i) {
      const int row = p * perPage + i;
      if (row < rows) page.places[static_cast<size_t>(i)] = {SlotKind::Row, 0, row};
    }
    pages.push_back(std::move(page));
  }
  for (int copy = 0; copy < job.copies; ++copy) run.pages.insert(run.pages.end(), pages.begin(), pages.end());
  return run;
}

}  // namespace kv::print_program
