// Build step of the program folder: the sample estimate, packed from a
// readable table.
//
//   make_sample_estimate <program-dir> <rows.tsv> <estimate.YZH>
//
// The program folder must already hold its settings files and the base text
// set: the program's own start-up runs on a scratch copy of it, so that the
// estimate is laid out in the columns, record length and link base a new
// estimate gets and carries the untitled layout file and settings file. The
// rows become the level work files of the estimate, which the program's own
// pack code packs into <estimate.YZH> (and its object pack beside it).
//
// The table (UTF-8) has one row a line, fields separated by one Tab: a header
// line that names the columns (階層, 行種別, then column headings), then the
// rows in sheet order, each breakdown following the row it belongs to. Lines
// beginning with "#" and empty lines are skipped. "\n" in a text breaks a
// two-line ("W") cell; numbers may carry thousands separators.
//
// The values the calculation computes are written in the table and checked
// here, so that the stored estimate agrees with what a recalculation gives:
// a column whose row definition multiplies two columns ("[[D*[[F") holds
// their product cut to the column's decimals on every item row; a "SUM"
// column holds the running totals of the total rows; a row with a breakdown
// holds the breakdown's totals in the columns its carry definitions name.
// Anything else that would not be stored as written (a text too long for its
// column, a number that does not fit, a character without a Shift-JIS form)
// stops the build with a message naming the line; nothing is written then.
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup_init.h"
#include "core/column_letter.h"
#include "core/currency.h"
#include "core/number_text.h"
#include "core/record_file.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "sheet/cell_text_store.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "storage/estimate_pack.h"
#include "storage/row_record.h"
#include "table_text.h"
#include "quiet_ui.h"

namespace {

namespace stdfs = std::filesystem;
using kv::tools::Failure;
using kv::tools::SplitTabs;
using kv::tools::Stored;

// The start-up runs without a user: any message it has is a fault of the
// program folder and stops the build.
class BuildUi : public kv::bench::QuietUi {
 public:
  int MsgBox(std::string_view text, int, std::string_view) override {
    throw Failure{"the start-up said: " + std::string(text)};
  }
  [[noreturn]] void EndProgram(int exitCode) override {
    throw Failure{"the start-up ended the program (" + std::to_string(exitCode) + ")"};
  }
};

// A scratch copy of the program folder's files, removed afterwards.
class ScratchFolder {
 public:
  explicit ScratchFolder(const stdfs::path& programDir) {
    std::string tmpl = (stdfs::temp_directory_path() / "kvsample-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw Failure{"cannot make a scratch folder"};
    path_ = tmpl;
    for (const auto& e : stdfs::directory_iterator(programDir))
      if (e.is_regular_file() && e.path().filename() != "korvane")
        stdfs::copy_file(e.path(), path_ / e.path().filename());
  }
  ~ScratchFolder() {
    std::error_code ec;
    stdfs::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const stdfs::path& path() const { return path_; }

 private:
  stdfs::path path_;
};

struct Row {
  std::string where;  // file:line, for messages
  int level = 1;
  char kind = kv::kKindItem;  // byte 3, Shift-JIS
  std::vector<std::pair<std::string, std::string>> cells;  // heading, text as written
  std::vector<size_t> children;                            // rows of its breakdown
};

struct Table {
  std::vector<Row> rows;
  std::vector<size_t> top;  // the rows of the level-1 sheet
};

Table ReadTable(const stdfs::path& path, int levelCount) {
  std::ifstream in(path);
  if (!in) throw Failure{"cannot read " + path.string()};
  Table t;
  std::vector<std::string> headings;
  std::array<std::optional<size_t>, 10> lastAt{};  // the last row read at each level
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string where = path.string() + ":" + std::to_string(lineNo);
    std::vector<std::string> f = SplitTabs(line);
    if (headings.empty()) {
      if (f.size() < 3 || f[0] != "階層" || f[1] != "行種別") throw Failure{where + ": header 階層, 行種別, headings expected"};
      headings.assign(f.begin() + 2, f.end());
      continue;
    }
    if (f.size() > headings.size() + 2) throw Failure{where + ": more fields than headings"};
    f.resize(headings.size() + 2);

    Row r;
    r.where = where;
    r.level = kv::WholeNumberValue(f[0]);
    if (r.level < 1 || r.level > levelCount || std::to_string(r.level) != f[0])
      throw Failure{where + ": level must be 1.." + std::to_string(levelCount)};
    const std::string kind = Stored(f[1], where);
    if (kind.size() > 1) throw Failure{where + ": the row kind is one character"};
    if (!kind.empty()) r.kind = kind[0];
    for (size_t i = 0; i < headings.size(); ++i)
      if (!f[i + 2].empty()) r.cells.emplace_back(headings[i], f[i + 2]);

    const size_t index = t.rows.size();
    if (r.level == 1) {
      t.top.push_back(index);
    } else {
      const std::optional<size_t> parent = lastAt[static_cast<size_t>(r.level - 1)];
      if (!parent) throw Failure{where + ": a row of level " + f[0] + " needs a row of the level above it"};
      t.rows[*parent].children.push_back(index);
    }
    lastAt[static_cast<size_t>(r.level)] = index;
    for (size_t l = static_cast<size_t>(r.level) + 1; l < lastAt.size(); ++l) lastAt[l].reset();
    t.rows.push_back(std::move(r));
  }
  if (headings.empty() || t.top.empty()) throw Failure{path.string() + ": no rows"};
  return t;
}

// Writes the sheets of the table into the level work files of a work set, and
// checks the values the calculation computes.
class SampleWriter {
 public:
  SampleWriter(kv::ProgramState& st, const Table& table) : st_(st), table_(table) {}

