#pragma once
// A shared library opened at its first use rather than at the program's
// start: libzip (which brings OpenSSL's libcrypto) and SQLite are needed only
// when an estimate is packed, unpacked or looked up, and loading and
// relocating them at every start costs the start a good part of its time.
#include <mutex>
#include <string>

namespace kv {

class LazyLibrary {
 public:
  // `file`: the library's file name or path, as dlopen takes it.
  explicit LazyLibrary(std::string file) : file_(std::move(file)) {}
  LazyLibrary(const LazyLibrary&) = delete;
  LazyLibrary& operator=(const LazyLibrary&) = delete;

  // The address of a symbol of the library, opening it on the first call;
  // null when the library cannot be opened or has no such symbol.
  void* Symbol(const char* name);

  // The function `name` as a pointer of type F* (null as above).
  template <typename F>
  F* Function(const char* name) {
    return reinterpret_cast<F*>(Symbol(name));
  }

 private:
  std::string file_;
  std::once_flag opened_;
  void* handle_ = nullptr;
};

}  // namespace kv
