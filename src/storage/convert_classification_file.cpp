// Conversion of DOS-form level files into level work files of the current
// form: record by record in memory, each converted file written whole before
// its source goes.
#include "storage/convert_classification_file.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "core/record_file.h"
#include "core/settings_text.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/link_no_text.h"
#include "storage/row_record.h"

namespace kv {

namespace {

namespace stdfs = std::filesystem;

constexpr char kMemoKind = '\xD2';  // ﾒ
constexpr int kListedRecords = 5;   // record numbers named per fault in the report

// Record faults the conversion mends, each reported once per level.
enum RecordFault { kOwnNumber, kBadNext, kNextPastEnd, kBadChild, kChildPastEnd, kFaultKinds };

constexpr std::array<std::string_view, kFaultKinds> kFaultText = {
    "レコード番号が記録位置と一致しません。記録位置の番号にしました",
    "次のレコード番号が読めません。シートの終わりにしました",
    "次のレコードがファイルにありません。シートの終わりにしました",
    "内訳のレコード番号が読めません。内訳なしにしました",
    "内訳のレコードが次の階層のファイルにありません。内訳なしにしました",
};

struct SourceLevel {
  bool exists = false;
  bool readable = false;
  stdfs::path path;
  std::string bytes;
  int records = 0;  // whole records that are converted
};

struct LevelFaults {
  std::array<std::vector<int>, kFaultKinds> records;
  void Add(RecordFault f, int record) { records[f].push_back(record); }
};

std::string FileName(const stdfs::path& p) { return p.filename().string(); }

bool IsBlank(std::string_view s) { return TrimBlanks(s).empty(); }

// A link text right-aligned in the 4-byte field.
std::string Right4(std::string s) {
  if (s.size() < kStoredNumberWidth) s.insert(0, kStoredNumberWidth - s.size(), ' ');
  return s;
}

// `length` bytes of `rec` from the 0-based `pos`, blank-padded when the
// record ends first.
std::string Piece(std::string_view rec, size_t pos, int length) {
  std::string out;
  if (pos < rec.size()) out.assign(rec.substr(pos, static_cast<size_t>(length)));
  out.resize(static_cast<size_t>(length), ' ');
  return out;
}

// Bytes a wide text column holds in a DOS record: (width - 2) / 2, halves to
// the even neighbour, within 0 .. width.
int DosWideBytes(int width) {
  const int k = static_cast<int>(std::nearbyint((width - 2) / 2.0));
  return std::clamp(k, 0, width);
}

// Columns from byte 20 of a DOS record laid out by the level's own columns.
std::string WidenColumns(const ProgramState& st, int level, std::string_view rec) {
  std::string out;
  size_t pos = kColumnDataPos - 1;
  const int columns = std::clamp(st.ColCount[level], 0, kMaxColumns);
  for (int c = 1; c <= columns; ++c) {
    const int width = std::max(st.ColWidth[level][c], 0);
    const std::string& type = st.ColType[level][c];
    if (!type.empty() && type.front() == 'W') {
      const int k = DosWideBytes(width);
      out += Piece(rec, pos, k);
      out.append(static_cast<size_t>(width - k), ' ');
      pos += static_cast<size_t>(k);
    } else {
      out += Piece(rec, pos, width);
      pos += static_cast<size_t>(width);
    }
  }
  return out;
}

// A link field of a DOS record converted, or " -99" when it is no record
// number or names a record past `limit` (noted as `bad` / `pastEnd`).
std::string ConvertLink(std::string_view field, bool hex, int limit, int record, RecordFault bad,
                        RecordFault pastEnd, LevelFaults& faults) {
  const std::optional<int> value = ReadStoredLink(field, false);
  if (!value) {
    faults.Add(bad, record);
    return std::string(kNoneField);
  }
  if (*value != kNoRecord && *value > limit) {
    faults.Add(pastEnd, record);
    return std::string(kNoneField);
  }
  return Right4(LinkNoText(field, hex));
}

// One DOS record of level `level` (record `r` of a file of `count` records,
// the next level's file holding `childCount`) in the current form.
std::string ConvertRecord(const ProgramState& st, int level, bool wide, std::string rec, int r,
                          int count, int childCount, LevelFaults& faults) {
  const bool hex = IsHexBase(st.H_Link);
  if (st.SystemKind == 1) {
    char& mark = rec[kPrintMarkPos - 1];
    if (mark == 'I') {
      mark = 'U';
    } else if (mark == 'U') {
      mark = 'I';
    }
  }

  const std::string_view ownField = std::string_view(rec).substr(kOwnPos - 1, kStoredNumberWidth);
  const std::optional<int> own = ReadStoredLink(ownField, false);
  std::string ownText;
  if (own && *own == r) {
    ownText = Right4(LinkNoText(ownField, hex));
  } else {
    faults.Add(kOwnNumber, r);
    ownText = Right4(LinkNoText(std::to_string(r), hex));
  }

  const std::string_view nextField = std::string_view(rec).substr(kNextPos - 1, kStoredNumberWidth);
  // A blank next link becomes the record's own number.
  const std::string nextText =
      IsBlank(nextField) ? ownText
                         : ConvertLink(nextField, hex, count, r, kBadNext, kNextPastEnd, faults);

  const std::string_view childField =
      std::string_view(rec).substr(kChildPos - 1, kStoredNumberWidth);
  const std::string childText = IsBlank(childField) ? Right4(LinkNoText(childField, hex))
                                                    : ConvertLink(childField, hex, childCount, r,
                                                                  kBadChild, kChildPastEnd, faults);

  std::string out = rec.substr(0, kOwnPos - 1) + ownText + nextText + childText +
                    rec.substr(kObjectPos - 1, kObjectWidth);
  if (wide && rec[kKindPos - 1] != kMemoKind) {
    out += WidenColumns(st, level, rec);
  } else {
    out += rec.substr(kColumnDataPos - 1);
  }
  return FitRecord(out, st.DataLen);
}

std::string ListRecords(const std::vector<int>& records) {
  std::string text = " (レコード ";
  for (size_t i = 0; i < records.size() && i < kListedRecords; ++i) {
    if (i > 0) text += ", ";
    text += std::to_string(records[i]);
  }
  if (records.size() > kListedRecords)
    text += " ほか " + std::to_string(records.size() - kListedRecords) + " 件";
  return text + ")";
}

// Clears the busy pointer on every way out.
struct BusyPointer {
  explicit BusyPointer(Ui& u) : ui(u) { ui.SetBusyPointer(true); }
  ~BusyPointer() { ui.SetBusyPointer(false); }
  Ui& ui;
};

}  // namespace

bool IsDosClassificationFile(const ProgramState& st, std::string_view ext) {
  return st.SystemKind == 1 && EqualsNoCase(ext, ".S1");
}

bool ConvertClassificationFile(ProgramState& st, const std::string& workBase,
                               const std::string& ext) {
  if (!IsValidRecordLength(st.DataLen)) {
    WarnMsgBox(st, "レコード長 (DataLen " + std::to_string(st.DataLen) +
                       ") が正しくないため、変換できません。");
    return false;
  }
  BusyPointer busy(st.ui);
  const bool siwake = IsDosClassificationFile(st, ext);
  const std::string sourceExt = siwake ? ".S" : ".Y";
  const std::string resultBase = siwake ? workBase + std::string(kSiwakeSuffix) : workBase;
  const int levels = std::clamp(st.LevelCount, 0, kDosLevelCount);
  std::vector<std::string> report;

  // Every source is read before anything is written, so no converted file can
  // take the place of a source not yet read.
  std::array<SourceLevel, kDosLevelCount + 2> src{};
  int deepest = 0;
  for (int L = 1; L <= levels; ++L) {
    SourceLevel& s = src[L];
    s.path = fs::ResolveNoCase(stdfs::path(workBase + sourceExt + std::to_string(L)));
    std::error_code ec;
    s.exists = stdfs::is_regular_file(s.path, ec);
    if (!s.exists) continue;
    deepest = L;
    std::optional<std::string> bytes = fs::ReadFileBytes(s.path, ec);
    if (!bytes) {
      report.push_back("[ " + FileName(s.path) + " ] を読み込めませんでした (" + ec.message() +
                       ")。");
      continue;
    }
    s.readable = true;
    s.bytes = std::move(*bytes);
    const size_t whole = s.bytes.size() / kDosRecordLen;
    if (const size_t rest = s.bytes.size() % kDosRecordLen; rest != 0) {
      report.push_back("[ " + FileName(s.path) + " ] の長さが" + std::to_string(kDosRecordLen) +
                       "バイトの倍数ではありません。最後の " + std::to_string(rest) +
                       " バイトは変換していません。");
    }
    if (whole > static_cast<size_t>(kDosMaxRecords)) {
      report.push_back("[ " + FileName(s.path) + " ] のレコード " +
                       std::to_string(kDosMaxRecords + 1) +
                       " 以降は変換していません (レコードが多すぎます)。");
    }
    s.records = static_cast<int>(std::min(whole, static_cast<size_t>(kDosMaxRecords)));
  }

  if (deepest == 0) {
    WarnMsgBox(st, "変換するファイル [ " + stdfs::path(workBase).filename().string() + sourceExt +
                       "1 ] が見つかりません。");
    return false;
  }
  for (int L = 1; L < deepest; ++L) {
    if (!src[L].exists) {
      report.push_back("第" + std::to_string(L) + "階層のファイル [ " + FileName(src[L].path) +
                       " ] がありません。その下の階層の内訳は上の階層から参照できません。");
    }
  }

  std::vector<stdfs::path> written;
  std::vector<int> convertedLevels;
  for (int L = 1; L <= levels; ++L) {
    SourceLevel& s = src[L];
    if (!s.readable) continue;
    const bool wide = LevelHasWColumn(st, L);
    const int childCount = L < levels && src[L + 1].readable ? src[L + 1].records : 0;
    LevelFaults faults;
    std::string out;
    out.reserve(static_cast<size_t>(s.records) * static_cast<size_t>(st.DataLen));
    for (int r = 1; r <= s.records; ++r) {
      std::string rec = s.bytes.substr(static_cast<size_t>(r - 1) * kDosRecordLen, kDosRecordLen);
      out += ConvertRecord(st, L, wide, std::move(rec), r, s.records, childCount, faults);
    }
    s.bytes.clear();
    s.bytes.shrink_to_fit();

    const stdfs::path result = fs::ResolveNoCase(stdfs::path(resultBase + st.LevelExt[L]));
    for (int f = 0; f < kFaultKinds; ++f) {
      if (faults.records[f].empty()) continue;
      report.push_back("[ " + FileName(s.path) + " ] " + std::string(kFaultText[f]) +
                       ListRecords(faults.records[f]) + "。");
    }
    std::error_code ec;
    if (!fs::WriteFileAtomic(result, out, ec)) {
      report.push_back("[ " + FileName(result) + " ] を書き込めませんでした (" + ec.message() +
                       ")。この階層は変換していません。");
      continue;
    }
    written.push_back(result);
    convertedLevels.push_back(L);
  }

  // The sources of the converted levels go, unless a converted file took
  // their very name.
  for (int L : convertedLevels) {
    const stdfs::path& p = src[L].path;
    if (std::find(written.begin(), written.end(), p) != written.end()) continue;
    std::error_code ec;
    stdfs::remove(p, ec);
  }

  if (!report.empty()) {
    std::string text = "DOS版見積データの変換で、次の部分は変換できませんでした。";
    for (const std::string& line : report) text += "\n" + line;
    WarnMsgBox(st, text);
    return false;
  }
  return true;
}

}  // namespace kv