  void Write() {
    for (int L = 1; L <= st_.LevelCount; ++L) nextRecord_[static_cast<size_t>(L)] = 1;
    WriteSheet(1, table_.top);
    for (auto& [level, file] : files_) file->Close();
  }

 private:
  struct Sheet {
    int first = kv::kNoRecord;  // first record in the level's file
    std::string closing;        // the closing record
  };

  bool Hex() const { return st_.H_Link == "16"; }

  int ColumnOf(int level, const std::string& heading, const std::string& where) const {
    for (int c = 1; c <= st_.ColCount[level]; ++c) {
      const std::string caption = kv::MidAnsi(st_.LevelCaption[level], st_.ColStart[level][c], st_.ColWidth[level][c]);
      if (kv::TrimBlanks(caption) == heading) return c;
    }
    throw Failure{where + ": level " + std::to_string(level) + " has no column " + heading};
  }

  kv::Currency ValueAt(const std::string& rec, int level, int c) const {
    return kv::Currency::Parse(kv::MidAnsi(rec, st_.ColStart[level][c], st_.ColWidth[level][c])).value_or(kv::Currency());
  }

  // A cell's text into the record, as the editor stores it.
  void PutCell(std::string& rec, int level, int c, const std::string& text, const std::string& where) {
    const std::string& type = st_.ColType[level][c];
    if (kv::IsNumericColumnType(type)) {
      std::string plain;
      for (char ch : text)
        if (ch != ',') plain += ch;
      const std::optional<kv::Currency> value = kv::Currency::Parse(plain);
      std::string fitted = plain;
      kv::NumFitColumn(st_, level, fitted, c);
      if (!value || plain.find_first_not_of("0123456789.-") != std::string::npos ||
          kv::Currency::Parse(fitted) != value)
        throw Failure{where + ": " + text + " does not fit column " + std::to_string(c) + " as written"};
      kv::FieldStore(rec, st_.ColStart[level][c], st_.ColWidth[level][c], fitted, st_.DataLen);
      return;
    }
    std::string lines = text;
    for (size_t p; (p = lines.find("\\n")) != std::string::npos;) lines.replace(p, 2, "\r\n");
    const std::string bytes = Stored(lines, where);
    if (type == "W") {
      std::string stored = lines;
      st_.SheetRows[1] = rec;
      kv::CellTextStore(st_, stored, c, 1, level);
      rec = st_.SheetRows[1];
      if (stored != lines) throw Failure{where + ": " + text + " is too long for the lines of its column"};
      return;
    }
    if (static_cast<int>(bytes.size()) > st_.ColWidth[level][c])
      throw Failure{where + ": " + text + " is longer than its column (" + std::to_string(st_.ColWidth[level][c]) +
                    " bytes)"};
    kv::FieldStore(rec, st_.ColStart[level][c], st_.ColWidth[level][c], bytes, st_.DataLen);
  }

