#include "storage/level_marks_clear.h"

#include <optional>
#include <system_error>

#include "core/record_file.h"
#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

namespace {

// Clears the marks of one level file read whole into `bytes`; the records
// that carry the mark are written back one by one.
LevelMarksClearResult ClearFile(const std::filesystem::path& path, std::string& bytes, int recordLength,
                                char mark, int position) {
  const size_t len = static_cast<size_t>(recordLength);
  const size_t at = static_cast<size_t>(position - 1);
  const size_t records = bytes.size() / len;
  std::optional<RecordFile> file;
  try {
    for (size_t r = 0; r < records; ++r) {
      char& b = bytes[r * len + at];
      if (b != mark) continue;
      if (!file) file.emplace(path, recordLength, RecordFileMode::ReadWrite);
      b = ' ';
      file->PutRecordText(static_cast<std::int32_t>(r + 1), std::string_view(bytes).substr(r * len, len));
    }
    if (file) file->Close();
  } catch (const RecordFileError& e) {
    return {false, path, e.what()};
  }
  return {};
}

}  // namespace

LevelMarksClearResult NotPrnLevelLineClear(const ProgramState& st, std::string_view workBase, int recordLength,
                                           char mark, int position) {
  if (recordLength <= 0 || position < 1 || position > recordLength) return {};
  for (int level = 1; level <= st.LevelCount && level <= kMaxLevels; ++level) {
    const std::filesystem::path path = LevelFilePath(st, workBase, level);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) continue;
    std::optional<std::string> bytes = fs::ReadFileBytes(path, ec);
    if (!bytes) return {false, path, ec.message()};
    LevelMarksClearResult r = ClearFile(path, *bytes, recordLength, mark, position);
    if (!r.ok) return r;
  }
  return {};
}

}  // namespace kv
