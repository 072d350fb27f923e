#pragma once
// The two files of the project information (工事情報):
//  - SUBTITLE.DAT in the program folder: the labels, shared by every
//    estimate; Shift-JIS text lines of 20 bytes ended by CR LF. Read line by
//    line (lines after the 50th are not used), written as exactly 50 lines.
//  - "<work base>.YT" beside the work files: the estimate's values, 50
//    fixed records of 40 Shift-JIS bytes, blank-padded, no line ends;
//    written as exactly 2000 bytes.
// Both are written whole or not at all (a temporary file renamed over the
// old one). Texts handed in and out are display text (UTF-8).
// A row the user did not edit is written back from the bytes it was read
// from, not from its display text, so that a save without an edit changes
// nothing: bytes that are not valid Shift-JIS and a lead byte alone at a
// record's end stay as they were.
#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace kv {

inline constexpr int kKoujiRows = 50;
inline constexpr int kKoujiLabelBytes = 20;
inline constexpr int kKoujiValueBytes = 40;

// One text per row: rows 1..50 at [0]..[49].
using KoujiTexts = std::array<std::string, kKoujiRows>;

// What a file held for each row: the text shown for it and the bytes it was
// read from (a label without its line end; a value record of 40 bytes). A
// row whose text is still `shown` is written as `bytes`; a row without bytes
// (the file had no line or record for it) is written from its text.
struct KoujiAsRead {
  KoujiTexts shown;
  std::array<std::optional<std::string>, kKoujiRows> bytes;
};

// The label file's lines as display text, without their line ends (CR LF,
// and a lone CR or LF too), at most 50 of them. An empty file has none; a
// last line without a line end counts.
std::vector<std::string> SubtitleLines(std::string_view bytes);
// The label file for these labels: 50 lines, each label cut or blank-padded
// to 20 bytes (never half a double-byte character), then CR LF; a row left
// as it was read (`asRead`) is its line's bytes cut or padded so.
std::string SubtitleFileBytes(const KoujiTexts& labels, const KoujiAsRead* asRead = nullptr);

// The value file's records as display text, trailing blanks included, at
// most 50 of them. A last record shorter than 40 bytes (a file whose length
// is not a multiple of 40) is read too, padded with blanks to 40 bytes.
std::vector<std::string> YtRecords(std::string_view bytes);
// The raw records of the value file, as YtRecords cuts them (the last one
// padded with blanks to 40 bytes), at most 50 of them.
std::vector<std::string> YtRecordBytes(std::string_view bytes);
// The value file for these values: 50 records, each value cut or
// blank-padded to 40 bytes; a row left as it was read (`asRead`) is its
// record's bytes as read.
std::string YtFileBytes(const KoujiTexts& values, const KoujiAsRead* asRead = nullptr);

// Where the files lie, found without regard to letter case.
std::filesystem::path SubtitlePath(std::string_view appPath);
std::filesystem::path YtPath(std::string_view workBase);

// Reads the file into the rows it has a line or record for; the other rows
// keep their texts. A missing file changes nothing; false when the file is
// there but cannot be read. `asRead`, when given, receives the rows' texts
// and bytes as read (rows the file has nothing for: their text, no bytes).
bool SubtitleRead(const std::filesystem::path& file, KoujiTexts& labels, KoujiAsRead* asRead = nullptr);
bool YtRead(const std::filesystem::path& file, KoujiTexts& values, KoujiAsRead* asRead = nullptr);

// Writes the whole file; false with `ec` set (and the old file as it was)
// when it cannot be written.
bool SubtitleWrite(const std::filesystem::path& file, const KoujiTexts& labels, std::error_code& ec,
                   const KoujiAsRead* asRead = nullptr);
bool YtWrite(const std::filesystem::path& file, const KoujiTexts& values, std::error_code& ec,
             const KoujiAsRead* asRead = nullptr);

}  // namespace kv
