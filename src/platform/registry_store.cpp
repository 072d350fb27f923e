#include "platform/registry_store.h"

#include <cstdlib>
#include <optional>
#include <sstream>
#include <system_error>
#include <vector>

#include "platform/fs.h"

namespace kv {

namespace stdfs = std::filesystem;

namespace {

struct Entry {
  std::string key, value;
};
struct Section {
  std::string name;
  std::vector<Entry> entries;
};
using Store = std::vector<Section>;

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool PlainAppName(std::string_view app) {
  return !app.empty() && app != "." && app != ".." &&
         app.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string Escape(std::string_view s, std::string_view specials) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (specials.find(c) != std::string_view::npos) (out += '\\') += c;
    else out += c;
  }
  return out;
}

// Reads escaped text from s up to the first unescaped stop character (or the
// end, when stop is -1); pos is left on that character.
std::string Unescape(std::string_view s, size_t& pos, int stop) {
  std::string out;
  for (; pos < s.size() && !(stop >= 0 && s[pos] == static_cast<char>(stop)); ++pos) {
    if (s[pos] != '\\' || pos + 1 == s.size()) {
      out += s[pos];
      continue;
    }
    char c = s[++pos];
    out += c == 'n' ? '\n' : c == 'r' ? '\r' : c;
  }
  return out;
}

Store Parse(const std::string& text) {
  Store store;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    size_t pos = 0;
    if (line[0] == '[') {
      pos = 1;
      store.push_back({Unescape(line, pos, ']'), {}});
      continue;
    }
    std::string key = Unescape(line, pos, '=');
    if (pos >= line.size() || store.empty()) continue;  // not a key line, or before any section
    ++pos;
    std::string value = Unescape(line, pos, -1);
    store.back().entries.push_back({std::move(key), std::move(value)});
  }
  return store;
}

std::string Format(const Store& store) {
  std::string out;
  for (const Section& s : store) {
    out += "[" + Escape(s.name, "]") + "]\n";
    for (const Entry& e : s.entries) out += Escape(e.key, "=[") + "=" + Escape(e.value, "") + "\n";
    out += "\n";
  }
  return out;
}

stdfs::path StoreFile(const stdfs::path& folder, std::string_view app) {
  return folder / (std::string(app) + ".ini");
}

}  // namespace

stdfs::path RegistryFolder() {
  if (const char* own = std::getenv("KORVANE_CONFIG_DIR"); own && *own) return own;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return stdfs::path(xdg) / "TheKorvane";
  if (const char* home = std::getenv("HOME"); home && *home) return stdfs::path(home) / ".config" / "TheKorvane";
  return {};
}

bool RegistryStore::SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                                std::string_view value) const {
  if (folder_.empty() || !PlainAppName(app)) return false;
  std::error_code ec;
  if (!stdfs::is_directory(folder_, ec)) {
    stdfs::create_directories(folder_, ec);
    if (ec) return false;
    stdfs::permissions(folder_, stdfs::perms::owner_all, ec);
  }
  stdfs::path file = StoreFile(folder_, app);
  Store store;
  if (std::optional<std::string> text = kv::fs::ReadFileBytes(file, ec)) store = Parse(*text);
  else if (stdfs::exists(file, ec)) return false;  // there but unreadable: do not write over it

  Section* sec = nullptr;
  for (Section& s : store)
    if (SameName(s.name, section)) sec = &s;
  if (!sec) sec = &store.emplace_back(Section{std::string(section), {}});
  Entry* entry = nullptr;
  for (Entry& e : sec->entries)
    if (SameName(e.key, key)) entry = &e;
  if (entry) entry->value = value;
  else sec->entries.push_back({std::string(key), std::string(value)});
  return kv::fs::WriteFileAtomic(file, Format(store), ec);
}

std::string RegistryStore::GetSetting(std::string_view app, std::string_view section, std::string_view key,
                                      std::string_view defaultValue) const {
  if (folder_.empty() || !PlainAppName(app)) return std::string(defaultValue);
  std::error_code ec;
  std::optional<std::string> text = kv::fs::ReadFileBytes(StoreFile(folder_, app), ec);
  if (!text) return std::string(defaultValue);
  std::optional<std::string> found;
  for (const Section& s : Parse(*text))
    if (SameName(s.name, section))
      for (const Entry& e : s.entries)
        if (SameName(e.key, key)) found = e.value;
  return found ? *found : std::string(defaultValue);
}

bool SaveSetting(std::string_view app, std::string_view section, std::string_view key, std::string_view value) {
  return RegistryStore(RegistryFolder()).SaveSetting(app, section, key, value);
}

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
  return RegistryStore(RegistryFolder()).GetSetting(app, section, key, defaultValue);
}

}  // namespace kv
