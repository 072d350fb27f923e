#include "editor/kouji_files.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/sjis_text.h"
#include "platform/fs.h"

namespace kv {

namespace {

// The byte form of a text cut or blank-padded to exactly `n` bytes.
std::string FixedField(const std::string& text, int n) {
  return CutToBytes(ToAnsiBytes(text) + std::string(static_cast<size_t>(n), ' '), n);
}

// The file's bytes; nullopt when it is there but cannot be read, "" when it
// is missing.
std::optional<std::string> FileBytes(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::string();
  auto bytes = fs::ReadFileBytes(file, ec);
  if (!bytes) return std::nullopt;
  return bytes;
}

// The rows take the texts of the raw pieces; `asRead` takes the rows' texts
// and the pieces.
void Fill(const std::vector<std::string>& pieces, KoujiTexts& rows, KoujiAsRead* asRead) {
  for (size_t i = 0; i < pieces.size() && i < rows.size(); ++i) rows[i] = ToUnicodeStr(pieces[i]);
  if (!asRead) return;
  asRead->shown = rows;
  asRead->bytes = {};
  for (size_t i = 0; i < pieces.size() && i < rows.size(); ++i) asRead->bytes[i] = pieces[i];
}

// The label file's lines as bytes, without their line ends, at most 50.
std::vector<std::string> SubtitleLineBytes(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size() && lines.size() < size_t(kKoujiRows)) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    lines.emplace_back(bytes.substr(pos, end - pos));
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

std::vector<std::string> Texts(const std::vector<std::string>& pieces) {
  std::vector<std::string> texts;
  texts.reserve(pieces.size());
  for (const std::string& piece : pieces) texts.push_back(ToUnicodeStr(piece));
  return texts;
}

// Row i's bytes, cut or padded to `width` bytes: those it was read from when
// its text is the one shown for them, else those of its text.
std::string RowBytes(const KoujiTexts& rows, size_t i, int width, const KoujiAsRead* asRead) {
  if (asRead && asRead->bytes[i] && rows[i] == asRead->shown[i]) {
    std::string bytes = CutToBytes(std::string_view(*asRead->bytes[i]), width);
    bytes.resize(size_t(width), ' ');
    return bytes;
  }
  return FixedField(rows[i], width);
}

}  // namespace

std::vector<std::string> SubtitleLines(std::string_view bytes) { return Texts(SubtitleLineBytes(bytes)); }

std::string SubtitleFileBytes(const KoujiTexts& labels, const KoujiAsRead* asRead) {
  std::string out;
  out.reserve(size_t(kKoujiRows) * (kKoujiLabelBytes + 2));
  for (size_t i = 0; i < labels.size(); ++i) out += RowBytes(labels, i, kKoujiLabelBytes, asRead) + "\r\n";
  return out;
}

std::vector<std::string> YtRecordBytes(std::string_view bytes) {
  std::vector<std::string> records;
  const size_t width = kKoujiValueBytes;
  for (size_t pos = 0; pos < bytes.size() && records.size() < size_t(kKoujiRows); pos += width) {
    std::string record(bytes.substr(pos, width));
    record.resize(width, ' ');
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::string> YtRecords(std::string_view bytes) { return Texts(YtRecordBytes(bytes)); }

std::string YtFileBytes(const KoujiTexts& values, const KoujiAsRead* asRead) {
  std::string out;
  out.reserve(size_t(kKoujiRows) * kKoujiValueBytes);
  for (size_t i = 0; i < values.size(); ++i) out += RowBytes(values, i, kKoujiValueBytes, asRead);
  return out;
}

std::filesystem::path SubtitlePath(std::string_view appPath) {
  return fs::ResolveNoCase(std::filesystem::path(appPath) / "SUBTITLE.DAT");
}

std::filesystem::path YtPath(std::string_view workBase) {
  return fs::ResolveNoCase(std::string(workBase) + ".YT");
}

bool SubtitleRead(const std::filesystem::path& file, KoujiTexts& labels, KoujiAsRead* asRead) {
  const auto bytes = FileBytes(file);
  if (!bytes) return false;
  Fill(SubtitleLineBytes(*bytes), labels, asRead);
  return true;
}

bool YtRead(const std::filesystem::path& file, KoujiTexts& values, KoujiAsRead* asRead) {
  const auto bytes = FileBytes(file);
  if (!bytes) return false;
  Fill(YtRecordBytes(*bytes), values, asRead);
  return true;
}

bool SubtitleWrite(const std::filesystem::path& file, const KoujiTexts& labels, std::error_code& ec,
                   const KoujiAsRead* asRead) {
  return fs::WriteFileAtomic(file, SubtitleFileBytes(labels, asRead), ec);
}

bool YtWrite(const std::filesystem::path& file, const KoujiTexts& values, std::error_code& ec,
             const KoujiAsRead* asRead) {
  return fs::WriteFileAtomic(file, YtFileBytes(values, asRead), ec);
}

}  // namespace kv
