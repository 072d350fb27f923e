#pragma once
// The column definitions of every level: built at start-up from the base text
// file set, and level by level from an estimate's layout file.
//
// A column definition record (ColumnDefRecord) is 256 bytes: bytes 1..19 like
// a row record (bytes 8..11 the next record of the level's chain, decimal,
// " -99" on the last), items 1..n back to back from byte 20 with the lengths
// of KVSSYS.INI [システム設定用基本TEXT] (1 heading, 2 type code, 3 width,
// 4 row definition, 5 total definition, 6 carry definition, 7 default total
// text), and bytes 235..240 the codes of mask screens 0..5.
#include <array>
#include <string>
#include <string_view>

#include "state/column_tables.h"

namespace kv {

struct ProgramState;

inline constexpr int kDefRecordLen = 256;
inline constexpr int kDefMaskPos = 235;  // mask codes of screens 0..5: bytes 235..240

enum DefItem { kItemHeading = 1, kItemType, kItemWidth, kItemRowDef, kItemTotalDef, kItemCarryDef, kItemTotalText };

// Scratch records of one level, [1..ColCount] (index 0 unused).
using DefRecordTable = std::array<std::string, kMaxColumns + 1>;

// Writes at most `maxLen` bytes of `bytes` into `target` from 1-based byte
// `pos`, never past the end of `target`; a double-byte character cut at the
// end is replaced by a blank.
void PutFieldBytes(std::string& target, int pos, std::string_view bytes, int maxLen);

// A column definition record of blanks.
std::string BlankDefRecord();

// The bytes of item `item` of a column definition record (never past its end).
std::string DefItemBytes(const ProgramState& st, std::string_view record, int item);

// Writes `bytes` into item `item` of the record from its first byte, at most
// the item's length; a double-byte character cut at the end becomes a blank.
void PutDefItem(const ProgramState& st, std::string& record, int item, std::string_view bytes);

// Decimals of a type code: "S", "A", "Q", "I" + n give n; any other code its
// own whole-number value ("3" gives 3, "C", "W" give 0).
int TypeCodeDecimals(std::string_view typeCode);

// Rebuilds the tables of one level from its definition records 1..ColCount
// (the caller sets ColCount first and builds the format masks after it).
// The mask codes are taken only while the estimate has its own settings.
void ColumnTypeParse(ProgramState& st, int level, const DefRecordTable& records);

// Derives, for levels 1..LevelCount, the SUM columns, the ratio column, the
// formula column, whether neighbouring levels differ in column count, and has
// the calculation engine build the evaluation orders. False when the engine
// reports definitions that refer to each other in a cycle or too deeply (the
// caller then refuses the layout).
bool SumColumnFind(ProgramState& st);

}  // namespace kv
