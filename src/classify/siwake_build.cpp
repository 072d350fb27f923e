#include "classify/siwake_build.h"

#include <algorithm>
#include <array>
#include <climits>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <vector>

#include "classify/siwake_master.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/fs.h"
#include "platform/index_db.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr char kMemoKind = '\xD2';  // ﾒ
constexpr char kSpecialMemoKind = 'Q';
constexpr char kClosingKind = 'G';

int Msg(ProgramState& st, const std::string& text, int style, std::string_view title) {
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(text, style, title);
  FloatWindowsTopMostSet(st, true);
  return answer;
}

stdfs::path IndexDbPath(const ProgramState& st) { return stdfs::path(st.AppPath) / kIndexDbName; }

void IndexDbFailShow(ProgramState& st, const std::string& reason) {
  Msg(st, "インデックスファイル [ " + IndexDbPath(st).string() + " ] を作成できません。\r" + reason,
      vbOKOnly | vbExclamation, kSiwakeTitle);
}

// " 9800": the number with its sign position, as Str$ gives it.
std::string StrDollar(int n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

bool Hex(const ProgramState& st) { return IsHexBase(st.H_Link); }

void Place(std::string& rec, int start, int width, std::string_view bytes) {
  if (start < 1 || width < 1 || size_t(start - 1) >= rec.size()) return;
  width = std::min<int>(width, int(rec.size()) - (start - 1));
  std::string field(bytes.substr(0, size_t(width)));
  field.resize(size_t(width), ' ');
  rec.replace(size_t(start - 1), size_t(width), field);
}

void PlaceLinks(std::string& rec, int own, int next, int child, bool hex) {
  Place(rec, 4, 4, StoredNumberField(own, hex));
  Place(rec, 8, 4, StoredNumberField(next, hex));
  Place(rec, 12, 4, StoredNumberField(child, hex));
}

void Report(const SiwakeProgress& progress, int label, std::string_view rec) {
  if (progress.Show) progress.Show(label, MidAnsi(rec, 1, 40));
}

bool Stop(const SiwakeProgress& progress) { return progress.StopAsked && progress.StopAsked(); }

// The level work files of one estimate, each read once into memory.
class LevelImages {
 public:
  LevelImages(const ProgramState& st, std::string base) : st_(st), base_(std::move(base)) {}

  stdfs::path Path(int level) const { return LevelFilePath(st_, base_, level); }

  // The image of a level file; null when the file is not there or cannot be
  // read (`error` then says why, empty for a missing file).
  const RecordSource* Source(int level, std::string& error) {
    if (level < 1 || level > kMaxLevels) return nullptr;
    Image& image = images_[size_t(level)];
    if (!image.tried) {
      image.tried = true;
      std::error_code ec;
      const stdfs::path path = Path(level);
      if (stdfs::exists(path, ec)) {
        image.bytes = fs::ReadFileBytes(path, ec);
        if (!image.bytes) image.error = ec.message();
      }
      if (image.bytes) image.source.emplace(*image.bytes, st_.DataLen);
    }
    error = image.error;
    return image.source ? &*image.source : nullptr;
  }

 private:
  struct Image {
    bool tried = false;
    std::optional<std::string> bytes;
    std::optional<MemoryRecords> source;
    std::string error;
  };
  const ProgramState& st_;
  std::string base_;
  std::array<Image, kMaxLevels + 1> images_{};
};

struct Columns {
  int codeStart, codeWidth, nameStart, nameWidth;
};

class IndexWalk {
 public:
  IndexWalk(ProgramState& st, const std::string& base, Columns cols, IndexDbWriter& table,
            const SiwakeProgress& progress)
      : st_(st), files_(st, base), cols_(cols), table_(table), progress_(progress) {}

  bool Walk(int level, int& record) {
    std::string error;
    const RecordSource* src = files_.Source(level, error);
    if (src == nullptr) {
      // The sheet a breakdown link names is in a file that is not there.
      LevelFileFaultShow(st_, files_.Path(level), {LevelFault::LinkPastEnd, record});
      return false;
    }
    SheetChain chain;
    if (LevelFileProblem p = ReadSheetChain(*src, level == 1, record, Hex(st_), INT_MAX, chain)) {
      LevelFileFaultShow(st_, files_.Path(level), p);
      return false;
    }
    const bool hex = Hex(st_);
    for (size_t i = 0; i < chain.records.size(); ++i) {
      const std::string& rec = chain.records[i];
      record = BaseStrToNum(std::string_view(rec).substr(7, 4), hex);
      if (RecordByte(rec, 3) == kClosingKind) continue;
      const std::string code = Field(rec, cols_.codeStart, cols_.codeWidth);
      const bool coded = !TrimBlanks(code).empty();
      if (coded) {
        IndexRow row{rec.substr(3, 4), rec.substr(7, 4), rec.substr(11, 4), StrDollar(level), code,
                     Field(rec, cols_.nameStart, cols_.nameWidth)};
        if (!table_.Append(row)) {
          IndexDbFailShow(st_, table_.Error());
          return false;
        }
      }
      Report(progress_, 0, rec);
      if (Stop(progress_)) return false;
      const int child = BaseStrToNum(std::string_view(rec).substr(11, 4), hex);
      if (!coded && child > 0 && level < st_.LevelCount) {
        int first = child;
        if (!Walk(level + 1, first)) return false;
      }
    }
    return true;
  }

 private:
  static char RecordByte(const std::string& rec, int pos) { return size_t(pos) <= rec.size() ? rec[size_t(pos - 1)] : ' '; }
  static std::string Field(const std::string& rec, int start, int width) {
    if (start < 1 || width < 1 || size_t(start - 1) >= rec.size()) return std::string(size_t(std::max(width, 0)), ' ');
    std::string f = rec.substr(size_t(start - 1), size_t(width));
    f.resize(size_t(width), ' ');
    return f;
  }

  ProgramState& st_;
  LevelImages files_;
  Columns cols_;
  IndexDbWriter& table_;
  const SiwakeProgress& progress_;
};

}  // namespace

