#pragma once
// Small steps of writing files that must survive a kill or a power loss:
// a new file written whole and flushed with its folder, a folder's entries
// flushed, and the checksum that seals a record of such a write.
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace kv::fs {

std::error_code Errno(int e);

// The CRC-32 of `bytes`, and as eight lower-case hexadecimal digits.
unsigned long Crc(std::string_view bytes);
std::string Hex32(unsigned long v);

// Flushes the entries of `folder` (new, renamed and removed names).
void SyncFolder(const std::filesystem::path& folder);

// Writes a new file (it must not exist) and flushes it and its folder; false
// with `ec`, and nothing of it left, when it cannot be.
bool WriteNewFile(const std::filesystem::path& p, std::string_view bytes, std::error_code& ec);

// A name that may stand in a record: one plain path component without the
// characters records use to separate their fields.
bool RecordableName(std::string_view name);

}  // namespace kv::fs
