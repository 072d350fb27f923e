#pragma once
// The standard output of a shell command, for reading back what the print
// program wrote with poppler-utils (pdfinfo, pdftotext).
#include <cstdio>
#include <string>

namespace kv::test {

// The output of `command` ("" when it cannot run).
inline std::string Capture(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

}  // namespace kv::test
