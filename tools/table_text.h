#pragma once
// What the build-time tools share in reading their readable tables: the
// fields of a Tab-separated line and the stored (Shift-JIS) form of a text.
#include <sstream>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace kv::tools {

// What stops a tool: the message names the file and line.
struct Failure {
  std::string message;
};

// The fields of a line separated by one Tab each; a line ending in a Tab has
// an empty last field.
inline std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::stringstream in(line);
  std::string field;
  while (std::getline(in, field, '\t')) fields.push_back(field);
  if (!line.empty() && line.back() == '\t') fields.emplace_back();
  return fields;
}

// The stored form of a text; a character without one stops the build.
inline std::string Stored(const std::string& utf8, const std::string& where) {
  std::string sjis = ToSjis(utf8);
  if (FromSjis(sjis) != utf8) throw Failure{where + ": a character has no Shift-JIS form: " + utf8};
  return sjis;
}

}  // namespace kv::tools