int SiwakeRowLimit(const ProgramState& st) { return Hex(st) ? 30000 : 9800; }

bool CreateIndexDb(ProgramState& st, int codeWidth, int nameWidth) {
  std::string error;
  if (IndexDbCreate(IndexDbPath(st), codeWidth, nameWidth, error)) return true;
  st.ui.Beep();
  IndexDbFailShow(st, error);
  return false;
}

bool AddIndexRecords(ProgramState& st, const std::string& sourceBase, int level, int& record, int codeStart,
                     int codeWidth, int nameStart, int nameWidth, IndexDbWriter& table,
                     const SiwakeProgress& progress) {
  IndexWalk walk(st, sourceBase, {codeStart, codeWidth, nameStart, nameWidth}, table, progress);
  return walk.Walk(level, record);
}

bool BuildSiwakeIndex(ProgramState& st, const std::string& sourceBase, int codeStart, int codeWidth, int nameStart,
                      int nameWidth, const SiwakeProgress& progress) {
  IndexDbWriter table(IndexDbPath(st));
  if (!table.ok()) {
    IndexDbFailShow(st, table.Error());
    return false;
  }
  if (!table.HasField("CODE")) {
    Msg(st, "ｷｰﾌｨｰﾙﾄﾞ名: CODEが見つかりません？", vbOKOnly | vbQuestion, kSiwakeTitle);
    return false;
  }
  int record = 1;
  if (!AddIndexRecords(st, sourceBase, 1, record, codeStart, codeWidth, nameStart, nameWidth, table, progress))
    return false;
  if (!table.Commit()) {
    IndexDbFailShow(st, table.Error());
    return false;
  }
  return true;
}

