#pragma once
// What the settings ask of classification: loading a master's code table.
// Classification implements this interface; until it is wired in,
// `ProgramState::classify` is null and the masters are not loaded.
#include <string>

namespace kv {

struct ProgramState;

class ClassifyServices {
 public:
  virtual ~ClassifyServices() = default;

  // Loads master `number` (1 or 2) from `path` into the code tables.
  virtual void SiwakeItemRead(ProgramState& st, const std::string& path, int number) = 0;
};

}  // namespace kv
