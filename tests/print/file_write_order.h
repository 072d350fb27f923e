#pragma once
// The order in which files of some folders were written, as the kernel saw
// it: every settings write replaces its file by a rename into its folder, so
// the names renamed into the watched folders, in order, are the writes.
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace kv::test {

class FileWriteOrder {
 public:
  explicit FileWriteOrder(const std::vector<std::string>& folders) : fd_(inotify_init1(IN_NONBLOCK)) {
    for (const std::string& f : folders) inotify_add_watch(fd_, f.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
  }
  ~FileWriteOrder() {
    if (fd_ >= 0) close(fd_);
  }
  FileWriteOrder(const FileWriteOrder&) = delete;
  FileWriteOrder& operator=(const FileWriteOrder&) = delete;

  // The names renamed into the folders since the last call, in order
  // (temporary files written and then renamed are not listed).
  std::vector<std::string> Renamed() {
    std::vector<std::string> names;
    alignas(inotify_event) char buf[65536];
    for (;;) {
      const ssize_t n = read(fd_, buf, sizeof buf);
      if (n <= 0) break;
      for (ssize_t i = 0; i < n;) {
        const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
        if ((e->mask & IN_MOVED_TO) && e->len > 0) names.emplace_back(e->name);
        i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
      }
    }
    return names;
  }

 private:
  int fd_;
};

}  // namespace kv::test
