#include "storage/work_files.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/fs.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

stdfs::path WorkFolder(const ProgramState& st) { return stdfs::path(st.AppPath + st.WorkFolderName); }

std::optional<stdfs::path> ComponentFile(const ProgramState& st, const std::string& name, int i) {
  return fs::FindNoCase(WorkFolder(st), name + st.CompFileExt[i]);
}

std::vector<stdfs::path> ObjectFiles(const ProgramState& st, const std::string& name) {
  std::vector<stdfs::path> out;
  std::error_code ec;
  for (auto it = stdfs::directory_iterator(WorkFolder(st), ec); !ec && it != stdfs::directory_iterator();
       it.increment(ec)) {
    std::error_code typeEc;
    if (!it->is_regular_file(typeEc)) continue;
    if (IsObjectFileOf(it->path().filename().string(), name)) out.push_back(it->path());
  }
  return out;
}

std::int64_t LengthOf(const stdfs::path& p) {
  std::error_code ec;
  auto n = stdfs::file_size(p, ec);
  return ec ? 0 : static_cast<std::int64_t>(n);
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

bool IsObjectFileOf(std::string_view fileName, std::string_view name) {
  constexpr std::string_view kExt = ".MOD";
  if (name.empty() || fileName.size() < name.size() + 1 + 1 + kExt.size()) return false;
  if (!fs::NameEqualsNoCase(fileName.substr(0, name.size()), name)) return false;
  if (fileName[name.size()] != '$') return false;
  std::string_view rest = fileName.substr(name.size() + 1);
  std::string_view digits = rest.substr(0, rest.size() - kExt.size());
  std::string_view ext = rest.substr(rest.size() - kExt.size());
  for (size_t i = 0; i < kExt.size(); ++i)
    if (Upper(ext[i]) != kExt[i]) return false;
  if (digits.empty()) return false;
  for (char c : digits)
    if (c < '0' || c > '9') return false;
  return true;
}

std::int64_t WorkFilesSize(const ProgramState& st, const std::string& name) {
  std::int64_t total = 0;
  if (name.empty()) return 0;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i) {
    std::optional<stdfs::path> file = ComponentFile(st, name, i);
    if (!file) continue;
    std::int64_t length = LengthOf(*file);
    if (i < st.LevelCount) {
      // 80 % rounded to a whole number: 4/5 of the length, up from a remainder
      // above one half (a remainder of exactly one half cannot occur).
      std::int64_t q = length * 4 / 5;
      std::int64_t rem = length * 4 % 5;
      total += q + (rem * 2 > 5 ? 1 : 0);
    } else {
      total += length;
    }
  }
  std::vector<stdfs::path> objects = ObjectFiles(st, name);
  for (const stdfs::path& p : objects) total += LengthOf(p);
  if (!objects.empty()) total += 12000;
  return total;
}

void WorkFilesDelete(const ProgramState& st, const std::string& name) {
  if (name.empty() || IsUntitledName(name)) return;
  std::error_code ec;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i)
    if (std::optional<stdfs::path> file = ComponentFile(st, name, i)) stdfs::remove(*file, ec);
  for (const stdfs::path& p : ObjectFiles(st, name)) stdfs::remove(p, ec);
}

}  // namespace kv
