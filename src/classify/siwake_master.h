#pragma once
// Classification masters (仕訳): the [仕訳画面] settings that describe them,
// the master file of fixed 256-byte records, and the lookup tables of the
// estimate's code columns filled from it.
//
// Master file: record n holds row n; bytes 1-3 blanks, 4-7 the row number and
// 8-11 the next row's number (" -99" on the last record), both decimal and
// right-aligned in four characters, 12-15 " -99", 16-19 blanks, then the items
// from byte 20, each left-aligned and blank-padded to its byte width, and
// blanks to byte 256. Reading takes the records in file order and never looks
// at bytes 1-19.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "state/classify_services.h"

namespace kv {

struct ProgramState;

inline constexpr int kMasterRecordBytes = 256;
inline constexpr int kMasterItemStart = 20;   // byte of item 1 (1-based)
inline constexpr int kMasterItemBytes = 236;  // room for the items
inline constexpr int kCodeTableRecords = 1001;  // the most entries of a lookup table
inline constexpr const char* kSiwakeSection = "仕訳画面";
inline constexpr const char* kSiwakeTitle = "仕訳";

// One master's settings, checked.
struct SiwakeLayout {
  std::string fileName;         // SIWAKE1 or SIWAKE2, as written
  int rowsMax = 0;              // ROWSMAX, at most kCodeTableRecords
  int itemCount = 0;            // ITEMCNT
  std::vector<int> itemWidth;   // ITEM1 .. ITEMn, byte widths
};

// Reads master `master`'s settings (1 or 2) from the [仕訳画面] section of
// `sysIni`. Returns "" when they can be used, else the first key that cannot:
// an empty SIWAKEn, a missing or non-numeric ROWSMAX, ITEMCNT or ITEMk, a
// ROWSMAX below 1, an ITEMCNT below 2, a width below 1, or widths whose sum
// exceeds 236. A ROWSMAX above 1001 is taken as 1001.
std::string SiwakeLayoutRead(const std::filesystem::path& sysIni, int master, SiwakeLayout& out);
// The message for a settings key that cannot be used.
std::string SiwakeSettingsMessage(std::string_view key);

// The number of records of a master file of `length` bytes: length / 256
// rounded to the nearest whole number, a half to the even one.
int MasterRecordCount(std::int64_t length);
// Record `index` (0-based) of a master file's bytes; bytes the file lacks at
// its end read as blanks.
std::string MasterRecordAt(std::string_view fileBytes, int index);

// An item as stored: its bytes cut to `width` (never half a character) and
// padded with blanks to exactly `width`.
std::string MasterItemField(std::string_view bytes, int width);
// The items of one record, each exactly its width.
std::vector<std::string> MasterRecordItems(std::string_view record, const std::vector<int>& widths);
// A record of row `row`; `next` is the next row's number, or 0 for the last
// record (" -99").
std::string MasterRecordBuild(int row, int next, const std::vector<std::string>& items,
                              const std::vector<int>& widths);
// The number as bytes 4-7 hold it: right-aligned in four characters.
std::string MasterNumberField(int n);

// The rows that have a code, sorted by code (stable, SiwakeCodeCompare).
std::vector<std::vector<std::string>> MasterRowsSorted(const std::vector<std::vector<std::string>>& rows);
// The whole file for rows already sorted and compacted (each row its items):
// one record per row, the last with " -99"; no rows give one blank record.
std::string MasterFileBytes(const std::vector<std::vector<std::string>>& sortedRows,
                            const std::vector<int>& widths);

// Loads the code (ITEM1 bytes from byte 20) and name (the next ITEM2 bytes) of
// every record of the master file at `path` into lookup table `table`, at most
// 1001 records, sorted by code (stable). A missing or unreadable file, or
// unusable ITEM1/ITEM2 widths, leave the table empty (count 0). Silent: it
// runs at start-up.
void SiwakeItemRead(ProgramState& st, const std::string& path, int table);

// The classification services the settings loader calls.
class SiwakeMasters : public ClassifyServices {
 public:
  void SiwakeItemRead(ProgramState& st, const std::string& path, int number) override;
};

}  // namespace kv
