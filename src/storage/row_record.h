#pragma once
// The row record: one sheet row as a fixed-length Shift-JIS record, and the
// closing record that ends every sheet. Byte positions are 1-based.
//
//   byte 1       record mark: ' ', '@' first record of a breakdown sheet, 'x' special-print mark
//   byte 2       print mark:  ' ', 'U' non-print row, 'I' non-print level row
//   byte 3       row kind; 'G' on the closing record only
//   bytes 4-7    own record number            } stored numbers (core/stored_number.h):
//   bytes 8-11   next record of the sheet     } 4 characters right-aligned,
//   bytes 12-15  first record of the breakdown } " -99" for none
//   bytes 16-19  closing record: object file number; first row: first page number
//   bytes 20..   the columns of the level
#include <optional>
#include <string>
#include <string_view>

namespace kv {

inline constexpr int kMarkPos = 1;
inline constexpr int kPrintMarkPos = 2;
inline constexpr int kKindPos = 3;
inline constexpr int kOwnPos = 4;
inline constexpr int kNextPos = 8;
inline constexpr int kChildPos = 12;
inline constexpr int kObjectPos = 16;
inline constexpr int kObjectWidth = 4;
inline constexpr int kColumnDataPos = 20;

inline constexpr char kMarkNone = ' ';
inline constexpr char kMarkFirst = '@';
inline constexpr char kMarkSpecialPrint = 'x';
inline constexpr char kClosingKind = 'G';

// Row kinds by their Shift-JIS byte (half-width katakana are one byte).
inline constexpr char kKindItem = ' ';
inline constexpr char kKindGrandTotal = '%';
inline constexpr char kKindTax = '\xBC';      // ｼ
inline constexpr char kKindExpense = '\xB9';  // ｹ

// The byte at a 1-based position; ' ' when the record is shorter.
char RecordByte(std::string_view rec, int pos);

// A memo-type row ("1", "2", "3", "H", "D", "ﾒ"): its text runs from byte 20
// across the column fields, so no column command writes into it.
bool IsMemoTextRow(std::string_view rec);

// Sets the byte at a 1-based position, padding a short record with blanks.
void SetRecordByte(std::string& rec, int pos, char c);

// The 4-byte stored-number field at a 1-based position ("" when the record is
// too short).
std::string_view LinkField(std::string_view rec, int pos);
// Writes `value` (kNoRecord for none) as a stored number at the position.
// Throws std::out_of_range when the number does not fit the field.
void SetLinkField(std::string& rec, int pos, int value, bool hex);

// Reads a stored-number field strictly, for checking records read from disk:
// kNoRecord for "none" (" -99", "FFFF"/"EEEE"/blank in hexadecimal, blank or 0
// in decimal), the number (1 or more) for a well-formed record number, and
// nullopt for anything else: other negative numbers, fractions, signs,
// letters in a decimal field, characters that are no digits.
std::optional<int> ReadStoredLink(std::string_view field, bool hex);

// The record as exactly `length` bytes: cut, or padded with blanks.
std::string FitRecord(std::string_view rec, int length);

}  // namespace kv
