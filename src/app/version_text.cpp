#include "app/version_text.h"

#include <cstdio>
#include <cstdlib>

namespace kv {

std::string VersionLine(int major, int minor, int revision) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "VersionNo     :%d.%02d.%04d", std::abs(major), std::abs(minor) % 100,
                std::abs(revision) % 10000);
  return buf;
}

std::string ProgramVersionLine() {
  return VersionLine(KORVANE_VERSION_MAJOR, KORVANE_VERSION_MINOR, KORVANE_VERSION_PATCH);
}

}  // namespace kv