  std::string RowRecord(const Row& r) {
    std::string rec(static_cast<size_t>(st_.DataLen), ' ');
    rec[kv::kKindPos - 1] = r.kind;
    if (r.kind == '\xD2') {  // ﾒ: a memo row's text runs from the first column on
      for (const auto& [heading, text] : r.cells) {
        const std::string bytes = Stored(text, r.where);
        if (static_cast<int>(bytes.size()) > std::min(st_.MemoRowMax, st_.DataLen - kv::kColumnDataPos + 1))
          throw Failure{r.where + ": the memo text is too long"};
        rec.replace(kv::kColumnDataPos - 1, bytes.size(), bytes);
      }
      return rec;
    }
    for (const auto& [heading, text] : r.cells) PutCell(rec, r.level, ColumnOf(r.level, heading, r.where), text, r.where);
    return rec;
  }

  void Expect(const std::string& rec, int level, int c, kv::Currency want, const std::string& where,
              const std::string& what) const {
    std::string fitted = want.ToText();
    kv::NumFitColumn(st_, level, fitted, c);
    if (ValueAt(rec, level, c) != kv::Currency::Parse(fitted).value_or(kv::Currency()))
      throw Failure{where + ": column " + std::to_string(c) + " should hold " +
                    std::string(kv::TrimBlanks(fitted)) + " (" + what + ")"};
  }

  // The two columns a row definition "[[X*[[Y" multiplies; nullopt for any
  // other definition.
  static std::optional<std::pair<int, int>> Product(const std::string& def) {
    if (def.size() != 7 || def.compare(0, 2, "[[") != 0 || def[3] != '*' || def.compare(4, 2, "[[") != 0)
      return std::nullopt;
    const int a = kv::ColLetterToNum(def.substr(2, 1));
    const int b = kv::ColLetterToNum(def.substr(6, 1));
    if (a < 1 || b < 1) return std::nullopt;
    return std::make_pair(a, b);
  }

  Sheet WriteSheet(int level, const std::vector<size_t>& rowIndexes) {
    if (rowIndexes.size() > static_cast<size_t>(st_.Imax)) throw Failure{"a sheet has more rows than Imax"};
    std::vector<std::string> records;
    std::vector<std::string> wheres;
    for (size_t i : rowIndexes) {
      const Row& r = table_.rows[i];
      std::string rec = RowRecord(r);
      kv::SetLinkField(rec, kv::kChildPos, kv::kNoRecord, Hex());
      if (!r.children.empty()) {
        if (level == st_.LevelCount) throw Failure{r.where + ": no level below for its breakdown"};
        const Sheet child = WriteSheet(level + 1, r.children);
        kv::SetLinkField(rec, kv::kChildPos, child.first, Hex());
        // The breakdown's totals, carried into this row.
        for (int c = 1; c <= st_.ColCount[level + 1]; ++c) {
          const std::string& carry = st_.ColCarryDef[level + 1][c];
          // "->[$F": the column letter stands four characters after "->".
          const size_t arrow = carry.find("->");
          if (arrow == std::string::npos || arrow + 4 >= carry.size()) continue;
          const int target = kv::ColLetterToNum(carry.substr(arrow + 4, 1));
          if (target < 1 || target > st_.ColCount[level]) continue;
          Expect(rec, level, target, ValueAt(child.closing, level + 1, c), r.where, "the total of its breakdown");
        }
      }
      if (r.kind == kv::kKindItem) {
        for (int c = 1; c <= st_.ColCount[level]; ++c) {
          const auto product = Product(st_.ColFormula[level][c]);
          if (!product) continue;
          Expect(rec, level, c, ValueAt(rec, level, product->first) * ValueAt(rec, level, product->second), r.where,
                 "the product of its row definition");
        }
      }
      records.push_back(std::move(rec));
      wheres.push_back(r.where);
    }

    // The running totals of the "SUM" columns, as the calculation keeps them.
    std::string closing = st_.TotalRecordDefaults[level];
    closing.resize(static_cast<size_t>(st_.DataLen), ' ');
    for (int c = 1; c <= st_.ColCount[level]; ++c) {
      if (st_.ColTotalKind[level][c] != "SUM") continue;
      kv::Currency sum;
      std::array<kv::Currency, 7> totals{};  // T1 .. T6
      for (size_t i = 0; i < records.size(); ++i) {
        const char kind = records[i][kv::kKindPos - 1];
        // Total rows "#", "$", "%", "ｱ", "ｲ", "ｳ" take the running total of
        // their order and reset it and every lower one.
        const size_t at = std::string_view("#$%\xB1\xB2\xB3").find(kind);
        const int order = at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
        if (kind == kv::kKindItem) {
          const kv::Currency v = ValueAt(records[i], level, c);
          sum += v;
          for (int k = 1; k <= 6; ++k) totals[k] += v;
        } else if (order > 0) {
          Expect(records[i], level, c, totals[static_cast<size_t>(order)], wheres[i], "its running total");
          for (int k = 1; k <= order; ++k) totals[static_cast<size_t>(k)] = kv::Currency();
        }
      }
      std::string fitted = sum.ToText();
      kv::NumFitColumn(st_, level, fitted, c);
      kv::FieldStore(closing, st_.ColStart[level][c], st_.ColWidth[level][c], fitted, st_.DataLen);
    }
    closing[kv::kKindPos - 1] = kv::kClosingKind;
    kv::SetLinkField(closing, kv::kChildPos, kv::kNoRecord, Hex());
    closing.replace(kv::kObjectPos - 1, kv::kObjectWidth, std::string(kv::kObjectWidth, ' '));
    records.push_back(closing);

    // The chain: consecutive records at the end of the level's file.
    int& next = nextRecord_[static_cast<size_t>(level)];
    Sheet sheet{next, closing};
    kv::RecordFile& file = File(level);
    for (size_t i = 0; i < records.size(); ++i) {
      const int own = next++;
      std::string& rec = records[i];
      if (level > 1) rec[kv::kMarkPos - 1] = i == 0 ? kv::kMarkFirst : kv::kMarkNone;
      kv::SetLinkField(rec, kv::kOwnPos, own, Hex());
      kv::SetLinkField(rec, kv::kNextPos, i + 1 < records.size() ? own + 1 : kv::kNoRecord, Hex());
      file.PutRecordText(own, rec);
    }
    return sheet;
  }

