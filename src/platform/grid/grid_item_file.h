#pragma once
// The sheet object file (".MOD"): the embedded items of one sheet grid.
//
// Layout, all numbers little-endian:
//   header    14 bytes, "$$4DO-SHEET$$" and a NUL (a file is recognised by the
//             text anywhere in its first 40 bytes)
//   count     int16, number of items
//   per item  int32 col1, row1, col2, row2   the cells of two opposite corners
//             int32 left, top, width, height offset inside the first cell and
//                                             size, in twips
//             int32 kind                     1 picture, 0 other object
//             int16 flags, int32 reserved    kept as read
//             int32 L, then L bytes          the object data, kept byte for byte
// Bytes after the last item are ignored.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

inline constexpr std::string_view kItemFileMark = "$$4DO-SHEET$$";
inline constexpr int kItemFileHeaderSize = 14;
inline constexpr int kItemKindObject = 0;
inline constexpr int kItemKindPicture = 1;

struct GridItem {
  int32_t col1 = 0, row1 = 0, col2 = 0, row2 = 0;
  int32_t left = 0, top = 0, width = 0, height = 0;  // twips
  int32_t kind = kItemKindObject;
  int16_t flags = 0;
  int32_t reserved = 0;
  std::string data;
};

enum class GridFileStatus {
  Ok,
  CannotOpen,     // the file could not be read
  NotItemFile,    // no "$$4DO-SHEET$$" in the first 40 bytes
  Truncated,      // the file ends inside the header, an item or its data
  BadItem,        // negative count, corner or data length
  TooManyItems,   // more items than the 16-bit count can hold
  CannotWrite,    // the file could not be written
};

struct GridFileResult {
  GridFileStatus status = GridFileStatus::Ok;
  std::string detail;  // what went wrong, for a message
  explicit operator bool() const { return status == GridFileStatus::Ok; }
};

// Reads a whole object file's bytes. On success `items` and `header` hold the
// file's content; on any error they are left empty and nothing past the end
// of `bytes` is read.
GridFileResult ParseItemFile(std::string_view bytes, std::vector<GridItem>& items,
                             std::string& header);

// The file's bytes for these items; an empty `header` writes our own.
std::string FormatItemFile(const std::vector<GridItem>& items, std::string_view header = {});

// Reads and parses a file; writes one through a temporary file beside it that
// replaces the old file only when complete.
GridFileResult ReadItemFile(const std::string& path, std::vector<GridItem>& items,
                            std::string& header);
GridFileResult WriteItemFile(const std::string& path, const std::vector<GridItem>& items,
                             std::string_view header = {});

// Picture data that the view can draw (PNG, JPEG, GIF, BMP), by its magic bytes.
bool LooksLikePicture(std::string_view data);

}  // namespace kv
