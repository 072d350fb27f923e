#include "platform/grid/grid_item_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kv {

namespace {

constexpr size_t kMarkWindow = 40;
constexpr size_t kItemFixedSize = 4 * 4 + 5 * 4 + 2 + 4 + 4;  // corners, private, length

// Bounds-checked little-endian reader over a byte string.
class Reader {
 public:
  explicit Reader(std::string_view b) : b_(b) {}
  size_t Left() const { return b_.size() - pos_; }
  bool Skip(size_t n) {
    if (Left() < n) return false;
    pos_ += n;
    return true;
  }
  int32_t I32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(uint8_t(b_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return int32_t(v);
  }
  int16_t I16() {
    uint16_t v = uint16_t(uint8_t(b_[pos_]) | (uint8_t(b_[pos_ + 1]) << 8));
    pos_ += 2;
    return int16_t(v);
  }
  std::string_view Take(size_t n) {
    auto s = b_.substr(pos_, n);
    pos_ += n;
    return s;
  }

 private:
  std::string_view b_;
  size_t pos_ = 0;
};

void Put32(std::string& out, int32_t v) {
  uint32_t u = uint32_t(v);
  for (int i = 0; i < 4; ++i) out.push_back(char((u >> (8 * i)) & 0xFF));
}

void Put16(std::string& out, int16_t v) {
  uint16_t u = uint16_t(v);
  out.push_back(char(u & 0xFF));
  out.push_back(char(u >> 8));
}

GridFileResult Fail(GridFileStatus s, std::string detail) { return {s, std::move(detail)}; }

}  // namespace

GridFileResult ParseItemFile(std::string_view bytes, std::vector<GridItem>& items,
                             std::string& header) {
  items.clear();
  header.clear();
  if (bytes.substr(0, kMarkWindow).find(kItemFileMark) == std::string_view::npos)
    return Fail(GridFileStatus::NotItemFile, "not a sheet object file");
  Reader r(bytes);
  if (r.Left() < size_t(kItemFileHeaderSize) + 2)
    return Fail(GridFileStatus::Truncated, "the file ends inside its header");
  std::string head(r.Take(kItemFileHeaderSize));
  int count = r.I16();
  if (count < 0) return Fail(GridFileStatus::BadItem, "negative item count");
  std::vector<GridItem> read;
  read.reserve(size_t(count));
  for (int i = 0; i < count; ++i) {
    const std::string where = "item " + std::to_string(i + 1);
    if (r.Left() < kItemFixedSize)
      return Fail(GridFileStatus::Truncated, "the file ends inside " + where);
    GridItem it;
    it.col1 = r.I32();
    it.row1 = r.I32();
    it.col2 = r.I32();
    it.row2 = r.I32();
    it.left = r.I32();
    it.top = r.I32();
    it.width = r.I32();
    it.height = r.I32();
    it.kind = r.I32();
    it.flags = r.I16();
    it.reserved = r.I32();
    int32_t len = r.I32();
    if (it.col1 < 0 || it.row1 < 0 || it.col2 < 0 || it.row2 < 0)
      return Fail(GridFileStatus::BadItem, where + " has a negative cell");
    if (len < 0) return Fail(GridFileStatus::BadItem, where + " has a negative data length");
    if (r.Left() < size_t(len))
      return Fail(GridFileStatus::Truncated, "the file ends inside the data of " + where);
    it.data.assign(r.Take(size_t(len)));
    read.push_back(std::move(it));
  }
  items = std::move(read);
  header = std::move(head);
  return {};
}

std::string FormatItemFile(const std::vector<GridItem>& items, std::string_view header) {
  std::string out;
  if (header.size() == size_t(kItemFileHeaderSize)) {
    out.assign(header);
  } else {
    out.assign(kItemFileMark);
    out.resize(kItemFileHeaderSize, '\0');
  }
  Put16(out, int16_t(items.size()));
  for (const GridItem& it : items) {
    for (int32_t v : {it.col1, it.row1, it.col2, it.row2, it.left, it.top, it.width, it.height,
                      it.kind})
      Put32(out, v);
    Put16(out, it.flags);
    Put32(out, it.reserved);
    Put32(out, int32_t(it.data.size()));
    out += it.data;
  }
  return out;
}

GridFileResult ReadItemFile(const std::string& path, std::vector<GridItem>& items,
                            std::string& header) {
  items.clear();
  header.clear();
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(GridFileStatus::CannotOpen, "cannot open " + path);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Fail(GridFileStatus::CannotOpen, "cannot read " + path);
  return ParseItemFile(bytes, items, header);
}

GridFileResult WriteItemFile(const std::string& path, const std::vector<GridItem>& items,
                             std::string_view header) {
  if (items.size() > 32767)
    return Fail(GridFileStatus::TooManyItems, "more than 32767 items");
  const std::string bytes = FormatItemFile(items, header);
  const std::string tmp = path + ".tmp";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return Fail(GridFileStatus::CannotWrite, "cannot create " + tmp);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::remove(tmp.c_str());
      return Fail(GridFileStatus::CannotWrite, "cannot write " + tmp);
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, path, ec);
  if (ec) {
    std::remove(tmp.c_str());
    return Fail(GridFileStatus::CannotWrite, "cannot replace " + path + ": " + ec.message());
  }
  return {};
}

bool LooksLikePicture(std::string_view d) {
  auto starts = [&](std::string_view m) { return d.substr(0, m.size()) == m; };
  return starts("\x89PNG\r\n\x1A\n") || starts("\xFF\xD8\xFF") || starts("GIF87a") ||
         starts("GIF89a") || starts("BM");
}

}  // namespace kv
