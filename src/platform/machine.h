#pragma once
// The name of this computer, as written into and compared with lock files.
#include <string>

namespace kv {

// The host name of this machine (display text; empty when the system cannot
// tell it).
std::string LocalMachineName();

}  // namespace kv
