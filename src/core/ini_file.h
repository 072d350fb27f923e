#pragma once
// Settings-file access: the four operations through which every settings key
// is read and written, always section, key, (value,) file.
//
// Settings files are Shift-JIS on disk with CR LF line ends; these operations
// take and return display text (UTF-8) for section, key and value. Section
// and key names are matched without letter case and without surrounding
// blanks; values are read without surrounding blanks and without one pair of
// enclosing double quotes (writers quote a value whose blanks must survive).
// A file name is found without letter case ("KVUTL.INI" and "kvutl.ini" are
// one file). Lines an update does not touch keep their bytes.
//
// Reads of an unchanged file are answered from a parsed copy kept in memory
// (checked against the file's identity, size and time stamps on every call),
// so reading hundreds of keys costs one parse per file.
#include <filesystem>
#include <string>
#include <string_view>

namespace kv {

// The longest value read, in bytes of its stored (Shift-JIS) form.
inline constexpr size_t kIniMaxValueBytes = 254;

// The number at the start of the key's value (an optional sign and decimal
// digits, limited to the 32-bit range); -1 when the file, section or key is
// missing or the value is empty; 0 when the value does not begin with a
// number or the file cannot be read.
int IniGetInt(std::string_view section, std::string_view key, const std::filesystem::path& file);

// `value` receives the key's text (at most 254 stored bytes, never half a
// double-byte character), or "" when the key is missing or empty. Always true.
bool IniGetString(std::string_view section, std::string_view key, std::string& value,
                  const std::filesystem::path& file);

// True when the file is there, can be read and holds a section of this name
// (with keys or without).
bool IniHasSection(std::string_view section, const std::filesystem::path& file);

// Gives the key this value: the key's line is changed in place, or the key is
// added at the end of its section, the section at the end of the file, the
// file when it does not exist. The file is replaced atomically: false (and
// the file as it was) when it cannot be read or written (a read-only file, a
// missing folder), or when the section, key or value cannot be stored (empty
// name, a line break, "=" in a key name, a key name beginning with "[" or ";").
bool IniPutString(std::string_view section, std::string_view key, std::string_view value,
                  const std::filesystem::path& file);

// Removes the section with all its keys. True when the file holds no such
// section afterwards (also when it never did); false when the file cannot be
// read or written.
bool IniDeleteSection(std::string_view section, const std::filesystem::path& file);

}  // namespace kv
