#pragma once
// This computer, its user and its processes, as lock files name them.
#include <string>

namespace kv {

// The host name of this machine (display text; empty when the system cannot
// tell it).
std::string LocalMachineName();

// The name of the user running this program (display text; the numeric user
// id when the system has no name for it).
std::string LocalUserName();

// The id of this process.
long CurrentProcessId();

// True when a process of that id runs on this machine (also one of another
// user, which this program may not signal). False for ids that cannot be a
// process.
bool ProcessExists(long pid);

// A random text of 16 hexadecimal digits, different for every call.
std::string RandomToken();

}  // namespace kv
