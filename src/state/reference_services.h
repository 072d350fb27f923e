#pragma once
// What storage asks of the reference window. The reference window implements
// this interface; until it is wired in, `ProgramState::reference` is null and
// there is never a reference file open.
#include <string>

namespace kv {

struct ProgramState;

class ReferenceServices {
 public:
  virtual ~ReferenceServices() = default;

  // Path of the reference file shown, "" when none.
  virtual std::string RefFilePath(ProgramState& st) = 0;
  // Unloads the reference window (and its search window).
  virtual void Unload(ProgramState& st) = 0;
};

}  // namespace kv
