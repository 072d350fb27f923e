#pragma once
// The per-user program-settings store (what the registry is on other
// systems): string values by application, section and key, kept as one
// INI-form text file per application in the user's configuration folder.
//
// The folder is $KORVANE_CONFIG_DIR when set (tests point it at a temporary
// folder), else $XDG_CONFIG_HOME/TheKorvane, else ~/.config/TheKorvane.
//
// File format (UTF-8, ours): "[section]" lines, then "key=value" lines.
// Section and key names are matched without regard to ASCII letter case.
// "\" is written "\\", a line break "\n" or "\r", and in keys and section
// names "=" and "]" are written "\=" and "\]"; values keep their blanks.
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace kv {

// The folder of the store, as described above ("" when no folder can be
// made out: no variable set and no home folder).
std::filesystem::path RegistryFolder();

// Stores the value; the application's file is rewritten beside itself and
// renamed over the old one. False when the file cannot be written or the
// application name is not a plain file name.
bool SaveSetting(std::string_view app, std::string_view section, std::string_view key, std::string_view value);

// The stored value, or defaultValue when there is none.
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});

// The store in a given folder (tests, or a caller that keeps its own).
class RegistryStore {
 public:
  explicit RegistryStore(std::filesystem::path folder) : folder_(std::move(folder)) {}
  bool SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) const;
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue = {}) const;
  const std::filesystem::path& folder() const { return folder_; }

 private:
  std::filesystem::path folder_;
};

}  // namespace kv
