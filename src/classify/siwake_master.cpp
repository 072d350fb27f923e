#include "classify/siwake_master.h"

#include <algorithm>
#include <cmath>
#include <system_error>

#include "core/ini_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "state/siwake_code.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// A key's value when it is a whole decimal number (an optional sign and
// digits, nothing else); false otherwise.
bool IniNumber(const stdfs::path& ini, const std::string& key, int& value) {
  std::string text;
  if (!IniGetString(kSiwakeSection, key, text, ini)) return false;
  const std::string_view t = TrimBlanks(text);
  size_t i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  if (i >= t.size() || t.size() - i > 9) return false;
  long n = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return false;
    n = n * 10 + (t[i] - '0');
  }
  value = static_cast<int>(negative ? -n : n);
  return true;
}

bool IsBlank(std::string_view text) { return TrimBlanks(text).empty(); }

}  // namespace

std::string SiwakeLayoutRead(const stdfs::path& sysIni, int master, SiwakeLayout& out) {
  SiwakeLayout layout;
  const std::string fileKey = "SIWAKE" + std::to_string(master);
  IniGetString(kSiwakeSection, fileKey, layout.fileName, sysIni);
  if (TrimBlanks(layout.fileName).empty()) return fileKey;
  if (!IniNumber(sysIni, "ROWSMAX", layout.rowsMax) || layout.rowsMax < 1) return "ROWSMAX";
  layout.rowsMax = std::min(layout.rowsMax, kCodeTableRecords);
  if (!IniNumber(sysIni, "ITEMCNT", layout.itemCount) || layout.itemCount < 2) return "ITEMCNT";
  if (layout.itemCount > kMasterItemBytes) return "ITEMCNT";
  int sum = 0;
  for (int k = 1; k <= layout.itemCount; ++k) {
    const std::string key = "ITEM" + std::to_string(k);
    int width = 0;
    if (!IniNumber(sysIni, key, width) || width < 1) return key;
    sum += width;
    if (sum > kMasterItemBytes) return key;
    layout.itemWidth.push_back(width);
  }
  out = std::move(layout);
  return {};
}

std::string SiwakeSettingsMessage(std::string_view key) {
  return "仕訳画面の設定 [ " + std::string(key) + " ] が正しくありません。";
}

int MasterRecordCount(std::int64_t length) {
  if (length <= 0) return 0;
  return static_cast<int>(std::nearbyint(static_cast<double>(length) / kMasterRecordBytes));
}

std::string MasterRecordAt(std::string_view fileBytes, int index) {
  const size_t start = static_cast<size_t>(index) * kMasterRecordBytes;
  std::string rec = start < fileBytes.size() ? std::string(fileBytes.substr(start, kMasterRecordBytes)) : std::string();
  rec.resize(kMasterRecordBytes, ' ');
  return rec;
}

std::string MasterItemField(std::string_view bytes, int width) {
  std::string field = CutToBytes(bytes, width);
  field.resize(static_cast<size_t>(std::max(width, 0)), ' ');
  return field;
}

std::vector<std::string> MasterRecordItems(std::string_view record, const std::vector<int>& widths) {
  std::vector<std::string> items;
  items.reserve(widths.size());
  size_t pos = kMasterItemStart - 1;
  for (int w : widths) {
    // Bytes as stored; a double-byte character cut by the width keeps its
    // lead byte here and is shown as a broken character.
    std::string item = pos < record.size() ? std::string(record.substr(pos, static_cast<size_t>(w))) : std::string();
    item.resize(static_cast<size_t>(w), ' ');
    items.push_back(std::move(item));
    pos += static_cast<size_t>(w);
  }
  return items;
}

std::string MasterNumberField(int n) {
  std::string text = std::to_string(n);
  if (text.size() < 4) text.insert(0, 4 - text.size(), ' ');
  return text.substr(text.size() - 4);
}

std::string MasterRecordBuild(int row, int next, const std::vector<std::string>& items,
                              const std::vector<int>& widths) {
  std::string rec(kMasterRecordBytes, ' ');
  rec.replace(3, 4, MasterNumberField(row));
  rec.replace(7, 4, next > 0 ? MasterNumberField(next) : std::string(" -99"));
  rec.replace(11, 4, " -99");
  size_t pos = kMasterItemStart - 1;
  for (size_t k = 0; k < widths.size(); ++k) {
    const int w = widths[k];
    if (pos + static_cast<size_t>(w) > rec.size()) break;
    rec.replace(pos, static_cast<size_t>(w), MasterItemField(k < items.size() ? items[k] : std::string(), w));
    pos += static_cast<size_t>(w);
  }
  return rec;
}

std::vector<std::vector<std::string>> MasterRowsSorted(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::vector<std::string>> kept;
  for (const auto& row : rows)
    if (!row.empty() && !IsBlank(row[0])) kept.push_back(row);
  std::stable_sort(kept.begin(), kept.end(), [](const auto& a, const auto& b) {
    return SiwakeCodeCompare(a[0], b[0]) < 0;
  });
  return kept;
}

std::string MasterFileBytes(const std::vector<std::vector<std::string>>& sortedRows, const std::vector<int>& widths) {
  std::string out;
  if (sortedRows.empty()) return MasterRecordBuild(1, 0, {}, widths);
  out.reserve(sortedRows.size() * kMasterRecordBytes);
  const int count = static_cast<int>(sortedRows.size());
  for (int r = 1; r <= count; ++r)
    out += MasterRecordBuild(r, r < count ? r + 1 : 0, sortedRows[static_cast<size_t>(r - 1)], widths);
  return out;
}

void SiwakeItemRead(ProgramState& st, const std::string& path, int table) {
  if (table < 0 || table >= kCodeTableCount) return;
  auto& entries = st.CodeTables[static_cast<size_t>(table)];
  int& count = st.CodeTableCounts[static_cast<size_t>(table)];
  count = 0;
  const stdfs::path ini = stdfs::path(st.AppPath) / "KVSSYS.INI";
  int w1 = 0, w2 = 0;
  if (!IniNumber(ini, "ITEM1", w1) || !IniNumber(ini, "ITEM2", w2) || w1 < 1 || w2 < 1 ||
      w1 + w2 > kMasterItemBytes) {
    entries.clear();
    return;
  }
  std::error_code ec;
  std::optional<std::string> bytes;
  if (stdfs::is_regular_file(path, ec)) bytes = fs::ReadFileBytes(path, ec);
  if (!bytes) {
    entries.clear();
    return;
  }
  const int records = std::min(MasterRecordCount(static_cast<std::int64_t>(bytes->size())), kCodeTableRecords);
  std::vector<CodeTableEntry> loaded;
  loaded.reserve(static_cast<size_t>(records));
  for (int i = 0; i < records; ++i) {
    const std::vector<std::string> items = MasterRecordItems(MasterRecordAt(*bytes, i), {w1, w2});
    loaded.push_back({items[0], items[1]});
  }
  // A master written in another order (by hand, by an older program) is
  // still found: the lookup halves the table in this order.
  std::stable_sort(loaded.begin(), loaded.end(), [](const CodeTableEntry& a, const CodeTableEntry& b) {
    return SiwakeCodeCompare(a.code, b.code) < 0;
  });
  entries = std::move(loaded);
  count = records;
}

void SiwakeMasters::SiwakeItemRead(ProgramState& st, const std::string& path, int number) {
  kv::SiwakeItemRead(st, path, number);
}

}  // namespace kv
