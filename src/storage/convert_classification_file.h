#pragma once
// Conversion of the level files of an estimate of the DOS edition or of the
// previous Windows format (".Y1" .. ".Y7"), and of a classification-carrying
// DOS file of the equipment edition (".S1" .. ".S7"), into level work files of
// the current form. The source files are the copies the unpacking made in the
// work folder; the DOS files in the user's folder are never touched here.
//
// A source record is 256 bytes with decimal record numbers: byte 1 mark,
// 2 print mark, 3 row kind, 4-7 own number, 8-11 next record, 12-15 first
// record of the breakdown (" -99" or "-99" none), 16-19 kept, columns from 20,
// where a wide text column ("W") holds only (its width - 2) / 2 bytes.
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;

// Levels a DOS-form file set holds at most.
inline constexpr int kDosLevelCount = 7;
// Record length of a DOS-form level file.
inline constexpr int kDosRecordLen = 256;
// Records a DOS-form level file can number with its 4-digit decimal fields.
inline constexpr int kDosMaxRecords = 9999;
// Added to the name of a converted classification file.
inline constexpr std::string_view kSiwakeSuffix = "(仕訳)";

// True when a file opened with extension `ext` is converted as a
// classification file: ".S1" (letter case aside) in system kind 1. Every other
// file is an estimate file.
bool IsDosClassificationFile(const ProgramState& st, std::string_view ext);

// Converts the DOS-form level files of the work set `workBase` (work folder
// plus work name, no extension); `ext` is the extension (with its dot) of the
// file the user opened.
//
// For each level L = 1 .. min(LevelCount, 7) whose source workBase + ".Y" + L
// (".S" + L for a classification file) exists (letter case aside), each
// 256-byte record becomes a `DataLen`-byte record. The file holds its length in
// records rounded to the nearest whole number (halves to even): a last record
// cut short is completed with blanks, a shorter piece is left out; DOS
// end-of-file marks (0x1A) after the last record are dropped.
//
//   - in system kind 1 the print marks "I" and "U" change places;
//   - own number, next and child link are rewritten in the number base of
//     `H_Link` ("-99" stays "-99"); a blank next link becomes the record's own
//     number (the record then names itself, which the chain readers take as
//     the end of the chain);
//   - on a level with a wide text column, every row but a memo row ("ﾒ") is
//     laid out again by the level's own columns: a "W" column takes
//     (width - 2) / 2 source bytes (halves to even) and blanks up to its width,
//     every other column its width; otherwise the bytes from 20 on are kept;
//   - bytes 16-19 are kept and the record is padded with blanks.
// The converted file is written whole before it replaces anything; it is
// named workBase + LevelExt(L), for a classification file workBase + "(仕訳)"
// + LevelExt(L). Only then is the source deleted (when it has another name).
//
// What cannot be converted is left out and reported in one message: a piece
// at the end shorter than half a record (or one completed with blanks),
// records past 9999, an own number that does
// not name the record's position (the position is written), a next or child
// link that is no record number or names a record its file (the next level's
// file for a child) does not hold (written as " -99"), a missing level file
// between levels that exist, a source that cannot be read or a converted file
// that cannot be written (that level's source is kept). True when the top
// level was converted (the estimate then opens, its faults reported); false
// otherwise, also when there was no source at all.
bool ConvertClassificationFile(ProgramState& st, const std::string& workBase,
                               const std::string& ext);

}  // namespace kv
