#pragma once
// The base text file set: the default column definitions of every level, read
// at start-up. Its name comes from [Boot] KVtext; the item layout of its
// records from KVSSYS.INI [システム設定用基本TEXT].
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "state/column_defs.h"
#include "state/column_tables.h"

namespace kv {

struct ProgramState;
class RecordFile;

// Where the items of a column definition record lie: item i at byte pos[i],
// len[i] bytes long (pos[0] = 20, len[0] = 0).
struct DefItemLayout {
  std::array<int, kMaxDefItems + 1> pos{};
  std::array<int, kMaxDefItems + 1> len{};
};

// The section of KVSSYS.INI that holds the item layout.
inline constexpr std::string_view kDefItemSection = "システム設定用基本TEXT";

// Reads the item layout from [システム設定用基本TEXT] of `sysIniPath`: 項目数
// items, item i's length the third comma field of key i (a missing field
// gives 0). nullopt, with the reason in `problem`, for more than 10 items, a
// negative length, or items that run past byte 234 into the mask bytes.
std::optional<DefItemLayout> ReadDefItemLayout(const std::string& sysIniPath, std::string& problem);

// Reads the item layout (DefItemPos, DefItemLen) from the program settings
// file `sysIniPath`: 項目数 items (at most 10), item i's length the third
// comma field of key i. A layout of more than 10 items, a negative length or
// items that run into the mask bytes (235..) is refused with a message and the
// layout kept as it was.
bool BaseTextRead(ProgramState& st, const std::string& sysIniPath);

// Reads the column definitions of every level from the base text file set
// `baseSet` (program folder + set name, without extension): the index file
// baseSet + LevelExt(1) and the column file baseSet + LevelExt(2). A missing or
// short file, a broken chain or more than 52 columns is reported to the user;
// a chain is read up to the fault (at most 52 columns, never a record twice,
// stopping at a next link that is not a record number). A cyclic definition
// refuses the whole set and keeps the tables as they were. True when every
// level was read whole. Definitions that cannot be used at all (a file that
// cannot be read, cyclic formulas, a level without a single column) are not
// shown when `refusal` is given: its text goes there for the caller.
bool ColumnDefRead(ProgramState& st, const std::string& baseSet, std::string* refusal = nullptr);

// Reads the chain of column definition records of one level of the base text
// column file from record `first` on into records[1..]; returns the number of
// columns read. The walk is bounded: at most 52 columns, never a record twice,
// and it stops at a next link that is neither a record number nor -99. A
// chain that does not end properly is read up to the fault, which is added to
// `problems`. `recordNos` (when given) receives the record number of each
// column read, in column order.
int ReadColumnChain(const RecordFile& file, int level, int first, DefRecordTable& records,
                    std::vector<std::string>& problems, std::vector<int>* recordNos = nullptr);

}  // namespace kv
