#pragma once
// A file mapped into memory, and the guard that makes touching the mapping
// safe. Reading or storing through a mapping fails with a bus error instead
// of an error code when the page cannot be had: the file was cut shorter by
// another program, or the disk is full when a page is first written. Every
// access to mapped bytes therefore runs inside `MappedAccess`, which turns
// such a bus error into a false result the caller reports as any other
// failure.
#include <cstddef>

namespace kv {

class MappedFile {
 public:
  MappedFile() = default;
  // Maps the first `size` bytes of the open file `fd` (shared: stores reach
  // the file), for reading, or for reading and storing with `writable`.
  // With `populate` every page is mapped at once instead of at its first
  // touch. On failure the mapping is empty and `error` holds the errno.
  MappedFile(int fd, size_t size, bool writable, bool populate, int& error);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  explicit operator bool() const { return data_ != nullptr; }
  char* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  char* data_ = nullptr;
  size_t size_ = 0;
};

// Runs fn(arg) with bus errors guarded: a bus error on this thread while it
// runs ends it at once and gives false; true when it ran to its end. The
// guard's signal handler is installed once for the process and hands any bus
// error outside a guarded run to the handler that was there before it (or
// to the default action). fn is left by a jump: it must only read and store
// plain memory, with no object alive in it that has a destructor, and must
// not allocate or throw.
bool MappedAccess(void (*fn)(void*), void* arg);

// The same for a callable taken by reference (a lambda with captures).
template <typename F>
bool MappedAccess(F& fn) {
  return MappedAccess([](void* f) { (*static_cast<F*>(f))(); }, &fn);
}

}  // namespace kv
