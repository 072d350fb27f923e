#pragma once
// Memory that whole work files are read into, kept from one use to the next:
// a recalculation of all levels reads every level file of the estimate, and
// reading into memory already in use costs no page faults and no second copy.
#include <cstddef>
#include <filesystem>
#include <string>
#include <system_error>

namespace kv {

// The kept buffer of slot `slot` (its bytes are whatever it held last); an
// empty string when another caller holds it.
std::string TakeReadBuffer(std::size_t slot);
// Gives a buffer back to slot `slot` for the next taker.
void GiveBackReadBuffer(std::size_t slot, std::string&& buffer);

// Reads the whole file at `path` into `out`, reusing its memory; false with
// `ec` when it cannot be read (`out` is then unspecified).
bool ReadWholeFileInto(const std::filesystem::path& path, std::string& out, std::error_code& ec);

}  // namespace kv
