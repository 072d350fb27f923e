#pragma once
// A print that cannot go on: the reason in words for the user (display text).
// The print program shows it, writes it to its standard error and ends with a
// non-zero status; nothing is printed and no file is left behind.
#include <stdexcept>
#include <string>

namespace kv::print_program {

class PrintFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace kv::print_program
