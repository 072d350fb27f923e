// Build step of the program folder: turns a text file authored in UTF-8 into
// the Shift-JIS, CR LF form the program reads.
//
//   to_sjis_crlf <in.utf8> <out> [--width N] [--lines M]
//
// --width N: every line blank-padded to exactly N bytes (a longer line is an
// error). --lines M: blank lines appended up to M lines (more is an error).
// A character without a Shift-JIS form is an error: nothing is written.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace {

int Fail(const std::string& message) {
  std::cerr << "to_sjis_crlf: " << message << "\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Fail("usage: to_sjis_crlf <in> <out> [--width N] [--lines M]");
  const std::string inPath = argv[1];
  const std::string outPath = argv[2];
  int width = -1;
  int lineCount = -1;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string opt = argv[i];
    if (opt == "--width") {
      width = std::stoi(argv[i + 1]);
    } else if (opt == "--lines") {
      lineCount = std::stoi(argv[i + 1]);
    } else {
      return Fail("unknown option " + opt);
    }
  }

  std::ifstream in(inPath, std::ios::binary);
  if (!in) return Fail("cannot read " + inPath);
  std::stringstream buffer;
  buffer << in.rdbuf();
  const std::string text = buffer.str();

  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    pos = end + 1;
  }

  std::string out;
  for (size_t n = 0; n < lines.size(); ++n) {
    std::string sjis = kv::ToSjis(lines[n]);
    if (kv::FromSjis(sjis) != lines[n]) {
      return Fail(inPath + ":" + std::to_string(n + 1) + ": a character has no Shift-JIS form");
    }
    if (width >= 0) {
      if (static_cast<int>(sjis.size()) > width) {
        return Fail(inPath + ":" + std::to_string(n + 1) + ": longer than " + std::to_string(width) + " bytes");
      }
      sjis.append(static_cast<size_t>(width) - sjis.size(), ' ');
    }
    out += sjis + "\r\n";
  }
  if (lineCount >= 0) {
    if (static_cast<int>(lines.size()) > lineCount) {
      return Fail(inPath + ": more than " + std::to_string(lineCount) + " lines");
    }
    for (int n = static_cast<int>(lines.size()); n < lineCount; ++n) {
      out += std::string(width > 0 ? static_cast<size_t>(width) : 0, ' ') + "\r\n";
    }
  }

  const std::string tmpPath = outPath + ".tmp";
  {
    std::ofstream file(tmpPath, std::ios::binary | std::ios::trunc);
    if (!file.write(out.data(), static_cast<std::streamsize>(out.size()))) return Fail("cannot write " + tmpPath);
  }
  std::error_code ec;
  std::filesystem::rename(tmpPath, outPath, ec);
  if (ec) return Fail("cannot write " + outPath + ": " + ec.message());
  return 0;
}