bool MakeSiwakeFile(ProgramState& st, const std::string& targetBase, const std::string& sourceBase,
                    const SiwakeProgress& progress) {
  const bool hex = Hex(st);
  IndexDbQuery query(IndexDbPath(st));
  if (!query.ok()) {
    IndexDbFailShow(st, query.Error());
    return false;
  }
  if (query.Count() == 0) {
    Msg(st, "選択された仕訳のコードが入力されている行がないため、仕訳ファイルを作成できません。", vbOKOnly,
        kSiwakeTitle);
    return false;
  }
  const int limit = SiwakeRowLimit(st);
  if (query.Count() > limit) {
    Msg(st, "仕訳ファイル２階層目のレコード件数が " + StrDollar(limit) + "を越えるため、仕訳ファイル作成が出来ません。",
        vbOKOnly, kSiwakeTitle);
    return false;
  }
  std::vector<IndexRow> rows;
  rows.reserve(size_t(query.Count()));
  for (IndexRow row; query.Next(row);) rows.push_back(row);

  // The groups: runs of one CODE text, each sheet at most Imax rows with its
  // heading. Counted before anything is written, so that nothing is left out.
  const int imax = std::max(st.Imax, 2);
  std::vector<size_t> groupStarts;
  for (size_t i = 0, inSheet = 0; i < rows.size(); ++i) {
    if (i == 0 || rows[i].code != rows[i - 1].code || inSheet + 1 >= size_t(imax)) {
      groupStarts.push_back(i);
      inSheet = 0;
    }
    ++inSheet;
  }
  const int groups = int(groupStarts.size());
  if (groups > st.Imax) {
    Msg(st, "仕訳ファイル１階層目の行数が " + StrDollar(st.Imax) + "を越えるため、仕訳ファイル作成が出来ません。",
        vbOKOnly, kSiwakeTitle);
    return false;
  }
  // Level 2: every index row, and a heading and a closing record per group.
  const int level2Records = int(rows.size()) + 2 * groups;
  try {
    StoredNumberField(level2Records, hex);
  } catch (const std::out_of_range&) {
    const int capacity = hex ? 0xFFFD : 9999;
    Msg(st, "仕訳ファイル２階層目のレコード件数が " + StrDollar(capacity) + "を越えるため、仕訳ファイル作成が出来ません。",
        vbOKOnly, kSiwakeTitle);
    return false;
  }

  const int dataLen = st.DataLen;
  const std::string blank(size_t(dataLen), ' ');
  const int nameCol = st.ToTalNameColmun;
  const auto groupText = [&](const IndexRow& row) { return row.code + ":" + row.name; };
  const auto placeName = [&](std::string& rec, const IndexRow& row) {
    if (nameCol < 1) return;
    const int width = st.ColWidth[1][size_t(nameCol)];
    Place(rec, st.ColStart[1][size_t(nameCol)], width, CutToBytes(groupText(row), width));
  };
  const int formulaCol = (st.SystemKind == 2 || st.SystemKind == 4) ? st.FormulaColumn[2] : 0;
  const auto closing = [&](int level, int own) {
    std::string rec = st.TotalRecordDefaults[size_t(level)];
    rec.resize(size_t(dataLen), ' ');
    rec[2] = kClosingKind;
    Place(rec, 4, 4, StoredNumberField(own, hex));
    Place(rec, 8, 4, kNoneField);
    Place(rec, 12, 4, kNoneField);
    return rec;
  };

  LevelImages sources(st, sourceBase);
  std::string level1, level2;
  level1.reserve(size_t(groups + 1) * size_t(dataLen));
  level2.reserve(size_t(level2Records) * size_t(dataLen));
  int r = 1;
  try {
    for (int g = 1; g <= groups; ++g) {
      const size_t from = groupStarts[size_t(g - 1)];
      const size_t to = g < groups ? groupStarts[size_t(g)] : rows.size();
      // The group row of level 1.
      std::string groupRow = blank;
      PlaceLinks(groupRow, g, g + 1, r, hex);
      placeName(groupRow, rows[from]);
      for (int k = 1; k <= 3; ++k) {
        const int q = st.SiwakeSuu[size_t(k)];
        if (q >= 1) {
          std::string one = "1";
          NumFitColumn(st, 1, one, q);
          const int width = st.ColWidth[1][size_t(q)];
          if (int(one.size()) < width) one.insert(0, size_t(width) - one.size(), ' ');
          Place(groupRow, st.ColStart[1][size_t(q)], width, one);
        }
        const int u = st.SiwakeUni[size_t(k)];
        if (u >= 1) {
          const std::string unit = " " + ToAnsiBytes("式");
          const int start = st.ColStart[1][size_t(u)];
          if (start >= 1 && size_t(start - 1) < groupRow.size())
            groupRow.replace(size_t(start - 1), std::min(unit.size(), groupRow.size() - size_t(start - 1)), unit);
        }
      }
      Report(progress, 0, groupRow);
      level1 += groupRow;
      // Its sheet on level 2: the heading, the rows, the closing record.
      std::string heading = blank;
      PlaceLinks(heading, r, r + 1, kNoRecord, hex);
      placeName(heading, rows[from]);
      Report(progress, 1, heading);
      level2 += heading;
      ++r;
      if (Stop(progress)) return false;
      for (size_t i = from; i < to; ++i) {
        const int level = BaseStrToNum(rows[i].level, false);
        const int recNo = BaseStrToNum(rows[i].record, hex);
        std::string error;
        const RecordSource* src = sources.Source(level, error);
        std::string rec;
        if (src == nullptr || !src->Get(recNo, rec)) {
          LevelFileFaultShow(st, sources.Path(level), {LevelFault::LinkPastEnd, recNo});
          return false;
        }
        rec.resize(size_t(dataLen), ' ');
        if (rec[2] != kSpecialMemoKind && rec[2] != kMemoKind) rec[2] = ' ';
        PlaceLinks(rec, r, r + 1, kNoRecord, hex);
        if (formulaCol >= 1)
          Place(rec, st.ColStart[2][size_t(formulaCol)], st.ColWidth[2][size_t(formulaCol)], "");
        Report(progress, 1, rec);
        level2 += rec;
        ++r;
        if (Stop(progress)) return false;
      }
      const std::string close = closing(2, r);
      Report(progress, 1, close);
      level2 += close;
      ++r;
    }
    level1 += closing(1, groups + 1);
  } catch (const std::out_of_range& e) {
    Msg(st, e.what(), vbOKOnly, "TheKorvane");
    return false;
  }
  std::error_code ec;
  const stdfs::path out1 = LevelFilePath(st, targetBase, 1);
  const stdfs::path out2 = LevelFilePath(st, targetBase, 2);
  if (!fs::WriteFileAtomic(out1, level1, ec) || !fs::WriteFileAtomic(out2, level2, ec)) {
    LevelFileErrorShow(st, ec ? out2 : out1, ec.message());
    return false;
  }
  return true;
}

}  // namespace kv
