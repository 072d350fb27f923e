#include "platform/machine.h"

#include <unistd.h>

#include <cstring>

namespace kv {

std::string LocalMachineName() {
  char buf[512];
  std::memset(buf, 0, sizeof buf);
  if (::gethostname(buf, sizeof buf - 1) != 0) return {};
  return std::string(buf, ::strnlen(buf, sizeof buf));
}

}  // namespace kv
