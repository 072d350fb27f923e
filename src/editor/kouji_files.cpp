#include "editor/kouji_files.h"

#include <algorithm>
#include <optional>

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

void Fill(const std::vector<std::string>& texts, KoujiTexts& rows) {
  for (size_t i = 0; i < texts.size() && i < rows.size(); ++i) rows[i] = texts[i];
}

}  // namespace

std::vector<std::string> SubtitleLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < bytes.size() && lines.size() < size_t(kKoujiRows)) {
    size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    lines.push_back(ToUnicodeStr(bytes.substr(pos, end - pos)));
    pos = end;
    if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
    if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return lines;
}

std::string SubtitleFileBytes(const KoujiTexts& labels) {
  std::string out;
  out.reserve(size_t(kKoujiRows) * (kKoujiLabelBytes + 2));
  for (const std::string& label : labels) out += FixedField(label, kKoujiLabelBytes) + "\r\n";
  return out;
}

std::vector<std::string> YtRecords(std::string_view bytes) {
  std::vector<std::string> records;
  const size_t width = kKoujiValueBytes;
  for (size_t pos = 0; pos < bytes.size() && records.size() < size_t(kKoujiRows); pos += width) {
    std::string record(bytes.substr(pos, width));
    record.resize(width, ' ');
    records.push_back(ToUnicodeStr(record));
  }
  return records;
}

std::string YtFileBytes(const KoujiTexts& values) {
  std::string out;
  out.reserve(size_t(kKoujiRows) * kKoujiValueBytes);
  for (const std::string& value : values) out += FixedField(value, kKoujiValueBytes);
  return out;
}

std::filesystem::path SubtitlePath(std::string_view appPath) {
  return fs::ResolveNoCase(std::filesystem::path(appPath) / "SUBTITLE.DAT");
}

std::filesystem::path YtPath(std::string_view workBase) {
  return fs::ResolveNoCase(std::string(workBase) + ".YT");
}

bool SubtitleRead(const std::filesystem::path& file, KoujiTexts& labels) {
  const auto bytes = FileBytes(file);
  if (!bytes) return false;
  Fill(SubtitleLines(*bytes), labels);
  return true;
}

bool YtRead(const std::filesystem::path& file, KoujiTexts& values) {
  const auto bytes = FileBytes(file);
  if (!bytes) return false;
  Fill(YtRecords(*bytes), values);
  return true;
}

bool SubtitleWrite(const std::filesystem::path& file, const KoujiTexts& labels, std::error_code& ec) {
  return fs::WriteFileAtomic(file, SubtitleFileBytes(labels), ec);
}

bool YtWrite(const std::filesystem::path& file, const KoujiTexts& values, std::error_code& ec) {
  return fs::WriteFileAtomic(file, YtFileBytes(values), ec);
}

}  // namespace kv