  kv::RecordFile& File(int level) {
    auto it = files_.find(level);
    if (it == files_.end()) {
      const std::string path = st_.WorkFileBase + st_.LevelExt[level];
      std::error_code ec;
      stdfs::remove(path, ec);
      it = files_.emplace(level, std::make_unique<kv::RecordFile>(path, st_.DataLen)).first;
    }
    return *it->second;
  }

  kv::ProgramState& st_;
  const Table& table_;
  std::array<int, 10> nextRecord_{};
  std::map<int, std::unique_ptr<kv::RecordFile>> files_;
};

void Run(int argc, char** argv) {
  if (argc != 4) throw Failure{"usage: make_sample_estimate <program-dir> <rows.tsv> <estimate.YZH>"};
  const stdfs::path programDir = argv[1];
  const stdfs::path output = stdfs::absolute(argv[3]);

  ScratchFolder scratch(programDir);
  BuildUi ui;
  kv::ProgramState st(ui);
  st.NoSplash = true;
  kv::StartupInit(st, scratch.path().string());

  const Table table = ReadTable(argv[2], st.LevelCount);

  // The work set of the estimate: its levels, the untitled layout and the
  // program's estimate settings, under the estimate's name.
  stdfs::create_directories(output.parent_path());
  st.CurrentFilePath = output.string();
  const std::string name = output.stem().string();
  const std::string untitled = st.WorkFileBase;
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/" + name;
  SampleWriter(st, table).Write();
  stdfs::copy_file(kv::LayoutFilePath(st, untitled), kv::LayoutFilePath(st, st.WorkFileBase),
                   stdfs::copy_options::overwrite_existing);
  stdfs::copy_file(st.AppPath + "/DAVIROV.INI", st.WorkFileBase + ".INI", stdfs::copy_options::overwrite_existing);

  if (kv::PackEstimateFile(st, st.CurrentFilePath, true) != kv::kEstimatePacked)
    throw Failure{"cannot pack " + output.string()};
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Run(argc, argv);
  } catch (const Failure& f) {
    std::cerr << "make_sample_estimate: " << f.message << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "make_sample_estimate: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
