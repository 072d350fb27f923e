#include "platform/lazy_library.h"

#include <dlfcn.h>

namespace kv {

void* LazyLibrary::Symbol(const char* name) {
  std::call_once(opened_, [this] { handle_ = ::dlopen(file_.c_str(), RTLD_NOW | RTLD_LOCAL); });
  return handle_ ? ::dlsym(handle_, name) : nullptr;
}

}  // namespace kv
