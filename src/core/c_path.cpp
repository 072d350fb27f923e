#include "core/c_path.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kv {
namespace {

constexpr const char* kSeparators = "/\\";

// The separator to add to a text: the kind it already uses; "\" for a drive
// form without one ("C:"); "/" otherwise.
char SeparatorFor(const std::string& text) {
  size_t last = text.find_last_of(kSeparators);
  if (last != std::string::npos) return text[last];
  return text.find(':') != std::string::npos ? '\\' : '/';
}

bool EndsWithSeparator(const std::string& text) {
  return !text.empty() && (text.back() == '/' || text.back() == '\\');
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::string(v) : fallback;
}

}  // namespace

std::string cPath::GetFileName() const {
  size_t sep = fileName_.find_last_of(kSeparators);
  if (sep != std::string::npos) return fileName_.substr(sep + 1);
  size_t colon = fileName_.find(':');
  if (colon != std::string::npos) return fileName_.substr(colon + 1);
  return fileName_;
}

std::string cPath::GetExt() const {
  std::string name = GetFileName();
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::string cPath::GetPath() const {
  size_t end = fileName_.find_last_of(kSeparators);
  if (end == std::string::npos) end = fileName_.find(':');
  if (end == std::string::npos) return {};
  std::string folder = fileName_.substr(0, end + 1);
  if (!EndsWithSeparator(folder)) folder += SeparatorFor(folder);
  return folder;
}

std::string cPath::AddDblQuot(bool NotCheckSpace) const {
  if (!NotCheckSpace && fileName_.find_first_of(" ,") == std::string::npos) return fileName_;
  std::string quoted = fileName_;
  if (fileName_.empty() || fileName_.front() != '"') quoted.insert(quoted.begin(), '"');
  if (fileName_.empty() || fileName_.back() != '"') quoted += '"';
  return quoted;
}

std::string cPath::GetShortPathName() const {
  std::error_code ec;
  if (fileName_.empty() || !std::filesystem::exists(fileName_, ec)) return {};
  return fileName_;
}

std::string cPath::GetFullPathName(const std::string& PathName, const std::string& FileName) const {
  std::string full = PathName;
  if (!EndsWithSeparator(full)) full += SeparatorFor(full);
  return full + FileName;
}

std::string cPath::GetFileNameOnly() const {
  std::string name = GetFileName();
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string cPath::GetCleanFileName() const { return Recase(GetFileNameOnly()) + "." + Recase(GetExt()); }

std::string cPath::Recase(std::string text) {
  for (char c : text)
    if (c >= 'a' && c <= 'z') return text;
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

std::string cPath::GetWindowsDirectory() const { return GetFullPathName({}); }
std::string cPath::GetSystemDirectory() const { return GetFullPathName({}); }

std::string cPath::GetSpecialFolder(long GetFolderType) const {
  const std::string home = EnvOr("HOME", "");
  std::string folder;
  if (!home.empty()) {
    const std::string data = EnvOr("XDG_DATA_HOME", home + "/.local/share");
    const std::string config = EnvOr("XDG_CONFIG_HOME", home + "/.config");
    switch (GetFolderType) {
      case Desktop(): folder = home + "/Desktop"; break;
      case Programs():
      case StartMenu(): folder = data + "/applications"; break;
      case Startup(): folder = config + "/autostart"; break;
      case Fonts(): folder = data + "/fonts"; break;
      default: break;
    }
  }
  return GetFullPathName(folder);
}

std::string cPath::GetExecFileFromDataFile() const { return {}; }

}  // namespace kv
