// Build step of the program folder: writes the base text file set (the
// default column definitions of every level) from readable column tables.
//
//   make_base_text <program-dir> <columns-of-level-1.tsv> [<level 2> ...]
//
// The program folder must already hold KVUTL.INI, DAVIROV.INI and KVSSYS.INI
// (Shift-JIS): the set's name is [Boot] KVtext without its level extension,
// its files take the extensions of levels 1 and 2, its records the item
// layout of KVSSYS.INI [システム設定用基本TEXT]. Levels without a table of
// their own take the last table given.
//
// A table (UTF-8) has one column per line, fields separated by one Tab:
// heading, type code, width in bytes, row definition, total definition, carry
// definition, default total text, and the masks of screens 0..5 as six
// characters ("M" hidden, "-" shown). Empty lines and lines beginning with "#"
// are skipped. Anything that would not be stored as written (a field longer
// than its item, a character without a Shift-JIS form, columns wider than the
// record) stops the build with a message; nothing is written then.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ini_file.h"
#include "core/record_file.h"
#include "core/settings_text.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "state/base_text.h"
#include "state/column_defs.h"
#include "state/file_set_def.h"
#include "storage/split_path.h"
#include "table_text.h"

namespace {

namespace stdfs = std::filesystem;
using kv::tools::Failure;
using kv::tools::SplitTabs;
using kv::tools::Stored;

std::string Text(std::string_view section, std::string_view key, const stdfs::path& file) {
  std::string value;
  kv::IniGetString(section, key, value, file);
  return value;
}

// Records 1..n of one level's columns, in the item layout.
std::vector<std::string> ReadTable(const stdfs::path& path, const kv::DefItemLayout& layout, int dataLen) {
  std::ifstream in(path);
  if (!in) throw Failure{"cannot read " + path.string()};
  std::vector<std::string> records;
  std::string line;
  int lineNo = 0;
  int widths = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    const std::string where = path.string() + ":" + std::to_string(lineNo);
    const std::vector<std::string> f = SplitTabs(line);
    if (f.size() != 8) throw Failure{where + ": 8 Tab-separated fields expected"};
    const int width = kv::WholeNumberValue(f[2]);
    if (width < 1 || std::to_string(width) != f[2]) throw Failure{where + ": width must be a whole number of bytes"};
    if (f[1].empty()) throw Failure{where + ": type code missing"};
    if (f[7].size() != 6 || f[7].find_first_not_of("M-") != std::string::npos) {
      throw Failure{where + ": masks must be six characters M or -"};
    }
    widths += width;

    std::string record = kv::BlankDefRecord();
    const std::string items[7] = {f[0], f[1], f[2], f[3], f[4], f[5], f[6]};
    for (int i = 1; i <= 7; ++i) {
      const std::string bytes = Stored(items[i - 1], where);
      if (static_cast<int>(bytes.size()) > layout.len[i]) {
        throw Failure{where + ": field " + std::to_string(i) + " is longer than its item (" +
                      std::to_string(layout.len[i]) + " bytes)"};
      }
      kv::PutFieldBytes(record, layout.pos[i], bytes, layout.len[i]);
    }
    std::string masks = f[7];
    for (char& c : masks) c = c == 'M' ? 'M' : ' ';
    kv::PutFieldBytes(record, kv::kDefMaskPos, masks, kv::kMaskScreens);
    records.push_back(record);
  }
  if (records.empty()) throw Failure{path.string() + ": no columns"};
  if (static_cast<int>(records.size()) > kv::kMaxColumns) throw Failure{path.string() + ": more than 52 columns"};
  if (19 + widths > dataLen) {
    throw Failure{path.string() + ": the columns take " + std::to_string(widths) + " bytes; a record of " +
                  std::to_string(dataLen) + " bytes holds " + std::to_string(dataLen - 19)};
  }
  return records;
}

// Bytes 1..15 of a record: marks, own number, next record, child link.
std::string Header(int own, int next, int child) {
  return "   " + kv::StoredNumberField(own, false) + kv::StoredNumberField(next, false) +
         kv::StoredNumberField(child, false);
}

void Run(int argc, char** argv) {
  if (argc < 3) throw Failure{"usage: make_base_text <program-dir> <columns.tsv> [<level 2 columns.tsv> ...]"};
  const stdfs::path dir = argv[1];

  kv::FileSetDef files;
  const stdfs::path kvutl = dir / "KVUTL.INI";
  files.LevelCount = kv::WholeNumberValue(Text("階層表現拡張子", "階層レベル", kvutl));
  if (files.LevelCount < 1 || files.LevelCount > kv::kMaxLevels) throw Failure{"KVUTL.INI: 階層レベル must be 1..8"};
  for (int i = 1; i <= 2; ++i) files.LevelExt[i] = "." + Text("階層表現拡張子", std::to_string(i), kvutl);
  files.CompFileCount = 2;
  files.CompFileExt[1] = files.LevelExt[1];
  files.CompFileExt[2] = files.LevelExt[2];

  const stdfs::path davirov = dir / "DAVIROV.INI";
  const std::string kvtext = Text("Boot", "KVtext", davirov);
  const int dataLen = kv::IniGetInt("Boot", "DataLen", davirov);
  if (dataLen != 256 && dataLen != 512) throw Failure{"DAVIROV.INI: DataLen must be 256 or 512"};
  const kv::SplitPathResult name = kv::SplitPath(files, kvtext);
  if (name.name.empty() || !kv::EqualsNoCase(name.extension, files.LevelExt[1])) {
    throw Failure{"DAVIROV.INI: KVtext must name the level-1 file of the base text (" + kvtext + ")"};
  }
  const stdfs::path set = dir / (name.folder.empty() ? name.name : name.folder + "/" + name.name);

  std::string problem;
  const auto layout = kv::ReadDefItemLayout((dir / "KVSSYS.INI").string(), problem);
  if (!layout) throw Failure{kv::FromSjis(kv::ToSjis(problem))};
  for (int i = 1; i <= 7; ++i) {
    if (layout->len[i] <= 0) throw Failure{"KVSSYS.INI: the base text needs items 1..7"};
  }

  const std::string indexPath = set.string() + files.LevelExt[1];
  const std::string columnPath = set.string() + files.LevelExt[2];
  stdfs::remove(indexPath + ".tmp");
  stdfs::remove(columnPath + ".tmp");
  {
    kv::RecordFile index(indexPath + ".tmp", kv::kDefRecordLen);
    kv::RecordFile columns(columnPath + ".tmp", kv::kDefRecordLen);
    for (int n = 1; n <= 20; ++n) index.PutRecordText(n, Header(n, kv::kNoRecord, kv::kNoRecord));
    int record = 0;
    for (int L = 1; L <= files.LevelCount; ++L) {
      const int table = std::min(L, argc - 2);
      const std::vector<std::string> records = ReadTable(argv[1 + table], *layout, dataLen);
      const int first = record + 1;
      index.PutRecordText(20 + L, Header(20 + L, kv::kNoRecord, first));
      for (size_t c = 0; c < records.size(); ++c) {
        ++record;
        const int next = c + 1 < records.size() ? record + 1 : kv::kNoRecord;
        std::string r = records[c];
        r.replace(0, 15, Header(record, next, kv::kNoRecord));
        columns.PutRecordText(record, r);
      }
    }
    index.Close();
    columns.Close();
  }
  stdfs::rename(indexPath + ".tmp", indexPath);
  stdfs::rename(columnPath + ".tmp", columnPath);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    Run(argc, argv);
  } catch (const Failure& f) {
    std::cerr << "make_base_text: " << f.message << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "make_base_text: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
